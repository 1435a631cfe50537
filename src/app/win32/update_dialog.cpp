#include "app/win32/update_dialog.h"

#include <shellapi.h>

#include "app/update_dialog_controls.h"
#include "app/win32/shell_services.h"
#include "controls/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "skin/placement.h"
#include "skin/state_sheet.h"
#include "skin/ui/placement_ops.h"

namespace vendrel::app {
namespace {

using controls::WideFrom;

// The window's name, which no frame shows; it tells the dialog apart for tools and tests.
constexpr wchar_t kWindowName[] = L"Update and Backup";
constexpr COLORREF kCaptionColour = RGB(228, 228, 228);

}  // namespace

CUpdateDlg::CUpdateDlg(HWND owner, platform::IniProfile& ini, const AppPaths& paths,
                       ShellServices& services)
    : CBaseDialog(IDD_UPDATE, owner, ini, paths.update_skin_file, paths.update_skin_folder),
      owner_(owner),
      services_(services),
      dialogs_(owner),
      boxes_(owner, u"Corvasse Vendrel Gaming Keyboard"),
      logic_(*this, *this, dialogs_, platform::win32::Win32FileSystem(), services.Settings(),
             services.Texts(), paths.package_folder) {}

CUpdateDlg::~CUpdateDlg() = default;

void CUpdateDlg::Open() {
  if (Create() == nullptr) return;
  dialogs_.SetOwner(Hwnd());
  boxes_.SetOwner(Hwnd());
  CentreOnOwner();
  logic_.OnOpen();
  if (owner_) ::EnableWindow(owner_, FALSE);
  DoModal();
  if (owner_) {
    ::EnableWindow(owner_, TRUE);
    ::SetForegroundWindow(owner_);
  }
}

void CUpdateDlg::CloseIfOpen() {
  if (Hwnd() != nullptr && ::IsWindowVisible(Hwnd())) CloseDialog();
}

void CUpdateDlg::CentreOnOwner() {
  RECT window{};
  ::GetWindowRect(Hwnd(), &window);
  RECT anchor{};
  if (owner_ == nullptr || !::IsWindowVisible(owner_) || !::GetWindowRect(owner_, &anchor)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &anchor, 0);
  }
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = anchor.left + (anchor.right - anchor.left - width) / 2;
  const int y = anchor.top + (anchor.bottom - anchor.top - height) / 2;
  ::SetWindowPos(Hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CUpdateDlg::OnInitDialog() {
  CBaseDialog::OnInitDialog();  // ends the program when the skin's pictures cannot be loaded
  ::SetWindowTextW(Hwnd(), kWindowName);
  LoadSheets();
  PlaceControls();
  return TRUE;
}

void CUpdateDlg::LoadSheets() {
  if (sheets_loaded_) return;
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  const skin::SurfaceSize size = skin::SheetSurfaceSize(client.right, client.bottom);
  // An unreadable picture leaves its buttons blank; a surface that cannot exist at all ends the
  // program, as for the other windows' sheets.
  for (auto [sheet, file] : {std::pair{&normal_sheet_, kUpdateNormalSheet},
                             std::pair{&over_sheet_, kUpdateOverSheet}}) {
    if (!sheet->Load(WideFrom(SkinFolder() + std::u16string(file)), size.width, size.height)) {
      ::ExitProcess(0);
    }
  }
  sheets_loaded_ = true;
}

void CUpdateDlg::PlaceControls() {
  HDC dc = ::GetDC(Hwnd());
  const int height = -::MulDiv(9, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  ::ReleaseDC(Hwnd(), dc);
  font_.reset(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
  for (const UpdateDialogControl& c : kUpdateDialogControls) {
    HWND control = ::GetDlgItem(Hwnd(), c.id);
    if (control == nullptr) continue;
    const skin::Placement p = skin::PlaceOnly(control, Ini(), skin::kSectionButtonInfo, c.skin_key);
    if (!c.button) continue;
    auto& button = buttons_[c.id];
    button = std::make_unique<controls::ImageButton>();
    button->Attach(Hwnd(), c.id);
    const POINT origin{p.x, p.y};
    using skin::ButtonSlot;
    button->SetSlot(ButtonSlot::Normal, {&normal_sheet_, origin});
    button->SetSlot(ButtonSlot::Hover, {&over_sheet_, origin});
    button->SetSlot(ButtonSlot::Pressed, {&over_sheet_, origin});
    button->SetSlot(ButtonSlot::Disabled, {&normal_sheet_, origin});
    button->SetSlot(ButtonSlot::Selected, {&normal_sheet_, origin});
    button->SetLabel(WideFrom(c.caption), font_.get(), kCaptionColour);
    if (p.Absent()) ::EnableWindow(control, FALSE);
  }
  ::ShowWindow(::GetDlgItem(Hwnd(), IDC_UPD_PROGRAMS), SW_HIDE);
  if (path_label_.Attach(Hwnd(), IDC_UPD_PATH, kCaptionColour)) path_label_.SetFont(font_.get());
}

bool CUpdateDlg::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return CBaseDialog::OnCommand(id, code, control);
  switch (id) {
    case IDC_UPD_BACKUP: logic_.Backup(); return true;
    case IDC_UPD_OPEN: logic_.ChooseProgram(); return true;
    case IDC_UPD_START: logic_.StartUpdate(); return true;
    case IDC_UPD_CANCEL: logic_.CancelUpdate(); return true;
    default: return CBaseDialog::OnCommand(id, code, control);
  }
}

void CUpdateDlg::ShowProgramPath(std::u16string_view path) {
  path_label_.SetText(WideFrom(path));
  ::UpdateWindow(Hwnd());
}

void CUpdateDlg::ShowMessage(std::u16string_view text) { boxes_.ShowOk(text); }

void CUpdateDlg::CloseDialog() {
  ::ShowWindow(Hwnd(), SW_HIDE);
  EndModal(IDCANCEL);
}

device::CommandSet* CUpdateDlg::Commands() { return services_.Commands(); }

bool CUpdateDlg::StartProgram(const std::u16string& path) {
  const HINSTANCE result = ::ShellExecuteW(Hwnd(), L"open", WideFrom(path).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void CUpdateDlg::SetCurrentFolder(const std::u16string& folder) {
  ::SetCurrentDirectoryW(WideFrom(folder).c_str());
}

}  // namespace vendrel::app
