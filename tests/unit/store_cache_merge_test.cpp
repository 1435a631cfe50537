// Connecting the keyboard again keeps what only the program holds (texts, colour flags, the G
// keys, block 3, macro ids, names and exact delays) while whatever was changed on the keyboard
// behind the program's back wins; a cache file that cannot be used gives the plain read.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "keys/default_key_map.h"
#include "keys/key_map_codec.h"
#include "macros/macro_image.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "profiles/settings_file_codec.h"
#include "sim/model/keyboard_model.h"
#include "store/key_map_write.h"
#include "store/settings_apply.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "support/device_rig.h"
#include "support/temp_folder.h"

namespace vendrel::store {
namespace {

using Bytes = std::vector<std::uint8_t>;
using keys::AssignmentType;
using keys::KeyAssignment;
using keys::KeyMapEntry;
using macros::ActionKind;
using macros::MacroList;
using macros::MacroRecord;

// Key slots (scan codes) of keys the factory map carries.
constexpr std::size_t kSlot4 = 0x05;
constexpr std::size_t kSlotQ = 0x10;
constexpr std::size_t kSlotA = 0x1E;
constexpr std::size_t kSlotV = 0x2F;
constexpr std::uint32_t kKeyB = 0x30;
constexpr std::uint32_t kKeyS = 0x1F;

constexpr std::size_t G(std::size_t bank, std::size_t g) { return keys::GRecordIndex(bank, g); }

// The macros of the user: ids that are not their places, names, delays the keyboard rounds to
// 10 ms, and fields the keyboard has no room for.
MacroList UserMacros() {
  MacroRecord burst;
  burst.id = 7;
  burst.name = u"Burst";
  burst.cycles = 3;
  burst.repeat_mode = 2;
  burst.reserved2 = 5;
  burst.actions = {{15, 0x1E, ActionKind::Press}, {25, 0x1E, ActionKind::Release}};
  MacroRecord combo;
  combo.id = 3;
  combo.name = u"Combo";
  combo.actions = {{100, 0x2A, ActionKind::Press},
                   {0, 0x1F, ActionKind::Press},
                   {0, 0x1F, ActionKind::Release},
                   {0, 0x2A, ActionKind::Release}};
  return {burst, combo};
}

Bytes ImageOf(const MacroList& list) {
  Bytes image(macros::MacroImageSizes(list).with_names);
  EXPECT_EQ(macros::EncodeMacros(list, image, true), macros::MacroEncodeResult::Ok);
  return image;
}

// A record of the table and its text (empty: none).
struct Placed {
  std::size_t block;
  std::size_t record;
  KeyAssignment assignment;
  std::u16string text;
};

// A key's entry changed on the keyboard by someone else, at every position of that key.
struct Elsewhere {
  std::size_t profile;
  std::size_t slot;
  KeyMapEntry entry;
};

void Place(KeyStore& store, const Placed& p) {
  const std::size_t index = p.block * keys::kRecordsPerBlock + p.record;
  store.Table().records[index] = p.assignment;
  store.strings.Clear(index);
  if (!p.text.empty()) store.strings.Set(index, p.text);
}

Bytes FileOf(const KeyStore& store) {
  auto lock = store.Lock();
  Bytes bytes;
  EXPECT_EQ(SerializeStore(store, bytes), profiles::SettingsCodecResult::Ok);
  return bytes;
}

std::unique_ptr<KeyStore> StoreOf(const Bytes& file) {
  auto store = std::make_unique<KeyStore>();
  EXPECT_EQ(DeserializeStore(file, *store), profiles::SettingsCodecResult::Ok);
  return store;
}

// Readable differences between two settings files: records, texts and macros.
std::string Differences(const Bytes& got_file, const Bytes& want_file) {
  const auto got = StoreOf(got_file);
  const auto want = StoreOf(want_file);
  std::ostringstream out;
  for (std::size_t i = 0; i < keys::kRecordCount; ++i) {
    const KeyAssignment& g = got->Table().records[i];
    const KeyAssignment& w = want->Table().records[i];
    if (g != w) {
      out << "block " << i / keys::kRecordsPerBlock << " record 0x" << std::hex
          << i % keys::kRecordsPerBlock << std::dec << ": type " << static_cast<int>(g.type)
          << " key " << g.key_field << " param " << g.parameter << " flag " << g.colour_flag
          << ", want type " << static_cast<int>(w.type) << " key " << w.key_field << " param "
          << w.parameter << " flag " << w.colour_flag << "\n";
    }
    if (got->strings.Text(i) != want->strings.Text(i)) {
      out << "text of record " << i << " differs (" << got->strings.Text(i).size() << " vs "
          << want->strings.Text(i).size() << " units)\n";
    }
  }
  if (got->macros.size() != want->macros.size()) {
    out << got->macros.size() << " macros, want " << want->macros.size() << "\n";
  } else {
    for (std::size_t i = 0; i < got->macros.size(); ++i) {
      if (got->macros[i] != want->macros[i]) {
        out << "macro " << i << ": id " << got->macros[i].id << ", want " << want->macros[i].id
            << "\n";
      }
    }
  }
  if (out.str().empty() && got_file != want_file) out << "files differ outside records and macros\n";
  return out.str();
}

// A keyboard that the program read once (creating the cache file); then the user's settings,
// applied to the keyboard and the cache; then maybe changes on the keyboard; then the next connect.
class CacheRefreshTest : public ::testing::Test {
 protected:
  CacheRefreshTest()
      : documents(temp.U16()), files(working, platform::PortableFileSystem(), documents, texts) {
    EXPECT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap),
              CacheRefresh::FromKeyboard);
    cache = files.CacheFilePath();
  }

  std::uint32_t KeyboardMacroSpace() {
    return rig.library.WithModel([](sim::KeyboardModel& m) {
      return macros::MacroSpaceFromUnits(m.AreaBytes(sim::Area::Info)[11]);
    });
  }

  // Returns the settings file of the store as applied.
  Bytes ApplyUserSettings(const std::vector<Placed>& records, std::uint32_t macro_space,
                          bool names_left_out = false) {
    {
      auto lock = working.Lock();
      working.macros = UserMacros();
      for (const Placed& p : records) Place(working, p);
    }
    const KeyMapWriteTarget target{rig.commands, keys::kDefaultKeyMap, macro_space};
    const SettingsApplyOutcome outcome = ApplyToKeyboard(files, working, device_store, true, target);
    EXPECT_EQ(outcome.status, SettingsApply::Written);
    EXPECT_EQ(outcome.write.names_dropped, names_left_out);
    EXPECT_EQ(ReadCache(), FileOf(working)) << "the cache holds what was applied";
    return FileOf(working);
  }

  void ChangeOnKeyboard(const Elsewhere& e) {
    const std::uint8_t bytes[] = {e.entry.kind, e.entry.sub, e.entry.value};
    std::size_t changed = 0;
    for (std::size_t p = 0; p < keys::kMatrixPositions; ++p) {
      const keys::KeyCode key = keys::EntryKey(keys::EntryAt(keys::kDefaultKeyMap, p));
      if (key == keys::kNoKey || keys::Fold(key) != e.slot) continue;
      rig.library.WithModel([&](sim::KeyboardModel& m) {
        EXPECT_TRUE(m.WriteArea(sim::Area::KeyMap, e.profile * keys::kKeyMapBytes + 3 * p, bytes));
      });
      ++changed;
    }
    ASSERT_NE(changed, 0u) << "slot " << e.slot << " has no key position";
  }

  void PutMacrosOnKeyboard(const MacroList& list) {
    rig.library.WithModel(
        [&](sim::KeyboardModel& m) { EXPECT_TRUE(m.WriteArea(sim::Area::Macro, 0, ImageOf(list))); });
  }

  Bytes ReadCache() {
    Bytes bytes;
    platform::PortableFileSystem().ReadWholeFile(cache, 1 << 24, bytes);
    return bytes;
  }

  // The next connect; returns the store's settings file, which the cache file must hold too.
  Bytes Reconnect() {
    EXPECT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap),
              CacheRefresh::FromKeyboard);
    const Bytes now = FileOf(working);
    EXPECT_EQ(ReadCache(), now) << "the cache file holds the store";
    auto lock = working.Lock();
    EXPECT_EQ(working.basis, KeyboardBasis::Read);
    return now;
  }

  testing::DeviceRig rig;
  testing::TempFolder temp;
  platform::FixedDocumentsFolder documents;
  texts::TextTable texts;
  WorkingStore working;
  DeviceStore device_store;
  SettingsFiles files;
  std::u16string cache;
};

// What the write leaves on the keyboard, in bytes written out by hand from the key map and macro
// image tables rather than taken from the encoders: the merge below reads these bytes back, so a
// fault the encoder shares with the decoder (a macro named by its id instead of its place) would
// otherwise pass unseen.
TEST_F(CacheRefreshTest, AppliedSettingsReachTheKeyboardAsTheTablesSay) {
  const Bytes applied =
      ApplyUserSettings({{0, kSlotA, {AssignmentType::Macro, 0, 3, 0, 0}, u""},
                         {1, kSlotA, {AssignmentType::Key, 0, kKeyB, 0, 0}, u""},
                         {2, kSlotA, {AssignmentType::Media, 0, 6, 0, 0}, u""},
                         {0, kSlotQ, {AssignmentType::StopMacro, 0, 0, 0, 0}, u""},
                         {1, kSlotQ, {AssignmentType::Function, 0, 4, 0, 0}, u""}},
                        KeyboardMacroSpace());
  const Bytes maps = rig.library.WithModel([](sim::KeyboardModel& m) {
    const auto bytes = m.AreaBytes(sim::Area::KeyMap);
    return Bytes(bytes.begin(), bytes.end());
  });
  // Matrix positions (column * 8 + row): A is 19, Q is 18.
  const auto entry = [&](std::size_t profile, std::size_t position) {
    const auto at = static_cast<long>(profile * 378 + 3 * position);
    return Bytes(maps.begin() + at, maps.begin() + at + 3);
  };
  EXPECT_EQ(entry(0, 19), (Bytes{0x05, 0x01, 0x01})) << "macro id 3 is the second of the list";
  EXPECT_EQ(entry(1, 19), (Bytes{0x02, 0x02, 0x05}));
  EXPECT_EQ(entry(2, 19), (Bytes{0x03, 0xE9, 0x00}));
  EXPECT_EQ(entry(0, 18), (Bytes{0x05, 0x02, 0x00}));
  EXPECT_EQ(entry(1, 18), (Bytes{0x05, 0x05, 0x04}));
  EXPECT_EQ(entry(2, 18), (Bytes{0x02, 0x02, 0x14})) << "Q keeps its factory entry";

  // Burst (2 actions, 3 cycles) then Combo (4 actions); delays are cut to 10 ms units.
  const Bytes image = {
      0xAA, 0x55, 0x48, 0x00, 0x02, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,
      0x14, 0x00, 0x2A, 0x00,
      0x02, 0x00, 0x03, 0x05, 0x01, 0xA0, 0x02, 0x04, 0x02, 0x20, 0x02, 0x04,
      'B', 0, 'u', 0, 'r', 0, 's', 0, 't', 0,
      0x04, 0x00, 0x01, 0x05, 0x0A, 0xA0, 0x01, 0x02, 0x00, 0xA0, 0x02, 0x16,
      0x00, 0x20, 0x02, 0x16, 0x00, 0x20, 0x01, 0x02,
      'C', 0, 'o', 0, 'm', 0, 'b', 0, 'o', 0};
  const Bytes memory = rig.library.WithModel([](sim::KeyboardModel& m) {
    const auto bytes = m.AreaBytes(sim::Area::Macro);
    return Bytes(bytes.begin(), bytes.end());
  });
  ASSERT_GE(memory.size(), image.size());
  EXPECT_EQ(Bytes(memory.begin(), memory.begin() + static_cast<long>(image.size())), image);

  EXPECT_EQ(Differences(Reconnect(), applied), "");
}

struct RecordCase {
  const char* name;
  std::vector<Placed> applied;      // the user's records, applied with UserMacros()
  std::vector<Elsewhere> elsewhere;  // changed on the keyboard afterwards
  std::vector<Placed> want;         // records that come back otherwise than applied
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }

class RecordRefresh : public CacheRefreshTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordRefresh, KeepsWhatOnlyTheProgramHoldsAndTakesTheKeyboardsChanges) {
  const RecordCase& c = GetParam();
  const Bytes applied = ApplyUserSettings(c.applied, KeyboardMacroSpace());
  for (const Elsewhere& e : c.elsewhere) ChangeOnKeyboard(e);

  auto want = StoreOf(applied);
  for (const Placed& p : c.want) Place(*want, p);
  EXPECT_EQ(Differences(Reconnect(), FileOf(*want)), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordRefresh,
    ::testing::Values(
        RecordCase{"ColourFlagsOfButtonsAndGKeys",
                   {{0, kSlot4, {AssignmentType::Default, 0, 0, 1, 0}, u""},
                    {1, 9 + 2, {AssignmentType::Default, 0, 0, 1, 0}, u""},
                    {2, kSlotA, {AssignmentType::Key, 0, kKeyB, 1, 0}, u""},
                    {0, G(1, 2), {AssignmentType::Default, keys::GKeyFieldCode(1, 2), 0, 1, 0}, u""}},
                   {},
                   {}},
        RecordCase{"TextsOfTextBlocksAndProgramsInEveryBlock",
                   {{0, kSlotA, {AssignmentType::TextBlock, 0, 0, 0, 0}, u"hello there"},
                    {1, kSlotV, {AssignmentType::LaunchProgram, 0, 0, 0, 0}, u"C:\\Games\\run.exe"},
                    {2, kSlotQ, {AssignmentType::TextBlock, 0, 0, 0, 0}, u"gg \u263A"},
                    {3, kSlotA, {AssignmentType::LaunchProgram, 0, 0, 0, 0}, u"D:\\block3.exe"}},
                   {},
                   {}},
        RecordCase{"GKeysWholeAndTheirTexts",
                   {{0, G(0, 0), {AssignmentType::TextBlock, keys::GKeyFieldCode(0, 0), 0, 0, 0}, u"gg wp"},
                    {1, G(1, 8), {AssignmentType::Macro, keys::GKeyFieldCode(1, 8), 3, 0, 0}, u""},
                    {2, G(0, 4), {AssignmentType::Disabled, 0, 0, 0, 9}, u""},  // G code cleared
                    {3, G(1, 0), {AssignmentType::LaunchProgram, 0x1301, 0, 1, 0}, u"E:\\g.exe"}},
                   {},
                   {}},
        RecordCase{"FieldsTheKeyMapCannotCarry",
                   {{0, kSlotA, {AssignmentType::Macro, 4, 7, 0, 0}, u""},  // repeat count 4
                    {0, kSlotQ, {AssignmentType::Media, 0, 40, 0, 0}, u""},  // no usage: factory
                    {1, kSlotA, {AssignmentType::Function, 0, 0x103, 0, 0}, u""},
                    {1, kSlotQ, {static_cast<AssignmentType>(0x42), 0, 9, 0, 0}, u""},
                    {2, kSlotA, {AssignmentType::Macro, 0, 0x50003, 0, 0}, u""}},
                   {},
                   {}},
        RecordCase{"KeyChangedElsewhereWinsAndDropsItsText",
                   {{0, kSlotA, {AssignmentType::TextBlock, 0, 0, 1, 0}, u"stale text"},
                    {0, kSlotQ, {AssignmentType::TextBlock, 0, 0, 0, 0}, u"kept text"}},
                   {{0, kSlotA, {0x02, 0x02, 0x05}}},
                   {{0, kSlotA, {AssignmentType::Key, 0, kKeyB, 1, 0}, u""}}},
        RecordCase{"ProgramDisabledElsewhere",
                   {{1, kSlotV, {AssignmentType::LaunchProgram, 0, 0, 0, 0}, u"C:\\x.exe"}},
                   {{1, kSlotV, {0x00, 0x00, 0x00}}},
                   {{1, kSlotV, {AssignmentType::Disabled, 0, 0, 0, 0}, u""}}},
        RecordCase{"MacroChosenElsewhereNamesTheMacroByItsId",
                   {{2, kSlotQ, {AssignmentType::Key, 0, kKeyS, 0, 0}, u""},
                    {2, kSlotA, {AssignmentType::Macro, 6, 7, 0, 0}, u""}},
                   {{2, kSlotQ, {0x05, 0x01, 0x01}}, {2, kSlotA, {0x05, 0x01, 0x01}}},
                   {{2, kSlotQ, {AssignmentType::Macro, 0, 3, 0, 0}, u""},
                    {2, kSlotA, {AssignmentType::Macro, 0, 3, 0, 0}, u""}}},
        RecordCase{"OtherProfileChangedElsewhere",
                   {{0, kSlotA, {AssignmentType::TextBlock, 0, 0, 0, 0}, u"profile 0"},
                    {1, kSlotA, {AssignmentType::TextBlock, 0, 0, 0, 0}, u"profile 1"}},
                   {{1, kSlotA, {0x03, 0xE9, 0x00}}},
                   {{1, kSlotA, {AssignmentType::Media, 0, 6, 0, 0}, u""}}}),
    [](const auto& i) { return std::string(i.param.name); });

// The records the macro cases apply: assignments of both macros, reached by the keyboard or not,
// and a G key naming a macro that no longer exists.
std::vector<Placed> MacroAssignments() {
  return {{0, kSlotA, {AssignmentType::Macro, 4, 7, 0, 0}, u""},
          {1, kSlotQ, {AssignmentType::Macro, 0, 3, 0, 0}, u""},
          {0, G(0, 0), {AssignmentType::Macro, keys::GKeyFieldCode(0, 0), 3, 0, 0}, u""},
          {2, G(1, 1), {AssignmentType::Macro, keys::GKeyFieldCode(1, 1), 2, 0, 0}, u""}};
}

struct MacroCase {
  const char* name;
  bool names_left_out;             // the write had to leave the names out to fit
  void (*elsewhere)(MacroList&);   // the keyboard's macros changed afterwards (nullptr: none)
  std::vector<std::pair<std::size_t, macros::MacroId>> from_keyboard;  // place, id it gets
  std::vector<Placed> want;        // assignments that come back otherwise than applied
};

void PrintTo(const MacroCase& c, std::ostream* os) { *os << c.name; }

class MacroRefresh : public CacheRefreshTest, public ::testing::WithParamInterface<MacroCase> {};

TEST_P(MacroRefresh, KeepsCachedMacrosTheKeyboardStillHolds) {
  const MacroCase& c = GetParam();
  const macros::MacroImageSize sizes = macros::MacroImageSizes(UserMacros());
  const std::uint32_t space = c.names_left_out ? static_cast<std::uint32_t>(sizes.with_names - 1)
                                               : KeyboardMacroSpace();
  ASSERT_GE(space, sizes.without_names);
  const Bytes applied = ApplyUserSettings(MacroAssignments(), space, c.names_left_out);
  MacroList on_keyboard = UserMacros();
  if (c.elsewhere != nullptr) {
    c.elsewhere(on_keyboard);
    PutMacrosOnKeyboard(on_keyboard);
  }

  auto want = StoreOf(applied);
  MacroList read_back;
  macros::DecodeMacros(ImageOf(on_keyboard), texts.Text(texts::TextKey::MACRO_NEW_PREFIX), read_back);
  want->macros.resize(read_back.size());
  for (const auto& [place, id] : c.from_keyboard) {
    want->macros[place] = read_back[place];
    want->macros[place].id = id;
  }
  for (const Placed& p : c.want) Place(*want, p);
  EXPECT_EQ(Differences(Reconnect(), FileOf(*want)), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MacroRefresh,
    ::testing::Values(
        MacroCase{"NamesLeftOutToFitComeBackFromTheCache", true, nullptr, {}, {}},
        MacroCase{"ExactDelaysIdsAndRepeatModeComeBackFromTheCache", false, nullptr, {}, {}},
        MacroCase{"MacroChangedElsewhereIsTheKeyboardsWithAFreeId",
                  false,
                  [](MacroList& l) { l[0].cycles = 9; },
                  {{0, 1}},
                  {{0, kSlotA, {AssignmentType::Macro, 4, 1, 0, 0}, u""}}},
        MacroCase{"MacroRenamedElsewhereTakesItsPlacesIdAndTheStaleIdIsDropped",
                  false,
                  [](MacroList& l) { l[1].name = u"Renamed"; },
                  {{1, 2}},
                  {{1, kSlotQ, {AssignmentType::Macro, 0, 2, 0, 0}, u""},
                   {0, G(0, 0), {AssignmentType::Macro, keys::GKeyFieldCode(0, 0), 2, 0, 0}, u""},
                   {2, G(1, 1), {AssignmentType::Macro, keys::GKeyFieldCode(1, 1), 0, 0, 0}, u""}}},
        MacroCase{"MacroRemovedElsewhereLeavesItsAssignmentsNamingNone",
                  false,
                  [](MacroList& l) { l.pop_back(); },
                  {},
                  {}}),
    [](const auto& i) { return std::string(i.param.name); });

struct BadCacheCase {
  const char* name;
  void (*spoil)(const std::u16string& cache, Bytes& bytes);  // bytes: the cache file's
};

void PrintTo(const BadCacheCase& c, std::ostream* os) { *os << c.name; }

class BadCacheRefresh : public CacheRefreshTest, public ::testing::WithParamInterface<BadCacheCase> {};

TEST_P(BadCacheRefresh, GivesThePlainReadOfTheKeyboard) {
  ApplyUserSettings({{0, kSlotA, {AssignmentType::TextBlock, 0, 0, 1, 0}, u"lost with the file"},
                     {0, G(0, 3), {AssignmentType::Macro, keys::GKeyFieldCode(0, 3), 7, 0, 0}, u""}},
                    KeyboardMacroSpace());
  Bytes bytes = ReadCache();
  GetParam().spoil(cache, bytes);

  Bytes plain;
  ASSERT_TRUE(files.ExportDevice(rig.commands, keys::kDefaultKeyMap, plain));
  EXPECT_EQ(Differences(Reconnect(), plain), "");
  auto lock = working.Lock();
  EXPECT_EQ(working.Table().At(0, kSlotA).type, AssignmentType::Disabled);
  EXPECT_EQ(working.macros.at(0).id, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadCacheRefresh,
    ::testing::Values(
        BadCacheCase{"WrongChecksum",
                     [](const std::u16string& path, Bytes& b) {
                       b[profiles::kHdrOffChecksum] ^= 0x5A;
                       ASSERT_TRUE(platform::PortableFileSystem().WriteFileReplacing(path, b));
                     }},
        BadCacheCase{"CutShort",
                     [](const std::u16string& path, Bytes& b) {
                       b.resize(b.size() - 3);
                       ASSERT_TRUE(platform::PortableFileSystem().WriteFileReplacing(path, b));
                     }},
        BadCacheCase{"NoSettingsFile",
                     [](const std::u16string& path, Bytes& b) {
                       std::fill(b.begin(), b.end(), std::uint8_t{'x'});
                       ASSERT_TRUE(platform::PortableFileSystem().WriteFileReplacing(path, b));
                     }},
        BadCacheCase{"Removed",
                     [](const std::u16string& path, Bytes&) {
                       ASSERT_TRUE(platform::PortableFileSystem().RemoveFile(path));
                     }}),
    [](const auto& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace vendrel::store
