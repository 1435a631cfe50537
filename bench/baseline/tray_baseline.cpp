// The yardstick of the start-up and memory figures: the least a dialog program with a tray icon
// costs under the same Wine. An empty modeless dialog, kept hidden, and one icon in the tray;
// WM_CLOSE (taskkill, or the icon's right click) takes the icon away and ends the program.
#include <windows.h>
#include <shellapi.h>

#include <iterator>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayId = 1;

// A dialog template with no controls: style, extended style, count, place and size, then the
// empty menu, class and title arrays (one zero word each).
struct alignas(4) EmptyDialog {
  DLGTEMPLATE header{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER, 0, 0, 0, 0, 200, 100};
  WORD menu = 0;
  WORD window_class = 0;
  WORD title = 0;
};

NOTIFYICONDATAW TrayIcon(HWND dialog) {
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = dialog;
  icon.uID = kTrayId;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = kTrayMessage;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"Tray baseline", static_cast<int>(std::size(icon.szTip)));
  return icon;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      NOTIFYICONDATAW icon = TrayIcon(dialog);
      Shell_NotifyIconW(NIM_ADD, &icon);
      return TRUE;
    }
    case kTrayMessage:
      if (LOWORD(lparam) == WM_RBUTTONUP) PostMessageW(dialog, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE: {
      NOTIFYICONDATAW icon = TrayIcon(dialog);
      Shell_NotifyIconW(NIM_DELETE, &icon);
      DestroyWindow(dialog);
      return TRUE;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  static const EmptyDialog kTemplate;
  HWND dialog = CreateDialogIndirectParamW(instance, &kTemplate.header, nullptr, DialogProc, 0);
  if (dialog == nullptr) return 1;
  SetWindowTextW(dialog, L"Tray baseline");
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
