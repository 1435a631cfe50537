#pragma once
// The colour palette that drops below a colour button: its colours, where each cell and the
// "other" row lie, what lies under a point, how the keyboard moves its highlight and where it
// opens on the screen.
//
// Layout, in pixels from the popup window's top-left (the window has no frame outside this; the
// popup draws its own border inside the margin):
//   cell k (0 <= k < kPaletteCellCount) covers
//     left = kPaletteMargin + (k % kPaletteColumns) * kPaletteCellSize,
//     top  = kPaletteMargin + (k / kPaletteColumns) * kPaletteCellSize,
//     kPaletteCellSize square (click its centre: half a cell right and down of that corner);
//   the "other" row spans the grid's width below it, kPaletteOtherGap lower, kPaletteOtherHeight
//   high;
//   the window is the grid and the row with kPaletteMargin all round (PaletteSize()).
// The popup opens with its top-left at the colour button's bottom-left (screen coordinates),
// unless that would leave the work area (PalettePlacement).
#include <array>
#include <cstdint>

namespace vendrel::control_logic {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// [left, right) x [top, bottom).
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A colour as the Windows COLORREF and the lighting record hold it: R | G << 8 | B << 16.
constexpr std::uint32_t PaletteRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return std::uint32_t{r} | std::uint32_t{g} << 8 | std::uint32_t{b} << 16;
}

// Row 0: the full hues around the wheel; row 1: tints of them, then white and black (a key
// painted black is dark).
inline constexpr std::array<std::uint32_t, 20> kPaletteColours{
    PaletteRgb(255, 0, 0),     PaletteRgb(255, 128, 0),   PaletteRgb(255, 255, 0),
    PaletteRgb(128, 255, 0),   PaletteRgb(0, 255, 0),     PaletteRgb(0, 255, 128),
    PaletteRgb(0, 255, 255),   PaletteRgb(0, 128, 255),   PaletteRgb(0, 0, 255),
    PaletteRgb(128, 0, 255),   PaletteRgb(255, 0, 255),   PaletteRgb(255, 128, 192),
    PaletteRgb(255, 128, 128), PaletteRgb(255, 192, 128), PaletteRgb(255, 255, 128),
    PaletteRgb(128, 255, 128), PaletteRgb(128, 255, 255), PaletteRgb(128, 128, 255),
    PaletteRgb(255, 255, 255), PaletteRgb(0, 0, 0),
};

inline constexpr int kPaletteCellCount = static_cast<int>(kPaletteColours.size());
inline constexpr int kPaletteColumns = 10;
inline constexpr int kPaletteRows = (kPaletteCellCount + kPaletteColumns - 1) / kPaletteColumns;
inline constexpr int kPaletteCellSize = 18;
inline constexpr int kPaletteMargin = 4;
inline constexpr int kPaletteOtherGap = 4;
inline constexpr int kPaletteOtherHeight = 20;

// The items of the palette: cells 0..kPaletteCellCount-1, then the "other" row; none for a point
// on neither.
inline constexpr int kPaletteOther = kPaletteCellCount;
inline constexpr int kPaletteNone = -1;

// The cell's rectangle; empty for an index that is no cell.
Rect PaletteCellRect(int index);
Rect PaletteOtherRect();
Size PaletteSize();

// The item under a point of the popup: a cell index, kPaletteOther or kPaletteNone (margins,
// the gap, outside).
int PaletteItemAt(Point p);

// The cell holding exactly this colour, or kPaletteNone.
int PaletteIndexOf(std::uint32_t colour);

// Keys that move the highlight. Left/Right stay within a row; Down from the last row reaches
// the "other" row and Up from it the first cell of the last row; Home and End go to the first
// and last cell. No highlight (or one that is no item) moves to the first cell.
enum class PaletteKey { Left, Right, Up, Down, Home, End };
int PaletteMove(int item, PaletteKey key);

// The popup's top-left on the screen for a button at `button` (screen coordinates): the button's
// bottom-left; above the button when there is no room below but room above; then moved left or
// right, up or down as little as keeps it inside the work area. An empty work area is ignored.
Point PalettePlacement(Rect button, Size popup, Rect work_area);

}  // namespace vendrel::control_logic
