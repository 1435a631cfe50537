#include "skin/mask_region.h"

#include <algorithm>

namespace vendrel::skin {

std::vector<MaskRun> MaskRuns(int width, int height,
                              const std::function<std::uint32_t(int x, int y)>& pixel) {
  std::vector<MaskRun> runs;
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < width) {
      while (x < width && (pixel(x, y) & 0xFFFFFF) == kMaskWhite) ++x;
      if (x >= width) break;
      const int left = x;
      while (x < width && (pixel(x, y) & 0xFFFFFF) != kMaskWhite) ++x;
      runs.push_back({y, left, x});
    }
  }
  return runs;
}

std::vector<std::span<const MaskRun>> RegionPieces(std::span<const MaskRun> runs) {
  std::vector<std::span<const MaskRun>> pieces;
  for (std::size_t start = 0; start < runs.size(); start += kRunsPerPiece) {
    pieces.push_back(runs.subspan(start, std::min(kRunsPerPiece, runs.size() - start)));
  }
  return pieces;
}

}  // namespace vendrel::skin
