#include "app/win32/composite_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/resource_ids.h"
#include "controls/pointer_tracking.h"
#include "controls/wide_text.h"
#include "keys/assignment_tables.h"
#include "keys/key_table.h"
#include "platform/sleeper.h"
#include "skin/placement.h"
#include "skin/state_sheet.h"
#include "skin/ui/placement_ops.h"

namespace vendrel::app {
namespace {

using controls::ImageButton;
using controls::WideFrom;

constexpr COLORREF kLabelColour = RGB(228, 228, 228);
// The window's name, which no frame shows; it tells the dialog apart for tools and tests.
constexpr wchar_t kWindowName[] = L"Key Setting";
constexpr int kTabButtons[] = {IDC_CMP_TAB_KEY, IDC_CMP_TAB_MACRO, IDC_CMP_TAB_MEDIA,
                               IDC_CMP_TAB_FUNCTION};
constexpr CompositeTab kTabOfButton[] = {CompositeTab::SingleKey, CompositeTab::Macro,
                                         CompositeTab::Media, CompositeTab::Function};
// Tabs and Clear that macro-edit mode takes away, and the labels it hides.
constexpr int kNotInMacroEdit[] = {IDC_CMP_TAB_KEY, IDC_CMP_TAB_MEDIA, IDC_CMP_TAB_FUNCTION,
                                   IDC_CMP_CLEAR};
constexpr int kLabelsNotInMacroEdit[] = {IDC_CMP_KEY_LABEL, IDC_CMP_MEDIA_LABEL,
                                         IDC_CMP_FUNCTION_LABEL};

bool IsLabel(int id) {
  return std::find(kCompositeLabels.begin(), kCompositeLabels.end(), id) != kCompositeLabels.end();
}

bool Contains(const int* begin, const int* end, int id) { return std::find(begin, end, id) != end; }

}  // namespace

CCompositeDlg::CCompositeDlg(HWND owner, platform::IniProfile& ini, const AppPaths& paths,
                             store::WorkingStore& store, const texts::TextSource& texts,
                             const texts::TextTable& loaded_texts, platform::IniProfile& registry,
                             CompositeDialogHost& host)
    : CBaseDialog(IDD_COMPOSITE, owner, ini, paths.composite_skin_file, paths.composite_skin_folder),
      owner_(owner),
      texts_(texts),
      loaded_texts_(loaded_texts),
      macro_view_(*this, host),
      // The registry profile has no file: the record-delay option names none.
      macro_tab_(store, macro_view_, loaded_texts, platform::SystemSleeper(), registry, u""),
      logic_(*this, macro_tab_, host, store, loaded_texts),
      hooks_(logic_) {}

CCompositeDlg::~CCompositeDlg() { hooks_.Remove(); }

BOOL CCompositeDlg::OnInitDialog() {
  CBaseDialog::OnInitDialog();  // ends the program when the skin's pictures cannot be loaded
  ::SetWindowTextW(Hwnd(), kWindowName);
  LoadSheets();
  PlaceControls();
  FillBoxes();
  macro_view_.Attach(Hwnd(), macro_tab_, Button(IDC_CMP_RECORD), label_font_.get());
  return TRUE;
}

void CCompositeDlg::LoadSheets() {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  const skin::SurfaceSize size = skin::SheetSurfaceSize(client.right, client.bottom);
  for (std::size_t set = 0; set < sheets_.size(); ++set) {
    for (std::size_t state = 0; state < kCompositeSheetStates; ++state) {
      const std::u16string file = SkinFolder() + std::u16string(kCompositeSheetFiles[set][state]);
      // An unreadable file leaves its images empty; a surface that cannot exist at all cannot be
      // drawn from, so the program ends as it does for the main window's sheets.
      if (!sheets_[set][state].Load(WideFrom(file), size.width, size.height)) ::ExitProcess(0);
    }
  }
}

const CCompositeDlg::SheetSet& CCompositeDlg::Sheets(CompositeImageSet set) const {
  const auto index = static_cast<std::size_t>(set == CompositeImageSet::None ? CompositeImageSet::Key : set) - 1;
  return sheets_[index];
}

void CCompositeDlg::SetButtonImages(ImageButton& button, CompositeImageSet set, POINT origin) {
  const SheetSet& s = Sheets(set);
  using skin::ButtonSlot;
  button.SetSlot(ButtonSlot::Normal, {&s[0], origin});
  button.SetSlot(ButtonSlot::Hover, {&s[1], origin});
  button.SetSlot(ButtonSlot::Pressed, {&s[2], origin});
  button.SetSlot(ButtonSlot::Disabled, {&s[3], origin});
  button.SetSlot(ButtonSlot::Selected, {&s[2], origin});  // the active tab looks pressed
  button.Redraw();
}

ImageButton* CCompositeDlg::Button(int id) {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second.get();
}

void CCompositeDlg::PlaceControls() {
  for (const CompositeControl& c : kCompositeControls) {
    HWND control = ::GetDlgItem(Hwnd(), c.id);
    if (control == nullptr) continue;
    const skin::Placement p = skin::PlaceOnly(control, Ini(), skin::kSectionButtonInfo, c.skin_key);
    if (c.images == CompositeImageSet::None) continue;
    auto& button = buttons_[c.id];
    button = std::make_unique<ImageButton>();
    button->Attach(Hwnd(), c.id);
    origins_[c.id] = POINT{p.x, p.y};
    SetButtonImages(*button, c.images, origins_[c.id]);
    if (p.Absent()) ::EnableWindow(control, FALSE);
  }
  if (mask_.Attach(Hwnd(), IDC_CMP_MASK)) {
    const skin::Placement p =
        skin::PlaceOnly(mask_.Hwnd(), Ini(), skin::kSectionButtonInfo, kCompositeMaskSkinKey);
    mask_origin_ = POINT{p.x, p.y};
    SetButtonImages(mask_, CompositeImageSet::Key, mask_origin_);
  }
  HDC dc = ::GetDC(Hwnd());
  const int height = -::MulDiv(9, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  ::ReleaseDC(Hwnd(), dc);
  label_font_.reset(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
  for (int id : kCompositeLabels) {
    ::SendDlgItemMessageW(Hwnd(), id, WM_SETFONT, reinterpret_cast<WPARAM>(label_font_.get()), FALSE);
  }
}

void CCompositeDlg::FillBoxes() {
  HWND media = ::GetDlgItem(Hwnd(), IDC_CMP_MEDIA_BOX);
  ::SendMessageW(media, CB_RESETCONTENT, 0, 0);
  for (const keys::MediaFunction& m : keys::kMediaTable) {
    const std::wstring name = WideFrom(keys::KeyName(m.code, loaded_texts_));
    ::SendMessageW(media, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  HWND functions = ::GetDlgItem(Hwnd(), IDC_CMP_FUNCTION_BOX);
  ::SendMessageW(functions, CB_RESETCONTENT, 0, 0);
  for (const texts::TextKey text : keys::kFunctionTable) {
    const std::wstring name = WideFrom(loaded_texts_.Text(text));
    ::SendMessageW(functions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void CCompositeDlg::AddTooltip(int id, const std::wstring& text) {
  if (tooltip_ == nullptr) {
    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = Hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(Hwnd(), id));
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CCompositeDlg::ApplyTexts() {
  for (const CompositeCaption& c : kCompositeCaptions) {
    const std::wstring text = WideFrom(texts_.Text(c.text));
    if (ImageButton* b = Button(c.id)) {
      b->SetLabel(text, label_font_.get(), kLabelColour);
    } else {
      ::SetDlgItemTextW(Hwnd(), c.id, text.c_str());
    }
  }
  AddTooltip(IDC_CMP_CLEAR, WideFrom(texts_.Text(texts::LiveTextKey::COMPOSITE_PROMPT_CLEAR)));
  AddTooltip(IDC_CMP_OSK, WideFrom(texts_.Text(texts::LiveTextKey::COMPOSITE_PROMPT_OSK)));
}

void CCompositeDlg::Open(const KeyDialogRequest& request, HWND clicked_button) {
  if (Create() == nullptr) return;
  ApplyTexts();
  macro_view_.Reset(loaded_texts_);
  logic_.Open(request.block, request.slot, request.control_id);
  PlaceBeside(clicked_button);
  if (owner_) ::EnableWindow(owner_, FALSE);
  DoModal();
  if (owner_) {
    ::EnableWindow(owner_, TRUE);
    ::SetForegroundWindow(owner_);
  }
}

void CCompositeDlg::PlaceBeside(HWND clicked_button) {
  RECT window{};
  ::GetWindowRect(Hwnd(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  RECT anchor{};
  if (clicked_button == nullptr || !::GetWindowRect(clicked_button, &anchor)) anchor = window;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int left = anchor.right;
  int top = anchor.top;
  left = std::max<int>(work.left, std::min<int>(left, work.right - width));
  top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
  ::SetWindowPos(Hwnd(), HWND_TOP, left, top, 0, 0, SWP_NOSIZE);
}

void CCompositeDlg::EndDialog() {
  ::ShowWindow(Hwnd(), SW_HIDE);
  controls::StopPointerTracking();  // the pointer rests where the closing click was
  EndModal(IDOK);
}

bool CCompositeDlg::OnClose() {
  logic_.Close();
  return true;
}

// ---- what the logic asks ---------------------------------------------------------------------

void CCompositeDlg::ShowMode(bool macro_edit) {
  macro_edit_ = macro_edit;
  for (int id : kNotInMacroEdit) ::EnableWindow(::GetDlgItem(Hwnd(), id), macro_edit ? FALSE : TRUE);
  for (const CompositeControl& c : kCompositeControls) {
    if (!c.macro_edit_images) continue;
    if (ImageButton* b = Button(c.id)) {
      SetButtonImages(*b, macro_edit ? CompositeImageSet::Macro2 : c.images, origins_[c.id]);
    }
  }
  const texts::LiveTextKey prompt =
      macro_edit ? texts::LiveTextKey::MACRO_EDIT_TISHI : texts::LiveTextKey::KEY_SETTING_TISHI;
  ::SetDlgItemTextW(Hwnd(), IDC_CMP_PROMPT, WideFrom(texts_.Text(prompt)).c_str());
  if (macro_edit) {
    for (int id : {IDC_CMP_TAB_KEY, IDC_CMP_TAB_MEDIA, IDC_CMP_TAB_FUNCTION}) {
      if (ImageButton* b = Button(id)) b->SetLabel(L"", label_font_.get(), kLabelColour);
    }
  }
}

void CCompositeDlg::ShowTab(CompositeTab tab) {
  tab_ = tab;
  for (const CompositeControl& c : kCompositeControls) {
    if (!c.tab) continue;
    bool shown = *c.tab == tab;
    if (macro_edit_ && Contains(std::begin(kLabelsNotInMacroEdit), std::end(kLabelsNotInMacroEdit), c.id)) {
      shown = false;
    }
    ::ShowWindow(::GetDlgItem(Hwnd(), c.id), shown ? SW_SHOW : SW_HIDE);
  }
  for (std::size_t i = 0; i < std::size(kTabButtons); ++i) {
    if (ImageButton* b = Button(kTabButtons[i])) b->SetSelected(kTabOfButton[i] == tab);
  }
  SetButtonImages(mask_, MaskImageSet(tab), mask_origin_);
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
  if (tab == CompositeTab::SingleKey) ::SetFocus(::GetDlgItem(Hwnd(), IDC_CMP_KEY_FIELD));
}

void CCompositeDlg::SetKeyField(std::u16string_view text) {
  ::SetDlgItemTextW(Hwnd(), IDC_CMP_KEY_FIELD, WideFrom(text).c_str());
}

void CCompositeDlg::EnableApply(bool enabled) {
  ::EnableWindow(::GetDlgItem(Hwnd(), IDC_CMP_APPLY), enabled ? TRUE : FALSE);
}

void CCompositeDlg::SelectMedia(int position) {
  ::SendDlgItemMessageW(Hwnd(), IDC_CMP_MEDIA_BOX, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void CCompositeDlg::SelectFunction(int position) {
  ::SendDlgItemMessageW(Hwnd(), IDC_CMP_FUNCTION_BOX, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

int CCompositeDlg::SelectedMedia() const {
  return static_cast<int>(::SendDlgItemMessageW(Hwnd(), IDC_CMP_MEDIA_BOX, CB_GETCURSEL, 0, 0));
}

int CCompositeDlg::SelectedFunction() const {
  return static_cast<int>(::SendDlgItemMessageW(Hwnd(), IDC_CMP_FUNCTION_BOX, CB_GETCURSEL, 0, 0));
}

// ---- messages --------------------------------------------------------------------------------

bool CCompositeDlg::PreTranslateMessage(MSG& msg) {
  if (msg.hwnd != Hwnd() && !::IsChild(Hwnd(), msg.hwnd)) return false;
  // A cell editor of the action list ends on Enter and Escape.
  if (macro_view_.IsCellEditor(msg.hwnd)) return false;
  // Neither Enter nor Escape closes the dialog: the user may be choosing either as a key.
  const bool key_message = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
  return key_message && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

bool CCompositeDlg::OnCommand(int id, int code, HWND) {
  if (macro_view_.OnCommand(id, code)) return true;
  if (code != BN_CLICKED) return false;  // list and edit notifications keep their defaults
  for (std::size_t i = 0; i < std::size(kTabButtons); ++i) {
    if (id == kTabButtons[i]) {
      logic_.OnTabButton(kTabOfButton[i]);
      return true;
    }
  }
  switch (id) {
    case IDOK: logic_.Ok(); return true;
    case IDCANCEL: logic_.Close(); return true;
    case IDC_CMP_APPLY: logic_.Apply(); return true;
    case IDC_CMP_CLEAR: logic_.OnClear(); return true;
    case IDC_CMP_OSK:
      ::ShellExecuteW(Hwnd(), L"open", L"osk.exe", L"", L"", SW_SHOW);
      return true;
    case IDC_CMP_MASK: {
      if (tab_ == CompositeTab::Macro) {
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return true;
      }
      const int focus = tab_ == CompositeTab::Media      ? IDC_CMP_MEDIA_BOX
                        : tab_ == CompositeTab::Function ? IDC_CMP_FUNCTION_BOX
                                                         : IDC_CMP_KEY_FIELD;
      ::SetFocus(::GetDlgItem(Hwnd(), focus));
      return true;
    }
    default: return false;
  }
}

bool CCompositeDlg::OnNotify(int id, NMHDR& header, LRESULT&) {
  return macro_view_.OnNotify(id, header);
}

INT_PTR CCompositeDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  // F1 while recording is a keystroke for the macro, not a request for help.
  if (message == WM_HELP && macro_tab_.Recording()) {
    handled = true;
    return TRUE;
  }
  if (message == WM_CTLCOLORSTATIC && IsLabel(::GetDlgCtrlID(reinterpret_cast<HWND>(lparam)))) {
    HDC dc = reinterpret_cast<HDC>(wparam);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kLabelColour);
    handled = true;
    return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
  }
  return 0;
}

}  // namespace vendrel::app
