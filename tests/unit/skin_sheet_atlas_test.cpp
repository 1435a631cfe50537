// The atlas of a state sheet against the whole sheet surface it replaces: every cut a control
// makes must come out pixel for pixel as the surface gives it, while far less is held.
#include "skin/sheet_atlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace vendrel::skin {
namespace {

constexpr std::int64_t kUntouched = -1;  // what a control had before the draw
constexpr std::int64_t kBlack = 0;

// A picture pixel that tells where it came from.
std::int64_t PicturePixel(int x, int y) { return 1 + x + static_cast<std::int64_t>(y) * 100003; }

using Image = std::vector<std::vector<std::int64_t>>;

// A negative size is an empty image, as a control of that size would be.
Image Blank(int w, int h, std::int64_t value) {
  return Image(static_cast<std::size_t>(std::max(h, 0)),
               std::vector<std::int64_t>(static_cast<std::size_t>(std::max(w, 0)), value));
}

// The old way: the picture at the origin of a surface filled black, the control's w x h image
// copied from (x, y); parts outside the surface leave the control as it was.
Image FromWholeSurface(SurfaceSize picture, SurfaceSize surface, int x, int y, int w, int h) {
  Image out = Blank(w, h, kUntouched);
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const long long sx = static_cast<long long>(x) + i, sy = static_cast<long long>(y) + j;
      if (sx < 0 || sy < 0 || sx >= surface.width || sy >= surface.height) continue;
      const bool on_picture = sx < picture.width && sy < picture.height;
      out[j][i] = on_picture ? PicturePixel(static_cast<int>(sx), static_cast<int>(sy)) : kBlack;
    }
  }
  return out;
}

// The new way, checking that every copy and fill stays inside the atlas and the control.
Image FromAtlas(const SheetAtlas& atlas, int x, int y, int w, int h) {
  const SurfaceSize size = atlas.Size();
  Image held = Blank(size.width, size.height, -2);
  for (const AtlasPiece& p : atlas.Pieces()) {
    EXPECT_GE(p.x, 0);
    EXPECT_GE(p.y, 0);
    EXPECT_LE(p.x + p.source.w, size.width);
    EXPECT_LE(p.y + p.source.h, size.height);
    for (int j = 0; j < p.source.h; ++j) {
      for (int i = 0; i < p.source.w; ++i) held[p.y + j][p.x + i] = PicturePixel(p.source.x + i, p.source.y + j);
    }
  }
  Image out = Blank(w, h, kUntouched);
  const SheetDraw plan = atlas.Plan(x, y, w, h);
  if (plan.from.w > 0 && plan.from.h > 0) {
    EXPECT_GE(plan.from.x, 0);
    EXPECT_GE(plan.from.y, 0);
    EXPECT_LE(plan.from.x + plan.from.w, size.width);
    EXPECT_LE(plan.from.y + plan.from.h, size.height);
    EXPECT_GE(plan.to_x, 0);
    EXPECT_GE(plan.to_y, 0);
    EXPECT_LE(plan.to_x + plan.from.w, w);
    EXPECT_LE(plan.to_y + plan.from.h, h);
    if (::testing::Test::HasFailure()) return out;
    for (int j = 0; j < plan.from.h; ++j) {
      for (int i = 0; i < plan.from.w; ++i) out[plan.to_y + j][plan.to_x + i] = held[plan.from.y + j][plan.from.x + i];
    }
  }
  for (const CutRect& b : plan.black) {
    if (b.w <= 0 || b.h <= 0) continue;
    EXPECT_GE(b.x, 0);
    EXPECT_GE(b.y, 0);
    EXPECT_LE(b.x + b.w, w);
    EXPECT_LE(b.y + b.h, h);
    if (::testing::Test::HasFailure()) return out;
    for (int j = 0; j < b.h; ++j) {
      for (int i = 0; i < b.w; ++i) out[b.y + j][b.x + i] = kBlack;
    }
  }
  return out;
}

std::int64_t Area(SurfaceSize s) { return static_cast<std::int64_t>(s.width) * s.height; }

struct AtlasCase {
  const char* name;
  SurfaceSize picture;
  SurfaceSize surface;
  std::vector<CutRect> cuts;
};

class SheetAtlasCuts : public ::testing::TestWithParam<AtlasCase> {};

TEST_P(SheetAtlasCuts, EveryCutDrawsWhatTheWholeSurfaceGave) {
  const AtlasCase& c = GetParam();
  for (const SheetAtlas& atlas : {SheetAtlas::Pack(c.cuts, c.picture, c.surface),
                                  SheetAtlas::Whole(c.picture, c.surface)}) {
    for (const CutRect& cut : c.cuts) {
      SCOPED_TRACE(std::to_string(cut.x) + "," + std::to_string(cut.y) + " " +
                   std::to_string(cut.w) + "x" + std::to_string(cut.h));
      EXPECT_EQ(FromAtlas(atlas, cut.x, cut.y, cut.w, cut.h),
                FromWholeSurface(c.picture, c.surface, cut.x, cut.y, cut.w, cut.h));
    }
    EXPECT_LE(Area(atlas.Size()), Area(c.picture)) << "never more than the picture";
  }
}

TEST_P(SheetAtlasCuts, PiecesDoNotOverlapInTheAtlas) {
  const AtlasCase& c = GetParam();
  const auto pieces = SheetAtlas::Pack(c.cuts, c.picture, c.surface).Pieces();
  for (std::size_t a = 0; a < pieces.size(); ++a) {
    for (std::size_t b = a + 1; b < pieces.size(); ++b) {
      const AtlasPiece& p = pieces[a];
      const AtlasPiece& q = pieces[b];
      const bool apart = p.x + p.source.w <= q.x || q.x + q.source.w <= p.x ||
                         p.y + p.source.h <= q.y || q.y + q.source.h <= p.y;
      EXPECT_TRUE(apart) << "pieces " << a << " and " << b;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SheetAtlasCuts,
    ::testing::Values(
        AtlasCase{"KeysInsideThePicture", {400, 300}, {500, 400},
                  {{10, 10, 40, 40}, {52, 10, 40, 40}, {94, 10, 86, 40}, {10, 52, 60, 40}}},
        AtlasCase{"CutsReachingIntoTheMarginAndPastTheSurface", {400, 300}, {500, 400},
                  {{380, 20, 60, 30}, {20, 290, 30, 30}, {390, 290, 30, 30}, {470, 380, 60, 60},
                   {450, 100, 20, 20}}},
        AtlasCase{"CutsBeforeTheOrigin", {400, 300}, {500, 400},
                  {{-10, -10, 30, 30}, {-50, 5, 20, 20}, {5, -2147483647, 10, 10}}},
        AtlasCase{"OverlappingAndNestedCuts", {400, 300}, {500, 400},
                  {{10, 10, 100, 50}, {60, 30, 100, 50}, {20, 20, 10, 10}, {10, 10, 100, 50}}},
        AtlasCase{"EmptyCuts", {400, 300}, {500, 400}, {{10, 10, 0, 40}, {10, 10, 40, -3}}},
        AtlasCase{"PictureLargerThanTheSurface", {800, 600}, {500, 400},
                  {{480, 380, 40, 40}, {100, 100, 50, 50}}},
        AtlasCase{"CutsCoveringMostOfThePicture", {100, 100}, {200, 200},
                  {{0, 0, 60, 100}, {40, 0, 60, 100}}},
        AtlasCase{"SmallSheetOnAWindowSizedSurface", {90, 46}, {1140, 740},
                  {{2, 2, 18, 18}, {24, 2, 18, 18}, {46, 2, 18, 18}, {68, 2, 18, 18},
                   {2, 24, 18, 18}, {24, 24, 18, 18}, {46, 24, 18, 18}, {68, 24, 18, 18},
                   {2, 2, 18, 18}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SheetAtlas, HoldsOnlyTheCutsOfASparseSheet) {
  // A row of keys on a window-sized sheet: the atlas holds their pixels and little else.
  std::vector<CutRect> keys;
  std::int64_t key_area = 0;
  for (int i = 0; i < 20; ++i) {
    keys.push_back({20 + i * 45, 100 + (i % 3) * 45, 40, 40});
    key_area += 40 * 40;
  }
  const SheetAtlas atlas = SheetAtlas::Pack(keys, {1040, 640}, {1140, 740});
  EXPECT_GE(Area(atlas.Size()), key_area);
  EXPECT_LE(Area(atlas.Size()), key_area * 5 / 4) << atlas.Size().width << "x" << atlas.Size().height;
}

TEST(SheetAtlas, AWholeSheetOfASmallPictureHoldsThePictureAlone) {
  EXPECT_EQ(SheetAtlas::Whole({90, 46}, {1140, 740}).Size(), (SurfaceSize{90, 46}));
  EXPECT_EQ(SheetAtlas::Whole({1040, 640}, {1140, 740}).Size(), (SurfaceSize{1040, 640}));
  EXPECT_EQ(SheetAtlas::Whole({800, 600}, {500, 400}).Size(), (SurfaceSize{500, 400}));
}

TEST(SheetAtlas, CutsOffThePictureHoldNothingAndDrawBlack) {
  const SheetAtlas atlas = SheetAtlas::Pack(std::vector<CutRect>{{450, 350, 30, 30}}, {400, 300}, {500, 400});
  EXPECT_TRUE(atlas.Pieces().empty());
  EXPECT_EQ(atlas.Size(), (SurfaceSize{0, 0}));
  EXPECT_EQ(FromAtlas(atlas, 450, 350, 30, 30), Blank(30, 30, kBlack));
}

TEST(SheetAtlas, ACutThatWasNotAnnouncedCopiesNothingOfThePicture) {
  const SheetAtlas atlas = SheetAtlas::Pack(std::vector<CutRect>{{10, 10, 20, 20}}, {400, 300}, {500, 400});
  const SheetDraw plan = atlas.Plan(200, 200, 20, 20);
  EXPECT_EQ(plan.from.w * plan.from.h, 0);
  // Larger than the announced cut at the same place: not held whole, so not drawn from it.
  EXPECT_EQ(atlas.Plan(10, 10, 30, 30).from.w, 0);
}

}  // namespace
}  // namespace vendrel::skin
