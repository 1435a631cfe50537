// The lighting record of one profile: decoding, field addresses, the default block, and the table
// of what each mode uses and writes.
#include "lighting/lighting_block.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "lighting/colour.h"
#include "lighting/mode_table.h"

namespace vendrel::lighting {
namespace {

std::ostream& operator<<(std::ostream& os, const LightingValues& v) {
  return os << "mode " << v.mode << " bright " << v.brightness << " speed " << v.speed << " dir "
            << v.direction << " multi " << v.multicolour << " colour " << std::hex << v.colour
            << std::dec << " choice " << v.colour_choice << " rate " << v.report_rate;
}

std::array<std::uint8_t, kBlockSize> Block(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
  std::array<std::uint8_t, kBlockSize> block{};
  for (const auto& [offset, value] : bytes) block[offset] = value;
  return block;
}

TEST(LightingBlockTest, DecodesEveryFieldFromItsOwnOffset) {
  const struct {
    const char* what;
    std::array<std::uint8_t, kBlockSize> block;
    LightingValues values;
  } cases[] = {
      {"all zero", Block({}), {0, 0, 0, 0, false, 0, 0, 0}},
      {"each field distinct",
       Block({{0, 7}, {1, 4}, {2, 2}, {3, 0xFF}, {4, 1}, {5, 0x11}, {6, 0x22}, {7, 0x33}, {8, 3},
              {15, 2}}),
       {7, 4, 2, 0xFF, true, 0x332211, 3, 2}},  // R in the low byte
      {"any non-zero multicolour is on", Block({{4, 0x80}}), {0, 0, 0, 0, true, 0, 0, 0}},
      {"report rate above 3 is held at 3", Block({{15, 4}}), {0, 0, 0, 0, false, 0, 0, 3}},
      {"report rate 255 too", Block({{15, 0xFF}}), {0, 0, 0, 0, false, 0, 0, 3}},
      {"colour choice kept as read", Block({{8, 8}}), {0, 0, 0, 0, false, 0, 8, 0}},
      // Bytes the program never edits must not leak into any field.
      {"reserved, options and tail ignored",
       Block({{9, 1}, {14, 1}, {16, 9}, {34, 9}, {35, 9}, {41, 9}}),
       {0, 0, 0, 0, false, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeBlock(c.block), c.values) << c.what;
}

TEST(LightingBlockTest, FieldAddressIsProfileTimes42PlusOffset) {
  const struct {
    int profile;
    std::size_t offset;
    std::uint16_t address;
  } cases[] = {{0, kOffMode, 0},      {0, kOffReportRate, 15}, {1, kOffMode, 42},
               {1, kOffColour, 47},   {2, kOffBrightness, 85}, {2, kOffUnused, 119}};
  for (const auto& c : cases) {
    EXPECT_EQ(FieldAddress(c.profile, c.offset), c.address) << c.profile << "/" << c.offset;
  }
}

TEST(LightingBlockTest, DefaultBlockBytes) {
  const std::array<std::uint8_t, 35> expected = {18, 5, 3, 0x00, 0xFF, 0xFF, 0x00, 0x00, 8};
  EXPECT_EQ(DefaultBlock(), expected);
}

TEST(LightingBlockTest, DefaultValuesAreTheDecodedDefaultBlock) {
  // Red is R in the low byte.
  const LightingValues expected{18, 5, 3, 0x00, true, 0x0000FF, 8, 0};
  EXPECT_EQ(DefaultValues(), expected);
}

TEST(ModeTableTest, WhatEachModeUsesAndWrites) {
  using D = DirectionLayout;
  using C = ColourGroup;
  const struct {
    int mode;
    bool speed;
    D direction;
    C colour;
    bool choice;
    bool per_key;
    bool writes_multicolour;
  } cases[] = {
      {1, true, D::Set2, C::B, false, false, true},   {2, true, D::Set2, C::B, false, false, true},
      {3, true, D::Set2, C::B, false, false, true},   {4, true, D::None, C::None, false, false, false},
      {5, true, D::None, C::B, false, false, true},   {6, false, D::None, C::A, false, false, false},
      {7, true, D::None, C::B, false, false, true},   {8, true, D::None, C::B, false, false, true},
      {9, true, D::None, C::B, false, false, true},   {10, true, D::None, C::B, false, false, false},
      {11, true, D::None, C::None, false, false, false},
      {12, true, D::Set3, C::None, false, false, false},
      {13, true, D::None, C::B, false, false, true},  {14, true, D::None, C::B, false, false, true},
      {15, true, D::None, C::B, false, false, true},  {16, false, D::None, C::A, false, false, false},
      {17, false, D::None, C::None, true, false, false},
      {18, false, D::Set1, C::None, false, false, false},
      {20, false, D::None, C::None, false, true, false},
  };
  for (const auto& c : cases) {
    const auto t = TraitsOf(c.mode);
    ASSERT_TRUE(t.has_value()) << c.mode;
    EXPECT_EQ(t->mode, c.mode);
    EXPECT_EQ(t->speed, c.speed) << c.mode;
    EXPECT_EQ(t->direction, c.direction) << c.mode;
    EXPECT_EQ(t->colour, c.colour) << c.mode;
    EXPECT_EQ(t->colour_choice, c.choice) << c.mode;
    EXPECT_EQ(t->per_key, c.per_key) << c.mode;
    EXPECT_EQ(t->writes_multicolour, c.writes_multicolour) << c.mode;
  }
}

TEST(ModeTableTest, NumbersOutsideTheTableHaveNoTraits) {
  for (const int mode : {-1, 0, 19, 21, 255, 256, 276}) {
    EXPECT_FALSE(TraitsOf(mode).has_value()) << mode;
  }
}

}  // namespace
}  // namespace vendrel::lighting
