#pragma once
// A window's shape from its mask picture: every pixel that is not exactly white belongs to the
// window. The shape is a list of one-pixel-high runs, united on the Windows side in pieces.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace vendrel::skin {

inline constexpr std::uint32_t kMaskWhite = 0xFFFFFF;
inline constexpr std::size_t kRunsPerPiece = 2000;

struct MaskRun {
  int y = 0;
  int left = 0;   // first pixel of the run
  int right = 0;  // one past the last pixel
  friend bool operator==(const MaskRun&, const MaskRun&) = default;
};

// pixel(x, y) returns 0xRRGGBB; rows are scanned from the top, each left to right.
std::vector<MaskRun> MaskRuns(int width, int height,
                              const std::function<std::uint32_t(int x, int y)>& pixel);

// The runs cut into pieces of at most kRunsPerPiece, each to become one region piece.
std::vector<std::span<const MaskRun>> RegionPieces(std::span<const MaskRun> runs);

}  // namespace vendrel::skin
