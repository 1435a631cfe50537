// The file operations that settings files rely on: whole reads with their results, and writes
// that replace the target only once the new bytes are complete.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace vendrel::platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadBack(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ReadCase {
  const char* name;
  void (*make)(const fs::path&);
  std::uint64_t max_size;
  int result;
  std::size_t size;
};

class ReadWholeFileTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadWholeFileTest, ResultAndBytes) {
  const ReadCase& c = GetParam();
  testing::TempFolder temp;
  const fs::path p = temp.Path() / "f.bin";
  c.make(p);
  Bytes out{7, 7};
  EXPECT_EQ(PortableFileSystem().ReadWholeFile(p.u16string(), c.max_size, out), c.result);
  EXPECT_EQ(out.size(), c.size);
  if (c.result == kReadOk) EXPECT_EQ(out, ReadBack(p));
}

void MakeTen(const fs::path& p) {
  std::ofstream(p, std::ios::binary) << "0123456789";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadWholeFileTest,
    ::testing::Values(ReadCase{"Whole", MakeTen, 100, kReadOk, 10},
                      ReadCase{"ExactlyAtLimit", MakeTen, 10, kReadOk, 10},
                      ReadCase{"OverLimit", MakeTen, 9, kReadTooLarge, 0},
                      ReadCase{"Empty", [](const fs::path& p) { std::ofstream(p, std::ios::binary); },
                               100, kReadOk, 0},
                      ReadCase{"Missing", [](const fs::path&) {}, 100, kReadMissing, 0},
                      ReadCase{"Folder", [](const fs::path& p) { fs::create_directory(p); }, 100,
                               kReadCannotOpen, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteFileReplacing, CreatesThenReplacesAndLeavesNoTemporary) {
  testing::TempFolder temp;
  const fs::path p = temp.Path() / "out.bin";
  FileSystem& files = PortableFileSystem();
  ASSERT_TRUE(files.WriteFileReplacing(p.u16string(), Bytes{1, 2, 3}));
  EXPECT_EQ(ReadBack(p), (Bytes{1, 2, 3}));
  ASSERT_TRUE(files.WriteFileReplacing(p.u16string(), Bytes{9}));
  EXPECT_EQ(ReadBack(p), Bytes{9});
  EXPECT_FALSE(fs::exists(fs::path(TemporaryPathFor(p.u16string()))));
  EXPECT_TRUE(files.FileExists(p.u16string()));
  EXPECT_TRUE(files.RemoveFile(p.u16string()));
  EXPECT_FALSE(files.Exists(p.u16string()));
}

TEST(WriteFileReplacing, MissingFolderFailsWithoutCreatingAnything) {
  testing::TempFolder temp;
  const fs::path p = temp.Path() / "no-such-folder" / "out.bin";
  EXPECT_FALSE(PortableFileSystem().WriteFileReplacing(p.u16string(), Bytes{1}));
  EXPECT_FALSE(fs::exists(temp.Path() / "no-such-folder"));
}

TEST(FolderCreation, CreatesOneLevelAndAcceptsAnExistingFolder) {
  testing::TempFolder temp;
  FileSystem& files = PortableFileSystem();
  const std::u16string folder = JoinPath(temp.U16(), u"RX73P05D");
  EXPECT_TRUE(files.CreateFolder(folder));
  EXPECT_TRUE(files.CreateFolder(folder));
  EXPECT_TRUE(files.Exists(folder));
  EXPECT_FALSE(files.FileExists(folder));
  EXPECT_FALSE(files.CreateFolder(JoinPath(JoinPath(temp.U16(), u"a"), u"b")));
}

TEST(JoinPathTest, OneSeparatorBetweenFolderAndName) {
  const std::u16string sep(1, kPathSeparator);
  struct Case {
    std::u16string folder;
    std::u16string expected;
  };
  for (const Case& c : {Case{u"docs", u"docs" + sep + u"x"}, Case{u"docs" + sep, u"docs" + sep + u"x"},
                        Case{u"", u"x"}}) {
    EXPECT_EQ(JoinPath(c.folder, u"x"), c.expected);
  }
}

}  // namespace
}  // namespace vendrel::platform
