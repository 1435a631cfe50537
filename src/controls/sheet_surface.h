#pragma once
// One state sheet as controls draw from it. The sheet is the picture on a surface a margin larger
// than the window's client area, black beyond the picture; a control's image is the rectangle cut
// at its own position. Only what is needed is held: the decoded picture itself when it is shown
// whole, or an atlas of just the rectangles the controls cut (skin/sheet_atlas.h), and drawing
// gives the same pixels the whole surface would.
#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/handles.h"
#include "skin/sheet_atlas.h"

namespace vendrel::controls {

class SheetSurface {
 public:
  SheetSurface() = default;
  SheetSurface(const SheetSurface&) = delete;
  SheetSurface& operator=(const SheetSurface&) = delete;

  // The whole picture of the file for a surface of the given size. A file that cannot be read
  // leaves the sheet without a picture: controls then draw nothing from it. Returns false only
  // when the sheet cannot be held at all.
  bool Load(const std::wstring& file, int width, int height);
  // Only the rectangles that controls cut from the sheet, each as placed on it.
  bool LoadCuts(const std::wstring& file, skin::SurfaceSize surface,
                std::span<const skin::CutRect> cuts);
  // The same, decoded at the first draw: a look no control has shown yet (pressed, the colour-keys
  // looks) costs nothing until it is shown.
  void LoadCutsWhenDrawn(const std::wstring& file, skin::SurfaceSize surface,
                         std::span<const skin::CutRect> cuts);
  // The whole picture from a bitmap owned elsewhere (a window's background decoded from the same
  // file), which must live as long as controls draw from this sheet. It is selected only while
  // drawing, so its owner may select it elsewhere in between.
  void Borrow(HBITMAP picture, skin::SurfaceSize surface);
  void Reset();

  // True also while a picture waits for its first draw.
  bool HasPicture() const { return pending_.has_value() || picture() != nullptr; }
  // Draws the w x h image cut at origin of the sheet into dc at (0, 0).
  void Draw(HDC dc, int w, int h, POINT origin) const;

 private:
  HBITMAP picture() const { return owned_ ? owned_.get() : borrowed_; }

  struct Pending {
    std::wstring file;
    skin::SurfaceSize surface;
    std::vector<skin::CutRect> cuts;
  };
  // Set until the first draw decodes it. Drawing is const to the controls that draw: decoding
  // later changes no pixel they get.
  mutable std::optional<Pending> pending_;
  UniqueBitmap owned_;
  HBITMAP borrowed_ = nullptr;
  skin::SheetAtlas atlas_ = skin::SheetAtlas::Whole({}, {});
};

// Loads a picture file (bitmap, JPEG, GIF, PNG) through GDI+ into a bitmap the caller owns, of
// three bytes a pixel (what transparency a picture has is laid over white).
UniqueBitmap LoadPictureFile(const std::wstring& file, int* width = nullptr, int* height = nullptr);

}  // namespace vendrel::controls
