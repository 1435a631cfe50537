#include "skin/sheet_atlas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vendrel::skin {
namespace {

bool Empty(const CutRect& r) { return r.w <= 0 || r.h <= 0; }

CutRect Intersect(const CutRect& a, const CutRect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.w, b.x + b.w);
  const int bottom = std::min(a.y + a.h, b.y + b.h);
  if (right <= left || bottom <= top) return {left, top, 0, 0};
  return {left, top, right - left, bottom - top};
}

bool Contains(const CutRect& outer, const CutRect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

std::int64_t Area(const CutRect& r) { return static_cast<std::int64_t>(r.w) * r.h; }
std::int64_t Area(SurfaceSize s) { return static_cast<std::int64_t>(s.width) * s.height; }

}  // namespace

SheetAtlas::SheetAtlas(SurfaceSize picture, SurfaceSize surface)
    : surface_{std::max(surface.width, 0), std::max(surface.height, 0)},
      shown_{std::clamp(picture.width, 0, surface_.width),
             std::clamp(picture.height, 0, surface_.height)} {}

SheetAtlas SheetAtlas::Whole(SurfaceSize picture, SurfaceSize surface) {
  SheetAtlas atlas(picture, surface);
  const CutRect all{0, 0, atlas.shown_.width, atlas.shown_.height};
  if (!Empty(all)) {
    atlas.pieces_.push_back({all, 0, 0});
    atlas.size_ = atlas.shown_;
  }
  return atlas;
}

SheetAtlas SheetAtlas::Pack(std::span<const CutRect> cuts, SurfaceSize picture,
                            SurfaceSize surface) {
  SheetAtlas atlas(picture, surface);
  const CutRect shown{0, 0, atlas.shown_.width, atlas.shown_.height};

  // The picture part of each cut; a rectangle inside another one needs no room of its own.
  std::vector<CutRect> needed;
  for (const CutRect& cut : cuts) {
    const CutRect on_picture = Intersect(CutFromSheet(cut.x, cut.y, cut.w, cut.h, atlas.surface_), shown);
    if (!Empty(on_picture)) needed.push_back(on_picture);
  }
  std::sort(needed.begin(), needed.end(), [](const CutRect& a, const CutRect& b) {
    return Area(a) > Area(b);
  });
  std::vector<CutRect> kept;
  for (const CutRect& r : needed) {
    const bool covered = std::any_of(kept.begin(), kept.end(),
                                     [&](const CutRect& k) { return Contains(k, r); });
    if (!covered) kept.push_back(r);
  }
  if (kept.empty()) return atlas;

  // Rows of pieces, tallest first, in an atlas about as wide as it is high.
  std::stable_sort(kept.begin(), kept.end(),
                   [](const CutRect& a, const CutRect& b) { return a.h > b.h; });
  std::int64_t area = 0;
  int widest = 0;
  for (const CutRect& r : kept) {
    area += Area(r);
    widest = std::max(widest, r.w);
  }
  const int width = std::max(widest, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(area)))));
  int x = 0, y = 0, row_height = 0, used_width = 0;
  for (const CutRect& r : kept) {
    if (x + r.w > width) {
      y += row_height;
      x = 0;
      row_height = 0;
    }
    atlas.pieces_.push_back({r, x, y});
    x += r.w;
    used_width = std::max(used_width, x);
    row_height = std::max(row_height, r.h);
  }
  atlas.size_ = {used_width, y + row_height};
  if (Area(atlas.size_) >= Area(atlas.shown_)) return Whole(picture, surface);
  return atlas;
}

SheetDraw SheetAtlas::Plan(int x, int y, int w, int h) const {
  SheetDraw draw;
  const CutRect on_surface = CutFromSheet(x, y, w, h, surface_);
  if (Empty(on_surface)) return draw;
  // Control coordinates of a sheet point.
  const auto to_control = [&](const CutRect& r) {
    const auto coordinate = [](long long v) {
      return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
    };
    return CutRect{coordinate(static_cast<long long>(r.x) - x),
                   coordinate(static_cast<long long>(r.y) - y), r.w, r.h};
  };

  const CutRect shown{0, 0, shown_.width, shown_.height};
  const CutRect on_picture = Intersect(on_surface, shown);
  if (!Empty(on_picture)) {
    for (const AtlasPiece& piece : pieces_) {
      if (!Contains(piece.source, on_picture)) continue;
      draw.from = {piece.x + on_picture.x - piece.source.x, piece.y + on_picture.y - piece.source.y,
                   on_picture.w, on_picture.h};
      const CutRect to = to_control(on_picture);
      draw.to_x = to.x;
      draw.to_y = to.y;
      break;
    }
  }

  // Beyond the picture: a strip to its right over the whole height, and one below it.
  const int right = on_surface.x + on_surface.w;
  const int bottom = on_surface.y + on_surface.h;
  const int split_x = std::clamp(shown_.width, on_surface.x, right);
  const int split_y = std::clamp(shown_.height, on_surface.y, bottom);
  const CutRect right_strip{split_x, on_surface.y, right - split_x, on_surface.h};
  const CutRect bottom_strip{on_surface.x, split_y, split_x - on_surface.x, bottom - split_y};
  draw.black[0] = Empty(right_strip) ? CutRect{} : to_control(right_strip);
  draw.black[1] = Empty(bottom_strip) ? CutRect{} : to_control(bottom_strip);
  return draw;
}

}  // namespace vendrel::skin
