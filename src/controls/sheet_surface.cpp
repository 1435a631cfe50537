#include "controls/sheet_surface.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace vendrel::controls {
namespace {

// A device-independent bitmap of three bytes a pixel: the skin's pictures are opaque, so this holds
// them exactly in three quarters of the room of the decoder's four-byte one.
UniqueBitmap ThreeByteBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return UniqueBitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

}  // namespace

UniqueBitmap LoadPictureFile(const std::wstring& file, int* width, int* height) {
  auto picture = std::make_unique<Gdiplus::Bitmap>(file.c_str());
  if (picture->GetLastStatus() != Gdiplus::Ok || picture->GetWidth() == 0) return {};
  HBITMAP handle = nullptr;
  if (picture->GetHBITMAP(Gdiplus::Color(255, 255, 255), &handle) != Gdiplus::Ok) return {};
  UniqueBitmap decoded(handle);
  const int w = static_cast<int>(picture->GetWidth());
  const int h = static_cast<int>(picture->GetHeight());
  picture.reset();  // the decoder's own copy goes before the next one is made
  UniqueBitmap kept = ThreeByteBitmap(w, h);
  if (kept) {
    UniqueMemoryDc target(::CreateCompatibleDC(nullptr));
    UniqueMemoryDc source(::CreateCompatibleDC(nullptr));
    if (target && source) {
      ScopedSelect into(target.get(), kept.get());
      ScopedSelect from(source.get(), decoded.get());
      if (::BitBlt(target.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY)) decoded = std::move(kept);
    }
  }
  if (width) *width = w;
  if (height) *height = h;
  return decoded;
}

void SheetSurface::Reset() {
  pending_.reset();
  owned_.reset();
  borrowed_ = nullptr;
  atlas_ = skin::SheetAtlas::Whole({}, {});
}

bool SheetSurface::Load(const std::wstring& file, int width, int height) {
  Reset();
  int pw = 0, ph = 0;
  owned_ = LoadPictureFile(file, &pw, &ph);
  if (owned_) atlas_ = skin::SheetAtlas::Whole({pw, ph}, {width, height});
  return true;
}

bool SheetSurface::LoadCuts(const std::wstring& file, skin::SurfaceSize surface,
                            std::span<const skin::CutRect> cuts) {
  Reset();
  int pw = 0, ph = 0;
  UniqueBitmap picture = LoadPictureFile(file, &pw, &ph);
  if (!picture) return true;  // without a picture, as a whole sheet would be
  skin::SheetAtlas atlas = skin::SheetAtlas::Pack(cuts, {pw, ph}, surface);
  const bool whole = atlas.Pieces().size() == 1 && atlas.Pieces().front().x == 0 &&
                     atlas.Pieces().front().y == 0 && atlas.Pieces().front().source.x == 0 &&
                     atlas.Pieces().front().source.y == 0;
  if (whole || atlas.Pieces().empty()) {
    // The decoded picture is the smallest holder there is; nothing to copy.
    owned_ = std::move(picture);
    atlas_ = std::move(atlas);
    return true;
  }
  UniqueBitmap packed = ThreeByteBitmap(atlas.Size().width, atlas.Size().height);
  if (!packed) return false;
  {
    UniqueMemoryDc target(::CreateCompatibleDC(nullptr));
    UniqueMemoryDc source(::CreateCompatibleDC(nullptr));
    if (!target || !source) return false;
    ScopedSelect into(target.get(), packed.get());
    ScopedSelect from(source.get(), picture.get());
    for (const skin::AtlasPiece& piece : atlas.Pieces()) {
      ::BitBlt(target.get(), piece.x, piece.y, piece.source.w, piece.source.h, source.get(),
               piece.source.x, piece.source.y, SRCCOPY);
    }
  }
  owned_ = std::move(packed);
  atlas_ = std::move(atlas);
  return true;
}

void SheetSurface::LoadCutsWhenDrawn(const std::wstring& file, skin::SurfaceSize surface,
                                     std::span<const skin::CutRect> cuts) {
  Reset();
  pending_ = Pending{file, surface, {cuts.begin(), cuts.end()}};
}

void SheetSurface::Borrow(HBITMAP picture, skin::SurfaceSize surface) {
  Reset();
  BITMAP info{};
  if (picture == nullptr || ::GetObjectW(picture, sizeof(info), &info) == 0) return;
  borrowed_ = picture;
  atlas_ = skin::SheetAtlas::Whole({info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight},
                                   surface);
}

void SheetSurface::Draw(HDC dc, int w, int h, POINT origin) const {
  if (pending_) {
    const Pending wanted = std::move(*pending_);
    // Sheets are never const objects; only the draw is const to the controls.
    const_cast<SheetSurface*>(this)->LoadCuts(wanted.file, wanted.surface, wanted.cuts);
  }
  if (picture() == nullptr || dc == nullptr) return;
  const skin::SheetDraw plan = atlas_.Plan(origin.x, origin.y, w, h);
  if (plan.from.w > 0 && plan.from.h > 0) {
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    if (source) {
      ScopedSelect select(source.get(), picture());
      ::BitBlt(dc, plan.to_x, plan.to_y, plan.from.w, plan.from.h, source.get(), plan.from.x,
               plan.from.y, SRCCOPY);
    }
  }
  for (const skin::CutRect& black : plan.black) {
    if (black.w <= 0 || black.h <= 0) continue;
    const RECT r{black.x, black.y, black.x + black.w, black.y + black.h};
    ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
}

}  // namespace vendrel::controls
