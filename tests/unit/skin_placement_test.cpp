#include "skin/ini_file.h"
#include "skin/placement.h"

#include "platform/ini_profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace vendrel::skin {
namespace {

// Profile strings from a map, cutting values to the caller's buffer as the platform does, and
// remembering the buffer size each read asked for.
class MapIni : public platform::IniProfile {
 public:
  std::map<std::pair<std::u16string, std::u16string>, std::u16string> values;
  mutable std::uint32_t last_size = 0;
  mutable std::u16string last_file;
  int write_result = 1;

  std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                                        const char16_t* default_value, char16_t* buffer,
                                        std::uint32_t size, const char16_t* file) const override {
    last_size = size;
    last_file = file;
    std::u16string value = default_value ? default_value : u"";
    while (!value.empty() && value.back() == u' ') value.pop_back();
    if (auto it = values.find({section, key}); it != values.end()) value = it->second;
    if (size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(value.size(), size - 1);
    value.copy(buffer, n);
    buffer[n] = 0;
    return static_cast<std::uint32_t>(n);
  }
  int WriteString(const char16_t* section, const char16_t* key,
                                const char16_t* value, const char16_t*) override {
    values[{section, key}] = value;
    return write_result;
  }
};

TEST(CIniFile, ValuesAreCutAt2047CharactersAndEmptyMeansNothing) {
  MapIni ini;
  CIniFile file(ini, u"C:\\V\\Skins\\Main.ini");
  ini.values[{u"SCREEN", u"Link"}] = std::u16string(3000, u'a');
  ini.values[{u"SCREEN", u"Empty"}] = u"";
  const auto longer = file.GetString(u"SCREEN", u"Link");
  ASSERT_TRUE(longer.has_value());
  EXPECT_EQ(longer->size(), kIniValueChars);
  EXPECT_EQ(ini.last_file, u"C:\\V\\Skins\\Main.ini");
  EXPECT_FALSE(file.GetString(u"SCREEN", u"Empty").has_value());
  EXPECT_FALSE(file.GetString(u"SCREEN", u"Missing").has_value());
  EXPECT_EQ(file.GetString(u"SCREEN", u"Missing", u"dflt"), u"dflt");
}

TEST(CIniFile, PathIsCutAt259AndWritesReportTheirResult) {
  MapIni ini;
  CIniFile file(ini);
  file.SetPath(std::u16string(300, u'p'));
  EXPECT_EQ(file.Path().size(), kIniPathChars);
  EXPECT_EQ(file.WriteString(u"S", u"K", u"v"), 1);
  EXPECT_EQ(file.GetString(u"S", u"K"), u"v");
  ini.write_result = 0;
  EXPECT_EQ(file.WriteString(u"S", u"K", u"w"), 0);
}

struct ParseCase {
  std::u16string_view text;
  Placement expected;
  bool absent;
};

TEST(ParsePlacement, ScansUpToFourNumbersLikeTheCPattern) {
  const ParseCase cases[] = {
      {u"10,20,30,40", {10, 20, 30, 40}, false},
      {u"1,1,80,20", {1, 1, 80, 20}, true},           // valid size, but (1,1) means absent
      {u"1,1,1,1,x", {1, 1, 1, 1}, true},             // the default
      {u"5, 6 , 7,8", {5, 6, 0, 0}, false},           // blank before ',' stops the scan
      {u" 5, 6,\t7, 8", {5, 6, 7, 8}, false},         // blanks before numbers are skipped
      {u"-3,+4,5,6", {-3, 4, 5, 6}, false},
      {u"12,34", {12, 34, 0, 0}, false},              // missing numbers are 0
      {u"12,x,3,4", {12, 0, 0, 0}, false},
      {u"", {0, 0, 0, 0}, false},
      {u"abc", {0, 0, 0, 0}, false},
      {u"1,2,3,4,5,6", {1, 2, 3, 4}, false},          // only four are read
      {u"99999999999,2,3,4", {2147483647, 2, 3, 4}, false},
      {u"-99999999999,2,3,4", {-2147483647 - 1, 2, 3, 4}, false},
      {u"7;8;9;10", {7, 0, 0, 0}, false},
  };
  for (const ParseCase& c : cases) {
    const Placement p = ParsePlacement(c.text);
    EXPECT_EQ(p, c.expected) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(p.Absent(), c.absent) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(ReadPlacement, MissingKeyGivesTheDefaultAbsentControl) {
  MapIni ini;
  CIniFile file(ini, u"Main.ini");
  ini.values[{u"BUTTONINFO", u"KEY_01E"}] = u"120,200,36,36";
  EXPECT_EQ(ReadPlacement(file, kSectionButtonInfo, u"KEY_01E"), (Placement{120, 200, 36, 36}));
  const Placement app = ReadPlacement(file, kSectionButtonInfo, u"KEY_15D");
  EXPECT_EQ(app, (Placement{1, 1, 1, 1}));
  EXPECT_TRUE(app.Absent());
}

// The skin reader over a real file, as the program reads Main.ini: letter case of names does not
// matter, blanks around values go, quotes around a value go, and long values are cut.
class SkinFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("skin_placement_test_" +
            std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "Main.ini").u16string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Write(const std::string& text) {
    std::ofstream out(std::filesystem::path(path_), std::ios::binary);
    out << text;
  }
  std::filesystem::path dir_;
  std::u16string path_;
  platform::IniFileProfile ini_;
};

TEST_F(SkinFileOnDisk, PlacementsAndScreenValuesReadAsTheWindowsUseThem) {
  Write("[screen]\r\nmain = main_normal.jpg \r\nLink=\"https://corvasse.example/v\"\r\n"
        "[ButtonInfo]\r\nkey_01e=120,200,36,36\r\nKEY_15D=\r\nFUNC_G1 = 10, 20,30,40\r\n"
        "LONG=" + std::string(3000, '9') + "\r\n");
  CIniFile file(ini_, path_);
  EXPECT_EQ(file.GetString(u"SCREEN", u"Main"), u"main_normal.jpg");
  EXPECT_FALSE(file.GetString(u"SCREEN", u"Mask").has_value());
  EXPECT_EQ(file.GetString(u"SCREEN", u"Link"), u"https://corvasse.example/v");
  EXPECT_EQ(ReadPlacement(file, kSectionButtonInfo, u"KEY_01E"), (Placement{120, 200, 36, 36}));
  EXPECT_EQ(ReadPlacement(file, kSectionButtonInfo, u"FUNC_G1"), (Placement{10, 20, 30, 40}));
  // Present but empty: no numbers, not the absent default.
  EXPECT_EQ(ReadPlacement(file, kSectionButtonInfo, u"KEY_15D"), (Placement{0, 0, 0, 0}));
  EXPECT_TRUE(ReadPlacement(file, kSectionButtonInfo, u"KEY_FN").Absent());
  EXPECT_EQ(file.GetString(u"BUTTONINFO", u"LONG")->size(), kIniValueChars);
}

TEST_F(SkinFileOnDisk, MissingFileReadsAsEmpty) {
  CIniFile file(ini_, path_ + u".missing");
  EXPECT_FALSE(file.GetString(u"SCREEN", u"Main").has_value());
  EXPECT_TRUE(ReadPlacement(file, kSectionButtonInfo, u"KEY_01E").Absent());
}

}  // namespace
}  // namespace vendrel::skin
