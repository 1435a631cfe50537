// The macro image at the edges of its fields: the 12-bit delay, the 16-bit sizes and offsets, and
// the record's limits of 2000 actions and 249 name units, which the size function and the encoder
// must apply alike (the encoder refuses a buffer of any other size).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "macros/macro_image.h"
#include "macros/macro_space_fit.h"

namespace vendrel::macros {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct DelayCase {
  const char* name;
  std::uint32_t delay_ms;
  std::array<std::uint8_t, 4> bytes;  // a press of A (0x01E): kind 2 and bit 15 over the delay
};

class ImageDelayTest : public ::testing::TestWithParam<DelayCase> {};

// Bits 0..11 of the control word hold the delay in units of 10 ms; a longer pause is written as
// the longest the field holds, never as its low bits (50000 ms would play as 9040 ms).
TEST_P(ImageDelayTest, LongestTheFieldHoldsNeverWrapped) {
  const DelayCase& c = GetParam();
  const MacroAction press{c.delay_ms, 0x01E, ActionKind::Press};
  const auto bytes = EncodeImageAction(press);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), Bytes(c.bytes.begin(), c.bytes.end()));
  EXPECT_EQ(DelayFitsImage(c.delay_ms), c.delay_ms < 40960);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageDelayTest,
    ::testing::Values(DelayCase{"EditorsLongest", 40000, {0xA0, 0xAF, 0x02, 0x04}},
                      DelayCase{"FieldsLongest", 40950, {0xFF, 0xAF, 0x02, 0x04}},
                      DelayCase{"CutToWholeUnits", 40959, {0xFF, 0xAF, 0x02, 0x04}},
                      DelayCase{"FirstPastTheField", 40960, {0xFF, 0xAF, 0x02, 0x04}},
                      DelayCase{"FiftySeconds", 50000, {0xFF, 0xAF, 0x02, 0x04}},
                      DelayCase{"Largest", 0xFFFFFFFFu, {0xFF, 0xAF, 0x02, 0x04}}),
    [](const ::testing::TestParamInfo<DelayCase>& info) { return std::string(info.param.name); });

MacroRecord Unnamed(std::size_t actions) {
  MacroRecord m;
  m.actions.assign(actions, MacroAction{10, 0x01E, ActionKind::Press});
  return m;
}

// Nine blocks whose actions make the image without names 65534 bytes, the largest even size a
// 16-bit total holds: 16 + 2 x 9 + 9 x 4 + 4 x 16366. One name unit makes it 65536 with names.
MacroList AtTheSizeLimit() {
  MacroList list(8, Unnamed(kMaxActions));
  list.push_back(Unnamed(366));
  list.back().name = u"x";
  return list;
}

TEST(MacroImageLimits, AnImageOverSixtyFourKibibytesIsRefusedAndTheOneBelowIsWritten) {
  const MacroList list = AtTheSizeLimit();
  const MacroImageSize sizes = MacroImageSizes(list);
  ASSERT_EQ(sizes.without_names, 65534u);
  ASSERT_EQ(sizes.with_names, 65536u);

  Bytes too_large(sizes.with_names, 0xEE);
  EXPECT_EQ(EncodeMacros(list, too_large, true), MacroEncodeResult::Refused);
  EXPECT_TRUE(std::all_of(too_large.begin(), too_large.end(), [](std::uint8_t b) { return b == 0xEE; }))
      << "a refused image leaves the buffer unwritten";

  Bytes largest(sizes.without_names);
  ASSERT_EQ(EncodeMacros(list, largest, false), MacroEncodeResult::Ok);
  EXPECT_EQ(largest[2], 0xFE);  // total size 65534
  EXPECT_EQ(largest[3], 0xFF);
  EXPECT_EQ(CheckMacroImage(largest), MacroImageCheck::Whole);

  // Even a keyboard with room for it gets the image without the name that pushes it over.
  const FittedMacroImage fit = FitMacroImage(list, 0x20000);
  ASSERT_EQ(fit.result, FitResult::Ok);
  EXPECT_FALSE(fit.with_names);
  EXPECT_EQ(fit.bytes, largest);

  MacroList over = list;
  over.back().actions.push_back(MacroAction{});  // 65538 bytes even without names
  EXPECT_EQ(FitMacroImage(over, 0x20000).result, FitResult::TooLarge);
}

// A record holding more than a block can carry is cut the same way by the size and the encoder:
// 2000 actions and 249 name units.
TEST(MacroImageLimits, OverlongMacroIsCutAlikeBySizeAndEncoder) {
  MacroRecord m = Unnamed(kMaxActions + 1);
  m.actions.back().key = 0x030;  // the one left out
  m.name = std::u16string(kMaxNameLength, u'n') + u"XY";
  const MacroList list{m};

  const MacroImageSize sizes = MacroImageSizes(list);
  EXPECT_EQ(sizes.without_names, 16u + 2 + 4 + 4 * 2000);
  EXPECT_EQ(sizes.with_names, 16u + 2 + 4 + 4 * 2000 + 2 * 249);

  for (const bool with_names : {true, false}) {
    Bytes image(with_names ? sizes.with_names : sizes.without_names);
    ASSERT_EQ(EncodeMacros(list, image, with_names), MacroEncodeResult::Ok) << with_names;
    EXPECT_EQ(CheckMacroImage(image), MacroImageCheck::Whole) << with_names;
    const std::size_t block = 18;
    EXPECT_EQ(image[block], 0xD0);  // 2000 actions
    EXPECT_EQ(image[block + 1], 0x07);
    EXPECT_EQ(image[block + 3], with_names ? 249 : 0);
    // The last action written is the 2000th, a press of A; the 2001st (B) is not there.
    const std::size_t last = block + 4 + 4 * 1999;
    EXPECT_EQ(image[last + 2], 0x02);
    EXPECT_EQ(image[last + 3], 0x04);
    if (with_names) {
      EXPECT_EQ(image.back(), 0x00);  // the 249th unit, 'n'
      EXPECT_EQ(image[image.size() - 2], u'n');
    }
  }
}

}  // namespace
}  // namespace vendrel::macros
