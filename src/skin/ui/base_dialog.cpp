#include "skin/ui/base_dialog.h"

#include <algorithm>
#include <vector>

#include "controls/sheet_surface.h"
#include "skin/mask_region.h"

namespace vendrel::skin {

using controls::UniqueRegion;
using controls::WideFrom;

CBaseDialog::CBaseDialog(int resource_id, HWND parent, platform::IniProfile& ini,
                         const std::u16string& skin_file, const std::u16string& skin_folder)
    : resource_id_(resource_id), parent_(parent), ini_(std::in_place, ini, skin_file),
      skin_folder_(skin_folder) {}

CBaseDialog::CBaseDialog(int resource_id, HWND parent) : resource_id_(resource_id), parent_(parent) {}

CBaseDialog::~CBaseDialog() {
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
    ::SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    ::DestroyWindow(hwnd_);
  }
}

HWND CBaseDialog::Create() {
  if (hwnd_ != nullptr) return hwnd_;
  ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource_id_), parent_,
                       &CBaseDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  return hwnd_;
}

INT_PTR CBaseDialog::DoModal() {
  modal_running_ = true;
  if (Create() == nullptr) return -1;
  if (modal_running_) ::ShowWindow(hwnd_, SW_SHOW);
  MSG msg;
  while (modal_running_ && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslateMessage(msg)) continue;
    // Modeless dialogs of the program (the about box) share this loop: each gets its keyboard
    // handling (Enter, Escape, Tab) from its own top-level window.
    HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (::IsDialogMessageW(top ? top : hwnd_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return modal_result_;
}

void CBaseDialog::ReloadBackground() {
  if (background_ || background_file_.empty()) return;
  // A picture that cannot be read any more leaves the window without a background, not the
  // program without a window.
  background_ = controls::LoadPictureFile(WideFrom(skin_folder_ + background_file_));
}

void CBaseDialog::PaintBackground(HDC dc) {
  // Shown some other way than through ShowWindow: the picture comes with the first paint.
  ReloadBackground();
  if (!background_ || dc == nullptr) return;
  controls::UniqueMemoryDc source(::CreateCompatibleDC(dc));
  controls::ScopedSelect select(source.get(), background_.get());
  BITMAP info{};
  ::GetObjectW(background_.get(), sizeof(info), &info);
  ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void CBaseDialog::EndModal(INT_PTR result) {
  modal_result_ = result;
  modal_running_ = false;
  // Wakes the loop so that it sees the end at once.
  if (hwnd_) ::PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool CBaseDialog::InitialiseSkin() {
  const std::u16string main = Ini().GetString(u"SCREEN", u"Main").value_or(u"");
  const std::u16string mask = Ini().GetString(u"SCREEN", u"Mask", main).value_or(u"");
  int width = 0, height = 0;
  background_ = controls::LoadPictureFile(WideFrom(skin_folder_ + main), &width, &height);
  background_file_ = main;
  // The mask gives the window its shape and is not needed after that.
  const controls::UniqueBitmap mask_picture = controls::LoadPictureFile(WideFrom(skin_folder_ + mask));
  if (main.empty() || !background_ || !mask_picture) return false;

  // The template's size is a placeholder: the background sets it. Keep the window's centre where
  // the template put it (centred dialogs stay centred) and keep it on the work area.
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int left = (r.left + r.right) / 2 - width / 2;
  int top = (r.top + r.bottom) / 2 - height / 2;
  left = std::max<int>(work.left, std::min<int>(left, work.right - width));
  top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
  ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  UniqueRegion shape = RegionFromMask(mask_picture.get());
  if (!shape) shape.reset(::CreateRectRgn(0, 0, 0, 0));
  // The window owns the region from here on.
  ::SetWindowRgn(hwnd_, shape.release(), TRUE);
  return true;
}

void CBaseDialog::ReleaseBitmaps() { background_.reset(); }

UniqueRegion RegionFromMask(HBITMAP mask) {
  BITMAP info{};
  if (::GetObjectW(mask, sizeof(info), &info) == 0) return {};
  const int width = info.bmWidth;
  const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  if (width <= 0 || height <= 0) return {};

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, mask, 0, static_cast<UINT>(height), pixels.data(), &bi,
                               DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (rows != height) return {};

  const std::vector<MaskRun> runs = MaskRuns(width, height, [&](int x, int y) {
    return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
  });
  if (runs.empty()) return {};

  UniqueRegion whole;
  std::vector<std::uint8_t> buffer;
  for (const auto piece : RegionPieces(runs)) {
    buffer.assign(sizeof(RGNDATAHEADER) + piece.size() * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(piece.size());
    data->rdh.rcBound = {0, 0, width, height};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < piece.size(); ++i) {
      rects[i] = {piece[i].left, piece[i].y, piece[i].right, piece[i].y + 1};
    }
    UniqueRegion part(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
    if (!part) continue;
    if (!whole) {
      whole = std::move(part);
    } else {
      ::CombineRgn(whole.get(), whole.get(), part.get(), RGN_OR);
    }
  }
  return whole;
}

BOOL CBaseDialog::OnInitDialog() {
  if (ini_ && !InitialiseSkin()) ::ExitProcess(0);
  return TRUE;
}

void CBaseDialog::OnOK() {
  ReleaseBitmaps();
  if (modal_running_) {
    EndModal(IDOK);
  } else {
    ::ShowWindow(hwnd_, SW_HIDE);
  }
}

void CBaseDialog::OnCancel() {
  if (modal_running_) {
    EndModal(IDCANCEL);
  } else {
    ::ShowWindow(hwnd_, SW_HIDE);
  }
}

bool CBaseDialog::PreTranslateMessage(MSG&) { return false; }

bool CBaseDialog::OnCommand(int id, int code, HWND) {
  if (id == IDOK && code == BN_CLICKED) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

bool CBaseDialog::OnTimer(UINT_PTR) { return false; }

bool CBaseDialog::OnNotify(int, NMHDR&, LRESULT&) { return false; }

bool CBaseDialog::OnSysCommand(UINT) { return false; }

bool CBaseDialog::OnClose() {
  OnCancel();
  return true;
}

INT_PTR CBaseDialog::HandleMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

INT_PTR CALLBACK CBaseDialog::DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  CBaseDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CBaseDialog*>(lparam);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CBaseDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (self == nullptr) return FALSE;
  return self->Dispatch(message, wparam, lparam);
}

INT_PTR CBaseDialog::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  // Marks a typed handler's answer as handled (0 as the message's result unless it gave one).
  const auto handled_with = [this](LRESULT result) {
    ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  };
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam))
                 ? handled_with(0)
                 : FALSE;
    case WM_TIMER:
      return OnTimer(static_cast<UINT_PTR>(wparam)) ? handled_with(0) : FALSE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      LRESULT result = 0;
      if (header == nullptr || !OnNotify(static_cast<int>(wparam), *header, result)) return FALSE;
      return handled_with(result);
    }
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wparam & 0xFFF0)) ? handled_with(0) : FALSE;
    case WM_CLOSE:
      return OnClose() ? handled_with(0) : FALSE;
    default:
      break;
  }

  const bool skinned_show = ini_.has_value() && message == WM_SHOWWINDOW;
  if (skinned_show && wparam != FALSE) ReloadBackground();
  bool handled = false;
  const INT_PTR result = HandleMessage(message, wparam, lparam, handled);
  if (skinned_show && wparam == FALSE) background_.reset();
  if (handled) {
    // A dialog procedure answers the colour messages with the brush itself.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
    return handled_with(result);
  }
  if (message == WM_INITDIALOG) return OnInitDialog();
  if (!ini_) return FALSE;  // plain windows: the system paints and moves them

  switch (message) {
    case WM_ERASEBKGND:
      ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_NCPAINT:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      PaintBackground(dc);
      ::EndPaint(hwnd_, &ps);
      return TRUE;
    }
    case WM_PRINTCLIENT:
      // Children without a background of their own ask for the skin behind them.
      PaintBackground(reinterpret_cast<HDC>(wparam));
      return TRUE;
    case WM_LBUTTONDOWN:
      // Dragging by the window's own surface, as if by a caption.
      ::ReleaseCapture();
      ::SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace vendrel::skin
