// The per-key colour files: value texts and their lenient reading, the sections and keys a slot
// lives in, separate files per profile, and the copy of the factory template.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lighting/colour_file.h"
#include "platform/file_system.h"
#include "platform/ini_profile_file.h"
#include "support/memory_ini_profile.h"
#include "support/temp_folder.h"

namespace vendrel::lighting {
namespace {

namespace fs = std::filesystem;

std::ostream& operator<<(std::ostream& os, const KeyColour& k) {
  return os << "(" << int(RedOf(k.colour)) << "," << int(GreenOf(k.colour)) << ","
            << int(BlueOf(k.colour)) << (k.follows_base ? " follows)" : " own)");
}

std::string Narrow(const std::u16string& s) { return {s.begin(), s.end()}; }

constexpr Colour kBlue = MakeColour(0, 0, 255);

// ---- Value texts -------------------------------------------------------------------------

struct KeyTextCase {
  const char16_t* text;
  KeyColour expected;
};

TEST(ColourTextTest, KeyValuesReadLenientlyAndNeverFail) {
  const KeyTextCase cases[] = {
      {u"0,0,255,0", {kBlue, false}},
      {u"10,20,30,1", {MakeColour(10, 20, 30), true}},
      {u"1,2,3,-1", {MakeColour(1, 2, 3), true}},  // any f but 0 follows
      {u"1,2,3,7", {MakeColour(1, 2, 3), true}},
      {u"300,-4,255,1", {MakeColour(255, 0, 255), true}},  // held to 0..255, not wrapped
      {u"256,511,-1,0", {MakeColour(255, 255, 0), false}},
      {u" 7 , 8 ,\t9 , 0", {MakeColour(7, 8, 9), false}},
      {u"+5,0,0,1", {MakeColour(5, 0, 0), true}},
      {u"0,0,255", {kBlue, false}},  // missing f reads as 0
      {u"12", {MakeColour(12, 0, 0), false}},
      {u"5,x,9,1", {MakeColour(5, 0, 0), false}},  // stops at the first non-number
      {u"5;6;7;1", {MakeColour(5, 0, 0), false}},
      {u"1,2,3,4,5", {MakeColour(1, 2, 3), true}},  // extra numbers are ignored
      {u"99999999999999999999,0,0,1", {kRed, true}},
      {u"-99999999999999999999,0,0,0", {kBlack, false}},
      {u"9,9,9,99999999999999999999", {MakeColour(9, 9, 9), true}},
      {u"", {kRed, true}},  // no number at all reads like a missing key
      {u"abc", {kRed, true}},
      {u",1,2,3", {kRed, true}},
      {u"-", {kRed, true}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseKeyColour(c.text), c.expected) << Narrow(c.text);
  }
}

struct RgbTextCase {
  const char16_t* text;
  Colour expected;
};

TEST(ColourTextTest, RgbValuesReadLenientlyAndNeverFail) {
  const RgbTextCase cases[] = {
      {u"0,0,0", kBlack},
      {u"1,2,3", MakeColour(1, 2, 3)},
      {u"255,128,0", MakeColour(255, 128, 0)},
      {u"1000,-20,40", MakeColour(255, 0, 40)},
      {u"1,2", MakeColour(1, 2, 0)},
      {u"9", MakeColour(9, 0, 0)},
      {u"4,5,6,7", MakeColour(4, 5, 6)},
      {u"red", kBlack},
      {u"", kBlack},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseRgb(c.text), c.expected) << Narrow(c.text);
  }
}

TEST(ColourTextTest, WrittenTextsReadBackTheSameColour) {
  const KeyColour keys[] = {{kBlack, false}, {kRed, true}, {MakeColour(1, 22, 255), false},
                            {MakeColour(255, 255, 255), true}, {kBlue, true}};
  const std::u16string expected[] = {u"0,0,0,0", u"255,0,0,1", u"1,22,255,0", u"255,255,255,1",
                                     u"0,0,255,1"};
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_EQ(FormatKeyColour(keys[i]), expected[i]);
    EXPECT_EQ(ParseKeyColour(FormatKeyColour(keys[i])), keys[i]) << i;
    EXPECT_EQ(FormatRgb(keys[i].colour), expected[i].substr(0, expected[i].rfind(u',')));
    EXPECT_EQ(ParseRgb(FormatRgb(keys[i].colour)), keys[i].colour) << i;
  }
}

// ---- Values through the profile strings ------------------------------------------------------

class MemoryColourFileTest : public ::testing::Test {
 protected:
  testing::MemoryIniProfile ini;
  ColourFile file{ini, platform::PortableFileSystem(), u"/skins/UserDengColor_"};
};

TEST_F(MemoryColourFileTest, PathIsPrefixProfileAndExtension) {
  EXPECT_EQ(file.Path(0), u"/skins/UserDengColor_0.userd");
  EXPECT_EQ(file.Path(2), u"/skins/UserDengColor_2.userd");
  EXPECT_EQ(file.Path(kTemplateProfile), u"/skins/UserDengColor_3.userd");
}

struct SlotTextCase {
  const char16_t* text;
  int expected;
};

TEST_F(MemoryColourFileTest, ActiveSlotIsKeptAsReadButNeverNegative) {
  const SlotTextCase cases[] = {
      {u"0", 0},   {u"7", 7},     {u"12", 12}, {u" 4", 4},  {u"3abc", 3},
      {u"-3", 0},  {u"abc", 0},   {u"", 0},    {u"-99999999999", 0},
      {u"99999999999", INT_MAX},
  };
  for (const auto& c : cases) {
    ini.values[{u"PRESENTMODE", u"mode"}] = c.text;
    EXPECT_EQ(file.ReadActiveSlot(1), c.expected) << Narrow(c.text);
  }
}

struct ToolTextCase {
  const char16_t* text;
  int expected;
};

TEST_F(MemoryColourFileTest, ToolIsOneOnlyForOne) {
  const ToolTextCase cases[] = {{u"1", 1}, {u"0", 0}, {u"2", 0}, {u"-1", 0}, {u"x", 0}, {u" 1", 1}};
  for (const auto& c : cases) {
    ini.values[{u"Mode5", u"tool"}] = c.text;
    EXPECT_EQ(file.ReadSlotSettings(0, 5).tool, c.expected) << Narrow(c.text);
  }
}

TEST_F(MemoryColourFileTest, EachValueGoesToItsSectionAndKeyInOrder) {
  file.WriteActiveSlot(0, 4);
  file.WriteSlotName(0, 4, u"Night");
  file.WriteSlotSettings(0, 3, SlotSettings{1, MakeColour(1, 2, 3), MakeColour(4, 5, 6)});
  file.WriteKeyColour(0, 3, 64, KeyColour{MakeColour(7, 8, 9), false});
  file.WriteKeyColour(0, 12, 110, KeyColour{kBlue, true});
  using W = testing::MemoryIniProfile::Write;
  const std::vector<W> expected = {
      {u"PRESENTMODE", u"mode", u"4"},      {u"MODENAME", u"4", u"Night"},
      {u"Mode3", u"tool", u"1"},            {u"Mode3", u"jcolor", u"1,2,3"},
      {u"Mode3", u"color", u"4,5,6"},       {u"Mode3", u"64", u"7,8,9,0"},
      {u"Mode12", u"110", u"0,0,255,1"},
  };
  EXPECT_EQ(ini.writes, expected);
  EXPECT_EQ(file.ReadActiveSlot(0), 4);
  EXPECT_EQ(file.ReadSlotName(0, 4), u"Night");
  EXPECT_EQ(file.ReadSlotSettings(0, 3), (SlotSettings{1, MakeColour(1, 2, 3), MakeColour(4, 5, 6)}));
  EXPECT_EQ(file.ReadKeyColour(0, 3, 64), (KeyColour{MakeColour(7, 8, 9), false}));
  EXPECT_EQ(file.ReadKeyColour(0, 12, 110), (KeyColour{kBlue, true}));
}

// ---- Real files ---------------------------------------------------------------------------

class ColourFileTest : public ::testing::Test {
 protected:
  void WriteRaw(int profile, const std::string& text) {
    std::ofstream out(fs::path(file.Path(profile)), std::ios::binary);
    out << text;
  }
  std::string ReadRaw(int profile) const {
    std::ifstream in(fs::path(file.Path(profile)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool Exists(int profile) const { return fs::exists(fs::path(file.Path(profile))); }

  testing::TempFolder folder;
  platform::IniFileProfile ini{platform::PortableFileSystem()};
  ColourFile file{ini, platform::PortableFileSystem(), folder.File("UserDengColor_")};
};

TEST_F(ColourFileTest, MissingFileReadsAsDefaults) {
  EXPECT_EQ(file.ReadActiveSlot(0), 0);
  for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(file.ReadSlotName(0, slot), u"0") << slot;
  EXPECT_EQ(file.ReadSlotSettings(0, 0), (SlotSettings{0, kBlack, kBlack}));
  EXPECT_EQ(file.ReadKeyColour(0, 0, 64), (KeyColour{kRed, true}));
  EXPECT_FALSE(Exists(0));  // reading creates nothing
}

TEST_F(ColourFileTest, ValuesWrittenByHandAreRead) {
  WriteRaw(1,
           "[PRESENTMODE]\r\nmode=12\r\n[MODENAME]\r\n2=Work\r\n"
           "[Mode12]\r\ntool=1\r\njcolor=0,255,0\r\ncolor=0,0,255\r\n64=0,0,255,0\r\n"
           "[Mode0]\r\n64=9,9,9,1\r\n");
  EXPECT_EQ(file.ReadActiveSlot(1), 12);
  EXPECT_EQ(file.ReadSlotName(1, 2), u"Work");
  EXPECT_EQ(file.ReadSlotName(1, 3), u"0");
  EXPECT_EQ(file.ReadSlotSettings(1, 12), (SlotSettings{1, MakeColour(0, 255, 0), kBlue}));
  EXPECT_EQ(file.ReadKeyColour(1, 12, 64), (KeyColour{kBlue, false}));
  EXPECT_EQ(file.ReadKeyColour(1, 12, 65), (KeyColour{kRed, true}));
  EXPECT_EQ(file.ReadKeyColour(1, 0, 64), (KeyColour{MakeColour(9, 9, 9), true}));
}

TEST_F(ColourFileTest, EachProfileHasItsOwnFile) {
  file.WriteSlotName(0, 1, u"Zero");
  file.WriteKeyColour(2, 1, 64, KeyColour{kBlue, false});
  EXPECT_EQ(file.ReadSlotName(0, 1), u"Zero");
  EXPECT_EQ(file.ReadSlotName(1, 1), u"0");
  EXPECT_EQ(file.ReadSlotName(2, 1), u"0");
  EXPECT_EQ(file.ReadKeyColour(2, 1, 64), (KeyColour{kBlue, false}));
  EXPECT_EQ(file.ReadKeyColour(0, 1, 64), (KeyColour{kRed, true}));
  EXPECT_TRUE(Exists(0));
  EXPECT_FALSE(Exists(1));
  EXPECT_TRUE(Exists(2));
}

TEST_F(ColourFileTest, SlotNamesCannotBreakTheFile) {
  file.WriteSlotName(0, 1, u"Game\r\n[Mode9]\r\ntool=1");
  file.WriteSlotName(0, 2, u"Line\n5=break");
  const std::u16string long_name(300, u'n');
  file.WriteSlotName(0, 3, long_name);
  EXPECT_EQ(file.ReadSlotName(0, 1), u"Game");
  EXPECT_EQ(file.ReadSlotName(0, 2), u"Line");
  EXPECT_EQ(file.ReadSlotName(0, 3), long_name.substr(0, kMaxValueChars));
  EXPECT_EQ(file.ReadSlotSettings(0, 9).tool, 0);
  EXPECT_EQ(file.ReadSlotName(0, 5), u"0");
}

struct TemplateCase {
  const char* name;
  bool template_present;
  std::string template_text;
};

TEST_F(ColourFileTest, ResetCopiesTheTemplateOrLeavesAnEmptyFile) {
  const std::string big(kMaxTemplateSize + 1, ';');
  const TemplateCase cases[] = {
      {"template", true, "[PRESENTMODE]\r\nmode=2\r\n[Mode2]\r\n64=0,0,255,0\r\n"},
      {"empty template", true, ""},
      {"no template", false, ""},
      {"oversized template", true, big},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(fs::path(file.Path(kTemplateProfile)));
    if (c.template_present) WriteRaw(kTemplateProfile, c.template_text);
    WriteRaw(1, "[PRESENTMODE]\r\nmode=5\r\n[Mode2]\r\n64=1,1,1,1\r\n");
    WriteRaw(2, "[PRESENTMODE]\r\nmode=7\r\n");
    EXPECT_EQ(file.ReadActiveSlot(1), 5);  // the old file is known before the reset

    file.ResetFromTemplate(1);

    const bool copied = c.template_present && c.template_text.size() <= kMaxTemplateSize;
    EXPECT_TRUE(Exists(1));
    EXPECT_EQ(ReadRaw(1), copied ? c.template_text : std::string());
    const bool from_template = copied && !c.template_text.empty();
    EXPECT_EQ(file.ReadActiveSlot(1), from_template ? 2 : 0);
    const KeyColour key = from_template ? KeyColour{kBlue, false} : KeyColour{kRed, true};
    EXPECT_EQ(file.ReadKeyColour(1, 2, 64), key);
    EXPECT_EQ(Exists(kTemplateProfile), c.template_present);
    if (c.template_present) EXPECT_EQ(ReadRaw(kTemplateProfile), c.template_text);
    EXPECT_EQ(ReadRaw(2), "[PRESENTMODE]\r\nmode=7\r\n");
  }
}

TEST_F(ColourFileTest, TheTemplateIsNeverReset) {
  const std::string text = "[PRESENTMODE]\r\nmode=3\r\n";
  WriteRaw(kTemplateProfile, text);
  file.ResetFromTemplate(kTemplateProfile);
  EXPECT_EQ(ReadRaw(kTemplateProfile), text);
}

}  // namespace
}  // namespace vendrel::lighting
