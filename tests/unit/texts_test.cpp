// Language texts: built-in values, the choice of section, lookups and the checked formatting of
// texts that come from an editable file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "platform/ini_profile_file.h"
#include "texts/language_file.h"
#include "texts/language_texts.h"
#include "texts/text_table.h"

namespace vendrel::texts {
namespace {

namespace fs = std::filesystem;

TEST(TextTableTest, BuiltInValuesBeforeLoading) {
  const TextTable t;
  const struct {
    TextKey key;
    std::u16string value;
  } cases[] = {
      {TextKey::UNKNOWN_KEY, u"Unknown Key: %03x"},
      {TextKey::MACRO_ERR_MAX, u"The maximum number of macro: %d   "},
      {TextKey::KEY_PROMPT_SET, u"Keys, Set: "},
      {TextKey::PROFILE_NEW, u"\\The new contextual  mode"},
      {TextKey::MAIN_BUTTON_KORVEL_VER, u""},
      {TextKey::FUNC_KEY_DESC11, u"Zoom+"},
      {TextKey::MAIN_NO_DEVICE_PROMPT,
       u"Device is not detected\uFF0Cthe key settings can not be displayed! "},
      {TextKey::EXTRA_MACRO_TOO_LONG,
       u"Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro "
       u"action number\uFF0Cand then download."},
  };
  for (const auto& c : cases) EXPECT_EQ(t.Text(c.key), c.value) << int(c.key);
  EXPECT_EQ(TextKeyName(TextKey::MEDIA_Next_TRACK_5), u"MEDIA_Next_TRACK_5");
  EXPECT_EQ(TextKeyName(TextKey::PROFILE_SEELCT_PROMPT2), u"PROFILE_SEELCT_PROMPT2");
}

TEST(TextTableTest, SlotsAreCutAt259) {
  TextTable t;
  t.Set(TextKey::MAIN_CAPTION, std::u16string(400, u'x'));
  EXPECT_EQ(t.Text(TextKey::MAIN_CAPTION).size(), kMaxTextLength);
}

TEST(FormatTest, FillsSupportedConversions) {
  const struct {
    std::u16string format;
    std::initializer_list<FormatArg> args;
    std::u16string expected;
  } cases[] = {
      {u"max: %d", {std::int64_t{100}}, u"max: 100"},
      {u"%03x", {std::int64_t{0x5A}}, u"05a"},
      {u"%03x", {std::int64_t{0x1301}}, u"1301"},
      {u"%X|%-4d|%4d|%04d", {std::int64_t{255}, std::int64_t{7}, std::int64_t{-7}, std::int64_t{-7}},
       u"FF|7   |  -7|-007"},
      {u"path: \n  %s", {std::u16string_view(u"C:\\a b.fwc")}, u"path: \n  C:\\a b.fwc"},
      {u"%s%d", {std::u16string_view(u"Macro"), std::int64_t{5}}, u"Macro5"},
      {u"100%% sure", {}, u"100% sure"},
  };
  for (const auto& c : cases) {
    std::u16string out;
    ASSERT_TRUE(FormatChecked(c.format, c.args, out)) << int(c.format.size());
    EXPECT_EQ(out, c.expected);
  }
}

TEST(FormatTest, RefusesWhatItCannotFillSafely) {
  const struct {
    const char* fault;
    std::u16string format;
    std::initializer_list<FormatArg> args;
  } cases[] = {
      {"%n writes memory", u"%n", {std::int64_t{1}}},
      {"pointer", u"%p", {std::int64_t{1}}},
      {"precision", u"%.3d", {std::int64_t{1}}},
      {"star width", u"%*d", {std::int64_t{1}}},
      {"huge width", u"%999999d", {std::int64_t{1}}},
      {"length modifier", u"%ld", {std::int64_t{1}}},
      {"more conversions than arguments", u"%d %d", {std::int64_t{1}}},
      {"more arguments than conversions", u"%d", {std::int64_t{1}, std::int64_t{2}}},
      {"text where a number is due", u"%s", {std::int64_t{1}}},
      {"number where a text is due", u"%d", {std::u16string_view(u"x")}},
      {"lone percent at the end", u"50%", {}},
  };
  for (const auto& c : cases) {
    std::u16string out = u"unchanged";
    EXPECT_FALSE(FormatChecked(c.format, c.args, out)) << c.fault;
    EXPECT_EQ(out, u"unchanged") << c.fault;
  }
}

TEST(FormatTest, TextWithOtherConversionsThanBuiltInIsShownUnformatted) {
  const struct {
    const char* what;
    TextKey key;
    std::u16string text;
    std::initializer_list<FormatArg> args;
    std::u16string shown;
  } cases[] = {
      {"translated, same conversions", TextKey::MACRO_ERR_MAX, u"Makros: höchstens %d",
       {std::int64_t{100}}, u"Makros: höchstens 100"},
      {"text instead of number", TextKey::MACRO_ERR_MAX, u"max %s", {std::int64_t{100}},
       u"max %s"},
      {"extra conversions", TextKey::PROFILE_FORMAT_ERROR, u"%s %s %s",
       {std::u16string_view(u"f")}, u"%s %s %s"},
      {"memory write", TextKey::MACRO_ACTION_ERR_DELAY_MIN, u"%d%n", {std::int64_t{0}},
       u"%d%n"},
      {"no conversion at all", TextKey::MACRO_ACTION_ERR_DELAY_MAX, u"Too long",
       {std::int64_t{40000}}, u"Too long"},
      {"missing key, empty text", TextKey::MACRO_ERR_MAX, u"", {std::int64_t{100}}, u""},
      {"conversion in a text built without one", TextKey::MAIN_CAPTION, u"%s",
       {}, u"%s"},
      {"hex width may differ", TextKey::UNKNOWN_KEY, u"?%x", {std::int64_t{0x5A}}, u"?5a"},
  };
  for (const auto& c : cases) {
    TextTable t;
    t.Set(c.key, c.text);
    EXPECT_EQ(t.Format(c.key, c.args), c.shown) << c.what;
  }
  EXPECT_EQ(TextTable{}.Format(TextKey::PROFILE_FORMAT_ERROR, {std::u16string_view(u"a.fwc")}),
            u"wrong file format, revert to the default values: \n  a.fwc");
}

TEST(LeadingIntegerTest, ReadsLikeTheCLibrary) {
  const struct {
    std::u16string text;
    long long value;
  } cases[] = {{u"1", 1},   {u"2", 2},  {u"", 0},    {u"abc", 0}, {u"1abc", 1},
               {u"  1", 1}, {u"+1", 1}, {u"-1", -1}, {u"01", 1}};
  for (const auto& c : cases) EXPECT_EQ(LeadingInteger(c.text), c.value);
  // 2^64 + 1 wraps to 1 in 64-bit arithmetic; it must not select English.
  EXPECT_NE(LeadingInteger(u"18446744073709551617"), 1);
}

// Answers every lookup with the key's name and records what was asked.
class RecordingIni final : public platform::IniProfile {
 public:
  struct Call {
    std::u16string section;
    std::u16string key;
    std::u16string default_value;
    std::uint32_t size;
    std::u16string file;
  };
  std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                           const char16_t* default_value, char16_t* buffer, std::uint32_t size,
                           const char16_t* file) const override {
    calls.push_back({section, key, default_value, size, file});
    const std::u16string answer = std::u16string(key) == u"language" ? language : key;
    const std::size_t n = std::min<std::size_t>(answer.size(), size - 1);
    std::copy_n(answer.begin(), n, buffer);
    buffer[n] = u'\0';
    return static_cast<std::uint32_t>(n);
  }
  int WriteString(const char16_t*, const char16_t*, const char16_t*, const char16_t*) override {
    ADD_FAILURE() << "the language file is never written";
    return 0;
  }
  std::u16string language = u"1";
  mutable std::vector<Call> calls;
};

TEST(LoadTextsTest, ReadsLanguageThenEveryKeyInOrderFromTheChosenSection) {
  const struct {
    std::u16string language;
    std::u16string section;
  } cases[] = {{u"1", u"ENGINSH"}, {u"2", u"CHINESE"}, {u"", u"CHINESE"}};
  for (const auto& c : cases) {
    RecordingIni ini;
    ini.language = c.language;
    TextTable t;
    LoadTexts(ini, u"/skins/language.ini", t);
    ASSERT_EQ(ini.calls.size(), 1 + kTextKeyCount);
    EXPECT_EQ(ini.calls[0].section, u"LANGUAGE");
    EXPECT_EQ(ini.calls[0].key, u"language");
    for (std::size_t i = 0; i < ini.calls.size(); ++i) {
      const auto& call = ini.calls[i];
      EXPECT_EQ(call.default_value, u" ") << i;
      EXPECT_EQ(call.size, 260u) << i;
      EXPECT_EQ(call.file, u"/skins/language.ini") << i;
      if (i == 0) continue;
      const auto key = static_cast<TextKey>(i - 1);
      EXPECT_EQ(call.section, c.section) << i;
      EXPECT_EQ(call.key, TextKeyName(key)) << i;
      EXPECT_EQ(t.Text(key), TextKeyName(key)) << i;
    }
  }
}

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("text_table_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "language.ini").u16string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteUtf16(std::u16string_view text) {
    std::ofstream out(fs::path(path_), std::ios::binary);
    out.put(static_cast<char>(0xFF)).put(static_cast<char>(0xFE));
    for (char16_t c : text) out.put(static_cast<char>(c & 0xFF)).put(static_cast<char>(c >> 8));
  }

  fs::path dir_;
  std::u16string path_;
  platform::IniFileProfile ini_;
};

// The language value is the leading number of the key, held within int; only 1 chooses English.
TEST_F(LanguageFileTest, ValueAndSectionChoice) {
  const struct {
    std::u16string file;
    int value;
    std::u16string section;
  } cases[] = {
      {u"[LANGUAGE]\r\nlanguage=0\r\n", 0, u"CHINESE"},
      {u"[LANGUAGE]\r\nlanguage=1\r\n", 1, u"ENGINSH"},
      {u"[LANGUAGE]\r\nlanguage=2\r\n", 2, u"CHINESE"},
      {u"[language]\r\nLANGUAGE= 1 \r\n", 1, u"ENGINSH"},
      {u"[LANGUAGE]\r\nlanguage=1x\r\n", 1, u"ENGINSH"},
      {u"[LANGUAGE]\r\nlanguage= 7x\r\n", 7, u"CHINESE"},
      {u"[LANGUAGE]\r\nlanguage=-3\r\n", -3, u"CHINESE"},
      {u"[LANGUAGE]\r\nlanguage=english\r\n", 0, u"CHINESE"},
      {u"[LANGUAGE]\r\n", 0, u"CHINESE"},
      {u"[OTHER]\r\nlanguage=1\r\n", 0, u"CHINESE"},
      // 2^32 + 1: cut to int it would read as 1.
      {u"[LANGUAGE]\r\nlanguage=4294967297\r\n", std::numeric_limits<int>::max(), u"CHINESE"},
      {u"[LANGUAGE]\r\nlanguage=-4294967297\r\n", std::numeric_limits<int>::min(), u"CHINESE"},
  };
  for (const auto& c : cases) {
    WriteUtf16(c.file);
    EXPECT_EQ(LanguageValue(ini_, path_), c.value) << fs::path(c.file).string();
    EXPECT_EQ(LanguageSection(ini_, path_), c.section) << fs::path(c.file).string();
  }
  EXPECT_EQ(LanguageValue(ini_, (dir_ / "absent.ini").u16string()), 0);
}

TEST_F(LanguageFileTest, LoadTakesTheChosenSectionWithoutFallback) {
  WriteUtf16(u"[LANGUAGE]\r\nlanguage=1\r\n"
             u"[CHINESE]\r\nMAIN_CAPTION=\u952E\u76D8\r\nKEY_PROMPT_SET=\u8BBE\u7F6E\r\n"
             u"[ENGINSH]\r\nMAIN_CAPTION=Settings\r\nunknown_key=Key %03x?\r\n"
             u"MACRO_ERR_MAX=%s%s%s%s\r\nMAIN_HELP_PROMPT=" + std::u16string(300, u'h') + u"\r\n");
  TextTable t;
  LoadTexts(ini_, path_, t);
  EXPECT_EQ(t.Text(TextKey::MAIN_CAPTION), u"Settings");
  EXPECT_EQ(t.Text(TextKey::KEY_PROMPT_SET), u"") << "no fallback to the other section";
  EXPECT_EQ(t.Text(TextKey::MACRO_NEW_PREFIX), u"") << "a missing key gives an empty text";
  EXPECT_EQ(t.Text(TextKey::MAIN_HELP_PROMPT), std::u16string(259, u'h'));
  EXPECT_EQ(t.Format(TextKey::UNKNOWN_KEY, {std::int64_t{0x5A}}), u"Key 05a?");
  EXPECT_EQ(t.Format(TextKey::MACRO_ERR_MAX, {std::int64_t{100}}), u"%s%s%s%s");
}

TEST_F(LanguageFileTest, MissingFileGivesChineseAndEmptyTexts) {
  TextTable t;
  LoadTexts(ini_, (dir_ / "absent.ini").u16string(), t);
  EXPECT_EQ(LanguageSection(ini_, (dir_ / "absent.ini").u16string()), u"CHINESE");
  for (std::size_t i = 0; i < kTextKeyCount; ++i) {
    EXPECT_EQ(t.Text(static_cast<TextKey>(i)), u"") << TextKeyName(static_cast<TextKey>(i)).size();
  }
}

TEST_F(LanguageFileTest, LookUpReadsAtTheMomentOfUse) {
  WriteUtf16(u"[ENGINSH]\r\nMENU_1=Import\r\n");
  EXPECT_EQ(LookUpText(ini_, path_, u"ENGINSH", u"MENU_1"), u"Import");
  WriteUtf16(u"[ENGINSH]\r\nMENU_1=Importieren\r\n");
  EXPECT_EQ(LookUpText(ini_, path_, u"ENGINSH", u"MENU_1"), u"Importieren");
  EXPECT_EQ(LookUpText(ini_, path_, u"ENGINSH", u"MENU_2"), u"");
}

TEST_F(LanguageFileTest, LanguageTextsGiveTableTextsAndLiveTextsByTypedKey) {
  WriteUtf16(u"[LANGUAGE]\r\nlanguage=1\r\n[ENGINSH]\r\nMENU_11=Open\r\nGUANYU_BANQUAN=(c)\r\n"
             u"MAIN_CAPTION=From file\r\n");
  TextTable table;
  table.Set(TextKey::MAIN_CAPTION, u"Loaded");
  const LanguageTexts texts(table, ini_, path_);
  EXPECT_EQ(texts.Text(TextKey::MAIN_CAPTION), u"Loaded") << "loaded texts come from the table";
  EXPECT_EQ(texts.Text(LiveTextKey::MENU_11), u"Open");
  EXPECT_EQ(texts.Text(LiveTextKey::GUANYU_BANQUAN), u"(c)");
  EXPECT_EQ(texts.Text(LiveTextKey::MENU_22), u"") << "a missing key gives an empty text";
  EXPECT_EQ(texts.Text(LiveTextKey::MACRO_CYCLES), u"Cycles") << "or its built-in text";
  // Live texts follow the file as it is now, section choice included.
  WriteUtf16(u"[LANGUAGE]\r\nlanguage=2\r\n[ENGINSH]\r\nMENU_11=Open\r\n"
             u"[CHINESE]\r\nMENU_11=\u6253\u5F00\r\n");
  EXPECT_EQ(texts.Text(LiveTextKey::MENU_11), u"\u6253\u5F00");
}

TEST(LiveTextKeyTest, NamesAreTheLanguageFileKeys) {
  const struct {
    LiveTextKey key;
    std::u16string_view name;
  } cases[] = {
      {LiveTextKey::PROFILE_1, u"PROFILE_1"},           {LiveTextKey::PROFILE_CANCLE, u"PROFILE_CANCLE"},
      {LiveTextKey::PROFILE_APPLY, u"PROFILE_APPLY"},   {LiveTextKey::MENU_4, u"MENU_4"},
      {LiveTextKey::MENU_11, u"MENU_11"},               {LiveTextKey::MENU_33, u"MENU_33"},
      {LiveTextKey::GUANYU_JIESHAO, u"GUANYU_JIESHAO"}, {LiveTextKey::GUANYU_BANQUAN, u"GUANYU_BANQUAN"},
      {LiveTextKey::SINGLE_KEY, u"SINGLE_KEY"},         {LiveTextKey::MACRO_CANCLE, u"MACRO_CANCLE"},
      {LiveTextKey::COMPOSITE_PROMPT_OSK, u"COMPOSITE_PROMPT_OSK"},
      {LiveTextKey::MENU_5, u"MENU_5"},
  };
  for (const auto& c : cases) EXPECT_EQ(LiveTextKeyName(c.key), c.name);
}

}  // namespace
}  // namespace vendrel::texts
