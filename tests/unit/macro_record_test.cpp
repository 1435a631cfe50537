#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "macros/macro_record.h"

namespace vendrel::macros {
namespace {

using Bytes = std::array<std::uint8_t, kMacroRecordSize>;

std::uint16_t U16(const Bytes& b, std::size_t off) {
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}

MacroRecord Sample() {
  MacroRecord m;
  m.name = u"Ab";
  m.cycles = 7;
  m.repeat_mode = 3;
  m.id = 42;
  m.actions = {{50, 0x1D, ActionKind::Press}, {40000, 0x130, ActionKind::Release}};
  return m;
}

TEST(MacroRecordCodec, FieldsLandAtTheirOffsets) {
  Bytes b;
  b.fill(0xEE);
  EncodeMacroRecord(Sample(), b);
  struct Field {
    std::size_t offset;
    std::uint16_t value;
  };
  for (const Field& f : {Field{0, u'A'}, Field{2, u'b'}, Field{4, 0}, Field{504, 3}, Field{506, 42},
                         Field{508, 2}, Field{502, 0}, Field{510, 0}, Field{512, 50}, Field{514, 0},
                         Field{516, 0x1D}, Field{518, 0}, Field{520, 40000 & 0xFFFF},
                         Field{522, 0}, Field{524, 0x130}, Field{526, 1}}) {
    EXPECT_EQ(U16(b, f.offset), f.value) << "offset " << f.offset;
  }
  EXPECT_EQ(b[500], 7);
  EXPECT_EQ(b[501], 0);
  // Everything after the name's terminator and after the last action is zero, not left over.
  for (std::size_t i = 6; i < 500; ++i) ASSERT_EQ(b[i], 0) << i;
  for (std::size_t i = 528; i < kMacroRecordSize; ++i) ASSERT_EQ(b[i], 0) << i;
}

TEST(MacroRecordCodec, RoundTripKeepsEveryField) {
  MacroRecord m = Sample();
  m.reserved1 = 9;
  m.reserved2 = 0xBEEF;
  m.new_flag = 1;
  m.actions.push_back({10, 0x2A, static_cast<ActionKind>(5)});
  Bytes b;
  EncodeMacroRecord(m, b);
  EXPECT_EQ(DecodeMacroRecord(b), m);
}

TEST(MacroRecordCodec, CorruptRecordIsCutToItsLimits) {
  struct Case {
    const char* name;
    std::uint16_t count;
    bool name_unterminated;
    std::size_t expected_actions;
    std::size_t expected_name;
  };
  for (const Case& c : {Case{"huge count", 0xFFFF, false, kMaxActions, 1},
                        Case{"2001 actions", 2001, false, kMaxActions, 1},
                        Case{"exact limit", 2000, false, kMaxActions, 1},
                        Case{"name fills field", 0, true, 0, kMaxNameLength}}) {
    Bytes b{};
    b[0] = 'x';
    if (c.name_unterminated) {
      for (std::size_t i = 0; i < 500; i += 2) b[i] = 'y';
    }
    b[508] = static_cast<std::uint8_t>(c.count & 0xFF);
    b[509] = static_cast<std::uint8_t>(c.count >> 8);
    const MacroRecord m = DecodeMacroRecord(b);
    EXPECT_EQ(m.actions.size(), c.expected_actions) << c.name;
    EXPECT_EQ(m.name.size(), c.expected_name) << c.name;
  }
}

TEST(MacroRecordCodec, OverlongNameAndTooManyActionsAreCutOnWrite) {
  MacroRecord m;
  m.name = std::u16string(300, u'z');
  m.actions.resize(2100, MacroAction{10, 0x1E, ActionKind::Press});
  Bytes b;
  EncodeMacroRecord(m, b);
  EXPECT_EQ(U16(b, 2 * (kMaxNameLength - 1)), u'z');
  EXPECT_EQ(U16(b, 2 * kMaxNameLength), 0);  // terminator kept
  EXPECT_EQ(U16(b, kRecordOffActionCount), kMaxActions);
}

}  // namespace
}  // namespace vendrel::macros
