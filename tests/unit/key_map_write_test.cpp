// Writing macros and key maps to the keyboard model through the whole device link: commit into the
// DeviceStore, the packet order of the transfer, the space rule's messages, and reading back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <optional>
#include <vector>

#include "device/command_codes.h"
#include "device/packet_frame.h"
#include "device/results.h"
#include "store/assignment_model.h"
#include "keys/default_key_map.h"
#include "keys/key_map_read.h"
#include "store/key_map_write.h"
#include "macros/macro_image_read.h"
#include "app/store_messages.h"
#include "support/device_rig.h"
#include "support/recording_message_boxes.h"

namespace vendrel::keys {
namespace {

using namespace vendrel::store;

using device::kCmdBeginTransfer;
using device::kCmdEndTransfer;
using device::kCmdWriteKeyMap;
using device::kCmdWriteMacro;

constexpr std::uint32_t kRoomyMacroSpace = 128 * 64;

// Key A's place in a profile's key map: the matrix position of column 2, row 3, three bytes each.
constexpr std::size_t kEntryOfA = 3 * (2 * 8 + 3);

struct SentPacket {
  std::uint8_t command;
  std::uint8_t length;
  std::uint16_t address;
  friend bool operator==(const SentPacket&, const SentPacket&) = default;
};

std::ostream& operator<<(std::ostream& os, const SentPacket& p) {
  return os << "cmd " << int(p.command) << " len " << int(p.length) << " at " << p.address;
}

// The packets of the transfer bracket and its contents, in order; presence checks and reads
// are left out.
std::vector<SentPacket> TransferPackets(const testing::FakeHidLibrary& library) {
  std::vector<SentPacket> out;
  for (const device::Packet& p : library.SentPackets()) {
    const std::uint8_t cmd = device::PacketCommand(p);
    if (cmd == kCmdBeginTransfer || cmd == kCmdEndTransfer || cmd == kCmdWriteKeyMap ||
        cmd == kCmdWriteMacro) {
      out.push_back({cmd, device::PacketLength(p), device::PacketAddress(p)});
    }
  }
  return out;
}

std::vector<SentPacket> KeyMapPackets(int profile) {
  std::vector<SentPacket> out;
  for (int i = 0; i < 7; ++i) {
    out.push_back({kCmdWriteKeyMap, static_cast<std::uint8_t>(i < 6 ? 56 : 42),
                   static_cast<std::uint16_t>(profile * 378 + 56 * i)});
  }
  return out;
}

std::vector<SentPacket> MacroPackets(std::size_t image_size) {
  std::vector<SentPacket> out;
  for (std::size_t at = 0; at < image_size; at += 56) {
    out.push_back({kCmdWriteMacro, static_cast<std::uint8_t>(std::min<std::size_t>(56, image_size - at)),
                   static_cast<std::uint16_t>(at)});
  }
  return out;
}

macros::MacroRecord Macro(macros::MacroId id, std::u16string name, std::size_t actions) {
  macros::MacroRecord m;
  m.id = id;
  m.name = std::move(name);
  for (std::size_t i = 0; i < actions; ++i) {
    m.actions.push_back({10, 0x01E, i % 2 ? macros::ActionKind::Release : macros::ActionKind::Press});
  }
  return m;
}

class KeyMapWriteTest : public ::testing::Test {
 protected:
  explicit KeyMapWriteTest(int attached = 1)
      : rig(attached, std::chrono::milliseconds{2000}) {
    auto lock = working.Lock();
    for (std::size_t b = 0; b < kProfileBlockCount; ++b) ResetBlock(working.Table().Block(b));
  }

  int Write(bool all_profiles, std::optional<std::uint32_t> macro_space = kRoomyMacroSpace) {
    const KeyMapWriteTarget target{rig.commands, kDefaultKeyMap, macro_space};
    const KeyMapWriteOutcome outcome = WriteKeyMaps(working, device_store, all_profiles, target);
    app::TellKeyMapWrite(outcome, boxes, texts);
    return outcome.DesignResult();
  }

  void SetActiveProfile(std::uint8_t profile) {
    const std::uint8_t byte[] = {profile};
    rig.library.WithModel([&](sim::KeyboardModel& m) { return m.WriteArea(sim::Area::Info, 10, byte); });
  }

  std::vector<std::uint8_t> ModelArea(sim::Area area) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(area);
      return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    });
  }

  testing::DeviceRig rig;
  WorkingStore working;
  DeviceStore device_store;
  testing::RecordingMessageBoxes boxes;
  texts::TextTable texts;
};

TEST_F(KeyMapWriteTest, AllProfilesInOneBracketInPacketOrder) {
  working.macros = {Macro(1, u"ab", 3)};
  WriteAssignment(working, 0, 0x1E, {AssignmentType::Key, 0, 0x030});
  WriteAssignment(working, 1, 0x1E, {AssignmentType::Macro, 0, 1});
  WriteAssignment(working, 2, 0x1E, {AssignmentType::Media, 0, 6});
  const auto maps_before = ModelArea(sim::Area::KeyMap);

  auto caller_lock = working.Lock();  // Apply holds the lock; the write re-enters it
  ASSERT_EQ(Write(true), device::kOk);

  std::vector<SentPacket> expected = {{kCmdBeginTransfer, 0, 0}};
  for (const auto& p : MacroPackets(38)) expected.push_back(p);
  for (int k = 0; k < 3; ++k) {
    for (const auto& p : KeyMapPackets(k)) expected.push_back(p);
  }
  expected.push_back({kCmdEndTransfer, 0, 0});
  EXPECT_EQ(TransferPackets(rig.library), expected);
  EXPECT_EQ(expected[expected.size() - 2], (SentPacket{kCmdWriteKeyMap, 42, 0x0444}));
  EXPECT_TRUE(boxes.shown.empty());

  // The bytes are written out by hand rather than taken from the encoders, so that a fault the
  // encoder shares with the write (a wrong macro index, a map sent to the wrong profile) shows.
  // A sits at column 2, row 3: entry 19 of each profile's map. B is keyboard usage 05, the first
  // macro of the list is index 0, and media entry 6 is consumer usage 0x00E9.
  const std::array<std::array<std::uint8_t, 3>, 3> entry_of_a = {
      {{0x02, 0x02, 0x05}, {0x05, 0x01, 0x00}, {0x03, 0xE9, 0x00}}};
  const auto maps = ModelArea(sim::Area::KeyMap);
  ASSERT_EQ(maps.size(), maps_before.size());
  for (std::size_t k = 0; k < 3; ++k) {
    for (std::size_t i = 0; i < 378; ++i) {
      const std::size_t at = k * 378 + i;
      const bool in_entry_of_a = i >= kEntryOfA && i < kEntryOfA + 3;
      const std::uint8_t want = in_entry_of_a ? entry_of_a[k][i - kEntryOfA] : maps_before[at];
      EXPECT_EQ(maps[at], want) << "profile " << k << " byte " << i;
    }
  }
  // One macro "ab" of three 10 ms actions on A (usage 04): press, release, press.
  const std::vector<std::uint8_t> image = {
      0xAA, 0x55, 38, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // header: size 38, one macro, named
      0x12, 0x00,                                            // the block's offset
      0x03, 0x00, 0x01, 0x02,                                // 3 actions, 1 cycle, 2 name units
      0x01, 0xA0, 0x02, 0x04, 0x01, 0x20, 0x02, 0x04, 0x01, 0xA0, 0x02, 0x04,
      'a', 0, 'b', 0};
  const auto macro_area = ModelArea(sim::Area::Macro);
  ASSERT_GE(macro_area.size(), image.size());
  EXPECT_EQ(std::vector<std::uint8_t>(macro_area.begin(), macro_area.begin() + 38), image);
}

TEST_F(KeyMapWriteTest, CurrentProfileOnly) {
  SetActiveProfile(1);
  const auto before = ModelArea(sim::Area::KeyMap);
  WriteAssignment(working, 1, 0x1E, {AssignmentType::Disabled, 0, 0});
  WriteAssignment(working, 0, 0x1E, {AssignmentType::Disabled, 0, 0});
  ASSERT_EQ(Write(false), device::kOk);

  std::vector<SentPacket> expected = {{kCmdBeginTransfer, 0, 0}};
  for (const auto& p : MacroPackets(16)) expected.push_back(p);
  for (const auto& p : KeyMapPackets(1)) expected.push_back(p);
  expected.push_back({kCmdEndTransfer, 0, 0});
  EXPECT_EQ(TransferPackets(rig.library), expected);

  const auto after = ModelArea(sim::Area::KeyMap);
  EXPECT_TRUE(std::equal(before.begin(), before.begin() + 378, after.begin())) << "profile 0 kept";
  EXPECT_TRUE(std::equal(before.begin() + 756, before.end(), after.begin() + 756)) << "profile 2 kept";
  const std::size_t a_entry = 378 + (2 * 8 + 3) * 3;
  EXPECT_EQ(after[a_entry], 0);
  EXPECT_EQ(after[a_entry + 2], 0);
}

TEST_F(KeyMapWriteTest, TooLittleMacroSpaceSendsNothing) {
  working.macros = {Macro(1, u"big", 40)};
  const auto table_before = working.Table();
  const std::size_t sent_before = rig.library.SentPackets().size();
  for (std::uint32_t space : {0u, 16u + 2u + 4u + 4u * 40u - 1u}) {
    boxes.shown.clear();
    EXPECT_EQ(Write(true, space), static_cast<int>(KeyMapWrite::NotSent)) << space;
    EXPECT_EQ(boxes.shown, std::vector<std::u16string>{texts.Text(texts::TextKey::EXTRA_MACRO_TOO_LONG)});
  }
  EXPECT_EQ(rig.library.SentPackets().size(), sent_before);
  EXPECT_EQ(working.Table(), table_before);
  EXPECT_EQ(working.macros.size(), 1u);
}

TEST_F(KeyMapWriteTest, NamesDroppedWhenOnlyTheMacrosFitAndUserToldAfterTheEnd) {
  working.macros = {Macro(1, u"a long name", 2)};
  const std::uint32_t plain = 16 + 2 + 4 + 8;
  ASSERT_EQ(Write(true, plain), device::kOk);
  EXPECT_EQ(boxes.shown,
            std::vector<std::u16string>{texts.Text(texts::TextKey::EXTRA_PROFILE_SPACE_TIGHT)});
  const auto packets = TransferPackets(rig.library);
  ASSERT_FALSE(packets.empty());
  EXPECT_EQ(packets.back().command, kCmdEndTransfer);
  const auto macro_area = ModelArea(sim::Area::Macro);
  EXPECT_EQ(macro_area[2], plain);
  EXPECT_EQ(macro_area[6], 0) << "names flag";
}

// A macro holding a key the keyboard cannot play stops the write before the first packet, and the
// user is told in one box which macro holds which key.
TEST_F(KeyMapWriteTest, MacroWithUnsendableKeySendsNothingAndNamesMacroAndKey) {
  const struct {
    keys::KeyCode key;
    const char16_t* key_name;
  } cases[] = {{0x174, u"Zoom-"}, {0x175, u"Zoom+"}, {0x17B, u"Word"}, {0x17C, u"Excel"}};
  for (const auto& c : cases) {
    working.macros = {Macro(1, u"fine", 2), Macro(2, u"office", 2)};
    working.macros[1].actions.insert(working.macros[1].actions.begin() + 1,
                                     {10, c.key, macros::ActionKind::Press});
    const std::size_t sent_before = rig.library.SentPackets().size();
    const auto macro_area_before = ModelArea(sim::Area::Macro);
    boxes.shown.clear();

    const KeyMapWriteTarget target{rig.commands, kDefaultKeyMap, kRoomyMacroSpace};
    const KeyMapWriteOutcome outcome = WriteKeyMaps(working, device_store, true, target);
    EXPECT_EQ(outcome.status, KeyMapWrite::NotSent);
    EXPECT_EQ(outcome.fit, macros::FitResult::UnsendableKey);
    EXPECT_EQ(outcome.unsendable, (macros::UnsendableAction{1, 1, c.key}));
    EXPECT_EQ(outcome.unsendable_macro_name, u"office");
    app::TellKeyMapWrite(outcome, boxes, texts);

    EXPECT_EQ(rig.library.SentPackets().size(), sent_before);
    EXPECT_EQ(ModelArea(sim::Area::Macro), macro_area_before);
    ASSERT_EQ(boxes.shown.size(), 1u);
    const std::u16string expected = u"The macro \"office\" holds the key \"" +
                                    std::u16string(c.key_name) +
                                    u"\", which cannot be played by the keyboard. Remove it from "
                                    u"the macro or choose another key.";
    EXPECT_EQ(boxes.shown[0], expected);
    EXPECT_EQ(working.macros[1].actions[1].key, c.key) << "the user's macro is kept";
  }
}

// The begin is the keyboard's promise to take the data; without it nothing more is sent and the
// keyboard keeps what it held. A begin that a retry got through is a normal write.
struct BeginCase {
  const char* name;
  int refused_replies;  // refused from the first begin on; three are one begin's attempts
  bool written;
};

class KeyMapWriteBegin : public KeyMapWriteTest, public ::testing::WithParamInterface<BeginCase> {};

TEST_P(KeyMapWriteBegin, UnacknowledgedBeginSendsNothingFurther) {
  const BeginCase& c = GetParam();
  working.macros = {Macro(1, u"m", 2)};
  WriteAssignment(working, 1, 0x1E, {AssignmentType::Disabled, 0, 0});
  // With nothing known of the macro memory no check read comes first: the refusals meet the begin.
  rig.commands.MacroMemory().Forget();
  const auto maps_before = ModelArea(sim::Area::KeyMap);
  const auto macros_before = ModelArea(sim::Area::Macro);
  rig.library.WithModel([&](sim::KeyboardModel& m) {
    m.InjectFault(sim::Fault::StatusFF, c.refused_replies);
    return 0;
  });

  const int result = Write(true);

  const auto packets = TransferPackets(rig.library);
  ASSERT_FALSE(packets.empty());
  if (c.written) {
    EXPECT_EQ(result, device::kOk);
    EXPECT_EQ(packets.back().command, kCmdEndTransfer);
    EXPECT_EQ(packets.size(), 2u + 1u + 21u + 1u)
        << "the refused begin and its retry, one macro packet, the maps, end";
    EXPECT_EQ(ModelArea(sim::Area::KeyMap)[378 + kEntryOfA], 0x00) << "profile 1's A switched off";
  } else {
    EXPECT_NE(result, device::kOk);
    for (const SentPacket& p : packets) EXPECT_EQ(p.command, kCmdBeginTransfer) << p;
    EXPECT_EQ(ModelArea(sim::Area::KeyMap), maps_before);
    EXPECT_EQ(ModelArea(sim::Area::Macro), macros_before);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyMapWriteBegin,
                         ::testing::Values(BeginCase{"OneRefusalIsRetried", 1, true},
                                           BeginCase{"RefusedPastTheRetries", 3, false}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(KeyMapWriteTest, FailureOfTheLastMapIsTheResult) {
  // Begin, one macro packet, 21 key map packets, end: refuse from the last key map packet on.
  rig.library.RefuseWritesFrom(static_cast<int>(rig.library.SentPackets().size()) + 23);
  EXPECT_EQ(Write(true), device::kNotSent);
  EXPECT_EQ(TransferPackets(rig.library).size(), 22u);
}

// While the keyboard's macro space is unknown the write reads it first; a keyboard that cannot be
// read is not a lack of space.
struct UnknownSpaceCase {
  const char* name;
  std::uint8_t space_units;  // byte 11 of the keyboard's information block
  int refused_replies;       // replies refused from the start of the write
  int result;
  std::vector<texts::TextKey> told;
  bool transfer;
};

class KeyMapWriteUnknownSpace : public KeyMapWriteTest,
                                public ::testing::WithParamInterface<UnknownSpaceCase> {};

TEST_P(KeyMapWriteUnknownSpace, ReadsTheSpaceBeforeFitting) {
  const UnknownSpaceCase& c = GetParam();
  working.macros = {Macro(1, u"m", 40)};  // 182 bytes without its name
  rig.library.WithModel([&](sim::KeyboardModel& m) {
    EXPECT_TRUE(m.WriteArea(sim::Area::Info, 11, std::vector<std::uint8_t>{c.space_units}));
    if (c.refused_replies > 0) m.InjectFault(sim::Fault::StatusFF, c.refused_replies);
  });
  const std::size_t sent_before = rig.library.SentPackets().size();

  EXPECT_EQ(Write(true, std::nullopt), c.result);

  std::vector<std::u16string> told;
  for (const texts::TextKey key : c.told) told.push_back(texts.Text(key));
  EXPECT_EQ(boxes.shown, told);
  EXPECT_EQ(!TransferPackets(rig.library).empty(), c.transfer);
  const auto sent = rig.library.SentPackets();
  ASSERT_GT(sent.size(), sent_before);
  EXPECT_EQ(device::PacketCommand(sent[sent_before]), device::kCmdReadInformation)
      << "the information block is read before anything is written";
}

INSTANTIATE_TEST_SUITE_P(
    Reads, KeyMapWriteUnknownSpace,
    ::testing::Values(
        UnknownSpaceCase{"RoomyKeyboardGetsTheWrite", 0x40, 0, device::kOk, {}, true},
        UnknownSpaceCase{"SmallKeyboardIsTooSmall", 1, 0, static_cast<int>(KeyMapWrite::NotSent),
                         {texts::TextKey::EXTRA_MACRO_TOO_LONG}, false},
        UnknownSpaceCase{"UnreadableKeyboardSaysSo", 0x40, 1000,
                         static_cast<int>(KeyMapWrite::Unreadable),
                         {texts::TextKey::KEYBOARD_READ_FAILED}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyMapWriteTest, KnownSpaceIsNotReadAgain) {
  ASSERT_EQ(Write(true, kRoomyMacroSpace), device::kOk);
  for (const device::Packet& p : rig.library.SentPackets()) {
    EXPECT_NE(device::PacketCommand(p), device::kCmdReadInformation);
  }
}

class KeyMapWriteNoKeyboardTest : public KeyMapWriteTest {
 protected:
  KeyMapWriteNoKeyboardTest() : KeyMapWriteTest(0) {}
};

TEST_F(KeyMapWriteNoKeyboardTest, UnknownCurrentProfileSendsNothing) {
  EXPECT_EQ(Write(false), static_cast<int>(KeyMapWrite::NoProfile));
  EXPECT_TRUE(TransferPackets(rig.library).empty());
}

TEST_F(KeyMapWriteTest, CommitPacksTextsAndLeavesWorkingStoreAlone) {
  working.macros = {Macro(1, u"m", 1), Macro(2, u"n", 1)};
  WriteAssignment(working, 0, 0x10, {AssignmentType::TextBlock, 0, 0}, u"ab");
  WriteAssignment(working, 0, 0x11, {AssignmentType::LaunchProgram, 0, 0}, u"");
  WriteAssignment(working, 3, 0x12, {AssignmentType::TextBlock, 0, 0}, u"xyz");
  ASSERT_TRUE(CommitToDeviceStore(working, device_store));

  auto lock = device_store.Lock();
  EXPECT_EQ(device_store.Table().At(0, 0x10).parameter, 0u);
  EXPECT_EQ(device_store.Table().At(0, 0x11).parameter, 6u);
  EXPECT_EQ(device_store.Table().At(3, 0x12).parameter, 8u);
  EXPECT_EQ(device_store.strings.Total(), 16u);
  EXPECT_EQ(device_store.strings.Text(3 * 512 + 0x12), u"xyz");
  EXPECT_EQ(device_store.macros, working.macros);
  const auto& h = device_store.settings_header;
  EXPECT_EQ(h[0], 0x46);
  EXPECT_EQ(h[14], 2) << "macro count";
  EXPECT_EQ(h[16], 16) << "text size";
  EXPECT_EQ(working.Table().At(3, 0x12).parameter, 0u) << "working store keeps its records";

  // A second commit replaces what the first one left.
  working.macros.clear();
  WriteAssignment(working, 0, 0x10, {AssignmentType::Key, 0, 0x1E});
  ASSERT_TRUE(CommitToDeviceStore(working, device_store));
  EXPECT_TRUE(device_store.macros.empty());
  EXPECT_EQ(device_store.strings.Total(), 10u);
  EXPECT_FALSE(device_store.strings.Has(0x10));
}

TEST_F(KeyMapWriteTest, ReadBackDecodesWhatWasWritten) {
  working.macros = {Macro(1, u"a", 1), Macro(2, u"b", 1)};
  WriteAssignment(working, 0, 0x1E, {AssignmentType::Key, 0, 0x02C});
  WriteAssignment(working, 1, 0x01, {AssignmentType::Macro, 0, 2});
  WriteAssignment(working, 2, Fold(0x110), {AssignmentType::Media, 0, 7});
  WriteAssignment(working, 2, 0x3B, {AssignmentType::Function, 0, 4});
  WriteAssignment(working, 1, 0x39, {AssignmentType::StopMacro, 0, 0});
  ASSERT_EQ(Write(true), device::kOk);

  DeviceKeyMaps maps{};
  ASSERT_EQ(ReadKeyMaps(rig.commands, maps), device::kOk);
  auto table = std::make_unique<ProfileKeyTable>();
  DecodeKeyMaps(maps, kDefaultKeyMap, *table);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_TRUE(std::equal(table->Block(k).begin(), table->Block(k).end(),
                           working.Table().Block(k).begin()))
        << "profile " << k;
  }
}

// ---- writing only what the keyboard does not hold yet -------------------------------------------

// One keyboard with its program's stores: a base write first, so that its macro memory is full
// and known, then the edit of a case.
struct KeyboardUnderWrite {
  testing::DeviceRig rig{1, std::chrono::milliseconds{2000}};
  WorkingStore working;
  DeviceStore device_store;

  KeyboardUnderWrite() {
    auto lock = working.Lock();
    for (std::size_t b = 0; b < kProfileBlockCount; ++b) ResetBlock(working.Table().Block(b));
    for (macros::MacroId id = 1; id <= 24; ++id) {
      working.macros.push_back(Macro(id, u"macro " + std::u16string(1, char16_t(u'a' + id)), 12));
    }
    WriteAssignment(working, 0, 0x1E, {AssignmentType::Macro, 0, 5});
  }

  int Write() {
    const KeyMapWriteTarget target{rig.commands, kDefaultKeyMap, 64u * 1024u};
    return WriteKeyMaps(working, device_store, true, target).DesignResult();
  }

  std::size_t SentMacroPackets() const {
    std::size_t n = 0;
    for (const SentPacket& p : TransferPackets(rig.library)) n += p.command == kCmdWriteMacro;
    return n;
  }

  std::vector<std::uint8_t> Area(sim::Area area) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(area);
      return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    });
  }
};

struct ChangedWriteCase {
  const char* name;
  void (*edit)(WorkingStore&);
  std::size_t most_macro_packets;  // of the write that skips what the keyboard holds
};

// A macro added or removed moves every macro behind the image's offset table: most chunks change.
constexpr std::size_t kAtMostWhole = std::numeric_limits<std::size_t>::max();

class ChangedMacroChunks : public ::testing::TestWithParam<ChangedWriteCase> {};

// The keyboard ends byte for byte where a whole write takes it, for fewer packets.
TEST_P(ChangedMacroChunks, EndStateEqualsAWholeWrite) {
  const ChangedWriteCase& c = GetParam();
  KeyboardUnderWrite skipping;
  KeyboardUnderWrite whole;
  ASSERT_EQ(skipping.Write(), device::kOk);
  ASSERT_EQ(whole.Write(), device::kOk);
  const std::size_t full_image_packets = whole.SentMacroPackets();
  ASSERT_GT(full_image_packets, 20u);

  c.edit(skipping.working);
  c.edit(whole.working);
  whole.rig.commands.MacroMemory().Forget();
  const std::size_t skipping_before = skipping.SentMacroPackets();
  const std::size_t whole_before = whole.SentMacroPackets();
  ASSERT_EQ(skipping.Write(), device::kOk);
  ASSERT_EQ(whole.Write(), device::kOk);

  EXPECT_EQ(skipping.Area(sim::Area::Macro), whole.Area(sim::Area::Macro));
  EXPECT_EQ(skipping.Area(sim::Area::KeyMap), whole.Area(sim::Area::KeyMap));
  const std::size_t whole_packets = whole.SentMacroPackets() - whole_before;
  EXPECT_GE(whole_packets, full_image_packets - 1);
  EXPECT_LE(skipping.SentMacroPackets() - skipping_before, std::min(c.most_macro_packets, whole_packets));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ChangedMacroChunks,
    ::testing::Values(
        ChangedWriteCase{"OneKey",
                         [](WorkingStore& w) {
                           WriteAssignment(w, 1, 0x1F, {AssignmentType::Key, 0, 0x030});
                         },
                         0},
        ChangedWriteCase{"OneActionInTheMiddle",
                         [](WorkingStore& w) { w.macros[12].actions[3].delay = 999; },
                         2},
        ChangedWriteCase{"MacroAddedAtTheEnd",
                         [](WorkingStore& w) { w.macros.push_back(Macro(25, u"new", 12)); },
                         kAtMostWhole},
        ChangedWriteCase{"LastMacroRemoved", [](WorkingStore& w) { w.macros.pop_back(); },
                         kAtMostWhole},
        ChangedWriteCase{"NothingChanged", [](WorkingStore&) {}, 0}),
    [](const ::testing::TestParamInfo<ChangedWriteCase>& info) { return std::string(info.param.name); });

// Whatever leaves the memory in doubt makes the next write whole again; a read teaches it anew.
TEST(ChangedMacroChunksKnowledge, DoubtMakesTheNextWriteWholeAndAReadTeaches) {
  KeyboardUnderWrite k;
  ASSERT_EQ(k.Write(), device::kOk);
  const std::size_t image_packets = k.SentMacroPackets();

  // A transfer that fails in its key maps (no macro chunk was due): nothing known is trusted.
  k.rig.library.RefuseWritesFrom(3);
  EXPECT_NE(k.Write(), device::kOk);
  k.rig.library.RefuseWritesFrom(0);
  EXPECT_EQ(k.rig.commands.MacroMemory().KnownSize(), 0u);
  std::size_t before = k.SentMacroPackets();
  ASSERT_EQ(k.Write(), device::kOk);
  EXPECT_EQ(k.SentMacroPackets() - before, image_packets) << "whole after a failed transfer";

  // The keyboard goes and comes back: the connect refresh's read does not make up for the
  // doubt; the first write is whole, and the one after it skips again.
  k.rig.library.SetAttached(1, true);  // the connection takes in the keyboard it started with
  k.rig.Settle();
  ASSERT_GT(k.rig.commands.MacroMemory().KnownSize(), 0u) << "an attach alone forgets nothing";
  k.rig.library.SetAttached(0, true);
  k.rig.Settle();
  k.rig.library.SetAttached(1, true);
  k.rig.Settle();
  EXPECT_EQ(k.rig.commands.MacroMemory().KnownSize(), 0u);
  std::vector<std::uint8_t> image;
  ASSERT_EQ(macros::ReadMacroImage(k.rig.commands, image), device::kOk);
  EXPECT_EQ(k.rig.commands.MacroMemory().KnownSize(), 0u);
  before = k.SentMacroPackets();
  ASSERT_EQ(k.Write(), device::kOk);
  EXPECT_EQ(k.SentMacroPackets() - before, image_packets) << "whole after a reconnect";
  before = k.SentMacroPackets();
  ASSERT_EQ(k.Write(), device::kOk);
  EXPECT_EQ(k.SentMacroPackets() - before, 0u);
}

// At start-up the connect refresh's read is what the keyboard is known to hold.
TEST(ChangedMacroChunksKnowledge, TheFirstConnectsReadIsKnown) {
  KeyboardUnderWrite writer;
  ASSERT_EQ(writer.Write(), device::kOk);
  const std::vector<std::uint8_t> memory = writer.Area(sim::Area::Macro);

  KeyboardUnderWrite k;  // a program that starts with that keyboard attached
  k.rig.library.WithModel([&](sim::KeyboardModel& m) { return m.WriteArea(sim::Area::Macro, 0, memory); });
  std::vector<std::uint8_t> image;
  ASSERT_EQ(macros::ReadMacroImage(k.rig.commands, image), device::kOk);
  EXPECT_EQ(k.rig.commands.MacroMemory().KnownSize(), image.size());
  ASSERT_EQ(k.Write(), device::kOk);
  EXPECT_EQ(k.SentMacroPackets(), 0u);
  EXPECT_EQ(k.Area(sim::Area::Macro), memory);
}

// Knowledge is one run of bytes from address 0; a chunk out beyond it is not taken for known.
TEST(KnownMacroMemoryTest, HoldsOnlyWhatWasLearnedInOneRunFromZero) {
  device::KnownMacroMemory m;
  const std::vector<std::uint8_t> a(56, 0xA1), b(20, 0xB2);
  m.Learn(56, a);  // a gap after the known bytes: not recorded
  EXPECT_EQ(m.KnownSize(), 0u);
  m.Learn(0, a);
  m.Learn(56, b);
  EXPECT_EQ(m.KnownSize(), 76u);

  struct Case { std::size_t offset; std::vector<std::uint8_t> bytes; bool held; };
  const Case cases[] = {
      {0, a, true},
      {56, b, true},
      {56, a, false},                                 // reaches past what is known
      {0, std::vector<std::uint8_t>(56, 0xA2), false},  // differs
      {76, {}, true},                                 // an empty range at the end
      {77, {}, false},                                // beyond the end
  };
  for (const Case& c : cases) EXPECT_EQ(m.Holds(c.offset, c.bytes), c.held) << c.offset;

  m.Learn(10, std::vector<std::uint8_t>(4, 0xCC));  // overwrites inside keep the rest
  EXPECT_FALSE(m.Holds(0, a));
  EXPECT_TRUE(m.Holds(56, b));
  // A read that contradicts what was known: someone else wrote; only what was read is known.
  m.Observe(0, std::vector<std::uint8_t>(8, 0xDD));
  EXPECT_EQ(m.KnownSize(), 8u);
  m.Observe(0, std::vector<std::uint8_t>(8, 0xDD));  // agreeing reads keep what is known
  m.Learn(8, b);
  m.Observe(0, std::vector<std::uint8_t>(8, 0xDD));
  EXPECT_TRUE(m.Holds(8, b));
  m.Forget();
  EXPECT_FALSE(m.Holds(8, b));
  // After a doubt only an acknowledged write teaches again; reads then count once more.
  m.Observe(0, a);
  EXPECT_EQ(m.KnownSize(), 0u);
  m.Learn(0, b);
  m.Observe(20, a);
  EXPECT_EQ(m.KnownSize(), 76u);
}

// The keyboard was reset (or written by another program) behind the program's back: the check
// before the transfer sees it, and the write is whole.
TEST(ChangedMacroChunksKnowledge, AMemoryChangedBehindTheProgramsBackIsWrittenWhole) {
  KeyboardUnderWrite k;
  ASSERT_EQ(k.Write(), device::kOk);
  const std::size_t image_packets = k.SentMacroPackets();
  const std::vector<std::uint8_t> written = k.Area(sim::Area::Macro);
  k.rig.library.WithModel([](sim::KeyboardModel& m) { m.Reset(); });
  ASSERT_NE(k.Area(sim::Area::Macro), written);

  const std::size_t before = k.SentMacroPackets();
  ASSERT_EQ(k.Write(), device::kOk);
  EXPECT_EQ(k.SentMacroPackets() - before, image_packets);
  EXPECT_EQ(k.Area(sim::Area::Macro), written);
}

}  // namespace
}  // namespace vendrel::keys
