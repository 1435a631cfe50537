#include "controls/sheet_surface.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace vendrel::controls {

UniqueBitmap LoadPictureFile(const std::wstring& file, int* width, int* height) {
  auto picture = std::make_unique<Gdiplus::Bitmap>(file.c_str());
  if (picture->GetLastStatus() != Gdiplus::Ok || picture->GetWidth() == 0) return {};
  HBITMAP handle = nullptr;
  if (picture->GetHBITMAP(Gdiplus::Color(255, 255, 255), &handle) != Gdiplus::Ok) return {};
  if (width) *width = static_cast<int>(picture->GetWidth());
  if (height) *height = static_cast<int>(picture->GetHeight());
  return UniqueBitmap(handle);
}

void SheetSurface::Reset() {
  if (dc_ && original_bitmap_) ::SelectObject(dc_.get(), original_bitmap_);
  original_bitmap_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  has_picture_ = false;
  width_ = height_ = 0;
}

bool SheetSurface::Load(const std::wstring& file, int width, int height) {
  Reset();
  HDC screen = ::GetDC(nullptr);
  dc_.reset(::CreateCompatibleDC(screen));
  bitmap_.reset(::CreateCompatibleBitmap(screen, width, height));
  ::ReleaseDC(nullptr, screen);
  if (!dc_ || !bitmap_) {
    Reset();
    return false;
  }
  original_bitmap_ = ::SelectObject(dc_.get(), bitmap_.get());
  width_ = width;
  height_ = height;
  RECT all{0, 0, width, height};
  ::FillRect(dc_.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));

  int pw = 0, ph = 0;
  UniqueBitmap picture = LoadPictureFile(file, &pw, &ph);
  if (!picture) return true;  // the surface exists, without a picture
  UniqueMemoryDc source(::CreateCompatibleDC(dc_.get()));
  {
    ScopedSelect select(source.get(), picture.get());
    ::BitBlt(dc_.get(), 0, 0, pw, ph, source.get(), 0, 0, SRCCOPY);
  }
  has_picture_ = true;
  return true;
}

}  // namespace vendrel::controls
