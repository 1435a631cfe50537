#include "device/hid_event_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "device/descriptors.h"
#include "device/hid_records.h"

namespace vendrel::device {
namespace {

namespace rec = records;

// The library's memory as 32-bit addresses, each naming one buffer of this test.
struct LibraryMemory {
  std::map<std::uint32_t, std::vector<std::uint8_t>> blocks;

  std::uint32_t Place(std::uint32_t address, std::vector<std::uint8_t> bytes) {
    blocks[address] = std::move(bytes);
    return address;
  }
  AddressResolver Resolver() const {
    return [this](std::uint32_t address) -> const std::uint8_t* {
      const auto it = blocks.find(address);
      return it == blocks.end() ? nullptr : it->second.data();
    };
  }
};

std::vector<std::uint8_t> Record(std::size_t size,
                                 std::initializer_list<std::pair<std::size_t, std::uint32_t>> fields) {
  std::vector<std::uint8_t> r(size, 0);
  for (const auto& [offset, value] : fields) rec::PutU32(r.data(), offset, value);
  return r;
}

// A 'CONS' report carries its event code; the unit's count field belongs to 'CTRL' data only, so
// whatever it holds (0, a large value) the program reads the code's two bytes and no more.
struct ConsCase {
  const char* name;
  std::uint32_t unit_count;
};

class ConsReports : public ::testing::TestWithParam<ConsCase> {};

TEST_P(ConsReports, ReadOnlyTheEventCodeWhateverTheUnitCountSays) {
  LibraryMemory memory;
  memory.Place(0x3000, {0x11, 0x18});  // event code 0x1811, and nothing after it
  memory.Place(0x2000, Record(rec::kInputSize, {{rec::kInputOffReport, 0x3000}}));
  memory.Place(0x1000, Record(rec::kUnitSize, {{rec::kUnitOffTag, kTagCons},
                                               {rec::kUnitOffCount, GetParam().unit_count},
                                               {rec::kUnitOffInput, 0x2000}}));
  const auto event_record = Record(rec::kEventSize, {{rec::kEventOffKind, kEventDataArrived},
                                                     {rec::kEventOffUnit, 0x1000}});
  HidEvent event;
  ASSERT_TRUE(DecodeHidEvent(event_record.data(), memory.Resolver(), event));
  EXPECT_EQ(event.tag, kTagCons);
  ASSERT_EQ(event.report.size(), 2u);
  EXPECT_EQ(event.report.data(), memory.blocks[0x3000].data());
}

INSTANTIATE_TEST_SUITE_P(UnitCounts, ConsReports,
                         ::testing::Values(ConsCase{"Zero", 0}, ConsCase{"One", 1},
                                           ConsCase{"Large", 0x10000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ControlReports, TakeTheLengthTheUnitRecordGives) {
  LibraryMemory memory;
  memory.Place(0x3000, std::vector<std::uint8_t>(64, 0x04));
  memory.Place(0x1000, Record(rec::kUnitSize, {{rec::kUnitOffTag, kTagCtrl},
                                               {rec::kUnitOffCount, 64},
                                               {rec::kUnitOffReport, 0x3000}}));
  const auto event_record = Record(rec::kEventSize, {{rec::kEventOffKind, kEventDataArrived},
                                                     {rec::kEventOffUnit, 0x1000}});
  HidEvent event;
  ASSERT_TRUE(DecodeHidEvent(event_record.data(), memory.Resolver(), event));
  EXPECT_EQ(event.report.size(), 64u);
}

// Records that point nowhere are refused rather than read.
struct BrokenCase {
  const char* name;
  Tag tag;
  std::uint32_t input;   // 0: no input record
  std::uint32_t report;  // 0: no report bytes
};

class BrokenRecords : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenRecords, AreRefused) {
  const BrokenCase& c = GetParam();
  LibraryMemory memory;
  if (c.report != 0) memory.Place(c.report, {0x01, 0x04});
  if (c.input != 0) memory.Place(c.input, Record(rec::kInputSize, {{rec::kInputOffReport, 0x3000}}));
  memory.Place(0x1000, Record(rec::kUnitSize, {{rec::kUnitOffTag, c.tag},
                                               {rec::kUnitOffCount, 2},
                                               {rec::kUnitOffInput, c.input},
                                               {rec::kUnitOffReport, 0x3000}}));
  const auto event_record = Record(rec::kEventSize, {{rec::kEventOffKind, kEventDataArrived},
                                                     {rec::kEventOffUnit, 0x1000}});
  HidEvent event;
  EXPECT_FALSE(DecodeHidEvent(event_record.data(), memory.Resolver(), event));
  EXPECT_FALSE(DecodeHidEvent(nullptr, memory.Resolver(), event));
}

INSTANTIATE_TEST_SUITE_P(Records, BrokenRecords,
                         ::testing::Values(BrokenCase{"ConsWithoutInput", kTagCons, 0, 0x3000},
                                           BrokenCase{"ConsWithoutReport", kTagCons, 0x2000, 0},
                                           BrokenCase{"CtrlWithoutReport", kTagCtrl, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vendrel::device
