// Import and Export of the main menu against the keyboard model behind the fake library: an
// imported file reaches all three profiles and the macro memory and becomes the cache, a file
// that is no settings file changes nothing and says so twice, a write the keyboard takes nothing
// of gives the store back, and an exported file brings a reset keyboard back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_transfer_logic.h"
#include "keys/default_key_map.h"
#include "keys/key_map_codec.h"
#include "macros/macro_image.h"
#include "macros/macro_space_fit.h"
#include "platform/documents_folder.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "sim/model/keyboard_model.h"
#include "store/assignment_model.h"
#include "store/key_map_write.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "support/device_rig.h"
#include "support/recording_message_boxes.h"
#include "support/temp_folder.h"

namespace vendrel::app {
namespace {

using Bytes = std::vector<std::uint8_t>;
using keys::AssignmentType;
using macros::ActionKind;
using macros::MacroRecord;
using store::KeyboardBasis;

constexpr std::size_t kSlotA = 0x1E;
constexpr std::size_t kSlotB = 0x2C;

std::vector<MacroRecord> Macros(std::size_t count, std::size_t actions, char16_t letter) {
  std::vector<MacroRecord> list;
  for (std::size_t i = 0; i < count; ++i) {
    MacroRecord m;
    m.id = static_cast<macros::MacroId>(i + 1);
    m.name = std::u16string(1, letter) + std::u16string(1, static_cast<char16_t>(u'0' + i));
    m.cycles = static_cast<std::uint8_t>(1 + i);
    for (std::size_t a = 0; a < actions; ++a) {
      m.actions.push_back({static_cast<std::uint16_t>(10 + i), static_cast<std::uint16_t>(0x01E + a % 8),
                           a % 2 ? ActionKind::Release : ActionKind::Press});
    }
    list.push_back(m);
  }
  return list;
}

Bytes ImageOf(const std::vector<MacroRecord>& list) {
  Bytes image(macros::MacroImageSizes(list).with_names);
  EXPECT_EQ(macros::EncodeMacros(list, image, true), macros::MacroEncodeResult::Ok);
  return image;
}

Bytes ReadFile(const std::u16string& path) {
  Bytes bytes;
  platform::PortableFileSystem().ReadWholeFile(path, 1 << 24, bytes);
  return bytes;
}

void WriteFile(const std::u16string& path, const Bytes& bytes) {
  ASSERT_TRUE(platform::PortableFileSystem().WriteFileReplacing(path, bytes));
}

// A settings file the keyboard has never held: its own macros, and in every profile one key on
// a macro of its own and another key switched off.
Bytes ForeignSettings(std::size_t macro_count, std::size_t actions) {
  store::WorkingStore other;
  auto lock = other.Lock();
  profiles::MakeDefaultTable(other.Table());
  other.macros = Macros(macro_count, actions, u'f');
  for (std::size_t k = 0; k < 3; ++k) {
    const auto macro = static_cast<std::uint32_t>(1 + k % macro_count);
    EXPECT_EQ(store::WriteAssignment(other, k, kSlotA + k, {AssignmentType::Macro, 1, macro}),
              store::AssignResult::Ok);
    EXPECT_EQ(store::WriteAssignment(other, k, kSlotB - k, {AssignmentType::Disabled, 0, 0}),
              store::AssignResult::Ok);
  }
  Bytes bytes;
  EXPECT_EQ(store::SerializeStore(other, bytes), profiles::SettingsCodecResult::Ok);
  return bytes;
}

// Answers the file dialogs as a test tells it, and keeps what they were asked.
class ScriptedDialogs final : public platform::FileDialogs {
 public:
  std::optional<std::u16string> Choose(const platform::FileDialogRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  std::optional<std::u16string> answer;
  std::vector<platform::FileDialogRequest> requests;
};

class RecordingHost final : public SettingsTransferHost {
 public:
  explicit RecordingHost(testing::DeviceRig& rig) : rig_(rig) {}
  std::optional<KeyboardLink> KeyboardForWrite() override {
    if (!connected) return std::nullopt;
    const std::uint32_t space = rig_.library.WithModel([](sim::KeyboardModel& m) {
      return macros::MacroSpaceFromUnits(m.AreaBytes(sim::Area::Info)[11]);
    });
    return KeyboardLink{rig_.commands, keys::kDefaultKeyMap, space};
  }
  void RefreshKeyButtons() override { ++refreshes; }
  void SetSettingsPending(bool pending) override { settings_changed = pending; }

  bool connected = true;
  int refreshes = 0;
  std::optional<bool> settings_changed;

 private:
  testing::DeviceRig& rig_;
};

// A keyboard holding its owner's macros, read into the store and the cache as on connect; the
// owner then edits a key without applying it.
class SettingsTransfer : public ::testing::Test {
 protected:
  SettingsTransfer()
      : documents(temp.U16()),
        files(working, platform::PortableFileSystem(), documents, texts),
        host(rig),
        logic({files, working, device_store, dialogs, boxes, texts}, host) {
    rig.library.WithModel([&](sim::KeyboardModel& m) {
      EXPECT_TRUE(m.WriteArea(sim::Area::Macro, 0, ImageOf(Macros(2, 12, u'k'))));
    });
    cache = files.CacheFilePath();
    EXPECT_TRUE(files.CreateDefaultSettings(cache, false));
    EXPECT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap),
              store::CacheRefresh::FromKeyboard);
    {
      auto lock = working.Lock();
      EXPECT_EQ(store::WriteAssignment(working, 0, kSlotB, {AssignmentType::Disabled, 0, 0}),
                store::AssignResult::Ok);
    }
    keyboard_before = KeyboardSettingsBytes();
    cache_before = ReadFile(cache);
    store_before = StoreFile();
  }

  Bytes ModelArea(sim::Area area) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(area);
      return Bytes(bytes.begin(), bytes.end());
    });
  }

  // What settings decide on the keyboard: its three key maps and its macro memory.
  Bytes KeyboardSettingsBytes() {
    Bytes bytes = ModelArea(sim::Area::KeyMap);
    const Bytes memory = ModelArea(sim::Area::Macro);
    bytes.insert(bytes.end(), memory.begin(), memory.end());
    return bytes;
  }

  Bytes StoreFile() {
    auto lock = working.Lock();
    Bytes bytes;
    EXPECT_EQ(store::SerializeStore(working, bytes), profiles::SettingsCodecResult::Ok);
    return bytes;
  }

  KeyboardBasis Basis() {
    auto lock = working.Lock();
    return working.basis;
  }

  // The keyboard holds the file: the macro image of its macros and every profile's key map.
  void ExpectKeyboardHolds(const Bytes& file) {
    store::KeyStore expected;
    ASSERT_EQ(store::DeserializeStore(file, expected), profiles::SettingsCodecResult::Ok);
    const Bytes image = ImageOf(expected.macros);
    const Bytes memory = ModelArea(sim::Area::Macro);
    ASSERT_GE(memory.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin())) << "macro image";
    const Bytes maps = ModelArea(sim::Area::KeyMap);
    for (std::size_t k = 0; k < 3; ++k) {
      const keys::DeviceKeyMap want = keys::EncodeKeyMap(expected.Table().Block(k), keys::kDefaultKeyMap,
                                                         store::MacroIds(expected.macros));
      EXPECT_TRUE(std::equal(want.begin(), want.end(), maps.begin() + static_cast<long>(k * want.size())))
          << "profile " << k;
    }
  }

  // The keyboard holds ForeignSettings(4, 20), in bytes written out by hand from the key map and
  // macro image tables rather than taken from the encoders. Key positions (column * 8 + row): A 19,
  // S 27, D 35 carry the macros at indexes 0, 1, 2; Z 20, \ 107, left Shift 12 are switched off.
  void ExpectKeyboardHoldsTheForeignSettings() {
    const Bytes maps = ModelArea(sim::Area::KeyMap);
    const auto entry = [&](std::size_t profile, std::size_t position) {
      const auto at = static_cast<long>(profile * 378 + 3 * position);
      return Bytes(maps.begin() + at, maps.begin() + at + 3);
    };
    EXPECT_EQ(entry(0, 19), (Bytes{0x05, 0x01, 0x00}));
    EXPECT_EQ(entry(1, 27), (Bytes{0x05, 0x01, 0x01}));
    EXPECT_EQ(entry(2, 35), (Bytes{0x05, 0x01, 0x02}));
    EXPECT_EQ(entry(0, 20), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(entry(1, 107), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(entry(2, 12), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(entry(1, 19), (Bytes{0x02, 0x02, 0x04})) << "A keeps its factory entry elsewhere";
    // 16 + 4 * 2 + 4 * (4 + 20 * 4 + 2 * 2) = 376 bytes; blocks of 88 bytes from offset 24.
    const Bytes start = {0xAA, 0x55, 0x78, 0x01, 0x04, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,
                         0x18, 0x00, 0x70, 0x00, 0xC8, 0x00, 0x20, 0x01,
                         0x14, 0x00, 0x01, 0x02,   // 20 actions, 1 cycle, 2 name units
                         0x01, 0xA0, 0x02, 0x04};  // press A after 10 ms
    const Bytes memory = ModelArea(sim::Area::Macro);
    ASSERT_GE(memory.size(), 376u);
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + static_cast<long>(start.size())), start);
    EXPECT_EQ(Bytes(memory.begin() + 372, memory.begin() + 376), (Bytes{'f', 0, '3', 0}));
  }

  // Nothing changed: keyboard, cache file, store (with its unapplied edit) and its basis.
  void ExpectNothingChanged() {
    EXPECT_EQ(KeyboardSettingsBytes(), keyboard_before);
    EXPECT_EQ(ReadFile(cache), cache_before);
    EXPECT_EQ(StoreFile(), store_before);
    EXPECT_EQ(Basis(), KeyboardBasis::Read);
  }

  testing::DeviceRig rig;
  testing::TempFolder temp;
  platform::FixedDocumentsFolder documents;
  testing::RecordingMessageBoxes boxes;
  texts::TextTable texts;
  store::WorkingStore working;
  store::DeviceStore device_store;
  store::SettingsFiles files;
  ScriptedDialogs dialogs;
  RecordingHost host;
  SettingsTransferLogic logic;
  std::u16string cache;
  Bytes keyboard_before;
  Bytes cache_before;
  Bytes store_before;
};

TEST_F(SettingsTransfer, ImportWritesEveryProfileAndTheMacrosAndBecomesTheCache) {
  const Bytes file = ForeignSettings(4, 20);
  const std::u16string path = temp.File("foreign.fwc");
  WriteFile(path, file);
  dialogs.answer = path;

  EXPECT_EQ(logic.Import(), ImportResult::Written);

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const platform::FileDialogRequest& asked = dialogs.requests[0];
  EXPECT_FALSE(asked.save);
  EXPECT_EQ(asked.filter, u"(*.fwc)|*.fwc|(*.*)|*.*||");
  EXPECT_EQ(asked.default_extension, u"fwc");
  EXPECT_EQ(asked.proposed, u"*.fwc");
  EXPECT_TRUE(asked.hide_read_only);

  ExpectKeyboardHolds(file);
  ExpectKeyboardHoldsTheForeignSettings();
  EXPECT_EQ(StoreFile(), file) << "the unapplied edit gives way to the file";
  EXPECT_EQ(ReadFile(cache), file);
  EXPECT_EQ(Basis(), KeyboardBasis::Read);
  EXPECT_FALSE(platform::PortableFileSystem().FileExists(files.UnfinishedWritePath()));
  EXPECT_EQ(host.settings_changed, std::optional<bool>(false));
  EXPECT_GE(host.refreshes, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsTransfer, ImportOnAStoreNeverReadStillWritesTheWholeFile) {
  {
    auto lock = working.Lock();
    working.basis = KeyboardBasis::Unknown;
  }
  const Bytes file = ForeignSettings(3, 8);
  const std::u16string path = temp.File("foreign.fwc");
  WriteFile(path, file);

  EXPECT_EQ(logic.ImportFile(path), ImportResult::Written);
  ExpectKeyboardHolds(file);
  EXPECT_EQ(ReadFile(cache), file);
}

struct RejectedCase {
  const char* name;
  // The file at path, or none.
  void (*make)(const std::u16string& path);
  bool format_message;  // the settings file's format message comes before the import's
};

// Which files are no settings files is the codec's table, and which of them are told as a wrong
// format is the settings files' table; the import adds its own message to either, and nothing else.

class RejectedImport : public SettingsTransfer, public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedImport, ChangesNothingAndSaysSo) {
  const std::u16string path = temp.File("broken.fwc");
  GetParam().make(path);
  dialogs.answer = path;
  const std::size_t sent = rig.library.SentPackets().size();

  EXPECT_EQ(logic.Import(), ImportResult::Rejected);

  std::vector<std::u16string> expected;
  if (GetParam().format_message) expected.push_back(texts.Format(texts::TextKey::PROFILE_FORMAT_ERROR, {path}));
  expected.push_back(u"File format error, import failed! ");
  EXPECT_EQ(boxes.shown, expected);
  EXPECT_EQ(rig.library.SentPackets().size(), sent) << "nothing sent to the keyboard";
  ExpectNothingChanged();
  EXPECT_FALSE(host.settings_changed.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedImport,
    ::testing::Values(
        RejectedCase{"WrongChecksum",
                     [](const std::u16string& p) {
                       Bytes b = ForeignSettings(2, 4);
                       b[31] = static_cast<std::uint8_t>(b[31] + 1);
                       WriteFile(p, b);
                     },
                     true},
        RejectedCase{"Missing", [](const std::u16string&) {}, false}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(SettingsTransfer, CancelledDialogsDoNothing) {
  dialogs.answer = std::nullopt;
  const std::size_t sent = rig.library.SentPackets().size();
  EXPECT_EQ(logic.Import(), ImportResult::Cancelled);
  EXPECT_EQ(logic.Export(), ExportResult::Cancelled);
  EXPECT_EQ(rig.library.SentPackets().size(), sent);
  EXPECT_TRUE(boxes.shown.empty());
  ExpectNothingChanged();
}

TEST_F(SettingsTransfer, MacrosTooLargeForTheKeyboardGiveTheStoreBack) {
  const std::uint32_t space = rig.library.WithModel(
      [](sim::KeyboardModel& m) { return macros::MacroSpaceFromUnits(m.AreaBytes(sim::Area::Info)[11]); });
  const Bytes file = ForeignSettings(5, 2000);
  store::KeyStore loaded;
  ASSERT_EQ(store::DeserializeStore(file, loaded), profiles::SettingsCodecResult::Ok);
  ASSERT_GT(macros::MacroImageSizes(loaded.macros).without_names, space) << "the fixture must not fit";
  const std::u16string path = temp.File("huge.fwc");
  WriteFile(path, file);

  EXPECT_EQ(logic.ImportFile(path), ImportResult::NotSent);

  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], texts.Text(texts::TextKey::EXTRA_MACRO_TOO_LONG));
  ExpectNothingChanged();
  EXPECT_FALSE(host.settings_changed.has_value()) << "the unapplied edit is still pending";
}

TEST_F(SettingsTransfer, WithNoKeyboardConnectedNothingIsLoaded) {
  host.connected = false;
  const std::u16string path = temp.File("foreign.fwc");
  WriteFile(path, ForeignSettings(2, 4));
  EXPECT_EQ(logic.ImportFile(path), ImportResult::NotSent);
  EXPECT_EQ(boxes.shown, std::vector<std::u16string>{texts.Text(texts::TextKey::MAIN_NO_DEVICE_PROMPT)});
  ExpectNothingChanged();
}

TEST_F(SettingsTransfer, AWriteCutShortKeepsTheFileInTheStoreStillToBeWritten) {
  const Bytes file = ForeignSettings(3, 30);
  const std::u16string path = temp.File("foreign.fwc");
  WriteFile(path, file);
  rig.library.RefuseWritesFrom(4);  // inside the macro image

  EXPECT_EQ(logic.ImportFile(path), ImportResult::Failed);

  EXPECT_EQ(boxes.shown, std::vector<std::u16string>{texts.Text(texts::TextKey::KEYBOARD_WRITE_FAILED)});
  EXPECT_EQ(StoreFile(), file);
  EXPECT_EQ(Basis(), KeyboardBasis::WriteUnfinished);
  EXPECT_EQ(ReadFile(cache), cache_before) << "the cache holds only what the keyboard acknowledged";
  EXPECT_EQ(ReadFile(files.UnfinishedWritePath()), file);
  EXPECT_EQ(host.settings_changed, std::optional<bool>(true));
}

TEST_F(SettingsTransfer, ExportSavesTheStoreWithItsUnappliedEdits) {
  const std::u16string path = temp.File("saved.fwc");
  dialogs.answer = path;
  const std::size_t sent = rig.library.SentPackets().size();

  EXPECT_EQ(logic.Export(), ExportResult::Saved);

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const platform::FileDialogRequest& asked = dialogs.requests[0];
  EXPECT_TRUE(asked.save);
  EXPECT_TRUE(asked.overwrite_prompt);
  EXPECT_EQ(asked.filter, u"(*.fwc)|*.fwc|(*.*)|*.*||");
  EXPECT_EQ(asked.default_extension, u"fwc");
  EXPECT_EQ(asked.proposed, u"*.fwc");
  EXPECT_EQ(ReadFile(path), store_before);
  EXPECT_EQ(files.ValidateSettingsFile(path), store::SettingsFileCheck::Valid);
  EXPECT_EQ(rig.library.SentPackets().size(), sent) << "an export reads nothing from the keyboard";
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsTransfer, ExportToAnUnwritablePlaceSaysTheBackupFailed) {
  EXPECT_EQ(logic.ExportFile(temp.File("no/such/folder/saved.fwc")), ExportResult::Failed);
  EXPECT_EQ(boxes.shown, std::vector<std::u16string>{texts.Text(texts::TextKey::MAIN_UPDATE_BACKUP_NG)});
}

TEST_F(SettingsTransfer, AnExportedFileBringsAResetKeyboardBackByteForByte) {
  // The keyboard first gets settings of its own in every profile.
  const std::u16string own = temp.File("own.fwc");
  WriteFile(own, ForeignSettings(5, 16));
  ASSERT_EQ(logic.ImportFile(own), ImportResult::Written);
  const Bytes keyboard = KeyboardSettingsBytes();
  const std::u16string saved = temp.File("saved.fwc");
  ASSERT_EQ(logic.ExportFile(saved), ExportResult::Saved);

  rig.library.WithModel([](sim::KeyboardModel& m) { m.Reset(); });
  ASSERT_NE(KeyboardSettingsBytes(), keyboard) << "the reset must change what is compared";
  ASSERT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap),
            store::CacheRefresh::FromKeyboard);

  EXPECT_EQ(logic.ImportFile(saved), ImportResult::Written);
  EXPECT_EQ(KeyboardSettingsBytes(), keyboard);
  EXPECT_EQ(ReadFile(cache), ReadFile(saved));
}

}  // namespace
}  // namespace vendrel::app
