#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "keys/key_table.h"
#include "macros/macro_image.h"
#include "macros/macro_space_fit.h"
#include "app/store_messages.h"
#include "store/key_store.h"
#include "support/recording_message_boxes.h"

namespace vendrel::macros {
namespace {


using Bytes = std::vector<std::uint8_t>;

MacroAction Press(MacroKey key, std::uint32_t delay = 0) { return {delay, key, ActionKind::Press}; }
MacroAction Release(MacroKey key, std::uint32_t delay = 0) {
  return {delay, key, ActionKind::Release};
}

MacroRecord Macro(std::u16string name, std::vector<MacroAction> actions, std::uint8_t cycles = 1) {
  MacroRecord m;
  m.name = std::move(name);
  m.actions = std::move(actions);
  m.cycles = cycles;
  return m;
}

std::uint16_t U16(const Bytes& b, std::size_t off) {
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
void Put16(Bytes& b, std::size_t off, std::size_t v) {
  b[off] = static_cast<std::uint8_t>(v & 0xFF);
  b[off + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

struct ActionCase {
  const char* name;
  MacroAction action;
  std::array<std::uint8_t, 4> bytes;
  MacroAction decoded;  // what the keyboard's bytes turn back into
};

class ImageActionTest : public ::testing::TestWithParam<ActionCase> {};

TEST_P(ImageActionTest, EncodesToBytesAndDecodesBack) {
  const ActionCase& c = GetParam();
  EXPECT_EQ(EncodeImageAction(c.action), c.bytes);
  EXPECT_EQ(DecodeImageAction(c.bytes), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageActionTest,
    ::testing::Values(
        ActionCase{"LeftCtrlPressIsModifierBit", Press(0x01D, 50), {0x05, 0xA0, 0x01, 0x01},
                   Press(0x01D, 50)},
        ActionCase{"ReleaseOfAIsKeyboardUsage", Release(0x01E), {0x00, 0x20, 0x02, 0x04},
                   Release(0x01E)},
        ActionCase{"VolumeUpIsConsumer", Press(0x130), {0x00, 0xB0, 0xE9, 0x00}, Press(0x130)},
        ActionCase{"RightWinIsModifierBit80", Press(0x15C), {0x00, 0xA0, 0x01, 0x80}, Press(0x15C)},
        // The modifier test is on the key code: this key is written as a plain usage, which the
        // lowest slot carrying it claims on the way back.
        ActionCase{"E0RightShiftIsPlainUsage", Press(0x136), {0x00, 0xA0, 0x02, 0xE5}, Press(0x036)},
        ActionCase{"SystemSleepIsDesktop", Press(0x15F), {0x00, 0xC0, 0x82, 0x00}, Press(0x15F)},
        ActionCase{"MaxDelayIs4000Units", Release(0x01E, 40000), {0xA0, 0x2F, 0x02, 0x04},
                   Release(0x01E, 40000)},
        ActionCase{"FiveMsIsZeroUnits", Press(0x01E, 5), {0x00, 0xA0, 0x02, 0x04}, Press(0x01E, 0)},
        ActionCase{"KeyWithoutUsageIsKindZero", Press(0x054, 10), {0x01, 0x80, 0x00, 0x00},
                   Press(0, 10)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageAction, UnknownActionKindEncodesAsPress) {
  MacroAction odd = Press(0x01E);
  odd.kind = static_cast<ActionKind>(7);
  EXPECT_EQ(EncodeImageAction(odd)[1] & 0x80, 0x80);
}

TEST(MacroImage, OneNamedMacroMatchesItsBytes) {
  const std::vector<MacroRecord> macros{
      Macro(u"Hi", {Press(0x01D, 50), Release(0x01E), Press(0x130)})};
  const MacroImageSize s = MacroImageSizes(macros);
  EXPECT_EQ(s.with_names, 38u);
  EXPECT_EQ(s.without_names, 34u);
  Bytes image(38);
  ASSERT_EQ(EncodeMacros(macros, image, true), MacroEncodeResult::Ok);
  const Bytes expected{0xAA, 0x55, 0x26, 0x00, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,
                       0x12, 0x00, 0x03, 0x00, 0x01, 0x02, 0x05, 0xA0, 0x01, 0x01, 0x00, 0x20,
                       0x02, 0x04, 0x00, 0xB0, 0xE9, 0x00, 'H', 0x00, 'i', 0x00};
  EXPECT_EQ(image, expected);
}

TEST(MacroImage, BlocksFollowWithoutGapsAndOffsetsPointAtThem) {
  const std::vector<MacroRecord> macros{Macro(u"a", {Press(0x1E)}, 3), Macro(u"bcd", {}),
                                        Macro(u"", {Press(0x1F), Release(0x1F)}, 255)};
  for (bool names : {true, false}) {
    const MacroImageSize s = MacroImageSizes(macros);
    Bytes image(names ? s.with_names : s.without_names);
    ASSERT_EQ(EncodeMacros(macros, image, names), MacroEncodeResult::Ok);
    EXPECT_EQ(U16(image, 2), image.size());
    EXPECT_EQ(U16(image, 6), names ? 1 : 0);
    std::size_t expected_offset = 16 + 2 * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
      ASSERT_EQ(U16(image, 16 + 2 * i), expected_offset) << i;
      EXPECT_EQ(image[expected_offset + 2], macros[i].cycles);
      const std::size_t name_units = names ? macros[i].name.size() : 0;
      EXPECT_EQ(image[expected_offset + 3], name_units);
      expected_offset += 4 + 4 * macros[i].actions.size() + 2 * name_units;
    }
    EXPECT_EQ(expected_offset, image.size());
  }
}

TEST(MacroImage, EncodeRefusesMismatchedBufferWithoutWriting) {
  const std::vector<MacroRecord> macros{Macro(u"x", {Press(0x1E)})};
  Bytes small(24, 0xEE);
  EXPECT_EQ(EncodeMacros(macros, small, true), MacroEncodeResult::Refused);
  EXPECT_EQ(small, Bytes(24, 0xEE));
}

TEST(MacroImage, EmptyListIsHeaderOnly) {
  Bytes image(16);
  ASSERT_EQ(EncodeMacros(std::vector<MacroRecord>{}, image, true), MacroEncodeResult::Ok);
  EXPECT_EQ(image, (Bytes{0xAA, 0x55, 0x10, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  MacroList decoded{Macro(u"stale", {})};
  EXPECT_EQ(DecodeMacros(image, u"Macro", decoded), MacroDecodeResult::Ok);
  EXPECT_TRUE(decoded.empty());
}

TEST(MacroImage, DecodeRestoresListWithIdsAndGeneratedNames) {
  std::vector<MacroRecord> macros;
  for (int i = 0; i < 5; ++i) {
    macros.push_back(Macro(i == 4 ? u"" : u"named", {Press(0x1E, 120), Release(0x1E, 30)},
                           static_cast<std::uint8_t>(i + 1)));
  }
  for (bool names : {true, false}) {
    const MacroImageSize s = MacroImageSizes(macros);
    Bytes image(names ? s.with_names : s.without_names);
    ASSERT_EQ(EncodeMacros(macros, image, names), MacroEncodeResult::Ok);
    MacroList out;
    ASSERT_EQ(DecodeMacros(image, u"Macro", out), MacroDecodeResult::Ok);
    ASSERT_EQ(out.size(), macros.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].id, i + 1);
      EXPECT_EQ(out[i].cycles, macros[i].cycles);
      EXPECT_EQ(out[i].actions, macros[i].actions);
      EXPECT_EQ(out[i].new_flag, 0);
      EXPECT_EQ(out[i].repeat_mode, 0);
      const std::u16string expected_name =
          names && i != 4 ? u"named" : u"Macro" + std::u16string(1, static_cast<char16_t>(u'1' + i));
      EXPECT_EQ(out[i].name, expected_name) << i;
    }
  }
}

// A valid two-macro image that the corruption cases start from.
Bytes TwoMacroImage() {
  const std::vector<MacroRecord> macros{Macro(u"ab", {Press(0x1E), Release(0x1E)}),
                                        Macro(u"cd", {Press(0x1F)})};
  Bytes image(MacroImageSizes(macros).with_names);
  EncodeMacros(macros, image, true);
  return image;
}

struct CorruptCase {
  const char* name;
  void (*damage)(Bytes&);
  MacroDecodeResult result;
  std::size_t macros;
  std::size_t first_actions;
  std::u16string first_name;
};

class CorruptImageTest : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptImageTest, CutOrRefusedWithinBounds) {
  const CorruptCase& c = GetParam();
  Bytes image = TwoMacroImage();
  c.damage(image);
  // Decode from an exact-size heap copy so that the sanitizer sees any read past the end.
  std::vector<std::uint8_t> exact(image.begin(), image.end());
  MacroList out;
  EXPECT_EQ(DecodeMacros(exact, u"Macro", out), c.result);
  ASSERT_EQ(out.size(), c.macros);
  if (c.macros > 0) {
    EXPECT_EQ(out[0].actions.size(), c.first_actions);
    EXPECT_EQ(out[0].name, c.first_name);
    EXPECT_LE(out[0].name.size(), kMaxNameLength);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CorruptImageTest,
    ::testing::Values(
        CorruptCase{"Intact", [](Bytes&) {}, MacroDecodeResult::Ok, 2, 2, u"ab"},
        CorruptCase{"ShorterThanHeader", [](Bytes& b) { b.resize(15); }, MacroDecodeResult::Refused, 0, 0, u""},
        CorruptCase{"NoMagic", [](Bytes& b) { b[0] = 0; }, MacroDecodeResult::Refused, 0, 0, u""},
        CorruptCase{"HugeCount", [](Bytes& b) { Put16(b, 4, 0xFFFF); }, MacroDecodeResult::Cut, 2, 2, u"ab"},
        CorruptCase{"CountBeyondOffsetTable", [](Bytes& b) { Put16(b, 4, 12); }, MacroDecodeResult::Cut, 2, 2,
                    u"ab"},
        CorruptCase{"TruncatedInSecondBlock", [](Bytes& b) { b.resize(b.size() - 3); }, MacroDecodeResult::Cut,
                    2, 2, u"ab"},
        CorruptCase{"OffsetPastEnd", [](Bytes& b) { Put16(b, 16, 0xFFF0); }, MacroDecodeResult::Cut, 0, 0,
                    u""},
        CorruptCase{"OffsetIntoHeader", [](Bytes& b) { Put16(b, 16, 2); }, MacroDecodeResult::Cut, 0, 0, u""},
        CorruptCase{"ActionCountPastEnd", [](Bytes& b) { Put16(b, U16(b, 16), 0x7FFF); },
                    MacroDecodeResult::Cut, 2, 6, u"Macro1"},
        CorruptCase{"NameLengthPastEnd", [](Bytes& b) { b[U16(b, 18) + 3] = 0xFF; }, MacroDecodeResult::Cut,
                    2, 2, u"ab"},
        // A stated name is copied unit for unit, a leading 0 unit included; only length 0 is unnamed.
        CorruptCase{"ZeroFirstNameUnitIsKeptAsStored",
                    [](Bytes& b) {
                      const std::size_t at = U16(b, 16) + 4 + 8;
                      b[at] = b[at + 1] = 0;
                    },
                    MacroDecodeResult::Ok, 2, 2, std::u16string(u"\0b", 2)},
        CorruptCase{"ZeroNameLengthGivesGeneratedName", [](Bytes& b) { b[U16(b, 16) + 3] = 0; },
                    MacroDecodeResult::Ok, 2, 2, u"Macro1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct WholeCase {
  const char* name;
  void (*damage)(Bytes&);
  MacroImageCheck check;
};

class WholeImageTest : public ::testing::TestWithParam<WholeCase> {};

// What a write cut short leaves (or garbage written by another program) is told apart from an
// image a complete write leaves, before anyone takes it for the keyboard's macros.
TEST_P(WholeImageTest, OnlyAnImageACompleteWriteLeavesIsWhole) {
  const WholeCase& c = GetParam();
  Bytes image = TwoMacroImage();
  ASSERT_EQ(image.size(), 48u) << "blocks at 20..36 and 36..48";
  c.damage(image);
  const std::vector<std::uint8_t> exact(image.begin(), image.end());
  EXPECT_EQ(CheckMacroImage(exact), c.check);
}

void SetTotal(Bytes& b) { Put16(b, 2, b.size()); }

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeImageTest,
    ::testing::Values(
        WholeCase{"Intact", [](Bytes&) {}, MacroImageCheck::Whole},
        WholeCase{"ShorterThanHeader", [](Bytes& b) { b.resize(15); }, MacroImageCheck::NoImage},
        WholeCase{"NoMagic", [](Bytes& b) { b[0] = 0; }, MacroImageCheck::NoImage},
        WholeCase{"TotalDisagrees", [](Bytes& b) { Put16(b, 2, 40); }, MacroImageCheck::SizeMismatch},
        WholeCase{"CutShort", [](Bytes& b) { b.resize(45); }, MacroImageCheck::SizeMismatch},
        WholeCase{"CutShortWithItsTotal", [](Bytes& b) { b.resize(45); SetTotal(b); },
                  MacroImageCheck::BlockOutside},
        WholeCase{"CountAllOnes", [](Bytes& b) { Put16(b, 4, 0xFFFF); }, MacroImageCheck::TooManyMacros},
        WholeCase{"CountOneAboveLimit", [](Bytes& b) { Put16(b, 4, kMaxMacros + 1); },
                  MacroImageCheck::TooManyMacros},
        WholeCase{"OffsetTablePastEnd", [](Bytes& b) { Put16(b, 4, 20); }, MacroImageCheck::OffsetsOutside},
        WholeCase{"CountCoversTheBlocks", [](Bytes& b) { Put16(b, 4, 12); }, MacroImageCheck::BlockOutside},
        WholeCase{"OffsetPastEnd", [](Bytes& b) { Put16(b, 16, 0xFFF0); }, MacroImageCheck::BlockOutside},
        WholeCase{"OffsetIntoHeader", [](Bytes& b) { Put16(b, 16, 2); }, MacroImageCheck::BlockOutside},
        WholeCase{"OffsetIntoOffsetTable", [](Bytes& b) { Put16(b, 18, 18); }, MacroImageCheck::BlockOutside},
        WholeCase{"BlockHeaderPastEnd", [](Bytes& b) { Put16(b, 18, 46); }, MacroImageCheck::BlockOutside},
        WholeCase{"ActionsPastEndWithinLimit", [](Bytes& b) { Put16(b, 36, kMaxActions); },
                  MacroImageCheck::BlockOutside},
        WholeCase{"ActionCountOfATornWrite", [](Bytes& b) { Put16(b, 20, 40966); },
                  MacroImageCheck::TooManyActions},
        WholeCase{"ActionCountAllOnes", [](Bytes& b) { Put16(b, 36, 0xFFFF); }, MacroImageCheck::TooManyActions},
        WholeCase{"NameOneAboveLimit", [](Bytes& b) { b[23] = kMaxNameLength + 1; }, MacroImageCheck::NameTooLong},
        WholeCase{"NameRunsIntoNextBlock", [](Bytes& b) { b[23] = 3; }, MacroImageCheck::Overlap},
        WholeCase{"SameBlockTwice", [](Bytes& b) { Put16(b, 18, 20); }, MacroImageCheck::Overlap},
        WholeCase{"SecondStartsInsideFirst", [](Bytes& b) { Put16(b, 18, 32); b[32] = b[33] = b[35] = 0; },
                  MacroImageCheck::Overlap},
        // Blocks need not follow the offset order, only keep apart.
        WholeCase{"BlocksInOtherOrder",
                  [](Bytes& b) {
                    Bytes swapped(b.begin(), b.begin() + 20);
                    swapped.insert(swapped.end(), b.begin() + 36, b.end());
                    swapped.insert(swapped.end(), b.begin() + 20, b.begin() + 36);
                    Put16(swapped, 16, 32);
                    Put16(swapped, 18, 20);
                    b = swapped;
                  },
                  MacroImageCheck::Whole}),
    [](const auto& info) { return std::string(info.param.name); });

struct NamedCase {
  const char* name;
  bool with_names;
  void (*damage)(Bytes&);
  std::vector<bool> named;
};

class BlocksWithNamesTest : public ::testing::TestWithParam<NamedCase> {};

// A macro that came back with a made-up name is told apart from one whose name the keyboard holds.
TEST_P(BlocksWithNamesTest, TellsWhichBlocksCarryTheirName) {
  const NamedCase& c = GetParam();
  const std::vector<MacroRecord> macros{Macro(u"ab", {Press(0x1E)}), Macro(u"", {Press(0x1F)}),
                                        Macro(u"cd", {})};
  const MacroImageSize sizes = MacroImageSizes(macros);
  Bytes image(c.with_names ? sizes.with_names : sizes.without_names);
  ASSERT_EQ(EncodeMacros(macros, image, c.with_names), MacroEncodeResult::Ok);
  c.damage(image);
  const std::vector<std::uint8_t> exact(image.begin(), image.end());
  EXPECT_EQ(BlocksWithNames(exact), c.named);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlocksWithNamesTest,
    ::testing::Values(
        NamedCase{"WithNames", true, [](Bytes&) {}, {true, false, true}},
        NamedCase{"NamesLeftOut", false, [](Bytes&) {}, {false, false, false}},
        NamedCase{"LastBlocksNameCleared", true, [](Bytes& b) {
                    b[U16(b, 20) + 3] = 0;
                    b.resize(b.size() - 4);
                    Put16(b, 2, b.size());
                  }, {true, false, false}},
        NamedCase{"NotWhole", true, [](Bytes& b) { b.resize(b.size() - 1); }, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MacroImage, EveryEncodedImageIsWhole) {
  std::vector<MacroAction> longest;
  for (std::size_t a = 0; a < 100; ++a) longest.push_back(a % 2 ? Release(0x1E, 10) : Press(0x1E));
  const std::vector<std::vector<MacroRecord>> lists = {
      {},
      {Macro(u"", {})},
      {Macro(std::u16string(kMaxNameLength, u'x'), longest), Macro(u"b", {Press(0x1F)})},
      std::vector<MacroRecord>(kMaxMacros, Macro(u"m", {Press(0x1E), Release(0x1E)})),
  };
  for (std::size_t i = 0; i < lists.size(); ++i) {
    for (const bool names : {true, false}) {
      const MacroImageSize sizes = MacroImageSizes(lists[i]);
      Bytes image(names ? sizes.with_names : sizes.without_names);
      ASSERT_EQ(EncodeMacros(lists[i], image, names), MacroEncodeResult::Ok);
      EXPECT_EQ(CheckMacroImage(image), MacroImageCheck::Whole) << "list " << i << " names " << names;
    }
  }
}

TEST(MacroImage, TruncatedInOffsetsKeepsNoMacro) {
  // 17 bytes: a count of 2 but not even the first whole offset.
  Bytes image = TwoMacroImage();
  image.resize(17);
  MacroList out;
  EXPECT_EQ(DecodeMacros(image, u"Macro", out), MacroDecodeResult::Cut);
  EXPECT_TRUE(out.empty());
}

TEST(MacroImage, OverlongBlocksAreCutToRecordLimits) {
  // One block claiming 2500 actions that are all present and a 255-unit name after them.
  const std::size_t actions = 2500;
  const std::size_t name_units = 255;
  Bytes image(16 + 2 + 4 + 4 * actions + 2 * name_units, 0);
  Put16(image, 0, 0x55AA);
  Put16(image, 2, image.size());
  Put16(image, 4, 1);
  Put16(image, 6, 1);
  Put16(image, 16, 18);
  Put16(image, 18, actions);
  image[20] = 1;
  image[21] = static_cast<std::uint8_t>(name_units);
  for (std::size_t a = 0; a < actions; ++a) {
    const auto enc = EncodeImageAction(Press(0x1E, 10));
    std::copy(enc.begin(), enc.end(), image.begin() + static_cast<std::ptrdiff_t>(22 + 4 * a));
  }
  for (std::size_t u = 0; u < name_units; ++u) Put16(image, 22 + 4 * actions + 2 * u, u'n');
  MacroList out;
  EXPECT_EQ(DecodeMacros(image, u"Macro", out), MacroDecodeResult::Cut);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].actions.size(), kMaxActions);
  // The name is found after all stated actions, not after the kept ones.
  EXPECT_EQ(out[0].name, std::u16string(kMaxNameLength, u'n'));
}

TEST(MacroImage, MoreThanHundredMacrosAreCut) {
  std::vector<MacroRecord> macros(120, Macro(u"", {Press(0x1E)}));
  Bytes image(MacroImageSizes(macros).without_names);
  ASSERT_EQ(EncodeMacros(macros, image, false), MacroEncodeResult::Ok);
  MacroList out;
  EXPECT_EQ(DecodeMacros(image, u"Macro", out), MacroDecodeResult::Cut);
  EXPECT_EQ(out.size(), kMaxMacros);
}

// Keys that send the usage of another key: reading them back names the key of the lowest slot
// with that usage, which the keyboard sends identically.
const std::map<keys::KeyCode, keys::KeyCode> kUsageAliases = {{0x136, 0x036}, {0x146, 0x045}};

// Every code of the 256 slots and the codes that fold onto them from above: each one either comes
// back from the keyboard as itself (or as its usage alias) with a usage the keyboard sends, or is
// refused by both the predicate and the encoder, which then leaves the buffer alone.
TEST(MacroImageKeys, EveryKeyRoundTripsOrIsRefused) {
  int sendable = 0;
  int refused = 0;
  for (unsigned code = 1; code < 0x280; ++code) {
    const auto key = static_cast<keys::KeyCode>(code);
    const std::vector<MacroRecord> macros{Macro(u"k", {Press(key, 20)})};
    Bytes image(MacroImageSizes(macros).without_names, 0xEE);
    const MacroEncodeResult result = EncodeMacros(macros, image, false);
    if (keys::IsSendableInMacro(key)) {
      ++sendable;
      ASSERT_EQ(result, MacroEncodeResult::Ok) << std::hex << code;
      const std::size_t action_at = 16 + 2 + 4;
      EXPECT_NE(image[action_at + 1] >> 4 & 0x7, 0) << "usage kind of " << std::hex << code;
      EXPECT_NE(image[action_at + 2] | image[action_at + 3], 0) << "usage of " << std::hex << code;
      MacroList out;
      ASSERT_EQ(DecodeMacros(image, u"Macro", out), MacroDecodeResult::Ok);
      ASSERT_EQ(out.size(), 1u);
      ASSERT_EQ(out[0].actions.size(), 1u);
      const auto alias = kUsageAliases.find(key);
      EXPECT_EQ(out[0].actions[0], Press(alias == kUsageAliases.end() ? key : alias->second, 20))
          << std::hex << code;
    } else {
      ++refused;
      EXPECT_EQ(result, MacroEncodeResult::UnsendableKey) << std::hex << code;
      EXPECT_EQ(image, Bytes(image.size(), 0xEE)) << std::hex << code;
      EXPECT_EQ(FindUnsendableAction(macros), (UnsendableAction{0, 0, key})) << std::hex << code;
    }
  }
  // Both verdicts occur: the table holds keys of each kind.
  EXPECT_GT(sendable, 100);
  EXPECT_GT(refused, 0);
}

struct SendableCase {
  const char* name;
  keys::KeyCode key;
  bool sendable;
};

class SendableKeyTest : public ::testing::TestWithParam<SendableCase> {};

TEST_P(SendableKeyTest, PredicateMatchesWhatTheKeyboardCanSend) {
  EXPECT_EQ(keys::IsSendableInMacro(GetParam().key), GetParam().sendable);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendableKeyTest,
    ::testing::Values(
        // Consumer rows past the known consumer usages would be written as usage 0.
        SendableCase{"ZoomOutHasNoConsumerUsage", 0x174, false},
        SendableCase{"ZoomInHasNoConsumerUsage", 0x175, false},
        SendableCase{"WordHasNoConsumerUsage", 0x17B, false},
        SendableCase{"ExcelHasNoConsumerUsage", 0x17C, false},
        SendableCase{"CopyHasNoUsage", 0x176, false},
        SendableCase{"SysReqHasNoUsage", 0x054, false},
        SendableCase{"NoKey", 0x000, false},
        SendableCase{"CodeFoldingOntoA", 0x29E, false},
        SendableCase{"CodeBetweenTheHalves", 0x0A0, false},
        SendableCase{"LetterA", 0x01E, true},
        SendableCase{"LeftCtrlModifier", 0x01D, true},
        SendableCase{"VolumeUpConsumer", 0x130, true},
        SendableCase{"NextTrackLastKnownConsumer", 0x119, true},
        SendableCase{"SleepDesktop", 0x15F, true},
        SendableCase{"RightShiftAlias", 0x136, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MacroImageKeys, FirstUnsendableActionIsNamedAndBarePausesPass) {
  const std::vector<MacroRecord> macros{
      Macro(u"ok", {Press(0x01E), Release(0x01E), Press(0, 500)}),
      Macro(u"zoom", {Press(0x130), Release(0x130), Press(0x175), Release(0x175), Press(0x17C)})};
  EXPECT_EQ(FindUnsendableAction(macros), (UnsendableAction{1, 2, 0x175}));
  EXPECT_EQ(FindUnsendableAction(std::span(macros).first(1)), std::nullopt);

  Bytes image(MacroImageSizes(macros).with_names, 0xEE);
  EXPECT_EQ(EncodeMacros(macros, image, true), MacroEncodeResult::UnsendableKey);
  EXPECT_EQ(image, Bytes(image.size(), 0xEE));

  for (std::uint32_t space : {0u, 128u * 255u}) {
    const FittedMacroImage fit = FitMacroImage(macros, space);
    EXPECT_EQ(fit.result, FitResult::UnsendableKey) << space;
    EXPECT_TRUE(fit.bytes.empty()) << space;
    EXPECT_EQ(fit.unsendable, (UnsendableAction{1, 2, 0x175})) << space;
  }
}

struct FitCase {
  const char* name;
  std::uint32_t space;
  FitResult result;
  bool with_names;
  std::size_t size;
  bool too_long_shown;
};

class FitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTest, ChoosesImageBySpace) {
  const FitCase& c = GetParam();
  // 38 bytes with names, 34 without.
  const std::vector<MacroRecord> macros{
      Macro(u"Hi", {Press(0x01D, 50), Release(0x01E), Press(0x130)})};
  texts::TextTable texts;
  testing::RecordingMessageBoxes boxes;
  const FittedMacroImage fit = FitMacroImage(macros, c.space);
  app::TellMacroFit(fit.result, boxes, texts);
  EXPECT_EQ(fit.result, c.result);
  EXPECT_EQ(fit.bytes.size(), c.size);
  if (c.result == FitResult::Ok) {
    EXPECT_EQ(fit.with_names, c.with_names);
    EXPECT_EQ(U16(fit.bytes, 6), c.with_names ? 1 : 0);
  }
  if (c.too_long_shown) {
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], texts.Text(texts::TextKey::EXTRA_MACRO_TOO_LONG));
    EXPECT_NE(boxes.shown[0].find(u"\r\n Please reduce"), std::u16string::npos);
    EXPECT_NE(boxes.shown[0].find(u"\uFF0Cand then download."), std::u16string::npos);
  } else {
    EXPECT_TRUE(boxes.shown.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitTest,
    ::testing::Values(FitCase{"RoomForNames", 128, FitResult::Ok, true, 38, false},
                      FitCase{"NamesExactlyFit", 38, FitResult::Ok, true, 38, false},
                      FitCase{"OnlyPlainFits", 37, FitResult::Ok, false, 34, false},
                      FitCase{"PlainExactlyFits", 34, FitResult::Ok, false, 34, false},
                      FitCase{"TooSmall", 33, FitResult::TooLarge, false, 0, true},
                      FitCase{"BeforeFirstConnection", 0, FitResult::TooLarge, false, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MacroSpace, DeviceStoreMacrosFitAndNamesDroppedWarningReads) {
  store::DeviceStore store;
  auto lock = store.Lock();
  store.macros = {Macro(u"Hi", {Press(0x1E)})};
  EXPECT_EQ(MacroImageSizes(store.macros).with_names, 16u + 2 + 4 + 4 + 4);
  texts::TextTable texts;
  testing::RecordingMessageBoxes boxes;
  const FittedMacroImage fit = FitMacroImage(store.macros, MacroSpaceFromUnits(1));
  EXPECT_EQ(fit.result, FitResult::Ok);
  EXPECT_TRUE(fit.with_names);
  app::TellNamesDropped(boxes, texts);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], u"shortage of hardware space, cancelled the macro name of storage.");
}

}  // namespace
}  // namespace vendrel::macros
