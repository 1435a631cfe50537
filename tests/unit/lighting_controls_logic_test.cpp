#include "control_logic/palette_geometry.h"
#include "control_logic/slider_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <set>

namespace vendrel::control_logic {

void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const Rect& r, std::ostream* out) {
  *out << "[" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

// The panel's sliders: six positions.
constexpr SliderRange kSixSteps{0, 5};

TEST(SliderPositionAt, MapsTheWidthOntoTheRangeRoundingHalvesUp) {
  struct Case {
    int x;
    int width;
    SliderRange range;
    int position;
  };
  const Case cases[] = {
      // 101 px: every 20 px one step, the change half-way between.
      {0, 101, kSixSteps, 0},
      {9, 101, kSixSteps, 0},     // 0.45
      {10, 101, kSixSteps, 1},    // 0.5 rounds up
      {29, 101, kSixSteps, 1},    // 1.45
      {30, 101, kSixSteps, 2},    // 1.5
      {89, 101, kSixSteps, 4},    // 4.45
      {90, 101, kSixSteps, 5},    // 4.5
      {100, 101, kSixSteps, 5},   // the right pixel is the maximum
      // Pointers beyond the slider (a captured drag) give its ends.
      {-1, 101, kSixSteps, 0},
      {101, 101, kSixSteps, 5},
      {INT_MIN, 101, kSixSteps, 0},
      {INT_MAX, 101, kSixSteps, 5},
      // A range away from zero, one pixel per step.
      {0, 7, {-3, 3}, -3},
      {4, 7, {-3, 3}, 1},
      {6, 7, {6, 11}, 11},
      // Sliders without a width to spread over stay at their minimum.
      {0, 1, kSixSteps, 0},
      {50, 0, {2, 5}, 2},
      {50, -40, {2, 5}, 2},
      // A maximum below the minimum leaves the minimum only.
      {50, 101, {5, 0}, 5},
      // The whole of int as range: no overflow on the way.
      {0, 3, {INT_MIN, INT_MAX}, INT_MIN},
      {1, 3, {INT_MIN, INT_MAX}, 0},  // 2^32 - 1 halved rounds up
      {2, 3, {INT_MIN, INT_MAX}, INT_MAX},
      {INT_MAX - 1, INT_MAX, {INT_MIN, INT_MAX}, INT_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SliderPositionAt(c.x, c.width, c.range), c.position)
        << "x " << c.x << " width " << c.width << " range " << c.range.min << ".." << c.range.max;
  }
}

TEST(SliderPositionAt, ReachesEveryPositionInOrderAcrossAnyWidth) {
  for (const int width : {2, 6, 7, 37, 240}) {
    int previous = kSixSteps.min;
    std::set<int> seen;
    for (int x = 0; x < width; ++x) {
      const int position = SliderPositionAt(x, width, kSixSteps);
      EXPECT_GE(position, previous) << "width " << width << " x " << x;
      previous = position;
      seen.insert(position);
    }
    EXPECT_EQ(SliderPositionAt(0, width, kSixSteps), kSixSteps.min) << width;
    EXPECT_EQ(SliderPositionAt(width - 1, width, kSixSteps), kSixSteps.max) << width;
    if (width >= 6) EXPECT_EQ(seen.size(), 6u) << "width " << width;
  }
}

TEST(ClampToRange, KeepsPositionsWithinTheRange) {
  struct Case {
    int position;
    SliderRange range;
    int clamped;
  };
  const Case cases[] = {
      {3, kSixSteps, 3},   {-1, kSixSteps, 0},       {6, kSixSteps, 5},
      {INT_MIN, kSixSteps, 0}, {INT_MAX, kSixSteps, 5}, {7, {5, 0}, 5},
      {-7, {5, 0}, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampToRange(c.position, c.range), c.clamped) << c.position;
  }
}

TEST(SliderPositionAfterKey, StepsByLineOrPageAndStopsAtTheEnds) {
  struct Case {
    SliderKey key;
    int position;
    SliderRange range;
    int page;
    int after;
  };
  const Case cases[] = {
      {SliderKey::Left, 2, kSixSteps, 10, 1},
      {SliderKey::Down, 2, kSixSteps, 10, 1},
      {SliderKey::Right, 2, kSixSteps, 10, 3},
      {SliderKey::Up, 2, kSixSteps, 10, 3},
      {SliderKey::Home, 3, kSixSteps, 10, 0},
      {SliderKey::End, 3, kSixSteps, 10, 5},
      // The panel's page of 10 is larger than the range: a page reaches an end.
      {SliderKey::PageUp, 2, kSixSteps, 10, 5},
      {SliderKey::PageDown, 2, kSixSteps, 10, 0},
      {SliderKey::PageUp, 1, kSixSteps, 2, 3},
      {SliderKey::PageDown, 4, kSixSteps, 2, 2},
      // A page below 1 still moves one step.
      {SliderKey::PageUp, 1, kSixSteps, 0, 2},
      {SliderKey::PageDown, 1, kSixSteps, -4, 0},
      // At the ends lines stop there.
      {SliderKey::Left, 0, kSixSteps, 10, 0},
      {SliderKey::Right, 5, kSixSteps, 10, 5},
      // A position outside the range is brought in before the step.
      {SliderKey::Left, 9, kSixSteps, 10, 4},
      {SliderKey::Right, -3, kSixSteps, 10, 1},
      // No wrap with pages and positions at the edges of int.
      {SliderKey::PageUp, INT_MAX - 1, {0, INT_MAX}, INT_MAX, INT_MAX},
      {SliderKey::PageDown, INT_MIN + 1, {INT_MIN, 0}, INT_MAX, INT_MIN},
      {SliderKey::Up, INT_MAX, {0, INT_MAX}, 1, INT_MAX},
      {SliderKey::End, 0, {5, 0}, 1, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SliderPositionAfterKey(c.key, c.position, c.range, c.page), c.after)
        << "key " << static_cast<int>(c.key) << " from " << c.position << " page " << c.page;
  }
}

// Where the header promises cell k lies: scenarios click there.
Rect DocumentedCell(int k) {
  const int left = kPaletteMargin + (k % kPaletteColumns) * kPaletteCellSize;
  const int top = kPaletteMargin + (k / kPaletteColumns) * kPaletteCellSize;
  return {left, top, left + kPaletteCellSize, top + kPaletteCellSize};
}

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST(PaletteGeometry, EveryCellLiesWhereDocumentedAndIsHitOverItsWholeArea) {
  for (int k = 0; k < kPaletteCellCount; ++k) {
    const Rect cell = PaletteCellRect(k);
    EXPECT_EQ(cell, DocumentedCell(k)) << k;
    EXPECT_EQ(PaletteItemAt(Centre(cell)), k) << k;
    EXPECT_EQ(PaletteItemAt({cell.left, cell.top}), k) << k;
    EXPECT_EQ(PaletteItemAt({cell.right - 1, cell.bottom - 1}), k) << k;
    EXPECT_EQ(PaletteItemAt({cell.right - 1, cell.top}), k) << k;
    EXPECT_EQ(PaletteItemAt({cell.left, cell.bottom - 1}), k) << k;
  }
}

TEST(PaletteGeometry, CellsThatAreNoCellHaveNoArea) {
  for (const int k : {-1, kPaletteCellCount, kPaletteOther + 1, INT_MIN, INT_MAX}) {
    EXPECT_TRUE(PaletteCellRect(k).Empty()) << k;
  }
}

TEST(PaletteGeometry, TheOtherRowLiesBelowTheGridAcrossItsWidth) {
  const Rect other = PaletteOtherRect();
  const Rect first = PaletteCellRect(0);
  const Rect last_of_first_row = PaletteCellRect(kPaletteColumns - 1);
  const Rect last = PaletteCellRect(kPaletteCellCount - 1);
  EXPECT_EQ(other.left, first.left);
  EXPECT_EQ(other.right, last_of_first_row.right);
  EXPECT_EQ(other.top, last.bottom + kPaletteOtherGap);
  EXPECT_EQ(other.bottom - other.top, kPaletteOtherHeight);
  for (const Point p : {Centre(other), Point{other.left, other.top},
                        Point{other.right - 1, other.bottom - 1}}) {
    EXPECT_EQ(PaletteItemAt(p), kPaletteOther) << p.x << "," << p.y;
  }
  const Size size = PaletteSize();
  EXPECT_EQ(size.width, other.right + kPaletteMargin);
  EXPECT_EQ(size.height, other.bottom + kPaletteMargin);
}

TEST(PaletteGeometry, MarginsGapAndOutsideHitNothing) {
  const Size size = PaletteSize();
  const Rect other = PaletteOtherRect();
  const Point nowhere[] = {
      {0, 0},
      {kPaletteMargin - 1, kPaletteMargin},                // left margin
      {kPaletteMargin, kPaletteMargin - 1},                // top margin
      {other.right, kPaletteMargin},                       // right margin
      {kPaletteMargin, other.top - 1},                     // gap above the row
      {kPaletteMargin, other.bottom},                      // bottom margin
      {size.width - 1, size.height - 1},
      {-1, -1},
      {size.width, 5},
      {INT_MIN, INT_MIN},
      {INT_MAX, INT_MAX},
  };
  for (const Point p : nowhere) EXPECT_EQ(PaletteItemAt(p), kPaletteNone) << p.x << "," << p.y;
}

TEST(PaletteColours, AreDistinctRgbValuesWithThePrimariesAmongThem) {
  const std::set<std::uint32_t> distinct(kPaletteColours.begin(), kPaletteColours.end());
  EXPECT_EQ(distinct.size(), kPaletteColours.size());
  for (int k = 0; k < kPaletteCellCount; ++k) {
    const std::uint32_t colour = kPaletteColours[static_cast<std::size_t>(k)];
    EXPECT_EQ(colour >> 24, 0u) << k;  // COLORREF: the top byte is not a colour
    EXPECT_EQ(PaletteIndexOf(colour), k) << k;
  }
  // Red in the low byte, blue in the third.
  EXPECT_EQ(PaletteRgb(0x12, 0x34, 0x56), 0x563412u);
  for (const std::uint32_t wanted : {PaletteRgb(255, 0, 0), PaletteRgb(0, 255, 0),
                                     PaletteRgb(0, 0, 255), PaletteRgb(255, 255, 255),
                                     PaletteRgb(0, 0, 0)}) {
    EXPECT_NE(PaletteIndexOf(wanted), kPaletteNone) << std::hex << wanted;
  }
  EXPECT_EQ(PaletteIndexOf(PaletteRgb(1, 2, 3)), kPaletteNone);
  EXPECT_EQ(PaletteIndexOf(0xFF0000FFu), kPaletteNone);  // red with a stray top byte
}

TEST(PaletteMove, MovesTheHighlightAlongRowsAndColumnsToTheOtherRow) {
  constexpr int kLastRowStart = (kPaletteRows - 1) * kPaletteColumns;
  struct Case {
    int item;
    PaletteKey key;
    int after;
  };
  const Case cases[] = {
      {0, PaletteKey::Right, 1},
      {1, PaletteKey::Left, 0},
      {0, PaletteKey::Left, 0},  // no wrap into the row above
      {kPaletteColumns - 1, PaletteKey::Right, kPaletteColumns - 1},
      {kPaletteColumns, PaletteKey::Left, kPaletteColumns},
      {2, PaletteKey::Down, 2 + kPaletteColumns},
      {2 + kPaletteColumns, PaletteKey::Up, 2},
      {3, PaletteKey::Up, 3},
      {kLastRowStart + 3, PaletteKey::Down, kPaletteOther},
      {kPaletteOther, PaletteKey::Up, kLastRowStart},
      {kPaletteOther, PaletteKey::Down, kPaletteOther},
      {kPaletteOther, PaletteKey::Left, kPaletteOther},
      {kPaletteOther, PaletteKey::Right, kPaletteOther},
      {7, PaletteKey::Home, 0},
      {kPaletteOther, PaletteKey::End, kPaletteCellCount - 1},
      // Nothing highlighted yet, or a stray value: the first cell.
      {kPaletteNone, PaletteKey::Down, 0},
      {kPaletteOther + 1, PaletteKey::Left, 0},
      {INT_MIN, PaletteKey::Up, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PaletteMove(c.item, c.key), c.after)
        << "from " << c.item << " key " << static_cast<int>(c.key);
  }
}

TEST(PaletteMove, NeverLeavesTheItems) {
  for (int item = kPaletteNone; item <= kPaletteOther; ++item) {
    for (const PaletteKey key : {PaletteKey::Left, PaletteKey::Right, PaletteKey::Up,
                                 PaletteKey::Down, PaletteKey::Home, PaletteKey::End}) {
      const int after = PaletteMove(item, key);
      EXPECT_TRUE(after == kPaletteOther || !PaletteCellRect(after).Empty())
          << item << " key " << static_cast<int>(key) << " gave " << after;
    }
  }
}

TEST(PalettePlacement, OpensBelowTheButtonAndStaysOnTheWorkArea) {
  const Size popup = PaletteSize();
  const Rect screen{0, 0, 1024, 768};
  struct Case {
    const char* what;
    Rect button;
    Rect work;
    Point at;
  };
  const Case cases[] = {
      {"room below", {100, 200, 140, 220}, screen, {100, 220}},
      {"touching the bottom", {100, 700, 140, 768 - popup.height}, screen,
       {100, 768 - popup.height}},
      {"no room below: above", {100, 700, 140, 720}, screen, {100, 700 - popup.height}},
      {"right edge: moved left", {1000, 200, 1020, 220}, screen, {1024 - popup.width, 220}},
      {"left of the work area: moved right", {-30, 200, 10, 220}, screen, {0, 220}},
      {"work area not at the origin", {-1500, 300, -1460, 320}, {-1600, 0, -1400, 340},
       {-1400 - popup.width, 300 - popup.height}},
      {"room nowhere: kept inside", {100, 10, 140, 30}, {0, 0, 1024, 40}, {100, 0}},
      {"no work area known", {2000, 3000, 2040, 3020}, {}, {2000, 3020}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PalettePlacement(c.button, popup, c.work), c.at) << c.what;
  }
}

}  // namespace
}  // namespace vendrel::control_logic
