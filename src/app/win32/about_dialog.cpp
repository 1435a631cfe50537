#include "app/win32/about_dialog.h"

#include <shellapi.h>

#include "app/resource_ids.h"
#include "controls/wide_text.h"

namespace vendrel::app {

CAboutDlg::CAboutDlg(const texts::TextSource& texts, std::wstring link)
    : CBaseDialog(IDD_ABOUTBOX, nullptr), texts_(texts), link_(std::move(link)) {}

void CAboutDlg::Show() {
  if (Create() == nullptr) return;
  Fill();
  ::ShowWindow(Hwnd(), SW_SHOW);
  ::SetForegroundWindow(Hwnd());
}

bool CAboutDlg::CanClose() {
  if (Hwnd()) ::ShowWindow(Hwnd(), SW_HIDE);
  return true;
}

void CAboutDlg::Fill() {
  using controls::WideFrom;
  ::SetDlgItemTextW(Hwnd(), IDC_ABOUT_TEXT1,
                    WideFrom(texts_.Text(texts::LiveTextKey::GUANYU_JIESHAO)).c_str());
  ::SetDlgItemTextW(Hwnd(), IDC_ABOUT_TEXT2,
                    WideFrom(texts_.Text(texts::LiveTextKey::GUANYU_BANQUAN)).c_str());
  ::SetDlgItemTextW(Hwnd(), IDC_ABOUT_LINK, link_.c_str());
}

BOOL CAboutDlg::OnInitDialog() {
  ::SendDlgItemMessageW(Hwnd(), IDC_ABOUT_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(::LoadIconW(::GetModuleHandleW(nullptr),
                                                             MAKEINTRESOURCEW(IDI_DISCONNECTED))),
                        0);
  return TRUE;
}

void CAboutDlg::OnOK() { ::ShowWindow(Hwnd(), SW_HIDE); }

void CAboutDlg::OnCancel() { ::ShowWindow(Hwnd(), SW_HIDE); }

bool CAboutDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      OnOK();
      return true;
    case IDC_ABOUT_LINK:
      ::ShellExecuteW(nullptr, L"open", link_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      return true;
    default:
      return CBaseDialog::OnCommand(id, code, control);
  }
}

}  // namespace vendrel::app
