#include <gtest/gtest.h>

#include <memory>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "profiles/settings_file_codec.h"
#include "store/settings_store.h"
#include "store/settings_files.h"
#include "app/store_messages.h"
#include "support/recording_message_boxes.h"
#include "support/temp_folder.h"

namespace vendrel::profiles {
namespace {

using namespace vendrel::store;

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using keys::AssignmentType;

Bytes ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

class SettingsFilesTest : public ::testing::Test {
 protected:
  SettingsFilesTest()
      : documents(temp.U16()),
        files(store, platform::PortableFileSystem(), documents, texts) {}

  void FillStore() {
    auto lock = store.Lock();
    MakeDefaultTable(store.Table());
    store.Table().At(0, 0x1E).type = AssignmentType::TextBlock;
    store.strings.Set(0x1E, u"typed text");
    store.Table().At(3, 0x2C).type = AssignmentType::LaunchProgram;
    store.strings.Set(3 * 512 + 0x2C, u"C:\\x.exe");
    macros::MacroRecord m;
    m.id = 1;
    m.name = u"one";
    m.actions = {{100, 0x1E, macros::ActionKind::Press}, {0, 0x1E, macros::ActionKind::Release}};
    store.macros = {m};
  }

  Bytes Serialized() {
    auto lock = store.Lock();
    Bytes b;
    EXPECT_EQ(SerializeStore(store, b), profiles::SettingsCodecResult::Ok);
    return b;
  }

  testing::TempFolder temp;
  platform::FixedDocumentsFolder documents;
  testing::RecordingMessageBoxes boxes;
  texts::TextTable texts;
  store::WorkingStore store;
  SettingsFiles files;
};

TEST_F(SettingsFilesTest, CacheFileLivesInTheCreatedUserFolder) {
  const fs::path folder = temp.Path() / "RX73P05D";
  ASSERT_FALSE(fs::exists(folder));
  const std::u16string cache = files.CacheFilePath();
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(fs::path(cache), folder / "$Profile0");
  EXPECT_TRUE(files.EnsureUserFolder());  // already there
  EXPECT_EQ(fs::path(files.ProposedSettingsFilePath()), folder / "The new contextual  mode");
}

TEST(SettingsFilesNoDocuments, UnknownDocumentsFolderGivesNoPathsAndNoCacheSave) {
  store::WorkingStore store;
  platform::FixedDocumentsFolder none(u"");
  testing::RecordingMessageBoxes boxes;
  texts::TextTable texts;
  SettingsFiles files(store, platform::PortableFileSystem(), none, texts);
  EXPECT_FALSE(files.EnsureUserFolder());
  EXPECT_EQ(files.CacheFilePath(), u"");
  EXPECT_EQ(files.ProposedSettingsFilePath(), u"");
  EXPECT_FALSE(files.SaveCacheFile(true));
}

// One file for each answer and whether it is told; which headers are malformed is the codec's table.
struct ValidateCase {
  const char* name;
  void (*make)(const fs::path&, const Bytes& valid);
  SettingsFileCheck result;
  bool message;
};

class ValidateTest : public SettingsFilesTest, public ::testing::WithParamInterface<ValidateCase> {};

TEST_P(ValidateTest, ResultAndMessage) {
  const ValidateCase& c = GetParam();
  FillStore();
  const fs::path p = temp.Path() / "x.fwc";
  c.make(p, Serialized());
  const SettingsFileCheck check = files.ValidateSettingsFile(p.u16string());
  EXPECT_EQ(check, c.result);
  app::TellSettingsFileCheck(check, p.u16string(), boxes, texts);
  if (c.message) {
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], u"wrong file format, revert to the default values: \n  " + p.u16string());
  } else {
    EXPECT_TRUE(boxes.shown.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateTest,
    ::testing::Values(
        ValidateCase{"Valid", [](const fs::path& p, const Bytes& b) { WriteFile(p, b); }, SettingsFileCheck::Valid, false},
        ValidateCase{"Missing", [](const fs::path&, const Bytes&) {}, SettingsFileCheck::Invalid, false},
        ValidateCase{"OneByteTooSmall",
                     [](const fs::path& p, const Bytes& b) { WriteFile(p, Bytes(b.begin(), b.begin() + 32831)); },
                     SettingsFileCheck::Invalid, false},
        ValidateCase{"BadTotal",
                     [](const fs::path& p, const Bytes& b) {
                       Bytes c = b;
                       c[8] ^= 1;
                       c[31] = HeaderChecksum(c);
                       WriteFile(p, c);
                     },
                     SettingsFileCheck::WrongFormat, true},
        ValidateCase{"FolderInsteadOfFile", [](const fs::path& p, const Bytes&) { fs::create_directory(p); },
                     SettingsFileCheck::CannotOpen, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFilesTest, SaveThenLoadRestoresTheStore) {
  FillStore();
  const std::u16string path = temp.File("saved.fwc");
  ASSERT_TRUE(files.SaveSettingsFile(path, true));
  const Bytes on_disk = ReadFile(path);
  EXPECT_EQ(on_disk, Serialized());
  // The file on disk as the file's tables lay it out, written out by hand: one macro record, then
  // the texts "typed text" (22 bytes) and "C:\x.exe" (18 bytes) packed in key table order.
  ASSERT_EQ(on_disk.size(), 32832u + 16512u + 40u);
  EXPECT_EQ(Bytes(on_disk.begin() + 8, on_disk.begin() + 20),
            (Bytes{0xE8, 0xC0, 0x00, 0x00, 0x00, 0x08, 0x01, 0x00, 0x28, 0x00, 0x00, 0x00}));
  unsigned sum = 0;
  for (std::size_t i = 0; i < 31; ++i) sum += on_disk[i];
  EXPECT_EQ(on_disk[31], sum % 256);
  const auto at = [&](std::size_t offset, std::size_t n) {
    return Bytes(on_disk.begin() + static_cast<long>(offset), on_disk.begin() + static_cast<long>(offset + n));
  };
  EXPECT_EQ(at(64 + 16 * 0x1E, 8), (Bytes{0x06, 0, 0, 0, 0x00, 0, 0, 0})) << "text block, offset 0";
  EXPECT_EQ(at(64 + 3 * 8192 + 16 * 0x2C, 8), (Bytes{0x03, 0, 0, 0, 0x16, 0, 0, 0}))
      << "block 3's program, offset 22";
  EXPECT_EQ(at(32832, 8), (Bytes{'o', 0, 'n', 0, 'e', 0, 0, 0}));
  Bytes texts_area;
  for (const char16_t c : std::u16string_view(u"typed text\0C:\\x.exe", 20)) {
    texts_area.push_back(static_cast<std::uint8_t>(c));
    texts_area.push_back(0);
  }
  EXPECT_EQ(at(32832 + 16512, 40), texts_area);

  store::WorkingStore other;
  SettingsFiles other_files(other, platform::PortableFileSystem(), documents, texts);
  auto lock = other.Lock();
  ASSERT_EQ(other_files.LoadSettingsFile(path), profiles::SettingsCodecResult::Ok);
  auto lock2 = store.Lock();
  // The file's records carry their texts' offsets.
  auto with_offsets = std::make_unique<keys::ProfileKeyTable>(store.Table());
  profiles::AssignTextOffsets(*with_offsets, store.strings);
  EXPECT_EQ(other.Table(), *with_offsets);
  EXPECT_EQ(other.macros, store.macros);
  EXPECT_EQ(other.strings, store.strings);
  EXPECT_FALSE(fs::exists(fs::path(platform::TemporaryPathFor(path))));
}

TEST_F(SettingsFilesTest, LoadRefusesMissingAndMalformedFilesWithoutTouchingTheStore) {
  FillStore();
  const Bytes good = Serialized();
  struct Case {
    const char* name;
    Bytes bytes;
  };
  Bytes count_huge = good;
  count_huge[14] = 0xFF;
  count_huge[15] = 0xFF;
  count_huge[31] = HeaderChecksum(count_huge);
  const std::vector<Case> cases{{"cut in the key table", Bytes(good.begin(), good.begin() + 1000)},
                                {"cut in the macros", Bytes(good.begin(), good.begin() + 40000)},
                                {"huge macro count", count_huge}};
  for (const Case& c : cases) {
    const fs::path p = temp.Path() / "bad.fwc";
    WriteFile(p, c.bytes);
    auto lock = store.Lock();
    const auto macros_before = store.macros;
    EXPECT_EQ(files.LoadSettingsFile(p.u16string()), profiles::SettingsCodecResult::Refused) << c.name;
    EXPECT_EQ(store.macros, macros_before) << c.name;
  }
  auto lock = store.Lock();
  EXPECT_EQ(files.LoadSettingsFile(temp.File("absent.fwc")), profiles::SettingsCodecResult::Refused);
}

TEST_F(SettingsFilesTest, FailedSaveKeepsThePreviousFile) {
  FillStore();
  const std::u16string path = temp.File("keep.fwc");
  const Bytes previous{1, 2, 3, 4};
  WriteFile(path, previous);
  // The temporary file cannot be created: a folder stands where it would go.
  fs::create_directory(fs::path(platform::TemporaryPathFor(path)));
  EXPECT_FALSE(files.SaveSettingsFile(path, true));
  EXPECT_EQ(ReadFile(path), previous);
}

TEST_F(SettingsFilesTest, FailedReplaceKeepsThePreviousFileAndRemovesTheTemporary) {
  FillStore();
  // The target is a non-empty folder, which a file cannot replace.
  const fs::path target = temp.Path() / "occupied";
  fs::create_directory(target);
  WriteFile(target / "inside", Bytes{9});
  EXPECT_FALSE(files.SaveSettingsFile(target.u16string(), true));
  EXPECT_EQ(ReadFile(target / "inside"), Bytes{9});
  EXPECT_FALSE(fs::exists(fs::path(platform::TemporaryPathFor(target.u16string()))));
}

TEST_F(SettingsFilesTest, SaveCacheOnlyOverAnExistingCacheFile) {
  FillStore();
  const fs::path cache(files.CacheFilePath());
  EXPECT_FALSE(files.SaveCacheFile(true));
  EXPECT_FALSE(fs::exists(cache));
  WriteFile(cache, Bytes{0});
  EXPECT_TRUE(files.SaveCacheFile(false));
  EXPECT_EQ(ReadFile(cache), Serialized());
}

TEST_F(SettingsFilesTest, ReloadingTheCacheFileReplacesTheStoreOrLeavesItWhole) {
  FillStore();
  const Bytes filled = Serialized();
  const fs::path cache(files.CacheFilePath());
  // Missing, cut short, and of the right size but no settings file: the store keeps everything.
  EXPECT_FALSE(files.ReloadCacheFile());
  EXPECT_EQ(Serialized(), filled);
  const std::vector<Bytes> unusable{Bytes(filled.begin(), filled.begin() + 1000),
                                    Bytes(32832, 0xAB)};
  for (const Bytes& bytes : unusable) {
    WriteFile(cache, bytes);
    EXPECT_FALSE(files.ReloadCacheFile()) << bytes.size();
    EXPECT_EQ(Serialized(), filled) << bytes.size();
  }

  ASSERT_TRUE(files.CreateDefaultSettings(cache.u16string(), false));
  {
    auto lock = store.Lock();
    store.basis = KeyboardBasis::Read;
  }
  EXPECT_TRUE(files.ReloadCacheFile());
  EXPECT_EQ(Serialized(), ReadFile(cache));
  auto lock = store.Lock();
  EXPECT_TRUE(store.macros.empty());
  EXPECT_EQ(store.basis, KeyboardBasis::Read);
}

TEST_F(SettingsFilesTest, DefaultSettingsToFileAndIntoStore) {
  const std::u16string path = temp.File("default.fwc");
  ASSERT_TRUE(files.CreateDefaultSettings(path, false));
  const Bytes b = ReadFile(path);
  EXPECT_EQ(b.size(), 32832u);
  EXPECT_TRUE(IsValidSettingsFile(b));

  FillStore();
  ASSERT_TRUE(files.CreateDefaultSettings(u"", true));
  auto lock = store.Lock();
  EXPECT_TRUE(store.macros.empty());
  EXPECT_EQ(store.strings.Total(), 0u);
  EXPECT_EQ(store.Table().At(0, keys::GRecordIndex(1, 0)).key_field, 0x1301);
  EXPECT_EQ(store.Table().At(0, 0x1E).type, AssignmentType::Default);
  Bytes from_store;
  ASSERT_EQ(SerializeStore(store, from_store), profiles::SettingsCodecResult::Ok);
  EXPECT_EQ(from_store, b);
}

TEST_F(SettingsFilesTest, ClearStoreEmptiesEverything) {
  FillStore();
  files.ClearStore();
  auto lock = store.Lock();
  EXPECT_TRUE(store.macros.empty());
  EXPECT_EQ(store.strings.Total(), 0u);
  EXPECT_EQ(store.Table(), keys::ProfileKeyTable{});
}

}  // namespace
}  // namespace vendrel::profiles
