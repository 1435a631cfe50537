#pragma once
// State sheets: full-window pictures, one per control state, from which every control's image is
// cut at the control's own position. A skinned button picks among five image slots.
#include <array>
#include <cstdint>
#include <string_view>

#include "skin/placement.h"

namespace vendrel::skin {

// Each sheet is drawn unscaled onto a surface this much larger than the client area, so that
// controls near the right and bottom edges still find pixels.
inline constexpr int kSheetMargin = 100;

struct SurfaceSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const SurfaceSize&, const SurfaceSize&) = default;
};

SurfaceSize SheetSurfaceSize(int client_width, int client_height);

enum class ButtonSlot { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3, Selected = 4 };
inline constexpr std::size_t kButtonSlotCount = 5;

struct ButtonState {
  bool disabled = false;
  bool pressed = false;
  bool hover = false;
  bool selected = false;
};

// Priority: disabled, pressed, hover, selected, normal.
ButtonSlot ChooseButtonSlot(const ButtonState& state);

// The main window's sheets, in the order the skin loads them.
enum class MainSheet { Normal, Over, Down, Disable, Arrow, Colour0, Colour1 };
inline constexpr std::size_t kMainSheetCount = 7;
inline constexpr std::array<std::u16string_view, kMainSheetCount> kMainSheetFiles{
    u"main_normal.jpg", u"main_over.jpg",   u"main_down.jpg",  u"main_disable.jpg",
    u"Arrow.jpg",       u"main_color0.jpg", u"main_color1.jpg"};

// Which sheet fills each of a button's five slots (normal, hover, pressed, disabled, selected).
using SlotSheets = std::array<MainSheet, kButtonSlotCount>;

// Parses the five-letter slot notation of the control tables: N normal, H hover (over),
// P pressed (down), D disabled sheet. Unknown letters give the normal sheet.
SlotSheets SlotSheetsFromLetters(std::string_view letters);

// The rectangle cut out of a sheet for a control: its own position and size, limited to the
// sheet surface so that a bad placement never reads outside it. Width or height 0 = nothing.
struct CutRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  friend bool operator==(const CutRect&, const CutRect&) = default;
};
CutRect CutFromSheet(int x, int y, int w, int h, SurfaceSize surface);

}  // namespace vendrel::skin
