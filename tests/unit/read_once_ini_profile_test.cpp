// The skin and language files read once and answered from their index, with the answers of the
// portable reader; every other file, and every write, through the other profile, so that what the
// program writes is read back at once.
#include "platform/read_once_ini_profile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/ini_profile_file.h"

namespace vendrel::platform {
namespace {

// Files in memory, counting whole-file reads per path.
class CountingFiles final : public FileSystem {
 public:
  std::map<std::u16string, std::vector<std::uint8_t>> files;
  mutable std::map<std::u16string, int> reads;

  bool Exists(const std::u16string& path) const override { return files.count(path) != 0; }
  bool FileExists(const std::u16string& path) const override { return files.count(path) != 0; }
  bool CreateFolder(const std::u16string&) override { return true; }
  int ReadWholeFile(const std::u16string& path, std::uint64_t max_size,
                    std::vector<std::uint8_t>& out) const override {
    ++reads[path];
    out.clear();
    const auto it = files.find(path);
    if (it == files.end()) return kReadMissing;
    if (it->second.size() > max_size) return kReadTooLarge;
    out = it->second;
    return kReadOk;
  }
  bool WriteFileReplacing(const std::u16string& path, std::span<const std::uint8_t> bytes) override {
    files[path].assign(bytes.begin(), bytes.end());
    return true;
  }
  bool RemoveFile(const std::u16string& path) override { return files.erase(path), true; }
};

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

// What a profile answers, as the string and the returned count.
struct Answer {
  std::u16string text;
  std::uint32_t count;
  friend bool operator==(const Answer&, const Answer&) = default;
};

Answer Ask(const IniProfile& ini, const char16_t* section, const char16_t* key,
           const char16_t* fallback, std::uint32_t size, const char16_t* file) {
  std::vector<char16_t> buffer(size + 1, u'#');
  const std::uint32_t n = ini.ReadString(section, key, fallback, buffer.data(), size, file);
  // Lists hold zeros: keep everything up to the count plus the terminators.
  return {std::u16string(buffer.data(), std::min<std::size_t>(size, n + 2)), n};
}

constexpr char16_t kSkin[] = u"C:\\Prog\\Skins\\Main.ini";
constexpr char16_t kColours[] = u"C:\\Prog\\Skins\\UserDengColor_0.userd";

class ReadOnce : public ::testing::Test {
 protected:
  ReadOnce() {
    files.files[kSkin] = Bytes(
        "[SCREEN]\r\nMain=main_normal.jpg\r\nLink = \"https://x.example\" \r\n;Hidden=1\r\n"
        "[BUTTONINFO]\r\nKEY_A=10,20,30,40\r\nkey_a=99,99,99,99\r\n[Empty]\r\n[screen]\r\nMain=other\r\n");
    files.files[kColours] = Bytes("[Present]\r\nMode=1\r\n");
  }

  CountingFiles files;
  IniFileProfile others{files};       // stands in for the platform's own calls
  IniFileProfile reference{files};    // the portable reader, asked directly
  ReadOnceIniProfile ini{files, others, {u"c:\\prog\\skins\\MAIN.INI"}};
};

TEST_F(ReadOnce, AnswersAsThePortableReaderFromOneRead) {
  struct Case {
    const char16_t* section;
    const char16_t* key;
    const char16_t* fallback;
    std::uint32_t size;
  };
  const Case cases[] = {
      {u"SCREEN", u"Main", u"", 260},
      {u"screen", u"MAIN", u"", 260},            // names ignore letter case; first section wins
      {u"SCREEN", u"Link", u"", 260},            // blanks and quotes removed
      {u"SCREEN", u"Link", u"", 6},              // cut to the buffer
      {u"SCREEN", u";Hidden", u"", 260},         // found by a lookup
      {u"SCREEN", u"Missing", u"dflt   ", 260},  // the default without its trailing blanks
      {u"BUTTONINFO", u"KEY_A", u"", 260},       // the first of two equal keys
      {u"Nowhere", u"KEY_A", u"1,1,1,1,x", 260},
      {u"SCREEN", nullptr, u"", 260},            // key list: the ';' key left out
      {nullptr, nullptr, u"", 260},              // section list
      {nullptr, nullptr, u"", 12},               // a cut list
      {u"Empty", nullptr, u"none", 260},
      {u"SCREEN", u"Main", u"", 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(Ask(ini, c.section, c.key, c.fallback, c.size, kSkin),
              Ask(reference, c.section, c.key, c.fallback, c.size, kSkin))
        << "case " << i;
  }
  files.reads.clear();
  for (int i = 0; i < 50; ++i) {
    for (const Case& c : cases) Ask(ini, c.section, c.key, c.fallback, c.size, kSkin);
  }
  EXPECT_EQ(files.reads[kSkin], 0) << "a read-once file read again";
  const Answer key_a = Ask(ini, u"BUTTONINFO", u"KEY_A", u"", 260, kSkin);
  EXPECT_EQ(key_a.count, 11u);
  EXPECT_EQ(key_a.text.substr(0, key_a.count), u"10,20,30,40");
}

TEST_F(ReadOnce, ReadsTheFileOnceAndAnswersEveryOtherFileByTheOtherProfile) {
  for (int i = 0; i < 20; ++i) {
    Ask(ini, u"BUTTONINFO", u"KEY_A", u"", 260, kSkin);
    Ask(ini, u"Present", u"Mode", u"0", 8, kColours);
  }
  EXPECT_EQ(files.reads[kSkin], 1);
  // The other profile here cannot tell a file's stamp, so each of its lookups reads the file.
  EXPECT_GE(files.reads[kColours], 20);
  EXPECT_EQ(Ask(ini, u"Present", u"Mode", u"0", 8, kColours).text.substr(0, 1), u"1");
}

// A file the program writes is read back at once, whether it is listed or not.
TEST_F(ReadOnce, AWriteIsSeenByTheNextRead) {
  struct Case {
    const char* name;
    const char16_t* file;
  };
  for (const Case& c : {Case{"colour file", kColours}, Case{"listed file", kSkin}}) {
    SCOPED_TRACE(c.name);
    Ask(ini, u"Present", u"Mode", u"0", 8, c.file);
    ASSERT_EQ(ini.WriteString(u"Present", u"Mode", u"7", c.file), 1);
    EXPECT_EQ(Ask(ini, u"Present", u"Mode", u"0", 8, c.file).text.substr(0, 1), u"7");
    ASSERT_EQ(ini.WriteString(u"Present", u"Mode", nullptr, c.file), 1);
    EXPECT_EQ(Ask(ini, u"Present", u"Mode", u"0", 8, c.file).text.substr(0, 1), u"0");
  }
}

TEST_F(ReadOnce, AListedFileThatCannotBeReadIsAskedForAgain) {
  files.files.erase(kSkin);
  EXPECT_EQ(Ask(ini, u"SCREEN", u"Main", u"none", 260, kSkin).text.substr(0, 4), u"none");
  files.files[kSkin] = Bytes("[SCREEN]\r\nMain=late.jpg\r\n");
  EXPECT_EQ(Ask(ini, u"SCREEN", u"Main", u"none", 260, kSkin).text.substr(0, 8), u"late.jpg");
  const int reads = files.reads[kSkin];
  Ask(ini, u"SCREEN", u"Main", u"none", 260, kSkin);
  EXPECT_EQ(files.reads[kSkin], reads) << "kept once it could be read";
}

}  // namespace
}  // namespace vendrel::platform
