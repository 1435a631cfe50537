// The key map codec: entries to keys, a profile block to the keyboard's key map and back.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "keys/default_key_map.h"
#include "keys/key_map_codec.h"
#include "keys/key_table.h"
#include "keys/profile_key_table.h"

namespace vendrel::keys {
namespace {

constexpr std::size_t Pos(std::size_t column, std::size_t row) { return column * 8 + row; }

// Positions of the built-in factory map used below.
constexpr std::size_t kPosA = Pos(2, 3);         // 02 02 04
constexpr std::size_t kPosEqualsA = Pos(13, 1);  // 02 02 2E
constexpr std::size_t kPosEqualsB = Pos(6, 6);   // 02 02 2E as well
constexpr std::size_t kPosLeftCtrl = Pos(1, 5);  // 02 01 01
constexpr std::size_t kPosPrevTrack = Pos(14, 0);  // 03 B6 00
constexpr std::size_t kPosMacroColumn = Pos(0, 2);  // 05 00 00, no key

struct Block {
  Block() { ResetBlock(records); }
  std::array<KeyAssignment, kRecordsPerBlock> records{};
  KeyAssignment& Of(KeyCode code) { return records[Fold(code)]; }
};


// The factory map with the listed positions replaced.
DeviceKeyMap FactoryWith(std::initializer_list<std::pair<std::size_t, KeyMapEntry>> changes) {
  DeviceKeyMap map{};
  std::copy(kDefaultKeyMap.begin(), kDefaultKeyMap.end(), map.begin());
  for (const auto& [position, entry] : changes) SetEntry(map, position, entry);
  return map;
}

TEST(EntryKeyTest, KeyOfEachEntryKind) {
  const struct {
    KeyMapEntry entry;
    KeyCode key;
  } cases[] = {
      {{0x02, 0x02, 0x04}, 0x01E}, {{0x02, 0x01, 0x40}, 0x138}, {{0x02, 0x00, 0x01}, 0x01D},
      {{0x02, 0x02, 0x73}, 0},     {{0x03, 0xB6, 0x00}, 0x110}, {{0x03, 0xE9, 0x00}, 0x130},
      {{0x04, 0x81, 0x00}, 0x15E}, {{0x04, 0x81, 0x01}, 0},     {{0x01, 0x02, 0x04}, 0},
      {{0x05, 0x01, 0x00}, 0},     {{0x00, 0x00, 0x00}, 0},     {{0x02, 0x01, 0x00}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EntryKey(c.entry), c.key)
        << int(c.entry.kind) << " " << int(c.entry.sub) << " " << int(c.entry.value);
  }
}

TEST(EncodeKeyMapTest, FreshBlockEncodesToTheFactoryMap) {
  Block block;
  const DeviceKeyMap out = EncodeKeyMap(block.records, kDefaultKeyMap, {});
  EXPECT_TRUE(std::equal(out.begin(), out.end(), kDefaultKeyMap.begin()));
}

struct EncodeCase {
  const char* what;
  KeyAssignment record;  // assigned to the key "A"
  KeyMapEntry expected;  // at A's position
};

TEST(EncodeKeyMapTest, EachTypeChangesOnlyItsKeysEntry) {
  const std::vector<std::uint16_t> list = {7, 3, 12};  // macro ids in keyboard order
  const KeyMapEntry factory_a{0x02, 0x02, 0x04};
  const EncodeCase cases[] = {
      {"default", {AssignmentType::Default, 0, 0}, factory_a},
      {"disabled", {AssignmentType::Disabled, 0, 0}, {0, 0, 0}},
      {"key A", {AssignmentType::Key, 0, 0x01E}, {0x02, 0x02, 0x04}},
      {"key right alt", {AssignmentType::Key, 0, 0x138}, {0x02, 0x01, 0x40}},
      {"key right shift", {AssignmentType::Key, 0, 0x036}, {0x02, 0x01, 0x20}},
      {"second right shift row is no modifier", {AssignmentType::Key, 0, 0x136}, {0x02, 0x02, 0xE5}},
      {"key power has no keyboard usage", {AssignmentType::Key, 0, 0x15E}, {0x02, 0x02, 0x00}},
      {"key code beyond 16 bits", {AssignmentType::Key, 0, 0x1001E}, {0x02, 0x02, 0x00}},
      {"launch program keeps factory", {AssignmentType::LaunchProgram, 0, 0}, factory_a},
      {"macro by id gives its position", {AssignmentType::Macro, 5, 12}, {0x05, 0x01, 0x02}},
      {"macro id in low 16 bits", {AssignmentType::Macro, 0, 0x00030003}, {0x05, 0x01, 0x01}},
      {"stale macro id keeps factory", {AssignmentType::Macro, 0, 9}, factory_a},
      {"macro not chosen keeps factory", {AssignmentType::Macro, 0, 0}, factory_a},
      {"stop macro", {AssignmentType::StopMacro, 0, 0}, {0x05, 0x02, 0x00}},
      {"text block", {AssignmentType::TextBlock, 0, 0}, {0, 0, 0}},
      {"media 6", {AssignmentType::Media, 0, 6}, {0x03, 0xE9, 0x00}},
      {"media 17", {AssignmentType::Media, 0, 17}, {0x03, 0x8A, 0x01}},
      {"media out of range keeps factory", {AssignmentType::Media, 0, 18}, factory_a},
      {"function", {AssignmentType::Function, 0, 10}, {0x05, 0x05, 0x0A}},
      {"function low byte", {AssignmentType::Function, 0, 0x103}, {0x05, 0x05, 0x03}},
      {"unknown type keeps factory", {static_cast<AssignmentType>(9), 0, 1}, factory_a},
  };
  for (const auto& c : cases) {
    Block block;
    block.Of(0x01E) = c.record;
    const DeviceKeyMap out = EncodeKeyMap(block.records, kDefaultKeyMap, list);
    EXPECT_EQ(EntryAt(out, kPosA), c.expected) << c.what;
    for (std::size_t p = 0; p < kMatrixPositions; ++p) {
      if (p == kPosA) continue;
      EXPECT_EQ(EntryAt(out, p), EntryAt(kDefaultKeyMap, p)) << c.what << " changed position " << p;
    }
  }
}

TEST(EncodeKeyMapTest, PositionsSharingAKeyBothCarryIt) {
  Block block;
  block.Of(0x00D) = {AssignmentType::Key, 0, 0x01E};
  const DeviceKeyMap out = EncodeKeyMap(block.records, kDefaultKeyMap, {});
  EXPECT_EQ(EntryAt(out, kPosEqualsA), (KeyMapEntry{0x02, 0x02, 0x04}));
  EXPECT_EQ(EntryAt(out, kPosEqualsB), (KeyMapEntry{0x02, 0x02, 0x04}));
}

TEST(EncodeKeyMapTest, PositionsWithoutKeyNeverChange) {
  Block block;
  for (auto& r : block.records) r = {AssignmentType::Disabled, 0, 0};
  const DeviceKeyMap out = EncodeKeyMap(block.records, kDefaultKeyMap, {});
  for (std::size_t row = 0; row < 6; ++row) {
    EXPECT_EQ(EntryAt(out, Pos(0, row)), (KeyMapEntry{0x05, 0x00, 0x00})) << row;
  }
  EXPECT_EQ(EntryAt(out, kPosA), (KeyMapEntry{0, 0, 0}));
}

TEST(EncodeKeyMapTest, UsesTheFactoryMapItIsGiven) {
  // A keyboard whose factory map has "B" where the built-in one has "A".
  const DeviceKeyMap factory = FactoryWith({{kPosA, {0x02, 0x02, 0x05}}});
  Block block;
  block.Of(0x030) = {AssignmentType::Disabled, 0, 0};  // B
  block.Of(0x01E) = {AssignmentType::Disabled, 0, 0};  // A, nowhere in this map
  const DeviceKeyMap out = EncodeKeyMap(block.records, factory, {});
  EXPECT_EQ(EntryAt(out, kPosA), (KeyMapEntry{0, 0, 0}));
  EXPECT_EQ(EntryAt(out, Pos(6, 4)), (KeyMapEntry{0, 0, 0}));  // B's own position
}

struct DecodeCase {
  const char* what;
  KeyMapEntry entry;  // read at A's position
  KeyAssignment expected;
};

TEST(DecodeKeyMapTest, EachEntryKind) {
  const DecodeCase cases[] = {
      {"factory entry", {0x02, 0x02, 0x04}, {AssignmentType::Default, 0, 0}},
      {"nothing", {0, 0, 0}, {AssignmentType::Disabled, 0, 0}},
      {"other key", {0x02, 0x02, 0x05}, {AssignmentType::Key, 0, 0x030}},
      {"usage without key", {0x02, 0x02, 0x73}, {AssignmentType::Disabled, 0, 0}},
      {"usage of a key written with another usage", {0x02, 0x02, 0x93},
       {AssignmentType::Disabled, 0, 0}},
      {"modifier", {0x02, 0x01, 0x40}, {AssignmentType::Key, 0, 0x138}},
      {"empty modifier", {0x02, 0x01, 0x00}, {AssignmentType::Disabled, 0, 0}},
      {"macro", {0x05, 0x01, 0x04}, {AssignmentType::Macro, 0, 5}},
      {"macro 255", {0x05, 0x01, 0xFF}, {AssignmentType::Macro, 0, 256}},
      {"stop", {0x05, 0x02, 0x07}, {AssignmentType::StopMacro, 0, 0}},
      {"function", {0x05, 0x05, 0x03}, {AssignmentType::Function, 0, 3}},
      {"media", {0x03, 0xE9, 0x00}, {AssignmentType::Media, 0, 6}},
      {"consumer usage not in media table", {0x03, 0x01, 0x00}, {AssignmentType::Disabled, 0, 0}},
      {"desktop usage", {0x04, 0x81, 0x00}, {AssignmentType::Disabled, 0, 0}},
      {"unknown kind", {0x09, 0x09, 0x09}, {AssignmentType::Disabled, 0, 0}},
  };
  for (const auto& c : cases) {
    const DeviceKeyMap read = FactoryWith({{kPosA, c.entry}});
    Block block;
    block.Of(0x01E) = {AssignmentType::Media, 0x55, 0x99};  // decoding starts from a reset block
    DecodeKeyMap(read, kDefaultKeyMap, block.records);
    Block expected;
    expected.Of(0x01E) = c.expected;
    EXPECT_EQ(block.records, expected.records) << c.what;
  }
}

TEST(DecodeKeyMapTest, LastDifferingPositionOfASharedKeyDecides) {
  const DeviceKeyMap read = FactoryWith(
      {{kPosEqualsB, {0x02, 0x02, 0x04}}, {kPosEqualsA, {0x02, 0x02, 0x05}}});
  Block block;
  DecodeKeyMap(read, kDefaultKeyMap, block.records);
  // Position 54 (column 6) is decoded before position 105 (column 13): "B" at 105 wins.
  EXPECT_EQ(block.Of(0x00D), (KeyAssignment{AssignmentType::Key, 0, 0x030}));

  const DeviceKeyMap only_first = FactoryWith({{kPosEqualsB, {0x02, 0x02, 0x04}}});
  Block second;
  DecodeKeyMap(only_first, kDefaultKeyMap, second.records);
  EXPECT_EQ(second.Of(0x00D), (KeyAssignment{AssignmentType::Key, 0, 0x01E}))
      << "an unchanged later position must not reset the key";
}

TEST(DecodeKeyMapTest, PositionsWithoutKeyAreIgnored) {
  const DeviceKeyMap read = FactoryWith({{kPosMacroColumn, {0x02, 0x02, 0x04}}});
  Block block;
  DecodeKeyMap(read, kDefaultKeyMap, block.records);
  EXPECT_EQ(block.records, Block{}.records);
}

TEST(KeyMapRoundTripTest, EncodableAssignmentsSurviveEncodeAndDecode) {
  const std::vector<std::uint16_t> list = {1, 2, 3};  // macro ids in keyboard order
  Block block;
  block.Of(0x01E) = {AssignmentType::Key, 0, 0x02C};
  block.Of(0x01D) = {AssignmentType::Key, 0, 0x15C};     // left Ctrl to right Win
  block.Of(0x110) = {AssignmentType::Media, 0, 7};       // previous track to mute
  block.Of(0x039) = {AssignmentType::Macro, 0, 3};
  block.Of(0x03B) = {AssignmentType::StopMacro, 0, 0};
  block.Of(0x03C) = {AssignmentType::Function, 0, 8};
  block.Of(0x001) = {AssignmentType::Disabled, 0, 0};
  const DeviceKeyMap map = EncodeKeyMap(block.records, kDefaultKeyMap, list);
  EXPECT_EQ(EntryAt(map, kPosLeftCtrl), (KeyMapEntry{0x02, 0x01, 0x80}));
  EXPECT_EQ(EntryAt(map, kPosPrevTrack), (KeyMapEntry{0x03, 0xE2, 0x00}));
  Block decoded;
  DecodeKeyMap(map, kDefaultKeyMap, decoded.records);
  EXPECT_EQ(decoded.records, block.records);
}

// Whatever usage the keyboard holds, what the program reads it as is written back as the same
// entry: after one read the map settles instead of drifting on every Apply.
TEST(KeyMapRoundTripTest, EveryKeyboardUsageSettlesAfterOneRead) {
  const std::vector<std::uint16_t> no_macros;
  for (unsigned usage = 0; usage < 0x100; ++usage) {
    const DeviceKeyMap read =
        FactoryWith({{kPosA, {0x02, 0x02, static_cast<std::uint8_t>(usage)}}});
    Block first;
    DecodeKeyMap(read, kDefaultKeyMap, first.records);
    const DeviceKeyMap written = EncodeKeyMap(first.records, kDefaultKeyMap, no_macros);
    Block second;
    DecodeKeyMap(written, kDefaultKeyMap, second.records);
    EXPECT_EQ(second.records, first.records) << "usage 0x" << std::hex << usage;
    EXPECT_EQ(EncodeKeyMap(second.records, kDefaultKeyMap, no_macros), written)
        << "usage 0x" << std::hex << usage;
  }
}

}  // namespace
}  // namespace vendrel::keys
