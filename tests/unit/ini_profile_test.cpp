// The profile-string calls over files: lookups, cuts, defaults, encodings and writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ini_profile.h"
#include "platform/ini_profile_file.h"

namespace vendrel::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> Utf16Le(std::u16string_view s) {
  std::vector<std::uint8_t> out{0xFF, 0xFE};
  for (char16_t c : s) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

std::vector<std::uint8_t> Utf16Be(std::u16string_view s) {
  std::vector<std::uint8_t> out{0xFE, 0xFF};
  for (char16_t c : s) {
    out.push_back(static_cast<std::uint8_t>(c >> 8));
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
  }
  return out;
}

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("ini_profile_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "test.ini").u16string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteRaw(const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(fs::path(path_), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<std::uint8_t> ReadRaw() const {
    std::ifstream in(fs::path(path_), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::u16string Read(const char16_t* section, const char16_t* key, const char16_t* def = u"",
                      std::uint32_t size = 260, std::uint32_t* returned = nullptr) const {
    std::vector<char16_t> buffer(size + 1, u'#');
    const std::uint32_t n = ini_.ReadString(section, key, def, buffer.data(), size, path_.c_str());
    if (returned) *returned = n;
    if (size > 0) EXPECT_EQ(buffer[n], u'\0');
    EXPECT_EQ(buffer[size], u'#') << "wrote past the buffer";
    return std::u16string(buffer.data(), n);
  }
  std::vector<std::u16string> ReadList(const char16_t* section, std::uint32_t size,
                                       std::uint32_t* returned) const {
    std::vector<char16_t> buffer(size + 1, u'#');
    *returned = ini_.ReadString(section, nullptr, u"", buffer.data(), size, path_.c_str());
    EXPECT_EQ(buffer[size], u'#') << "wrote past the buffer";
    std::vector<std::u16string> names;
    std::u16string current;
    for (std::uint32_t i = 0; i < *returned; ++i) {
      if (buffer[i] == u'\0') {
        names.push_back(current);
        current.clear();
      } else {
        current.push_back(buffer[i]);
      }
    }
    if (size >= 2) EXPECT_EQ(buffer[*returned], u'\0');
    return names;
  }

  fs::path dir_;
  std::u16string path_;
  IniFileProfile ini_;
};

struct LookupCase {
  const char* fault;
  std::vector<std::uint8_t> file;
  const char16_t* section;
  const char16_t* key;
  const char16_t* def;
  std::uint32_t size;
  std::u16string expected;
};

TEST_F(IniFileTest, LookupFindsValuesAsTheWindowsCallDoes) {
  const std::vector<std::uint8_t> plain = Bytes(
      "; comment line\r\n[LANGUAGE]\r\nlanguage=1\r\n[ENGINSH]\r\nKEY_A = spaced value  \r\n"
      "QUOTED=\"in quotes\"\r\nHALF=\"open only\r\nSINGLE='single'\r\nDUP=first\r\nDUP=second\r\n"
      "EMPTY=\r\nBARE\r\n;NOTE=semicolon key\r\n[CHINESE]\r\nONLY_CN=cn\r\n[ENGINSH]\r\n"
      "LATE=late\r\n");
  const LookupCase cases[] = {
      {"exact names", plain, u"LANGUAGE", u"language", u" ", 260, u"1"},
      {"section name case ignored", plain, u"language", u"language", u" ", 260, u"1"},
      {"key name case ignored", plain, u"ENGINSH", u"key_a", u" ", 260, u"spaced value"},
      {"blanks around value kept", plain, u"ENGINSH", u"KEY_A", u"", 260, u"spaced value"},
      {"quotes removed", plain, u"ENGINSH", u"QUOTED", u"", 260, u"in quotes"},
      {"single quotes removed", plain, u"ENGINSH", u"SINGLE", u"", 260, u"single"},
      {"unmatched quote kept", plain, u"ENGINSH", u"HALF", u"", 260, u"\"open only"},
      {"first duplicate wins", plain, u"ENGINSH", u"DUP", u"", 260, u"first"},
      {"empty value is not the default", plain, u"ENGINSH", u"EMPTY", u"dflt", 260, u""},
      {"line without '=' is no key", plain, u"ENGINSH", u"BARE", u"dflt", 260, u"dflt"},
      {"semicolon starts an ordinary key", plain, u"ENGINSH", u";note", u"", 260,
       u"semicolon key"},
      {"quoted default loses its quotes", plain, u"ENGINSH", u"NOPE", u"\"q\"  ", 260, u"q"},
      {"missing key gives default without trailing blanks", plain, u"ENGINSH", u"NOPE", u"x  ",
       260, u"x"},
      {"single blank default gives empty text", plain, u"ENGINSH", u"NOPE", u" ", 260, u""},
      {"null default gives empty text", plain, u"ENGINSH", u"NOPE", nullptr, 260, u""},
      {"key of another section not found", plain, u"ENGINSH", u"ONLY_CN", u" ", 260, u""},
      {"repeated section not searched", plain, u"ENGINSH", u"LATE", u" ", 260, u""},
      {"value cut to buffer", plain, u"ENGINSH", u"KEY_A", u"", 5, u"spac"},
      {"default cut to buffer", plain, u"ENGINSH", u"NOPE", u"abcdef", 3, u"ab"},
      {"buffer of one gives empty", plain, u"ENGINSH", u"KEY_A", u"", 1, u""},
      {"utf-16 le with mark", Utf16Le(u"[S]\r\nK=\u4E2D\u6587\r\n"), u"S", u"K", u"", 260,
       u"\u4E2D\u6587"},
      {"utf-16 be with mark", Utf16Be(u"[S]\nK=v\u00E9\n"), u"S", u"K", u"", 260, u"v\u00E9"},
      {"utf-8 with mark", Bytes("\xEF\xBB\xBF[S]\nK=\xE4\xB8\xAD\n"), u"S", u"K", u"", 260,
       u"\u4E2D"},
      {"utf-8 without mark", Bytes("[S]\rK=\xEF\xBC\x8C\r"), u"S", u"K", u"", 260, u"\uFF0C"},
      {"8-bit text without mark", Bytes("[S]\nK=caf\xE9\n"), u"S", u"K", u"", 260, u"caf\u00E9"},
      {"last line without line end", Bytes("[S]\nK=end"), u"S", u"K", u"", 260, u"end"},
      {"odd trailing byte of utf-16 ignored", [] {
         auto b = Utf16Le(u"[S]\nK=v");
         b.push_back(0x41);
         return b;
       }(), u"S", u"K", u"", 260, u"v"},
  };
  for (const auto& c : cases) {
    WriteRaw(c.file);
    std::uint32_t returned = 0;
    EXPECT_EQ(Read(c.section, c.key, c.def, c.size, &returned), c.expected) << c.fault;
    EXPECT_EQ(returned, c.expected.size()) << c.fault;
  }
}

TEST_F(IniFileTest, MissingFileGivesTheDefault) {
  std::uint32_t returned = 0;
  EXPECT_EQ(Read(u"S", u"K", u"fallback ", 260, &returned), u"fallback");
  EXPECT_EQ(returned, 8u);
  EXPECT_EQ(Read(u"S", u"K", u" "), u"");
}

TEST_F(IniFileTest, BufferOfZeroWritesNothing) {
  WriteRaw(Bytes("[S]\nK=v\n"));
  char16_t sentinel = u'#';
  EXPECT_EQ(ini_.ReadString(u"S", u"K", u"", &sentinel, 0, path_.c_str()), 0u);
  EXPECT_EQ(sentinel, u'#');
}

TEST_F(IniFileTest, ListsSectionAndKeyNamesAndCutsThem) {
  WriteRaw(Bytes("[One]\nA=1\n;hidden=x\nbare line\nBee=2\n[Two]\n[Three]\nC=3\n"));
  std::uint32_t returned = 0;
  EXPECT_EQ(ReadList(nullptr, 100, &returned), (std::vector<std::u16string>{u"One", u"Two", u"Three"}));
  EXPECT_EQ(returned, 14u);
  EXPECT_EQ(ReadList(u"one", 100, &returned), (std::vector<std::u16string>{u"A", u"Bee"}));
  EXPECT_EQ(returned, 6u);
  EXPECT_EQ(ReadList(u"Two", 100, &returned), std::vector<std::u16string>{});
  EXPECT_EQ(returned, 0u);
  // "One\0Two\0Three\0\0" does not fit in 8: cut and ended by two zeros, size - 2 returned.
  ReadList(nullptr, 8, &returned);
  EXPECT_EQ(returned, 6u);
  // No such section: the default, as for a missing key.
  EXPECT_EQ(Read(u"Four", nullptr, u"dflt "), u"dflt");
}

struct WriteCase {
  const char* fault;
  std::string before;  // 8-bit file content, empty = no file
  const char16_t* section;
  const char16_t* key;
  const char16_t* value;
  std::string after;   // expected 8-bit file content
};

TEST_F(IniFileTest, WritesChangeOnlyTheirLine) {
  const std::string base = "; keep me\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n";
  const WriteCase cases[] = {
      {"replace value in place", base, u"a", u"Y", u"20",
       "; keep me\r\n[A]\r\nx=1\r\ny=20\r\n\r\n[B]\r\nz=3\r\n"},
      {"new key goes into its section", base, u"A", u"w", u"9",
       "; keep me\r\n[A]\r\nx=1\r\ny=2\r\nw=9\r\n\r\n[B]\r\nz=3\r\n"},
      {"new section appended", base, u"C", u"k", u"v",
       "; keep me\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n[C]\r\nk=v\r\n"},
      {"null value removes key", base, u"A", u"x", nullptr,
       "; keep me\r\n[A]\r\ny=2\r\n\r\n[B]\r\nz=3\r\n"},
      {"null key removes section", base, u"A", nullptr, nullptr, "; keep me\r\n[B]\r\nz=3\r\n"},
      {"line ends unified", "[A]\nx=1\n", u"A", u"x", u"2", "[A]\r\nx=2\r\n"},
  };
  for (const auto& c : cases) {
    WriteRaw(Bytes(c.before));
    EXPECT_EQ(ini_.WriteString(c.section, c.key, c.value, path_.c_str()), 1) << c.fault;
    const auto after = ReadRaw();
    EXPECT_EQ(std::string(after.begin(), after.end()), c.after) << c.fault;
  }
}

TEST_F(IniFileTest, NewFileIsUtf16WithMarkAndReadsBack) {
  ASSERT_EQ(ini_.WriteString(u"PROFILES", u"Flip", u"\u4E2D1", path_.c_str()), 1);
  EXPECT_EQ(ReadRaw(), Utf16Le(u"[PROFILES]\r\nFlip=\u4E2D1\r\n"));
  EXPECT_EQ(Read(u"profiles", u"FLIP"), u"\u4E2D1");
}

TEST_F(IniFileTest, WriteKeepsUtf8AndUtf16Encodings) {
  WriteRaw(Utf16Le(u"[S]\r\nK=a\r\n"));
  ASSERT_EQ(ini_.WriteString(u"S", u"K", u"b", path_.c_str()), 1);
  EXPECT_EQ(ReadRaw(), Utf16Le(u"[S]\r\nK=b\r\n"));

  WriteRaw(Bytes("[S]\r\nK=\xE4\xB8\xAD\r\n"));
  ASSERT_EQ(ini_.WriteString(u"S", u"J", u"\u00E9", path_.c_str()), 1);
  const auto after = ReadRaw();
  EXPECT_EQ(std::string(after.begin(), after.end()), "[S]\r\nK=\xE4\xB8\xAD\r\nJ=\xC3\xA9\r\n");
}

TEST_F(IniFileTest, FailuresReportZeroAndLeaveNoFile) {
  const std::u16string in_missing_folder = (dir_ / "no" / "such" / "x.ini").u16string();
  EXPECT_EQ(ini_.WriteString(u"S", u"K", u"v", in_missing_folder.c_str()), 0);
  EXPECT_EQ(ini_.WriteString(nullptr, u"K", u"v", path_.c_str()), 0);
  EXPECT_FALSE(fs::exists(fs::path(path_)));
  // Removing from a file that does not exist succeeds without creating it.
  EXPECT_EQ(ini_.WriteString(u"S", u"K", nullptr, path_.c_str()), 1);
  EXPECT_FALSE(fs::exists(fs::path(path_)));
}

TEST(ReadProfileStringTest, CutsToCapacityMinusOne) {
  IniFileProfile ini;
  const std::u16string missing = u"/nonexistent-folder-for-test/none.ini";
  EXPECT_EQ(ReadProfileString(ini, u"S", u"K", u"abcdef", 4, missing), u"abc");
  EXPECT_EQ(ReadProfileString(ini, u"S", u"K", u"abcdef", 0, missing), u"");
}

// A file held in memory whose stamp the test sets, counting the whole-file reads.
class StampedFiles final : public FileSystem {
 public:
  std::map<std::u16string, std::vector<std::uint8_t>> files;
  FileStamp stamp{0, 1, true};
  bool gives_stamps = true;
  int reads = 0;

  bool Exists(const std::u16string& path) const override { return files.count(path) != 0; }
  bool FileExists(const std::u16string& path) const override { return files.count(path) != 0; }
  bool CreateFolder(const std::u16string&) override { return true; }
  int ReadWholeFile(const std::u16string& path, std::uint64_t, std::vector<std::uint8_t>& out) const override {
    ++const_cast<StampedFiles*>(this)->reads;
    const auto it = files.find(path);
    if (it == files.end()) return kReadMissing;
    out = it->second;
    return kReadOk;
  }
  bool WriteFileReplacing(const std::u16string& path, std::span<const std::uint8_t> bytes) override {
    files[path].assign(bytes.begin(), bytes.end());
    return true;
  }
  bool RemoveFile(const std::u16string& path) override { return files.erase(path), true; }
  std::optional<FileStamp> Stamp(const std::u16string& path) const override {
    if (!gives_stamps || files.count(path) == 0) return std::nullopt;
    return FileStamp{files.at(path).size(), stamp.modified, stamp.settled};
  }
};

// A file is read once and looked up from its index while its stamp holds; anything that may have
// changed it (a new stamp, a write through the profile, a stamp too fresh to trust, no stamps at
// all) makes the next lookup read it again and see the new value.
TEST(IniFileIndex, LookupsReadTheFileAgainOnlyWhenItMayHaveChanged) {
  enum class Change { None, ExternalSameSizeNewTime, ExternalNoNewTime, WriteThroughProfile };
  struct Case {
    const char* name;
    bool settled;
    bool gives_stamps;
    Change change;
    int reads_after_five;   // five lookups before the change
    const char16_t* value;  // looked up after the change
    int reads_at_end;       // after five more lookups (a write reads the file once itself)
  };
  const Case cases[] = {
      {"settled, unchanged", true, true, Change::None, 1, u"one", 1},
      {"settled, edited by others", true, true, Change::ExternalSameSizeNewTime, 1, u"two", 2},
      {"settled, written here", true, true, Change::WriteThroughProfile, 1, u"six", 3},
      {"fresh stamp, edited in the same tick", false, true, Change::ExternalNoNewTime, 5, u"two", 10},
      {"no stamps", true, false, Change::ExternalNoNewTime, 5, u"two", 10},
  };
  const std::u16string path = u"/skin/language.ini";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StampedFiles files;
    files.stamp.settled = c.settled;
    files.gives_stamps = c.gives_stamps;
    files.files[path] = Bytes("[ENGINSH]\r\nKEY=one\r\n");
    IniFileProfile ini(files);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(ReadProfileString(ini, u"ENGINSH", u"key", u"", 260, path), u"one");
    }
    EXPECT_EQ(files.reads, c.reads_after_five);

    switch (c.change) {
      case Change::None: break;
      case Change::ExternalSameSizeNewTime:
        files.files[path] = Bytes("[ENGINSH]\r\nKEY=two\r\n");
        ++files.stamp.modified;
        break;
      case Change::ExternalNoNewTime:
        files.files[path] = Bytes("[ENGINSH]\r\nKEY=two\r\n");
        break;
      case Change::WriteThroughProfile:
        ASSERT_EQ(ini.WriteString(u"ENGINSH", u"KEY", u"six", path.c_str()), 1);
        break;
    }
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(ReadProfileString(ini, u"ENGINSH", u"KEY", u"", 260, path), c.value);
    }
    EXPECT_EQ(files.reads, c.reads_at_end);
  }
}

}  // namespace
}  // namespace vendrel::platform
