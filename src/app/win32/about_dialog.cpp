#include "app/win32/about_dialog.h"

#include <shellapi.h>

#include "app/win32/resource_ids.h"

namespace vendrel::app {

CAboutDlg::~CAboutDlg() {
  if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

void CAboutDlg::Show() {
  if (hwnd_ == nullptr) {
    hwnd_ = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX),
                                 nullptr, &CAboutDlg::Proc, reinterpret_cast<LPARAM>(this));
    if (hwnd_ == nullptr) return;
  }
  Fill();
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
}

bool CAboutDlg::CanClose() {
  if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
  return true;
}

void CAboutDlg::Fill() {
  ::SetDlgItemTextW(hwnd_, IDC_ABOUT_TEXT1, texts_("GUANYU_JIESHAO").c_str());
  ::SetDlgItemTextW(hwnd_, IDC_ABOUT_TEXT2, texts_("GUANYU_BANQUAN").c_str());
  ::SetDlgItemTextW(hwnd_, IDC_ABOUT_LINK, link_.c_str());
}

INT_PTR CALLBACK CAboutDlg::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    ::SendDlgItemMessageW(hwnd, IDC_ABOUT_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconW(::GetModuleHandleW(nullptr),
                                                               MAKEINTRESOURCEW(IDI_DISCONNECTED))),
                          0);
    return TRUE;
  }
  auto* self = reinterpret_cast<CAboutDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  if (self == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
        case IDCANCEL:
          ::ShowWindow(hwnd, SW_HIDE);
          return TRUE;
        case IDC_ABOUT_LINK:
          ::ShellExecuteW(nullptr, L"open", self->link_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      ::ShowWindow(hwnd, SW_HIDE);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace vendrel::app
