// Keyboard model -> settings file -> store -> keyboard model, with macros, texts in all four
// blocks and the G keys of both banks; and the export's failure paths.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "keys/default_key_map.h"
#include "keys/key_map_codec.h"
#include "store/key_map_write.h"
#include "app/store_messages.h"
#include "macros/macro_image.h"
#include "macros/macro_image_read.h"
#include "macros/macro_space_fit.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "profiles/settings_file_codec.h"
#include "store/settings_store.h"
#include "store/settings_files.h"
#include "sim/model/keyboard_model.h"
#include "support/device_rig.h"
#include "support/recording_message_boxes.h"
#include "support/temp_folder.h"

namespace vendrel::profiles {
namespace {

using namespace vendrel::store;

using Bytes = std::vector<std::uint8_t>;
using keys::AssignmentType;
using macros::ActionKind;
using macros::MacroRecord;

// Matrix position (column * 8 + row) of a few keys in the factory map.
constexpr std::size_t kPosA = 2 * 8 + 3;       // 02 02 04
constexpr std::size_t kPosQ = 2 * 8 + 2;       // 02 02 14
constexpr std::size_t kPosW = 3 * 8 + 2;       // 02 02 1A
constexpr std::size_t kPosSpace = 4 * 8 + 5;   // 02 02 2C
constexpr std::size_t kPosLCtrl = 1 * 8 + 5;   // 02 01 01
constexpr std::size_t kPosEsc = 1 * 8 + 0;     // 02 02 29
constexpr std::size_t kPosF2 = 3 * 8 + 0;      // 02 02 3B

using Map = std::array<std::uint8_t, keys::kKeyMapBytes>;

// The assignment record that a matrix position's factory entry leads to.
std::size_t SlotAt(std::size_t pos) {
  return keys::Fold(keys::EntryKey(keys::EntryAt(keys::kDefaultKeyMap, pos)));
}

void Put(Map& m, std::size_t pos, std::uint8_t kind, std::uint8_t sub, std::uint8_t value) {
  m[3 * pos] = kind;
  m[3 * pos + 1] = sub;
  m[3 * pos + 2] = value;
}

std::array<Map, 3> EditedMaps() {
  std::array<Map, 3> maps{};
  for (Map& m : maps) m = keys::kDefaultKeyMap;
  Put(maps[0], kPosA, 0x02, 0x02, 0x05);      // A sends B
  Put(maps[0], kPosQ, 0x03, 0xE9, 0x00);      // Q: volume up (media 6)
  Put(maps[0], kPosW, 0x05, 0x05, 0x03);      // W: function 3
  Put(maps[1], kPosA, 0x05, 0x01, 0x01);      // A plays macro index 1
  Put(maps[1], kPosSpace, 0x05, 0x02, 0x00);  // Space stops the macro
  Put(maps[1], kPosLCtrl, 0x02, 0x01, 0x40);  // Left Ctrl sends Right Alt
  Put(maps[2], kPosEsc, 0x00, 0x00, 0x00);    // Esc disabled
  Put(maps[2], kPosF2, 0x05, 0x01, 0x02);     // F2 plays macro index 2
  return maps;
}

std::vector<MacroRecord> KeyboardMacros() {
  std::vector<MacroRecord> list;
  for (int i = 0; i < 3; ++i) {
    MacroRecord m;
    m.id = static_cast<macros::MacroId>(i + 1);
    m.name = i == 1 ? u"" : u"Burst " + std::u16string(1, static_cast<char16_t>(u'A' + i));
    m.cycles = static_cast<std::uint8_t>(1 + 4 * i);
    for (int a = 0; a < 20 * (i + 1); ++a) {
      m.actions.push_back({static_cast<std::uint32_t>(10 * (a % 50)),
                           static_cast<std::uint16_t>(a % 3 == 0 ? 0x01D : 0x01E + a % 10),
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

class ProfileStoreRoundTrip : public ::testing::Test {
 protected:
  ProfileStoreRoundTrip()
      : documents(temp.U16()),
        files(working, platform::PortableFileSystem(), documents, texts) {}

  void LoadKeyboard(const std::array<Map, 3>& maps, const Bytes& image) {
    rig.library.WithModel([&](sim::KeyboardModel& model) {
      for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_TRUE(model.WriteArea(sim::Area::KeyMap, k * keys::kKeyMapBytes, maps[k]));
      }
      EXPECT_TRUE(model.WriteArea(sim::Area::Macro, 0, image));
    });
  }

  Map KeyboardMap(std::size_t k) {
    return rig.library.WithModel([&](sim::KeyboardModel& model) {
      Map m{};
      const auto area = model.AreaBytes(sim::Area::KeyMap).subspan(k * keys::kKeyMapBytes, keys::kKeyMapBytes);
      std::copy(area.begin(), area.end(), m.begin());
      return m;
    });
  }

  Bytes KeyboardMacroBytes(std::size_t n) {
    return rig.library.WithModel([&](sim::KeyboardModel& model) {
      const auto area = model.AreaBytes(sim::Area::Macro);
      return Bytes(area.begin(), area.begin() + static_cast<std::ptrdiff_t>(std::min(n, area.size())));
    });
  }

  std::uint32_t KeyboardMacroSpace() {
    return rig.library.WithModel([](sim::KeyboardModel& model) {
      return macros::MacroSpaceFromUnits(model.AreaBytes(sim::Area::Info)[11]);
    });
  }

  testing::DeviceRig rig;
  testing::TempFolder temp;
  platform::FixedDocumentsFolder documents;
  testing::RecordingMessageBoxes boxes;
  texts::TextTable texts;
  store::WorkingStore working;
  store::DeviceStore device_store;
  SettingsFiles files;
};

TEST_F(ProfileStoreRoundTrip, KeyboardToFileToStoreToKeyboard) {
  const std::array<Map, 3> maps = EditedMaps();
  const std::vector<MacroRecord> keyboard_macros = KeyboardMacros();
  const Bytes image = ImageOf(keyboard_macros);
  LoadKeyboard(maps, image);

  // Keyboard -> cache file -> store.
  ASSERT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::FromKeyboard);
  {
    auto lock = working.Lock();
    ASSERT_EQ(working.macros.size(), 3u);
    EXPECT_EQ(working.macros[0].name, u"Burst A");
    EXPECT_EQ(working.macros[1].name, u"Macro2");  // stored without a name
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(working.macros[i].id, i + 1);
      EXPECT_EQ(working.macros[i].actions, keyboard_macros[i].actions);
      EXPECT_EQ(working.macros[i].cycles, keyboard_macros[i].cycles);
    }
    const auto& t = working.Table();
    EXPECT_EQ(t.At(0, SlotAt(kPosA)).type, AssignmentType::Key);
    EXPECT_EQ(t.At(0, SlotAt(kPosA)).parameter, 0x30u);  // B
    EXPECT_EQ(t.At(0, SlotAt(kPosQ)).type, AssignmentType::Media);
    EXPECT_EQ(t.At(0, SlotAt(kPosQ)).parameter, 6u);
    EXPECT_EQ(t.At(0, SlotAt(kPosW)).type, AssignmentType::Function);
    EXPECT_EQ(t.At(0, SlotAt(kPosW)).parameter, 3u);
    EXPECT_EQ(t.At(1, SlotAt(kPosA)).type, AssignmentType::Macro);
    EXPECT_EQ(t.At(1, SlotAt(kPosA)).parameter, 2u);
    EXPECT_EQ(t.At(1, SlotAt(kPosSpace)).type, AssignmentType::StopMacro);
    EXPECT_EQ(t.At(1, SlotAt(kPosLCtrl)).type, AssignmentType::Key);
    EXPECT_EQ(t.At(1, SlotAt(kPosLCtrl)).parameter, 0x138u);
    EXPECT_EQ(t.At(2, SlotAt(kPosEsc)).type, AssignmentType::Disabled);
    EXPECT_EQ(t.At(2, SlotAt(kPosF2)).type, AssignmentType::Macro);
    EXPECT_EQ(t.At(2, SlotAt(kPosF2)).parameter, 3u);
    EXPECT_EQ(t.At(1, SlotAt(kPosQ)).type, AssignmentType::Default);
  }

  // Texts in all four blocks and the G keys of both banks, through a save and a load.
  {
    auto lock = working.Lock();
    auto& t = working.Table();
    for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) {
      t.At(b, 0x2F).type = AssignmentType::LaunchProgram;  // V keeps its factory entry
      working.strings.Set(b * 512 + 0x2F, u"C:\\Games\\launcher" + std::u16string(b + 1, u'!') + u".exe");
      const std::size_t g0 = keys::GRecordIndex(0, b);
      const std::size_t g1 = keys::GRecordIndex(1, 8 - b);
      t.At(b, g0).type = AssignmentType::TextBlock;
      working.strings.Set(b * 512 + g0, u"gg wp \u263A");
      t.At(b, g1).type = AssignmentType::Macro;
      t.At(b, g1).parameter = 3;
      t.At(b, g1).key_field = static_cast<std::uint16_t>(keys::GKeyFieldCode(1, 8 - b));
    }
  }
  ASSERT_TRUE(files.SaveCacheFile(true));
  keys::ProfileKeyTable saved_table;
  macros::MacroList saved_macros;
  keys::KeyStringTable saved_strings;
  {
    auto lock = working.Lock();
    saved_table = working.Table();
    saved_macros = working.macros;
    saved_strings = working.strings;
    // The file's records carry their texts' offsets.
    profiles::AssignTextOffsets(saved_table, saved_strings);
  }
  {
    auto lock = working.Lock();
    files.ClearStore();
    ASSERT_EQ(files.LoadSettingsFile(files.CacheFilePath()), profiles::SettingsCodecResult::Ok);
    EXPECT_EQ(working.Table(), saved_table);
    EXPECT_EQ(working.macros, saved_macros);
    EXPECT_EQ(working.strings, saved_strings);
  }

  // Store -> keyboard, onto a keyboard back at its factory state.
  rig.library.WithModel([](sim::KeyboardModel& model) { model.Reset(); });
  ASSERT_NE(KeyboardMap(0), maps[0]);
  const KeyMapWriteTarget target{rig.commands, keys::kDefaultKeyMap, KeyboardMacroSpace()};
  const KeyMapWriteOutcome outcome = WriteKeyMaps(working, device_store, true, target);
  app::TellKeyMapWrite(outcome, boxes, texts);
  ASSERT_EQ(outcome.DesignResult(), 1);
  EXPECT_TRUE(boxes.shown.empty());
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(KeyboardMap(k), maps[k]) << "profile " << k;
  // The names that came back generated are written as names now; everything else is the same.
  macros::MacroList back;
  ASSERT_EQ(macros::ReadMacrosFromKeyboard(rig.commands, u"Macro", back), 1);
  EXPECT_EQ(back, saved_macros);
  std::vector<MacroRecord> renamed = keyboard_macros;
  renamed[1].name = u"Macro2";
  EXPECT_EQ(KeyboardMacroBytes(ImageOf(renamed).size()), ImageOf(renamed));
}

TEST_F(ProfileStoreRoundTrip, KeyboardWithoutImageExportsNoMacros) {
  ASSERT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::FromKeyboard);
  auto lock = working.Lock();
  EXPECT_TRUE(working.macros.empty());
  for (std::size_t b = 0; b < 3; ++b) {
    EXPECT_EQ(working.Table().At(b, keys::GRecordIndex(1, 0)).key_field, 0x1301) << b;
  }
  // Block 3 has no profile on the keyboard and stays zero.
  EXPECT_EQ(working.Table().At(3, keys::GRecordIndex(0, 0)).key_field, 0);
}

TEST_F(ProfileStoreRoundTrip, CorruptKeyboardImageIsNotExported) {
  Bytes image = ImageOf(KeyboardMacros());
  image[4] = 0xFF;  // count 255: offsets beyond the real ones point at garbage
  image[5] = 0x00;
  LoadKeyboard(EditedMaps(), image);
  const std::u16string path = temp.File("export.fwc");
  EXPECT_FALSE(files.ExportDeviceToFile(path, rig.commands, keys::kDefaultKeyMap));
  EXPECT_FALSE(platform::PortableFileSystem().FileExists(path));
}

TEST_F(ProfileStoreRoundTrip, FailedExportInstallsUnknownDefaultsAndKeepsTheOldCache) {
  const std::u16string cache = files.CacheFilePath();
  ASSERT_TRUE(files.CreateDefaultSettings(cache, false));
  {
    auto lock = working.Lock();
    working.macros.resize(2);
  }
  rig.library.SetAttached(0, false);
  rig.commands.ForgetActiveProfile();
  EXPECT_FALSE(files.ExportDeviceToFile(cache, rig.commands, keys::kDefaultKeyMap));
  EXPECT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::Unreadable);
  auto lock = working.Lock();
  EXPECT_EQ(working.basis, KeyboardBasis::Unknown) << "defaults are not the keyboard's settings";
  EXPECT_TRUE(working.macros.empty());
  EXPECT_EQ(working.Table().At(0, keys::GRecordIndex(0, 8)).key_field, 0x0309);
  EXPECT_EQ(files.ValidateSettingsFile(cache), SettingsFileCheck::Valid);
}

}  // namespace
}  // namespace vendrel::profiles
