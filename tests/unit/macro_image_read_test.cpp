#include <gtest/gtest.h>

#include <vector>

#include "device/results.h"
#include "macros/macro_image.h"
#include "macros/macro_image_read.h"
#include "sim/model/keyboard_model.h"
#include "support/device_rig.h"

namespace vendrel::macros {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ImageOf(const std::vector<MacroRecord>& list) {
  Bytes image(MacroImageSizes(list).with_names);
  EXPECT_EQ(EncodeMacros(list, image, true), MacroEncodeResult::Ok);
  return image;
}

std::vector<MacroRecord> TwoMacros() {
  MacroRecord a;
  a.name = u"first";
  a.actions = {{30, 0x1E, ActionKind::Press}, {0, 0x1E, ActionKind::Release}};
  MacroRecord b;
  b.actions = {{0, 0x130, ActionKind::Press}};
  b.cycles = 9;
  return {a, b};
}

struct ReadCase {
  const char* name;
  Bytes memory;              // written at offset 0 of the keyboard's macro memory
  std::size_t image_size;    // bytes ReadMacroImage returns
  std::size_t macro_count;
  int read_result = device::kOk;  // of ReadMacrosFromKeyboard
};

class ReadImageTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadImageTest, ReadsHeaderThenTheWholeImage) {
  const ReadCase& c = GetParam();
  testing::DeviceRig rig;
  rig.library.WithModel([&](sim::KeyboardModel& m) {
    // Clear what a previous image may have left, then place this one.
    const Bytes zeros(m.AreaBytes(sim::Area::Macro).size(), 0);
    EXPECT_TRUE(m.WriteArea(sim::Area::Macro, 0, zeros));
    EXPECT_TRUE(m.WriteArea(sim::Area::Macro, 0, c.memory));
  });
  Bytes image{0xEE};
  ASSERT_EQ(ReadMacroImage(rig.commands, image), device::kOk);
  EXPECT_EQ(image.size(), c.image_size);
  MacroList list;
  ASSERT_EQ(ReadMacrosFromKeyboard(rig.commands, u"Macro", list), c.read_result);
  EXPECT_EQ(list.size(), c.macro_count);
}

Bytes WithTotal(Bytes image, std::uint16_t total) {
  image[2] = static_cast<std::uint8_t>(total & 0xFF);
  image[3] = static_cast<std::uint8_t>(total >> 8);
  return image;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadImageTest,
    ::testing::Values(
        ReadCase{"Valid", ImageOf(TwoMacros()), ImageOf(TwoMacros()).size(), 2},
        ReadCase{"NoMagic", Bytes{0x00, 0x00, 0x40, 0x00, 0x02, 0x00}, 0, 0},
        // A total that disagrees with the blocks is what a torn write leaves: no macros taken.
        ReadCase{"TotalBelowHeader", WithTotal(ImageOf(TwoMacros()), 3), 16, 0, kImageNotWhole},
        ReadCase{"TotalCutsSecondBlock", WithTotal(ImageOf(TwoMacros()), 40), 40, 0, kImageNotWhole}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadImage, ReadFailureIsReportedWithAnEmptyList) {
  testing::DeviceRig rig(0);
  MacroList list{MacroRecord{}};
  EXPECT_NE(ReadMacrosFromKeyboard(rig.commands, u"Macro", list), device::kOk);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace vendrel::macros
