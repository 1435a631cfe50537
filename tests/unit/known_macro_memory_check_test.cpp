// A write skips a macro chunk only after reading it back from the keyboard: another writer can put
// a different image there, even one that starts with the same bytes, without the program hearing
// of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "macros/macro_image.h"
#include "sim/model/keyboard_model.h"
#include "support/keyboard_under_write.h"

namespace vendrel::store {
namespace {

// Command codes of the design's command table.
constexpr std::uint8_t kBegin = 0x01;
constexpr std::uint8_t kEnd = 0x02;
constexpr std::uint8_t kWriteKeyMap = 0x08;
constexpr std::uint8_t kReadMacro = 0x09;
constexpr std::uint8_t kWriteMacro = 0x0A;
constexpr std::size_t kChunk = 56;

std::size_t Count(const std::vector<std::uint8_t>& codes, std::uint8_t code) {
  return static_cast<std::size_t>(std::count(codes.begin(), codes.end(), code));
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

void EditOneKey(WorkingStore& working) {
  WriteAssignment(working, 1, 0x1F, {keys::AssignmentType::Key, 0, 0x030});
}

// The cost of the check: a one-key Apply reads every chunk of the image once, before the bracket,
// and the bracket holds only the key map.
TEST(KnownMacroMemoryCheck, AOneKeyApplyReadsEachSkippedChunkOutsideTheBracket) {
  testing::KeyboardUnderWrite k;
  ASSERT_TRUE(k.Write().Whole());
  const std::vector<std::uint8_t> memory = k.Area(sim::Area::Macro);
  const std::size_t chunks = (U16(memory, 2) + kChunk - 1) / kChunk;  // the image's total size
  ASSERT_GT(chunks, 10u);

  EditOneKey(k.working);
  const std::size_t from = k.PacketsSent();
  ASSERT_TRUE(k.Write(false).Whole());
  std::vector<std::uint8_t> expected(chunks, kReadMacro);
  expected.push_back(kBegin);
  expected.insert(expected.end(), 7, kWriteKeyMap);
  expected.push_back(kEnd);
  const std::vector<std::uint8_t> sent = k.CommandsSentSince(from);
  // The active profile is read once before the write; it is no part of the check.
  ASSERT_GE(sent.size(), expected.size());
  EXPECT_TRUE(std::equal(expected.rbegin(), expected.rend(), sent.rbegin()));
  EXPECT_EQ(Count(sent, kReadMacro), chunks);
}

struct PlantCase {
  const char* name;
  int chunk;  // the chunk of the planted image that differs; -1 for the last
};

class PlantedImage : public ::testing::TestWithParam<PlantCase> {};

// The image with the delay of the first action whose control word lies in chunk changed by one
// unit: still a valid image, the same in every other byte. Blocks follow the 16-byte header and
// the offset table; actions start 4 bytes into a block, 4 bytes each.
std::vector<std::uint8_t> WithDelayChangedIn(std::vector<std::uint8_t> image, std::size_t chunk) {
  const std::size_t count = U16(image, 4);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t block = U16(image, 16 + 2 * i);
    for (std::size_t a = 0; a < U16(image, block); ++a) {
      const std::size_t control = block + 4 + 4 * a;
      if (control >= chunk * kChunk && control + 1 < (chunk + 1) * kChunk) {
        ++image[control];
        return image;
      }
    }
  }
  ADD_FAILURE() << "no action starts in chunk " << chunk;
  return image;
}

// Another writer puts a valid image that matches the known one but in one chunk; the next Apply
// of a one-key change still leaves the user's macros on the keyboard.
TEST_P(PlantedImage, IsOverwrittenByTheNextApply) {
  testing::KeyboardUnderWrite k;
  ASSERT_TRUE(k.Write().Whole());
  const std::vector<std::uint8_t> memory = k.Area(sim::Area::Macro);
  const std::vector<std::uint8_t> users(memory.begin(), memory.begin() + U16(memory, 2));
  const std::size_t chunks = (users.size() + kChunk - 1) / kChunk;
  const std::size_t chunk = GetParam().chunk < 0 ? chunks - 1 : static_cast<std::size_t>(GetParam().chunk);

  const std::vector<std::uint8_t> planted = WithDelayChangedIn(users, chunk);
  ASSERT_EQ(macros::CheckMacroImage(planted), macros::MacroImageCheck::Whole);
  ASSERT_NE(planted, users);
  k.rig.library.WithModel([&](sim::KeyboardModel& m) { return m.WriteArea(sim::Area::Macro, 0, planted); });

  EditOneKey(k.working);
  const std::size_t from = k.PacketsSent();
  ASSERT_TRUE(k.Write(false).Whole());

  const std::vector<std::uint8_t> now = k.Area(sim::Area::Macro);
  EXPECT_TRUE(std::equal(users.begin(), users.end(), now.begin())) << "the keyboard kept the planted macros";
  EXPECT_GT(Count(k.CommandsSentSince(from), kWriteMacro), 0u);
}

INSTANTIATE_TEST_SUITE_P(Chunks, PlantedImage,
                         ::testing::Values(PlantCase{"SecondChunk", 1},
                                           PlantCase{"MiddleChunk", 7},
                                           PlantCase{"LastChunk", -1}),
                         [](const ::testing::TestParamInfo<PlantCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace vendrel::store
