#include "controls/colour_button.h"

#include <commdlg.h>

#include <array>

#include "control_logic/palette_geometry.h"
#include "controls/owner_drawn_button.h"
#include "controls/picture_paint.h"

namespace vendrel::controls {
namespace {

// Posted by the palette to its button when it is done.
constexpr UINT kMsgPaletteDone = WM_APP + 0x0A1;

// The colour dialog's sixteen custom colours, shared by every colour button for the run.
std::array<COLORREF, 16>& CustomColours() {
  static std::array<COLORREF, 16> colours{};
  return colours;
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void Frame(HDC dc, const RECT& area, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FrameRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

control_logic::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

ColourButton::~ColourButton() { popup_.reset(); }

bool ColourButton::Attach(HWND dialog, int control_id) {
  popup_.reset();
  hook_.Remove();
  dialog_hook_.Remove();
  hwnd_ = ::GetDlgItem(dialog, control_id);
  id_ = control_id;
  if (hwnd_ == nullptr) return false;
  MakeOwnerDrawn(hwnd_);
  const bool hooked =
      hook_.Install(hwnd_, [this](UINT m, WPARAM w, LPARAM l) { return Handle(m, w, l); }) &&
      dialog_hook_.Install(dialog, [this](UINT m, WPARAM w, LPARAM l) {
        return OnDialogMessage(m, w, l);
      });
  if (!hooked) {
    hook_.Remove();
    hwnd_ = nullptr;
    return false;
  }
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

void ColourButton::SetColour(COLORREF colour) {
  if (colour == colour_) return;
  colour_ = colour;
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void ColourButton::OpenPalette() {
  if (hwnd_ == nullptr || !::IsWindowEnabled(hwnd_)) return;
  popup_.reset();
  RECT bounds{};
  ::GetWindowRect(hwnd_, &bounds);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  control_logic::Rect work{};
  if (::GetMonitorInfoW(::MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &monitor)) {
    work = FromRect(monitor.rcWork);
  }
  const control_logic::Point at =
      control_logic::PalettePlacement(FromRect(bounds), control_logic::PaletteSize(), work);
  PaletteRequest request;
  request.owner = ::GetAncestor(hwnd_, GA_ROOT);
  request.at = {at.x, at.y};
  request.current = colour_;
  request.other_label = other_label_;
  request.font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  request.report_to = hwnd_;
  request.done_message = kMsgPaletteDone;
  request.serial = ++serial_;
  popup_ = PalettePopup::Open(std::move(request));
}

void ColourButton::PaletteDone(WPARAM serial) {
  if (!popup_ || popup_->Serial() != serial) return;  // an older popup's late word
  const PaletteOutcome outcome = popup_->Outcome();
  popup_.reset();
  switch (outcome.kind) {
    case PaletteOutcome::Kind::Colour:
      Choose(outcome.colour);
      break;
    case PaletteOutcome::Kind::Other:
      if (const std::optional<COLORREF> colour = AskColourDialog()) Choose(*colour);
      break;
    case PaletteOutcome::Kind::Dismissed:
      break;
  }
}

std::optional<COLORREF> ColourButton::AskColourDialog() const {
  CHOOSECOLORW choice{};
  choice.lStructSize = sizeof(choice);
  choice.hwndOwner = ::GetAncestor(hwnd_, GA_ROOT);
  choice.rgbResult = colour_;
  choice.lpCustColors = CustomColours().data();
  choice.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (::ChooseColorW(&choice) == FALSE) return std::nullopt;
  return choice.rgbResult;
}

void ColourButton::Choose(COLORREF colour) {
  // The window may have gone while the colour dialog was open.
  if (hwnd_ == nullptr) return;
  colour_ = colour;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  ::SendMessageW(::GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id_, kColourButtonChanged),
                 reinterpret_cast<LPARAM>(hwnd_));
}

void ColourButton::Paint(HDC dc) const {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const bool pressed = (::SendMessageW(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  const bool enabled = ::IsWindowEnabled(hwnd_) != FALSE;
  // A dark frame and a light ring keep any colour, black or white, apart from the skin; pressed,
  // the ring darkens.
  Frame(dc, client, RGB(48, 48, 48));
  RECT ring = client;
  ::InflateRect(&ring, -1, -1);
  Frame(dc, ring, pressed ? RGB(96, 96, 96) : RGB(224, 224, 224));
  RECT swatch = ring;
  ::InflateRect(&swatch, -1, -1);
  Fill(dc, swatch, enabled ? colour_ : ::GetSysColor(COLOR_BTNFACE));
  if (ShowsFocusCue(hwnd_)) {
    RECT focus = swatch;
    ::InflateRect(&focus, -1, -1);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
}

std::optional<LRESULT> ColourButton::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      Paint(dc);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case kMsgPaletteDone:
      PaletteDone(wparam);
      return 0;
    case WM_NCDESTROY:
      popup_.reset();
      hwnd_ = nullptr;
      return std::nullopt;
    default:
      return HandleButtonMessage(hook_, message, wparam, lparam);
  }
}

std::optional<LRESULT> ColourButton::OnDialogMessage(UINT message, WPARAM wparam,
                                                     LPARAM lparam) {
  if (message != WM_COMMAND || hwnd_ == nullptr || reinterpret_cast<HWND>(lparam) != hwnd_ ||
      HIWORD(wparam) != BN_CLICKED) {
    return std::nullopt;
  }
  OpenPalette();
  return 0;
}

}  // namespace vendrel::controls
