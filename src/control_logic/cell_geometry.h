#pragma once
// Where the cells of a report list lie across its width, from the column widths alone: which
// column a point falls in, a column's span, and how far to scroll so that a cell editor opens on
// a cell the user can see. Columns keep their order (no dragging), so widths in order suffice.
#include <span>

namespace vendrel::control_logic {

// A horizontal range [left, right) in list content coordinates.
struct Span {
  int left = 0;
  int right = 0;
  int Width() const { return right - left; }
  friend bool operator==(const Span&, const Span&) = default;
};

// The column under content x, or -1 left of the first column or right of the last one. A
// negative width counts as 0, so such a column is never hit.
int ColumnAt(std::span<const int> widths, int x);

// The span of a column; an empty span at the right end for a column that does not exist.
// Sums saturate rather than wrap.
Span ColumnSpan(std::span<const int> widths, int column);

// The horizontal scroll (positive: content moves left) that brings a span seen at view
// coordinates into a view of the given width: none when it fits already, its left edge first
// when it is wider than the view.
int ScrollToShow(Span seen, int view_width);

// A span limited to the view [0, view_width); empty (left == right) when nothing shows.
Span ClampToView(Span seen, int view_width);

}  // namespace vendrel::control_logic
