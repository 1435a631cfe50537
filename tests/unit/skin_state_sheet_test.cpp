#include "skin/mask_region.h"
#include "skin/state_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendrel::skin {
namespace {

TEST(ChooseButtonSlot, PriorityIsDisabledPressedHoverSelectedNormal) {
  struct Case {
    ButtonState state;
    ButtonSlot slot;
  };
  const Case cases[] = {
      {{false, false, false, false}, ButtonSlot::Normal},
      {{false, false, false, true}, ButtonSlot::Selected},
      {{false, false, true, true}, ButtonSlot::Hover},
      {{false, true, true, true}, ButtonSlot::Pressed},
      {{true, true, true, true}, ButtonSlot::Disabled},
      {{true, false, false, false}, ButtonSlot::Disabled},
      {{false, true, false, false}, ButtonSlot::Pressed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseButtonSlot(c.state), c.slot)
        << c.state.disabled << c.state.pressed << c.state.hover << c.state.selected;
  }
}

TEST(SlotSheets, LettersNameTheSheetOfEachSlot) {
  using M = MainSheet;
  EXPECT_EQ(SlotSheetsFromLetters("NHPDN"), (SlotSheets{M::Normal, M::Over, M::Down, M::Disable,
                                                         M::Normal}));
  EXPECT_EQ(SlotSheetsFromLetters("NNNNH"), (SlotSheets{M::Normal, M::Normal, M::Normal,
                                                         M::Normal, M::Over}));
  EXPECT_EQ(SlotSheetsFromLetters("NH"), (SlotSheets{M::Normal, M::Over, M::Normal, M::Normal,
                                                      M::Normal}));
}

TEST(SheetSurface, IsTheClientAreaPlusAMargin) {
  EXPECT_EQ(SheetSurfaceSize(900, 400), (SurfaceSize{1000, 500}));
  EXPECT_EQ(SheetSurfaceSize(-5, 0), (SurfaceSize{100, 100}));
}

TEST(CutFromSheet, StaysInsideTheSurface) {
  const SurfaceSize s{1000, 500};
  struct Case {
    int x, y, w, h;
    CutRect cut;
  };
  const Case cases[] = {
      {10, 20, 30, 40, {10, 20, 30, 40}},
      {980, 490, 50, 50, {980, 490, 20, 10}},      // past the right and bottom edges
      {-10, -10, 30, 30, {0, 0, 20, 20}},          // before the left and top edges
      {2000, 10, 30, 30, {1000, 10, 0, 0}},        // wholly outside
      {10, 10, -5, 30, {10, 10, 0, 0}},            // negative size
      {2147483600, 10, 2147483600, 10, {1000, 10, 0, 0}},  // no overflow
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutFromSheet(c.x, c.y, c.w, c.h, s), c.cut) << c.x << "," << c.y;
  }
}

// Masks drawn as text: '#' is a window pixel (any non-white colour), '.' is white.
std::vector<MaskRun> RunsOf(const std::vector<std::string>& rows, std::uint32_t ink = 0x000000) {
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows[0].size()) : 0;
  return MaskRuns(width, height, [&](int x, int y) {
    return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#' ? ink : 0xFFFFFFu;
  });
}

TEST(MaskRuns, CollectsHorizontalRunsOfNonWhitePixels) {
  EXPECT_EQ(RunsOf({"..##..#", "#######", "......."}),
            (std::vector<MaskRun>{{0, 2, 4}, {0, 6, 7}, {1, 0, 7}}));
}

TEST(MaskRuns, OnlyExactWhiteIsCutAway) {
  // Nearly white pixels belong to the window; the alpha byte of a pixel does not matter.
  EXPECT_EQ(RunsOf({"#.#"}, 0xFFFFFE), (std::vector<MaskRun>{{0, 0, 1}, {0, 2, 3}}));
  EXPECT_EQ(RunsOf({"#.#"}, 0xFEFFFF), (std::vector<MaskRun>{{0, 0, 1}, {0, 2, 3}}));
  const auto with_alpha = MaskRuns(2, 1, [](int x, int) { return x == 0 ? 0xFFFFFFFFu : 0x00u; });
  EXPECT_EQ(with_alpha, (std::vector<MaskRun>{{0, 1, 2}}));
}

TEST(MaskRuns, AllWhiteOrEmptyMaskGivesNoRuns) {
  EXPECT_TRUE(RunsOf({"....", "...."}).empty());
  EXPECT_TRUE(RunsOf({}).empty());
}

TEST(RegionPieces, CutsRunsInto2000PerPieceWithoutLosingAny) {
  for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{1999},
                                  std::size_t{2000}, std::size_t{2001}, std::size_t{4500}}) {
    std::vector<MaskRun> runs(count);
    for (std::size_t i = 0; i < count; ++i) runs[i] = {static_cast<int>(i), 0, 1};
    const auto pieces = RegionPieces(runs);
    EXPECT_EQ(pieces.size(), (count + kRunsPerPiece - 1) / kRunsPerPiece) << count;
    std::size_t seen = 0;
    for (const auto& piece : pieces) {
      EXPECT_LE(piece.size(), kRunsPerPiece);
      for (const MaskRun& run : piece) EXPECT_EQ(run.y, static_cast<int>(seen++));
    }
    EXPECT_EQ(seen, count);
  }
}

}  // namespace
}  // namespace vendrel::skin
