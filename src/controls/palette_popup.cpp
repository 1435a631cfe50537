#include "controls/palette_popup.h"

#include <optional>
#include <utility>

#include "control_logic/palette_geometry.h"

namespace vendrel::controls {
namespace {

namespace geometry = control_logic;

constexpr wchar_t kClassName[] = L"VendrelColourPalette";

// Registered on first use, once for the process.
bool RegisterPaletteClass(WNDPROC procedure) {
  static const ATOM atom = [procedure] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_DROPSHADOW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kClassName;
    return ::RegisterClassExW(&window_class);
  }();
  return atom != 0;
}

RECT ToRect(const geometry::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void Frame(HDC dc, const RECT& area, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FrameRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

RECT Inset(RECT r, int by) {
  ::InflateRect(&r, -by, -by);
  return r;
}

geometry::Point PointOf(LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

std::optional<geometry::PaletteKey> KeyOf(WPARAM virtual_key) {
  switch (virtual_key) {
    case VK_LEFT: return geometry::PaletteKey::Left;
    case VK_RIGHT: return geometry::PaletteKey::Right;
    case VK_UP: return geometry::PaletteKey::Up;
    case VK_DOWN: return geometry::PaletteKey::Down;
    case VK_HOME: return geometry::PaletteKey::Home;
    case VK_END: return geometry::PaletteKey::End;
    default: return std::nullopt;
  }
}

}  // namespace

PalettePopup::PalettePopup(PaletteRequest request)
    : request_(std::move(request)),
      highlighted_(geometry::PaletteIndexOf(static_cast<std::uint32_t>(request_.current))) {}

std::unique_ptr<PalettePopup> PalettePopup::Open(PaletteRequest request) {
  if (!RegisterPaletteClass(&PalettePopup::WindowProc)) return nullptr;
  std::unique_ptr<PalettePopup> popup(new PalettePopup(std::move(request)));
  const geometry::Size size = geometry::PaletteSize();
  // Its window is known to the popup from WM_NCCREATE on (window_ is set there).
  ::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, popup->request_.at.x,
                    popup->request_.at.y, size.width, size.height, popup->request_.owner,
                    nullptr, ::GetModuleHandleW(nullptr), popup.get());
  if (!popup->window_) return nullptr;
  ::ShowWindow(popup->Hwnd(), SW_SHOW);
  ::SetForegroundWindow(popup->Hwnd());
  ::SetFocus(popup->Hwnd());
  return popup;
}

PalettePopup::~PalettePopup() {
  finished_ = true;  // its deactivation while it goes is no choice
  window_.reset();
}

LRESULT CALLBACK PalettePopup::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<PalettePopup*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(hwnd);
  }
  auto* self = reinterpret_cast<PalettePopup*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // Gone with its owner, or destroyed by the popup's end: either way nothing to destroy later.
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->window_.release();
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT PalettePopup::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND hwnd = Hwnd();
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd, &ps);
      Paint(dc);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      // The program's message loop runs every top window's keys through the dialog manager;
      // the palette keeps all of them.
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      if (const std::optional<geometry::PaletteKey> key = KeyOf(wparam)) {
        Highlight(geometry::PaletteMove(highlighted_, *key));
      } else if (wparam == VK_RETURN || wparam == VK_SPACE) {
        Pick(highlighted_);
      } else if (wparam == VK_ESCAPE) {
        Finish({});
      }
      return 0;
    case WM_MOUSEMOVE: {
      const int item = geometry::PaletteItemAt(PointOf(lparam));
      if (item != geometry::kPaletteNone) Highlight(item);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP:
      if (pressed_) Pick(geometry::PaletteItemAt(PointOf(lparam)));
      pressed_ = false;
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) Finish({});
      return 0;
    case WM_CANCELMODE:
      Finish({});
      return 0;
    default:
      return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

void PalettePopup::Paint(HDC dc) const {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  Fill(dc, client, ::GetSysColor(COLOR_MENU));
  Frame(dc, client, ::GetSysColor(COLOR_3DSHADOW));
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  for (int k = 0; k < geometry::kPaletteCellCount; ++k) {
    const RECT cell = ToRect(geometry::PaletteCellRect(k));
    if (k == highlighted_) {
      Frame(dc, cell, highlight);
      Frame(dc, Inset(cell, 1), highlight);
    }
    const RECT swatch = Inset(cell, 2);
    Fill(dc, swatch, static_cast<COLORREF>(geometry::kPaletteColours[static_cast<std::size_t>(k)]));
    Frame(dc, swatch, ::GetSysColor(COLOR_3DDKSHADOW));
  }

  RECT other = ToRect(geometry::PaletteOtherRect());
  ::DrawFrameControl(dc, &other, DFC_BUTTON, DFCS_BUTTONPUSH);
  HFONT font = request_.font ? request_.font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ScopedSelect select(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  RECT text = Inset(other, 2);
  ::DrawTextW(dc, request_.other_label.c_str(), static_cast<int>(request_.other_label.size()),
              &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (highlighted_ == geometry::kPaletteOther) {
    const RECT focus = Inset(other, 3);
    ::DrawFocusRect(dc, &focus);
  }
}

void PalettePopup::Highlight(int item) {
  if (item == highlighted_) return;
  highlighted_ = item;
  ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PalettePopup::Pick(int item) {
  if (item == geometry::kPaletteOther) {
    Finish({PaletteOutcome::Kind::Other, 0});
  } else if (item >= 0 && item < geometry::kPaletteCellCount) {
    Finish({PaletteOutcome::Kind::Colour,
            static_cast<COLORREF>(geometry::kPaletteColours[static_cast<std::size_t>(item)])});
  }
}

void PalettePopup::Finish(PaletteOutcome outcome) {
  if (finished_) return;
  finished_ = true;
  outcome_ = outcome;
  ::ShowWindow(Hwnd(), SW_HIDE);
  ::PostMessageW(request_.report_to, request_.done_message, request_.serial, 0);
}

}  // namespace vendrel::controls
