#include "control_logic/cell_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace vendrel::control_logic {
namespace {

int Saturate(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

}  // namespace

int ColumnAt(std::span<const int> widths, int x) {
  if (x < 0) return -1;
  std::int64_t left = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const std::int64_t right = left + std::max(widths[i], 0);
    if (x < right) return static_cast<int>(i);
    left = right;
  }
  return -1;
}

Span ColumnSpan(std::span<const int> widths, int column) {
  std::int64_t left = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const std::int64_t right = left + std::max(widths[i], 0);
    if (static_cast<std::int64_t>(i) == column) return {Saturate(left), Saturate(right)};
    left = right;
  }
  return {Saturate(left), Saturate(left)};
}

int ScrollToShow(Span seen, int view_width) {
  const std::int64_t view = std::max(view_width, 0);
  std::int64_t scroll = 0;
  if (seen.left < 0 || seen.Width() > view) {
    scroll = seen.left;
  } else if (seen.right > view) {
    scroll = static_cast<std::int64_t>(seen.right) - view;
  }
  return Saturate(scroll);
}

Span ClampToView(Span seen, int view_width) {
  const int view = std::max(view_width, 0);
  const int left = std::clamp(seen.left, 0, view);
  const int right = std::clamp(seen.right, left, view);
  return {left, right};
}

}  // namespace vendrel::control_logic
