// The unfinished-write file beside the cache ($Profile0.writing): written before a write reaches
// the keyboard, removed once the keyboard acknowledged all of it, and read at the next connect.
// A write that cannot record it is not made; a file that holds nothing to finish is removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "keys/default_key_map.h"
#include "macros/macro_image.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "sim/model/keyboard_model.h"
#include "store/assignment_model.h"
#include "store/settings_apply.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "support/device_rig.h"
#include "support/temp_folder.h"
#include "texts/text_table.h"

namespace vendrel::store {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The machine's file system, except that reads of one path fail as for a file that cannot be
// opened.
class UnreadablePath final : public platform::FileSystem {
 public:
  explicit UnreadablePath(std::u16string path) : path_(std::move(path)) {}
  bool Exists(const std::u16string& p) const override { return real_.Exists(p); }
  bool FileExists(const std::u16string& p) const override { return real_.FileExists(p); }
  bool CreateFolder(const std::u16string& p) override { return real_.CreateFolder(p); }
  int ReadWholeFile(const std::u16string& p, std::uint64_t max, Bytes& out) const override {
    if (p == path_) {
      out.clear();
      return platform::kReadCannotOpen;
    }
    return real_.ReadWholeFile(p, max, out);
  }
  bool WriteFileReplacing(const std::u16string& p, std::span<const std::uint8_t> b) override {
    return real_.WriteFileReplacing(p, b);
  }
  bool RemoveFile(const std::u16string& p) override { return real_.RemoveFile(p); }

 private:
  std::u16string path_;
  platform::FileSystem& real_ = platform::PortableFileSystem();
};

macros::MacroList KeyboardMacros() {
  macros::MacroList list;
  for (char16_t c : std::u16string(u"xyz")) {
    macros::MacroRecord m;
    m.id = static_cast<macros::MacroId>(list.size() + 1);
    m.name = std::u16string(1, c);
    m.actions = {{10, 0x01E, macros::ActionKind::Press}, {10, 0x01E, macros::ActionKind::Release}};
    list.push_back(m);
  }
  return list;
}

// A keyboard holding three macros x, y, z, a cache file of an earlier run, and a program over them.
class UnfinishedWriteMarker : public ::testing::Test {
 protected:
  UnfinishedWriteMarker() : rig(1, std::chrono::milliseconds{100}), documents(temp.U16()) {
    const macros::MacroList list = KeyboardMacros();
    Bytes image(macros::MacroImageSizes(list).with_names);
    EXPECT_EQ(macros::EncodeMacros(list, image, true), macros::MacroEncodeResult::Ok);
    rig.library.WithModel([&](sim::KeyboardModel& m) { return m.WriteArea(sim::Area::Macro, 0, image); });
    UseFileSystem(platform::PortableFileSystem());
    cache = files->CacheFilePath();
    marker = files->UnfinishedWritePath();
    EXPECT_TRUE(files->CreateDefaultSettings(cache, false));
  }

  void UseFileSystem(platform::FileSystem& fs) {
    files = std::make_unique<SettingsFiles>(working, fs, documents, texts);
  }

  CacheRefresh Refresh() { return files->RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap); }

  SettingsApplyOutcome Apply(std::uint32_t macro_space = 0x8000) {
    const KeyMapWriteTarget target{rig.commands, keys::kDefaultKeyMap, macro_space};
    return ApplyToKeyboard(*files, working, device_store, true, target);
  }

  void EditStore() {
    auto lock = working.Lock();
    working.macros.pop_back();
    WriteAssignment(working, 0, 0x1F, {keys::AssignmentType::Key, 0, 0x030});
  }

  Bytes StoreFile() {
    auto lock = working.Lock();
    Bytes bytes;
    EXPECT_EQ(SerializeStore(working, bytes), profiles::SettingsCodecResult::Ok);
    return bytes;
  }

  static Bytes ReadFile(const std::u16string& path) {
    Bytes bytes;
    platform::PortableFileSystem().ReadWholeFile(path, 1 << 24, bytes);
    return bytes;
  }

  static bool Exists(const std::u16string& path) { return platform::PortableFileSystem().FileExists(path); }

  // A write of path fails for real: a folder stands where its temporary file goes.
  static void BlockWritesOf(const std::u16string& path) {
    std::filesystem::create_directory(std::filesystem::path(platform::TemporaryPathFor(path)));
  }
  static void UnblockWritesOf(const std::u16string& path) {
    std::filesystem::remove(std::filesystem::path(platform::TemporaryPathFor(path)));
  }

  KeyboardBasis Basis() {
    auto lock = working.Lock();
    return working.basis;
  }

  std::u16string MacroNames() {
    auto lock = working.Lock();
    std::u16string names;
    for (const macros::MacroRecord& m : working.macros) names += m.name;
    return names;
  }

  Bytes Keyboard(sim::Area area) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(area);
      return Bytes(bytes.begin(), bytes.end());
    });
  }

  // Fails the first key map packet of a whole write: the keyboard holds part of it.
  void LeaveAWriteUnfinished() {
    rig.commands.MacroMemory().Forget();
    Bytes image(macros::MacroImageSizes(working.macros).with_names);
    const int image_packets = static_cast<int>((image.size() + 55) / 56);
    rig.library.RefuseOnlyWrite(2 + image_packets);
    ASSERT_EQ(Apply().status, SettingsApply::Failed);
    rig.library.RefuseOnlyWrite(0);
    ASSERT_TRUE(Exists(marker));
    ASSERT_EQ(Basis(), KeyboardBasis::WriteUnfinished);
  }

  testing::TempFolder temp;
  testing::DeviceRig rig;
  platform::FixedDocumentsFolder documents;
  texts::TextTable texts;
  WorkingStore working;
  DeviceStore device_store;
  std::unique_ptr<SettingsFiles> files;
  std::u16string cache;
  std::u16string marker;
};

struct BadMarkerCase {
  const char* name;
  Bytes (*content)(const Bytes& valid);
  bool unreadable;
};

class BadMarker : public UnfinishedWriteMarker, public ::testing::WithParamInterface<BadMarkerCase> {};

// Nothing to finish: the file goes and the keyboard is read as on any connect.
TEST_P(BadMarker, IsRemovedAndTheKeyboardIsRead) {
  const BadMarkerCase& c = GetParam();
  ASSERT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  const Bytes keyboard_read = StoreFile();
  ASSERT_TRUE(platform::PortableFileSystem().WriteFileReplacing(marker, c.content(keyboard_read)));
  UnreadablePath unreadable(marker);
  if (c.unreadable) UseFileSystem(unreadable);
  {
    auto lock = working.Lock();
    working.Clear();
    working.basis = KeyboardBasis::Unknown;  // as a new run starts
  }

  EXPECT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  EXPECT_FALSE(Exists(marker));
  EXPECT_EQ(Basis(), KeyboardBasis::Read);
  EXPECT_EQ(MacroNames(), u"xyz");
  EXPECT_EQ(StoreFile(), keyboard_read);
  EXPECT_EQ(ReadFile(cache), keyboard_read);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadMarker,
    ::testing::Values(
        BadMarkerCase{"Empty", [](const Bytes&) { return Bytes{}; }, false},
        BadMarkerCase{"NoSettingsFile", [](const Bytes&) { return Bytes(40000, 0x5A); }, false},
        BadMarkerCase{"CutShort", [](const Bytes& b) { return Bytes(b.begin(), b.end() - 1); }, false},
        BadMarkerCase{"WrongChecksum",
                      [](const Bytes& b) {
                        Bytes bad = b;
                        ++bad[31];
                        return bad;
                      },
                      false},
        BadMarkerCase{"Unreadable", [](const Bytes& b) { return b; }, true}),
    [](const auto& info) { return std::string(info.param.name); });

// No marker on disk, no write: cut short, it would be taken for the keyboard's settings.
TEST_F(UnfinishedWriteMarker, AWriteWhoseMarkerCannotBeWrittenSendsNothing) {
  ASSERT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  const Bytes cache_read = ReadFile(cache);
  EditStore();
  const Bytes edited = StoreFile();
  BlockWritesOf(marker);
  const std::size_t sent = rig.library.SentPackets().size();

  const SettingsApplyOutcome outcome = Apply();
  EXPECT_EQ(outcome.status, SettingsApply::Failed);
  EXPECT_TRUE(outcome.unmarked);
  EXPECT_EQ(rig.library.SentPackets().size(), sent);
  EXPECT_FALSE(Exists(marker));
  EXPECT_EQ(Basis(), KeyboardBasis::Read) << "the keyboard still holds what the store stands on";
  EXPECT_EQ(StoreFile(), edited) << "the edits are kept";
  EXPECT_EQ(ReadFile(cache), cache_read);

  UnblockWritesOf(marker);
  const SettingsApplyOutcome written = Apply();
  EXPECT_EQ(written.status, SettingsApply::Written);
  EXPECT_FALSE(written.unmarked);
  EXPECT_EQ(ReadFile(cache), edited);
}

// An earlier write is unfinished and its file holds what it was writing: a later write that cannot
// record itself leaves both, and sends nothing.
TEST_F(UnfinishedWriteMarker, AnUnwritableMarkerKeepsTheEarlierUnfinishedOne) {
  ASSERT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  EditStore();
  LeaveAWriteUnfinished();
  const Bytes pending = ReadFile(marker);
  {
    auto lock = working.Lock();
    WriteAssignment(working, 1, 0x1F, {keys::AssignmentType::Key, 0, 0x031});
  }
  BlockWritesOf(marker);
  const std::size_t sent = rig.library.SentPackets().size();

  const SettingsApplyOutcome outcome = Apply();
  EXPECT_EQ(outcome.status, SettingsApply::Failed);
  EXPECT_TRUE(outcome.unmarked);
  EXPECT_EQ(rig.library.SentPackets().size(), sent);
  EXPECT_EQ(ReadFile(marker), pending);
  EXPECT_EQ(Basis(), KeyboardBasis::WriteUnfinished);
  UnblockWritesOf(marker);
}

struct RefusedCase {
  const char* name;
  std::uint32_t macro_space;
  SettingsApply status;
  void (*fault)(testing::DeviceRig&);  // what the keyboard does to the write
};

class RefusedWhileUnfinished : public UnfinishedWriteMarker,
                               public ::testing::WithParamInterface<RefusedCase> {};

// A write refused before any data went out, while an earlier one is unfinished: the keyboard may
// still hold that torn write, so its mark stays; the write after it finishes the work.
TEST_P(RefusedWhileUnfinished, KeepsTheMarkerAndTheNextWriteFinishes) {
  const RefusedCase& c = GetParam();
  ASSERT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  const Bytes cache_read = ReadFile(cache);
  EditStore();
  LeaveAWriteUnfinished();
  const Bytes wanted = StoreFile();
  const Bytes macros_torn = Keyboard(sim::Area::Macro);
  const Bytes maps_torn = Keyboard(sim::Area::KeyMap);

  rig.commands.MacroMemory().Forget();  // no check read: a fault meets the begin
  c.fault(rig);
  EXPECT_EQ(Apply(c.macro_space).status, c.status);
  rig.library.WithModel([](sim::KeyboardModel& m) { m.ClearFaults(); });
  EXPECT_TRUE(Exists(marker));
  EXPECT_EQ(ReadFile(marker), wanted);
  EXPECT_EQ(Basis(), KeyboardBasis::WriteUnfinished);
  EXPECT_EQ(ReadFile(cache), cache_read);
  EXPECT_EQ(Keyboard(sim::Area::Macro), macros_torn);
  EXPECT_EQ(Keyboard(sim::Area::KeyMap), maps_torn);

  EXPECT_EQ(Apply().status, SettingsApply::Written);
  EXPECT_FALSE(Exists(marker));
  EXPECT_EQ(Basis(), KeyboardBasis::Read);
  EXPECT_EQ(ReadFile(cache), wanted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedWhileUnfinished,
    ::testing::Values(
        RefusedCase{"MacrosTooLarge", 16, SettingsApply::NotSent, [](testing::DeviceRig&) {}},
        RefusedCase{"BeginRefused", 0x8000, SettingsApply::Failed,
                    [](testing::DeviceRig& r) {
                      r.library.WithModel([](sim::KeyboardModel& m) { m.InjectFault(sim::Fault::StatusFF, 3); });
                    }},
        RefusedCase{"BeginUnanswered", 0x8000, SettingsApply::Failed,
                    [](testing::DeviceRig& r) {
                      r.library.WithModel([](sim::KeyboardModel& m) { m.InjectFault(sim::Fault::Drop, 3); });
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// A begin the keyboard never acknowledged, after a write that ended whole: the marker holds the
// store, which stays unfinished, and the cache what the keyboard last held whole.
TEST_F(UnfinishedWriteMarker, ARefusedBeginLeavesTheWriteUnfinished) {
  ASSERT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  const Bytes cache_read = ReadFile(cache);
  EditStore();
  const Bytes wanted = StoreFile();
  rig.commands.MacroMemory().Forget();
  rig.library.WithModel([](sim::KeyboardModel& m) { m.InjectFault(sim::Fault::StatusFE, 3); });
  EXPECT_EQ(Apply().status, SettingsApply::Failed);
  EXPECT_EQ(ReadFile(marker), wanted);
  EXPECT_EQ(Basis(), KeyboardBasis::WriteUnfinished);
  EXPECT_EQ(ReadFile(cache), cache_read);
}

// The keyboard took the whole write but the cache file cannot be replaced: the write is finished
// (its marker goes), the cache keeps the earlier content, and the next connect reads the keyboard.
TEST_F(UnfinishedWriteMarker, WrittenButTheCacheNotSaved) {
  ASSERT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  const Bytes cache_read = ReadFile(cache);
  EditStore();
  BlockWritesOf(cache);

  EXPECT_EQ(Apply().status, SettingsApply::NotCached);
  EXPECT_FALSE(Exists(marker));
  EXPECT_EQ(Basis(), KeyboardBasis::Read);
  EXPECT_EQ(ReadFile(cache), cache_read);

  UnblockWritesOf(cache);
  {
    auto lock = working.Lock();
    working.Clear();
    working.basis = KeyboardBasis::Unknown;
  }
  EXPECT_EQ(Refresh(), CacheRefresh::FromKeyboard);
  EXPECT_EQ(MacroNames(), u"xy") << "the keyboard's macros, as written";
  EXPECT_NE(ReadFile(cache), cache_read);
}

}  // namespace
}  // namespace vendrel::store
