#include "app/win32/profile_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>

#include "app/resource_ids.h"
#include "controls/wide_text.h"
#include "skin/placement.h"
#include "skin/state_sheet.h"
#include "skin/ui/placement_ops.h"

namespace vendrel::app {
namespace {

using controls::ImageButton;
using controls::WideFrom;

// The window's name, which no frame shows; it tells the dialog apart for tools and tests.
constexpr wchar_t kWindowName[] = L"Profiles";
constexpr wchar_t kAppTitle[] = L"Corvasse Vendrel Gaming Keyboard";
constexpr COLORREF kLabelColour = RGB(255, 255, 255);
constexpr const wchar_t* kSheetFiles[] = {L"Profile_normal.jpg", L"Profile_over.jpg",
                                          L"Profile_down.jpg"};

struct SkinnedButton {
  int id;
  std::u16string_view skin_key;
  const wchar_t* caption;
};
constexpr SkinnedButton kButtons[] = {
    {IDOK, u"CONTROL_OK", L"\u786E\u5B9A"},
    {IDCANCEL, u"CONTROL_CANCEL", L"\u53D6\u6D88"},
    {IDC_PRF_ADD, u"FUNC_ADD", L"\u6DFB\u52A0"},
    {IDC_PRF_LOAD, u"FUNC_LOAD", L"\u8F7D\u5165"},
    {IDC_PRF_DELETE, u"FUNC_DELETE", L"\u5220\u9664"},
    {IDC_PRF_APPLY, u"CONTROL2_APPLY", L"\u5E94\u7528"},
};
constexpr std::u16string_view kListSkinKey = u"PROGRAM_LIST";

struct Column {
  const wchar_t* header;
  int width;
};
constexpr Column kColumns[] = {
    {L"\u6FC0\u6D3B", 60},   // the check box
    {L"\u540D\u79F0", 120},  // file name without extension
    {L"\u8DEF\u5F84", 230},  // folder with its trailing separator
};

// State image 0 shows no box, 1 an empty one, 2 a checked one.
UINT CheckImage(bool offered, bool checked) {
  return INDEXTOSTATEIMAGEMASK(offered ? (checked ? 2 : 1) : 0);
}

}  // namespace

CProfileDlg::CProfileDlg(HWND owner, platform::IniProfile& ini, const AppPaths& paths,
                         ProfileDialogHost& host, platform::IniProfile& registry,
                         const texts::TextSource& texts)
    : CBaseDialog(IDD_PROFILE, owner, ini, paths.profile_skin_file, paths.profile_skin_folder),
      owner_(owner),
      paths_(paths),
      texts_(texts),
      dialogs_(owner),
      logic_(*this, host, dialogs_, registry, texts) {}

CProfileDlg::~CProfileDlg() = default;

BOOL CProfileDlg::OnInitDialog() {
  CBaseDialog::OnInitDialog();  // ends the program when the skin's pictures cannot be loaded
  ::SetWindowTextW(Hwnd(), kWindowName);
  dialogs_.SetOwner(Hwnd());
  LoadSheets();
  PlaceControls();
  SetUpList();
  return TRUE;
}

void CProfileDlg::LoadSheets() {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  const skin::SurfaceSize size = skin::SheetSurfaceSize(client.right, client.bottom);
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    // An unreadable file leaves its images empty; a surface that cannot exist at all ends the
    // program, as for the other windows' sheets.
    if (!sheets_[i].Load(WideFrom(SkinFolder()) + kSheetFiles[i], size.width, size.height)) {
      ::ExitProcess(0);
    }
  }
}

void CProfileDlg::PlaceControls() {
  HDC dc = ::GetDC(Hwnd());
  const int height = -::MulDiv(9, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  ::ReleaseDC(Hwnd(), dc);
  label_font_.reset(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
  // Normal, hover, pressed; the pressed picture also serves the disabled and selected looks.
  const skin::SlotSurfaces slots{&sheets_[0], &sheets_[1], &sheets_[2], &sheets_[2], &sheets_[2]};
  for (const SkinnedButton& b : kButtons) {
    auto& button = buttons_[b.id];
    button = std::make_unique<ImageButton>();
    if (!button->Attach(Hwnd(), b.id)) continue;
    skin::PlaceWithImages(*button, Ini(), skin::kSectionButtonInfo, b.skin_key, slots);
    button->SetLabel(b.caption, label_font_.get(), kLabelColour);
  }
  ::ShowWindow(::GetDlgItem(Hwnd(), IDC_PRF_UNUSED), SW_HIDE);
  if (HWND list = List()) skin::PlaceOnly(list, Ini(), skin::kSectionButtonInfo, kListSkinKey);
}

HWND CProfileDlg::List() const { return ::GetDlgItem(Hwnd(), IDC_PRF_LIST); }

void CProfileDlg::SetUpList() {
  HWND list = List();
  if (list == nullptr) return;
  ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(label_font_.get()), FALSE);
  const DWORD ex = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(kColumns[i].header);
    column.cx = kColumns[i].width;
    column.iSubItem = static_cast<int>(i);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void CProfileDlg::Open() {
  if (Create() == nullptr) return;
  logic_.Open();
  if (owner_) ::EnableWindow(owner_, FALSE);
  DoModal();
  if (owner_) {
    ::EnableWindow(owner_, TRUE);
    ::SetForegroundWindow(owner_);
  }
}

// ---- what the logic asks ---------------------------------------------------------------------

void CProfileDlg::ClearRows() {
  ++quiet_;
  ::SendMessageW(List(), LVM_DELETEALLITEMS, 0, 0);
  offers_check_.clear();
  --quiet_;
}

void CProfileDlg::AppendRow(const ProfileRow& row, bool offer_check) {
  HWND list = List();
  ++quiet_;
  const std::wstring name = WideFrom(row.name);
  const std::wstring folder = WideFrom(row.folder);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<wchar_t*>(L"");
  const int index = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (index >= 0) {
    LVITEMW cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<wchar_t*>(name.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
    cell.iSubItem = 2;
    cell.pszText = const_cast<wchar_t*>(folder.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
    offers_check_.push_back(offer_check);
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = CheckImage(offer_check, false);
    ::SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
  }
  --quiet_;
}

void CProfileDlg::RemoveRow(int row) {
  ++quiet_;
  ::SendMessageW(List(), LVM_DELETEITEM, row, 0);
  if (row >= 0 && row < static_cast<int>(offers_check_.size())) {
    offers_check_.erase(offers_check_.begin() + row);
  }
  --quiet_;
}

void CProfileDlg::SetChecked(int row, bool checked) {
  if (row < 0 || row >= static_cast<int>(offers_check_.size())) return;
  ++quiet_;
  LVITEMW state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = CheckImage(offers_check_[static_cast<std::size_t>(row)], checked);
  ::SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  --quiet_;
}

int CProfileDlg::SelectedRow() const {
  return static_cast<int>(::SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CProfileDlg::SelectRow(int row) {
  HWND list = List();
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  if (row < 0) return;
  LVITEMW select{};
  select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  select.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&select));
  ::SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void CProfileDlg::EnableApply(bool enabled) {
  HWND apply = ::GetDlgItem(Hwnd(), IDC_PRF_APPLY);
  ::EnableWindow(apply, enabled ? TRUE : FALSE);
  const auto it = buttons_.find(IDC_PRF_APPLY);
  if (it != buttons_.end() && it->second) it->second->Redraw();
}

void CProfileDlg::ShowMessage(std::u16string_view text) {
  ::MessageBoxW(Hwnd(), WideFrom(text).c_str(), kAppTitle, MB_OK | MB_ICONINFORMATION);
}

void CProfileDlg::EndDialog() {
  ::ShowWindow(Hwnd(), SW_HIDE);
  EndModal(IDCANCEL);
}

// ---- messages --------------------------------------------------------------------------------

bool CProfileDlg::OnClose() {
  logic_.Cancel();
  return true;
}

bool CProfileDlg::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDOK: logic_.Ok(); return true;
    case IDCANCEL: logic_.Cancel(); return true;
    case IDC_PRF_ADD: logic_.OnAdd(); return true;
    case IDC_PRF_LOAD: logic_.OnLoad(); return true;
    case IDC_PRF_DELETE: logic_.OnDelete(); return true;
    case IDC_PRF_APPLY: logic_.Apply(); return true;
    case IDC_PRF_UNUSED: return true;
    default: return false;
  }
}

bool CProfileDlg::OnNotify(int id, NMHDR& header, LRESULT&) {
  if (id != IDC_PRF_LIST || header.code != LVN_ITEMCHANGED || quiet_ > 0) return false;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) return false;
  const UINT before = (change.uOldState & LVIS_STATEIMAGEMASK) >> 12;
  const UINT after = (change.uNewState & LVIS_STATEIMAGEMASK) >> 12;
  if (before == after || after == 0) return false;
  // A row without a box that the space bar gave one asks for a check the logic takes back.
  const auto row = static_cast<std::size_t>(change.iItem);
  const bool offered = row < offers_check_.size() && offers_check_[row];
  logic_.OnRowCheck(change.iItem, offered ? after == 2 : true);
  return true;
}

INT_PTR CProfileDlg::HandleMessage(UINT message, WPARAM, LPARAM, bool& handled) {
  if (message == WM_HELP) {
    ::ShellExecuteW(Hwnd(), L"open", L"index.html", nullptr, WideFrom(paths_.help_folder).c_str(),
                    SW_SHOWNORMAL);
    handled = true;
    return TRUE;
  }
  return 0;
}

}  // namespace vendrel::app
