// The assignment records, the profile table's bytes, record texts, and the edits and texts of the
// assignment model over the WorkingStore.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "store/assignment_model.h"
#include "store/key_store.h"
#include "keys/key_table.h"
#include "keys/profile_key_table.h"
#include "texts/text_table.h"

namespace vendrel::keys {
namespace {

using namespace vendrel::store;

using texts::TextKey;

TEST(KeyAssignmentCodecTest, FieldsAreLittleEndianAtTheirOffsets) {
  const KeyAssignment r{static_cast<AssignmentType>(0x0102), 0x0304, 0x05060708, 0x090A0B0C,
                        0x0D0E0F10};
  std::array<std::uint8_t, kKeyAssignmentSize> bytes{};
  EncodeKeyAssignment(r, bytes);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 16>{0x02, 0x01, 0x04, 0x03, 0x08, 0x07, 0x06, 0x05,
                                                 0x0C, 0x0B, 0x0A, 0x09, 0x10, 0x0F, 0x0E, 0x0D}));
  EXPECT_EQ(DecodeKeyAssignment(bytes), r);
}

TEST(ProfileKeyTableTest, RecordsLieInBlockOrder) {
  auto table = std::make_unique<ProfileKeyTable>();
  table->At(3, 511).parameter = 0xA1B2C3D4;
  table->At(1, 0).type = AssignmentType::Macro;
  std::vector<std::uint8_t> bytes(kProfileKeyTableSize, 0xEE);
  EncodeProfileKeyTable(*table, std::span<std::uint8_t, kProfileKeyTableSize>(bytes));
  std::vector<std::uint8_t> expected(kProfileKeyTableSize, 0);
  expected[512 * 16] = 0x04;
  const std::size_t last = 2047 * 16 + kAssignOffParameter;
  expected[last] = 0xD4;
  expected[last + 1] = 0xC3;
  expected[last + 2] = 0xB2;
  expected[last + 3] = 0xA1;
  EXPECT_EQ(bytes, expected);
  auto back = std::make_unique<ProfileKeyTable>();
  DecodeProfileKeyTable(std::span<const std::uint8_t, kProfileKeyTableSize>(bytes), *back);
  EXPECT_EQ(*back, *table);
}

TEST(ProfileKeyTableTest, ResetBlockGivesGCodesOnly) {
  std::array<KeyAssignment, kRecordsPerBlock> block;
  for (auto& r : block) r = {AssignmentType::Key, 7, 8, 9, 10};
  ResetBlock(block);
  for (std::size_t i = 0; i < kRecordsPerBlock; ++i) {
    KeyAssignment expected{};
    if (i >= 256 && i <= 264) expected.key_field = static_cast<std::uint16_t>(0x0301 + (i - 256));
    if (i >= 265 && i <= 273) expected.key_field = static_cast<std::uint16_t>(0x1301 + (i - 265));
    EXPECT_EQ(block[i], expected) << i;
  }
}

TEST(KeyStringTableTest, SizesAndTotal) {
  auto strings = std::make_unique<KeyStringTable>();
  EXPECT_TRUE(strings->Set(5, u"ab"));
  EXPECT_TRUE(strings->Set(2047, u""));
  EXPECT_TRUE(strings->Set(7, std::u16string(u"xy\0z", 4)));  // ends at the first 0
  EXPECT_FALSE(strings->Set(2048, u"out of range"));
  EXPECT_EQ(strings->Size(5), 6u);
  EXPECT_EQ(strings->Size(2047), 2u);
  EXPECT_TRUE(strings->Has(2047));
  EXPECT_EQ(strings->Text(7), u"xy");
  EXPECT_EQ(strings->Total(), 6u + 2u + 6u);
  EXPECT_TRUE(strings->Set(5, u"abcd"));  // replacing adjusts the total
  EXPECT_EQ(strings->Total(), 10u + 2u + 6u);
  strings->Clear(2047);
  strings->Clear(2047);
  strings->Clear(4000);
  EXPECT_EQ(strings->Total(), 16u);
  EXPECT_FALSE(strings->Has(2047));
  EXPECT_EQ(strings->Text(4000), u"");
  strings->ClearAll();
  EXPECT_EQ(strings->Total(), 0u);
}

class AssignmentModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto lock = store.Lock();
    for (std::size_t b = 0; b < kProfileBlockCount; ++b) ResetBlock(store.Table().Block(b));
  }
  WorkingStore store;
  texts::TextTable texts;
};

TEST_F(AssignmentModelTest, WritingReleasesTheOldTextAndKeepsTheColourFlag) {
  store.Table().At(1, 0x1E).colour_flag = 1;
  store.Table().At(1, 0x1E).reserved = 0x77;
  ASSERT_EQ(WriteAssignment(store, 1, 0x1E, {AssignmentType::TextBlock, 0, 0, 5, 5}, u"hello"), AssignResult::Ok);
  EXPECT_EQ(store.strings.Size(512 + 0x1E), 12u);
  EXPECT_EQ(store.strings.Total(), 12u);
  EXPECT_EQ(ReadAssignment(store, 1, 0x1E),
            (KeyAssignment{AssignmentType::TextBlock, 0, 0, 1, 0x77}));

  ASSERT_EQ(WriteAssignment(store, 1, 0x1E, {AssignmentType::Key, 0, 0x030}, u"ignored"), AssignResult::Ok);
  EXPECT_FALSE(store.strings.Has(512 + 0x1E));
  EXPECT_EQ(store.strings.Total(), 0u);
  EXPECT_EQ(ReadAssignment(store, 1, 0x1E), (KeyAssignment{AssignmentType::Key, 0, 0x030, 1, 0x77}));
}

TEST_F(AssignmentModelTest, OutOfRangeIsRefusedWithoutChange) {
  const struct {
    std::size_t block;
    std::size_t record;
  } cases[] = {{4, 0}, {0, 512}, {99, 9999}};
  for (const auto& c : cases) {
    EXPECT_EQ(WriteAssignment(store, c.block, c.record, {AssignmentType::Key, 0, 1}), AssignResult::OutOfRange);
    EXPECT_EQ(ReadAssignment(store, c.block, c.record), KeyAssignment{});
    EXPECT_EQ(AssignmentText(store, c.block, c.record, texts), u"");
  }
  EXPECT_EQ(RestoreDefaultAssignments(store, 4, 0), AssignResult::OutOfRange);
  EXPECT_EQ(RestoreDefaultAssignments(store, 0, 2), AssignResult::OutOfRange);
}

TEST_F(AssignmentModelTest, RestoreDefaultsTouchesButtonsAndActiveBankOnly) {
  for (std::size_t r = 0; r < kRecordsPerBlock; ++r) {
    WriteAssignment(store, 2, r, {AssignmentType::LaunchProgram, 1, 2}, u"prog.exe");
    store.Table().At(2, r).colour_flag = 1;
  }
  WriteAssignment(store, 0, 0x1E, {AssignmentType::Key, 0, 0x030});
  ASSERT_EQ(RestoreDefaultAssignments(store, 2, 1), AssignResult::Ok);

  std::size_t restored = 0;
  for (std::size_t r = 0; r < kRecordsPerBlock; ++r) {
    const KeyAssignment rec = store.Table().At(2, r);
    const bool is_button = std::any_of(KeyButtonTable().begin(), KeyButtonTable().end(),
                                       [&](const KeyButton& b) { return Fold(b.code) == r; });
    const bool is_active_bank_g = r >= GRecordIndex(1, 0) && r <= GRecordIndex(1, 8);
    if (is_button || is_active_bank_g) {
      ++restored;
      EXPECT_EQ(rec, KeyAssignment{}) << r;
      EXPECT_FALSE(store.strings.Has(2 * 512 + r)) << r;
    } else {
      EXPECT_EQ(rec.type, AssignmentType::LaunchProgram) << r;
      EXPECT_TRUE(store.strings.Has(2 * 512 + r)) << r;
    }
  }
  EXPECT_EQ(restored, kKeyButtonCount + kGKeyCount);
  EXPECT_EQ(store.strings.Total(), (kRecordsPerBlock - restored) * 18u);
  EXPECT_EQ(store.Table().At(0, 0x1E).type, AssignmentType::Key) << "other blocks stay";
}

TEST_F(AssignmentModelTest, AssignmentTexts) {
  texts.Set(TextKey::MEDIA_V_ADD_7, u"Volume+");
  macros::MacroRecord m;
  m.id = 4;
  m.name = u"Combo";
  store.macros.push_back(m);
  const struct {
    const char* what;
    std::size_t record;
    KeyAssignment assignment;
    std::u16string text;
  } cases[] = {
      {"default", 0x1E, {AssignmentType::Default, 0, 0}, u"A"},
      {"stop macro", 0x1E, {AssignmentType::StopMacro, 0, 0}, u"AKeys, Set: "},
      {"disabled", 0x01, {AssignmentType::Disabled, 0, 0}, u"EscKeys, Set: "},
      {"text block", 0x01, {AssignmentType::TextBlock, 0, 0}, u"EscKeys, Set: "},
      {"key", 0x1E, {AssignmentType::Key, 0, 0x138}, u"AKeys, Set: Key(Right hand Alt)"},
      {"macro", 0x1E, {AssignmentType::Macro, 2, 0x00010004}, u"AKeys, Set: Macro(Combo)"},
      {"deleted macro", 0x1E, {AssignmentType::Macro, 0, 9}, u"AKeys, Set: Macro()"},
      {"media", 0x1E, {AssignmentType::Media, 0, 6}, u"AKeys, Set: Media(Volume+)"},
      {"media out of range", 0x1E, {AssignmentType::Media, 0, 18}, u"AKeys, Set: Media()"},
      {"function", 0x1E, {AssignmentType::Function, 0, 3}, u"AKeys, Set: Function(Save)"},
      {"function out of range", 0x1E, {AssignmentType::Function, 0, 11}, u"AKeys, Set: Function()"},
      {"extended key", 0xC8, {AssignmentType::Default, 0, 0}, u"\u2191"},
      {"G5 bank 1 default", GRecordIndex(1, 4), {AssignmentType::Default, 0x1305, 0}, u"G5"},
      {"G1 bank 0 set", GRecordIndex(0, 0), {AssignmentType::Key, 0x0301, 0x01E},
       u"G1Keys, Set: Key(A)"},
      {"record past the G keys", 300, {AssignmentType::Key, 0, 0x01E}, u""},
  };
  for (const auto& c : cases) {
    WriteAssignment(store, 0, c.record, c.assignment);
    EXPECT_EQ(AssignmentText(store, 0, c.record, texts), c.text) << c.what;
    EXPECT_EQ(IsAssignmentSet(ReadAssignment(store, 0, c.record)),
              c.assignment.type != AssignmentType::Default) << c.what;
  }
}

TEST(KeyStoreTest, ClearEmptiesEverythingAndLockIsReentrant) {
  WorkingStore store;
  auto outer = store.Lock();
  {
    auto inner = store.Lock();  // the same thread may take it again
    store.Table().At(0, 1).type = AssignmentType::Key;
    store.settings_header[5] = 1;
    store.macros.resize(3);
    store.strings.Set(1, u"x");
  }
  store.Clear();
  EXPECT_EQ(store.Table(), ProfileKeyTable{});
  EXPECT_EQ(store.settings_header, profiles::SettingsHeader{});
  EXPECT_TRUE(store.macros.empty());
  EXPECT_EQ(store.strings.Total(), 0u);
}

}  // namespace
}  // namespace vendrel::keys
