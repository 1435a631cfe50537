#include "device/check_value.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "device/descriptors.h"

namespace vendrel::device {
namespace {

TEST(SubstitutionTable, IsAPermutationThatMovesBytes) {
  std::vector<std::uint8_t> sorted(SubstitutionTable().begin(), SubstitutionTable().end());
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::uint8_t> identity(256);
  std::iota(identity.begin(), identity.end(), std::uint8_t{0});
  EXPECT_EQ(sorted, identity);
  const auto& t = SubstitutionTable();
  int fixed = 0;
  for (unsigned i = 0; i < 256; ++i) fixed += t[i] == i ? 1 : 0;
  EXPECT_LT(fixed, 8) << "a table close to the identity checks nothing";
  // Our Quorva.dll holds the same table: a changed entry breaks every call.
  EXPECT_EQ(t[0x00], 0x61);
  EXPECT_EQ(t[0x01], 0xB8);
  EXPECT_EQ(t[0x02], 0xD7);
  EXPECT_EQ(t[0xFF], 0xCA);
}

// Every byte passed enters the check value: descriptor, callback address, tag, data. The expected
// values were summed once outside this program, byte by byte in the order the library sums them.
struct CheckCase {
  const char* name;
  Descriptor descriptor;
  std::uint32_t callback;
  Tag tag;
  std::vector<std::uint8_t> data;
  std::uint32_t expected;
};

class CheckValues : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckValues, SumTableEntriesOfEveryByte) {
  const CheckCase& c = GetParam();
  EXPECT_EQ(CheckValue(c.descriptor, c.callback, c.tag, c.data), c.expected);
}

const std::vector<std::uint8_t> kCtrlBytes{0x0F, 0x00, 0x00, 0x00, 0x7C, 0x3A, 0x15, 0x0B,
                                           0x1C, 0xFF, 0x92, 0x00, 0x00, 0x00, 0x00, 0x00};
const std::vector<std::uint8_t> kLedBytes{0x0F, 0x00, 0x00, 0x00, 0x7C, 0x3A, 0x15, 0x0B,
                                          0x08, 0x00, 0x89, 0x00, 0x00, 0x00, 0x00, 0x00};

INSTANTIATE_TEST_SUITE_P(
    Calls, CheckValues,
    ::testing::Values(
        // 'CTRL' descriptor, then eight zero bytes (no callback, tag 0).
        CheckCase{"PresenceCount", kCtrlDescriptor, 0, 0, {}, 0x9E6},
        // 'CONS' descriptor, callback 40 23 01 10, tag 53 4E 4F 43.
        CheckCase{"RegisterCons", kConsDescriptor, 0x10012340, kTagCons, {}, 0xAD7},
        // 'LED' descriptor, callback 00 10 40 00, tag 44 45 4C 00, data 05 03.
        CheckCase{"BankWrite", kLedDescriptor, 0x00401000, kTagLed, {0x05, 0x03}, 0xBC7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckValue, ChangesWhenAnyPartChanges) {
  const std::vector<std::uint8_t> data{1, 2, 3};
  const std::uint32_t base = CheckValue(kCtrlDescriptor, 0x1000, kTagCtrl, data);
  EXPECT_NE(CheckValue(kConsDescriptor, 0x1000, kTagCtrl, data), base);
  EXPECT_NE(CheckValue(kCtrlDescriptor, 0x1001, kTagCtrl, data), base);
  EXPECT_NE(CheckValue(kCtrlDescriptor, 0x1000, kTagCons, data), base);
  EXPECT_NE(CheckValue(kCtrlDescriptor, 0x1000, kTagCtrl, std::vector<std::uint8_t>{1, 2, 4}), base);
  EXPECT_NE(CheckValue(kCtrlDescriptor, 0x1000, kTagCtrl, std::vector<std::uint8_t>{1, 2, 3, 0}), base)
      << "a zero byte still counts";
}

TEST(Descriptors, TagsAndLayoutAreLittleEndianFieldByField) {
  EXPECT_EQ(kTagCons, 0x434F4E53u);
  EXPECT_EQ(kTagCtrl, 0x4354524Cu);
  EXPECT_EQ(kTagLed, 0x004C4544u);
  EXPECT_EQ(std::vector<std::uint8_t>(kCtrlDescriptor.begin(), kCtrlDescriptor.end()), kCtrlBytes);
  EXPECT_EQ(std::vector<std::uint8_t>(kLedDescriptor.begin(), kLedDescriptor.end()), kLedBytes);
  EXPECT_EQ(DescriptorWord(kConsDescriptor, kDescOffUsagePage), 0x000C);
  EXPECT_EQ(DescriptorWord(kConsDescriptor, kDescOffUsage), 0x0001);
}

}  // namespace
}  // namespace vendrel::device
