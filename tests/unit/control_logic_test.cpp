#include "control_logic/cell_editor_input.h"
#include "control_logic/cell_geometry.h"
#include "control_logic/suppress_guard.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace vendrel::control_logic {
namespace {

// The macro editor's action list: key, kind, delay.
const std::vector<int> kActionColumns{68, 45, 70};

TEST(ColumnAt, FindsTheColumnUnderAPointIncludingItsLeftEdgeOnly) {
  struct Case {
    int x;
    int column;
  };
  const Case cases[] = {
      {0, 0},   {67, 0},  {68, 1},  {112, 1}, {113, 2},
      {182, 2}, {183, -1},  // past the last column
      {-1, -1},             // left of the list
      {INT_MAX, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(ColumnAt(kActionColumns, c.x), c.column) << c.x;
}

TEST(ColumnAt, ColumnsWithoutWidthAreNeverHit) {
  const std::vector<int> widths{10, 0, -20, 10};
  EXPECT_EQ(ColumnAt(widths, 9), 0);
  EXPECT_EQ(ColumnAt(widths, 10), 3);
  EXPECT_EQ(ColumnAt(widths, 19), 3);
  EXPECT_EQ(ColumnAt({}, 0), -1);
}

TEST(ColumnSpan, AddsTheWidthsBeforeTheColumn) {
  EXPECT_EQ(ColumnSpan(kActionColumns, 0), (Span{0, 68}));
  EXPECT_EQ(ColumnSpan(kActionColumns, 1), (Span{68, 113}));
  EXPECT_EQ(ColumnSpan(kActionColumns, 2), (Span{113, 183}));
  // A column that does not exist is an empty span at the right end.
  EXPECT_EQ(ColumnSpan(kActionColumns, 3), (Span{183, 183}));
  EXPECT_EQ(ColumnSpan(kActionColumns, -1), (Span{183, 183}));
}

TEST(ColumnSpan, SaturatesInsteadOfWrapping) {
  const std::vector<int> huge{INT_MAX, INT_MAX, 5};
  EXPECT_EQ(ColumnSpan(huge, 2), (Span{INT_MAX, INT_MAX}));
  EXPECT_EQ(ColumnAt(huge, INT_MAX - 1), 0);
}

TEST(ColumnSpanAndColumnAt, AgreeOnEveryPixel) {
  for (int x = 0; x < 183; ++x) {
    const int column = ColumnAt(kActionColumns, x);
    const Span span = ColumnSpan(kActionColumns, column);
    EXPECT_LE(span.left, x);
    EXPECT_LT(x, span.right);
  }
}

TEST(ScrollToShow, BringsTheCellIntoTheView) {
  struct Case {
    Span seen;
    int view;
    int scroll;
  };
  const Case cases[] = {
      {{10, 50}, 100, 0},     // already seen
      {{0, 100}, 100, 0},     // exactly fits
      {{80, 130}, 100, 30},   // past the right edge: its right edge comes in
      {{-20, 30}, 100, -20},  // past the left edge: its left edge comes in
      {{40, 200}, 100, 40},   // wider than the view: its left edge first
      {{-50, 200}, 100, -50},
      {{10, 20}, -5, 10},     // a view without width shows the left edge
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScrollToShow(c.seen, c.view), c.scroll) << c.seen.left << ".." << c.seen.right;
    const Span after{c.seen.left - c.scroll, c.seen.right - c.scroll};
    if (c.seen.Width() <= c.view) {
      EXPECT_GE(after.left, 0);
      EXPECT_LE(after.right, c.view);
    } else {
      EXPECT_EQ(after.left, 0);
    }
  }
}

TEST(ClampToView, KeepsOnlyWhatShows) {
  struct Case {
    Span seen;
    int view;
    Span shown;
  };
  const Case cases[] = {
      {{10, 50}, 100, {10, 50}},
      {{-10, 50}, 100, {0, 50}},
      {{80, 150}, 100, {80, 100}},
      {{120, 150}, 100, {100, 100}},  // wholly right of the view
      {{-50, -10}, 100, {0, 0}},      // wholly left of it
      {{30, 10}, 100, {30, 30}},      // reversed
      {{10, 50}, -1, {0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampToView(c.seen, c.view), c.shown) << c.seen.left << ".." << c.seen.right;
  }
}

TEST(KeepDigits, DropsEverythingButAsciiDigits) {
  struct Case {
    std::u16string_view typed;
    std::u16string_view kept;
  };
  const Case cases[] = {
      {u"12345", u"12345"},
      {u"", u""},
      {u"-12", u"12"},
      {u" 1 2\t3\n", u"123"},
      {u"4e5", u"45"},
      {u"\uFF11\uFF12", u""},  // full-width digits are not read as numbers
      {u"\u0661\u0662", u""},  // nor Arabic-Indic ones
      {u"0x1F", u"01"},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepDigits(c.typed), c.kept);
}

TEST(DropDownSelection, NamesAnEntryOrNone) {
  EXPECT_EQ(ValidSelection(0, 2), 0);
  EXPECT_EQ(ValidSelection(1, 2), 1);
  EXPECT_EQ(ValidSelection(2, 2), -1);
  EXPECT_EQ(ValidSelection(-1, 2), -1);
  EXPECT_EQ(ValidSelection(-7, 2), -1);
  EXPECT_EQ(ValidSelection(0, 0), -1);
}

TEST(DropDownRows, AtLeastOneAndNoMoreThanTheEntries) {
  struct Case {
    int rows, count, shown;
  };
  const Case cases[] = {
      {20, 106, 20},  // the key picker
      {6, 2, 2},      // the kind picker has two entries
      {0, 5, 1},  {-3, 5, 1}, {6, 0, 1}, {6, -1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DropDownRows(c.rows, c.count), c.shown) << c.rows << "/" << c.count;
  }
}

TEST(DropDownHeight, IsTheCellThenTheListWithItsBorder) {
  EXPECT_EQ(DropDownHeight(17, 15, 20, 106), 17 + 20 * 15 + 2);
  EXPECT_EQ(DropDownHeight(17, 15, 6, 2), 17 + 2 * 15 + 2);
  EXPECT_EQ(DropDownHeight(-4, -1, 6, 2), 2);
  EXPECT_EQ(DropDownHeight(INT_MAX, INT_MAX, 20, 106), INT_MAX);
}

TEST(SuppressCount, StaysSuppressedUntilTheOutermostScopeEnds) {
  SuppressCount count;
  EXPECT_FALSE(count.Suppressed());
  {
    auto outer = count.Hold();
    EXPECT_TRUE(count.Suppressed());
    {
      auto inner = count.Hold();
      EXPECT_TRUE(count.Suppressed());
    }
    EXPECT_TRUE(count.Suppressed());
  }
  EXPECT_FALSE(count.Suppressed());
}

}  // namespace
}  // namespace vendrel::control_logic
