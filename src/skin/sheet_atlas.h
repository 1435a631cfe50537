#pragma once
// Which parts of a state sheet are held, and where. A sheet is drawn on a surface the size of the
// client area plus kSheetMargin, black beyond its picture; controls cut their images out of that
// surface. Instead of the whole surface, an atlas holds only the rectangles the controls cut,
// packed in rows, and a plan tells how to draw a cut from it so that the result is the same
// pixels the whole surface would give. Pure geometry: the Win32 side copies as the plan says.
#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "skin/state_sheet.h"

namespace vendrel::skin {

// A rectangle of the picture, held at (x, y) of the atlas.
struct AtlasPiece {
  CutRect source;
  int x = 0;
  int y = 0;
  friend bool operator==(const AtlasPiece&, const AtlasPiece&) = default;
};

// How to draw a control's cut: copy `from` (atlas coordinates, w or h 0 = nothing) to (to_x,
// to_y) of the control, and fill `black` (control coordinates; empty ones skipped), the part of
// the surface beyond the picture. Whatever lies outside the surface is left as it is.
struct SheetDraw {
  CutRect from;
  int to_x = 0;
  int to_y = 0;
  std::array<CutRect, 2> black{};
};

class SheetAtlas {
 public:
  // The picture whole, as one piece at the atlas origin (a sheet held as its decoded picture).
  static SheetAtlas Whole(SurfaceSize picture, SurfaceSize surface);
  // The rectangles that controls cut, in the sheet's coordinates (clipped to the surface here).
  // Never larger than the picture whole: when packing would not save room, the whole is held.
  static SheetAtlas Pack(std::span<const CutRect> cuts, SurfaceSize picture, SurfaceSize surface);

  // The atlas bitmap's size; 0 x 0 when nothing of the picture is needed.
  SurfaceSize Size() const { return size_; }
  const std::vector<AtlasPiece>& Pieces() const { return pieces_; }
  // The plan for the w x h image cut at (x, y) of the sheet. A cut that reaches picture pixels
  // no piece holds copies nothing (no such cut was announced to Pack).
  SheetDraw Plan(int x, int y, int w, int h) const;

 private:
  SheetAtlas(SurfaceSize picture, SurfaceSize surface);

  SurfaceSize surface_;
  SurfaceSize shown_;  // the part of the picture on the surface, from the origin
  SurfaceSize size_;
  std::vector<AtlasPiece> pieces_;
};

}  // namespace vendrel::skin
