#pragma once
// One state sheet drawn unscaled onto an off-screen surface a margin larger than the window's
// client area. Controls copy their image for a state straight out of it.
#include <windows.h>

#include <string>

#include "controls/handles.h"

namespace vendrel::controls {

class SheetSurface {
 public:
  SheetSurface() = default;
  // Builds a surface of the given size and draws the picture file at its top-left corner. A file
  // that cannot be read leaves the surface without a picture: controls then draw nothing from it.
  bool Load(const std::wstring& file, int width, int height);
  void Reset();

  bool HasPicture() const { return has_picture_; }
  HDC Dc() const { return dc_.get(); }  // owned by the surface
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ original_bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool has_picture_ = false;
};

// Loads a picture file (bitmap, JPEG, GIF, PNG) through GDI+ into a bitmap the caller owns.
UniqueBitmap LoadPictureFile(const std::wstring& file, int* width = nullptr, int* height = nullptr);

}  // namespace vendrel::controls
