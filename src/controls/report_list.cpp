#include "controls/report_list.h"

#include <commctrl.h>

#include <algorithm>

#include "control_logic/cell_editor_input.h"
#include "control_logic/cell_geometry.h"
#include "controls/wide_text.h"

namespace vendrel::controls {
namespace {

// Private messages of the list window, posted to itself so that they run outside the list's
// mouse handling and outside an editor's own messages.
constexpr UINT kMsgCellClicked = WM_APP + 0x3A0;  // wparam x, lparam y of the click
constexpr UINT kMsgDestroyRetired = WM_APP + 0x3A1;
constexpr int kEditorId = 1;

constexpr DWORD kListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;

void UseReportStyle(HWND list) {
  const LONG_PTR style = ::GetWindowLongPtrW(list, GWL_STYLE);
  // Editors are the list's children: clipping them keeps the list from painting over them.
  const LONG_PTR view = style & ~static_cast<LONG_PTR>(LVS_TYPEMASK);
  ::SetWindowLongPtrW(list, GWL_STYLE, view | kListStyle | WS_CLIPCHILDREN);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

}  // namespace

ReportList::~ReportList() {
  parent_hook_.Remove();
  list_hook_.Remove();
  editor_.reset();
  retired_.clear();
}

bool ReportList::Attach(HWND dialog, int control_id) {
  list_ = ::GetDlgItem(dialog, control_id);
  id_ = control_id;
  if (list_ == nullptr) return false;
  UseReportStyle(list_);
  return Hook();
}

bool ReportList::Create(HWND parent, int control_id, const RECT& bounds) {
  list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | kListStyle,
                            bounds.left, bounds.top, bounds.right - bounds.left,
                            bounds.bottom - bounds.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                            ::GetModuleHandleW(nullptr), nullptr);
  id_ = control_id;
  if (list_ == nullptr) return false;
  ::SendMessageW(list_, WM_SETFONT, ::SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
  UseReportStyle(list_);
  return Hook();
}

bool ReportList::Hook() {
  const bool list_hooked = list_hook_.Install(
      list_, [this](UINT m, WPARAM w, LPARAM l) { return OnListMessage(m, w, l); });
  const bool parent_hooked = parent_hook_.Install(
      ::GetParent(list_), [this](UINT m, WPARAM w, LPARAM l) { return OnParentMessage(m, w, l); });
  return list_hooked && parent_hooked;
}

// Columns ------------------------------------------------------------------------------------

void ReportList::SetColumns(std::span<const ReportColumn> columns) {
  EndEdit(true);
  while (::SendMessageW(list_, LVM_DELETECOLUMN, 0, 0) != FALSE) {
  }
  grey_.clear();
  for (const ReportColumn& c : columns) {
    std::wstring header = c.header;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = header.data();
    column.cx = std::max(c.width, 0);
    column.iSubItem = static_cast<int>(grey_.size());
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, grey_.size(), reinterpret_cast<LPARAM>(&column));
    grey_.push_back(c.grey);
  }
}

void ReportList::SetColumnGrey(int column, bool grey) {
  if (column < 0 || column >= static_cast<int>(grey_.size())) return;
  grey_[static_cast<std::size_t>(column)] = grey;
  ::InvalidateRect(list_, nullptr, FALSE);
}

int ReportList::ColumnCount() const {
  const auto header = reinterpret_cast<HWND>(::SendMessageW(list_, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::vector<int> ReportList::ColumnWidths() const {
  std::vector<int> widths;
  const int count = ColumnCount();
  for (int c = 0; c < count; ++c) {
    widths.push_back(static_cast<int>(::SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0)));
  }
  return widths;
}

// Rows ---------------------------------------------------------------------------------------

int ReportList::InsertRow(int at, std::span<const std::wstring> cells) {
  const int count = RowCount();
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = at < 0 || at > count ? count : at;
  std::wstring first = cells.empty() ? std::wstring() : cells.front();
  item.pszText = first.data();
  const int row = static_cast<int>(
      ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  for (std::size_t c = 1; c < cells.size(); ++c) SetCell(row, static_cast<int>(c), cells[c]);
  return row;
}

void ReportList::SetCell(int row, int column, const std::wstring& text) {
  std::wstring copy = text;
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  ::SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::wstring ReportList::Cell(int row, int column) const {
  // The list copies at most the buffer's size and says how much it copied; grow until it fits.
  for (std::size_t size = 64; size <= 65536; size *= 4) {
    std::wstring text(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(size);
    const auto copied = static_cast<std::size_t>(
        ::SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < size) {
      text.resize(copied);
      return text;
    }
  }
  return {};
}

void ReportList::RemoveRow(int row) {
  EndEdit(true);
  ::SendMessageW(list_, LVM_DELETEITEM, row, 0);
}

void ReportList::RemoveAll() {
  EndEdit(true);
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

int ReportList::RowCount() const {
  return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

int ReportList::Selected() const {
  return static_cast<int>(
      ::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ReportList::Select(int row) {
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&clear));
  if (row < 0 || row >= RowCount()) return;
  LVITEMW set{};
  set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  set.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&set));
}

void ReportList::EnsureVisible(int row) { ::SendMessageW(list_, LVM_ENSUREVISIBLE, row, FALSE); }

// Editors ------------------------------------------------------------------------------------

bool ReportList::CellRect(int row, int column, RECT& cell) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return false;
  EnsureVisible(row);
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  if (::SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds)) == FALSE) {
    return false;
  }
  RECT client{};
  ::GetClientRect(list_, &client);
  // The row's left edge is where the content starts, scrolled.
  const control_logic::Span content = control_logic::ColumnSpan(ColumnWidths(), column);
  control_logic::Span seen{bounds.left + content.left, bounds.left + content.right};
  if (const int scroll = control_logic::ScrollToShow(seen, client.right); scroll != 0) {
    ::SendMessageW(list_, LVM_SCROLL, scroll, 0);
    RECT after{};
    after.left = LVIR_BOUNDS;
    ::SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&after));
    seen = {after.left + content.left, after.left + content.right};
  }
  const control_logic::Span shown = control_logic::ClampToView(seen, client.right);
  if (shown.Width() <= 0) return false;
  cell = {shown.left, bounds.top, shown.right, bounds.bottom};
  return true;
}

ReportList::Editor& ReportList::OpenEditor(int row, int column, EditorKind kind, HWND window) {
  auto editor = std::make_unique<Editor>();
  editor->row = row;
  editor->column = column;
  editor->kind = kind;
  editor->window.reset(window);
  Editor* raw = editor.get();
  editor->hook.Install(window, [this, raw](UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_NCDESTROY) return std::nullopt;
    // Counted until the editor's own procedure has returned too: its notifications (focus
    // lost, entry chosen) end the editor from inside it.
    ++editor_depth_;
    const std::optional<LRESULT> handled = OnEditorMessage(*raw, m, w, l);
    const LRESULT result = handled ? *handled : raw->hook.PassOn(m, w, l);
    if (--editor_depth_ == 0 && !retired_.empty()) RetireLater();
    return result;
  });
  ::SendMessageW(window, WM_SETFONT, ::SendMessageW(list_, WM_GETFONT, 0, 0), FALSE);
  editor_ = std::move(editor);
  return *editor_;
}

void ReportList::EditDropDown(int row, int column, std::span<const std::wstring> items,
                              int selected, int visible_rows) {
  EndEdit(true);
  RECT cell{};
  if (!CellRect(row, column, cell)) return;
  const int cell_height = cell.bottom - cell.top;
  HWND combo = ::CreateWindowExW(
      0, WC_COMBOBOXW, L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT,
      cell.left, cell.top, cell.right - cell.left, cell_height, list_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)), ::GetModuleHandleW(nullptr),
      nullptr);
  if (combo == nullptr) return;
  Editor& editor = OpenEditor(row, column, EditorKind::DropDown, combo);
  for (const std::wstring& entry : items) {
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  const int count = static_cast<int>(items.size());
  const int item_height = static_cast<int>(::SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  const int rows = control_logic::DropDownRows(visible_rows, count);
  ::SetWindowPos(combo, nullptr, 0, 0, cell.right - cell.left,
                 control_logic::DropDownHeight(cell_height, item_height, visible_rows, count),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Newer common controls size the dropped list by a count of rows, not by the window height.
  ::SendMessageW(combo, CB_SETMINVISIBLE, rows, 0);
  ::SendMessageW(combo, CB_SETCURSEL, control_logic::ValidSelection(selected, count), 0);
  ::ShowWindow(editor.window.get(), SW_SHOW);
  ::SetFocus(editor.window.get());
  if (editor_ && editor_.get() == &editor) ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
}

void ReportList::EditNumber(int row, int column, const std::wstring& text) {
  EndEdit(true);
  RECT cell{};
  if (!CellRect(row, column, cell)) return;
  HWND field = ::CreateWindowExW(
      0, WC_EDITW, text.c_str(), WS_CHILD | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL | ES_LEFT,
      cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, list_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)), ::GetModuleHandleW(nullptr),
      nullptr);
  if (field == nullptr) return;
  Editor& editor = OpenEditor(row, column, EditorKind::Number, field);
  ::ShowWindow(editor.window.get(), SW_SHOW);
  ::SetFocus(editor.window.get());
  ::SendMessageW(field, EM_SETSEL, 0, -1);
}

void ReportList::EndEdit(bool keep) { Finish(keep); }

bool ReportList::IsEditor(HWND hwnd) const {
  return editor_ != nullptr && hwnd != nullptr &&
         (hwnd == editor_->window.get() || ::IsChild(editor_->window.get(), hwnd) != FALSE);
}

void ReportList::Finish(bool keep) {
  if (!editor_) return;
  // Taken out first: what follows (hiding, the report) may end up here again.
  std::unique_ptr<Editor> editor = std::move(editor_);
  HWND window = editor->window.get();
  int chosen = -1;
  std::wstring digits;
  if (editor->kind == EditorKind::DropDown) {
    chosen = static_cast<int>(::SendMessageW(window, CB_GETCURSEL, 0, 0));
    ::SendMessageW(window, CB_SHOWDROPDOWN, FALSE, 0);
  } else {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        std::max(::GetWindowTextW(window, text.data(), static_cast<int>(text.size())), 0)));
    digits = WideFrom(control_logic::KeepDigits(U16From(text.c_str())));
  }
  if (::GetFocus() == window || ::IsChild(window, ::GetFocus())) ::SetFocus(list_);
  ::ShowWindow(window, SW_HIDE);
  const int row = editor->row;
  const int column = editor->column;
  const EditorKind kind = editor->kind;
  retired_.push_back(std::move(editor));
  if (editor_depth_ == 0) RetireLater();
  if (!keep) return;
  if (kind == EditorKind::DropDown) {
    if (chosen >= 0 && entry_chosen_) entry_chosen_(row, column, chosen);
  } else if (number_entered_) {
    number_entered_(row, column, digits);
  }
}

void ReportList::RetireLater() {
  if (list_ != nullptr) ::PostMessageW(list_, kMsgDestroyRetired, 0, 0);
}

void ReportList::DestroyRetired() {
  if (editor_depth_ == 0) retired_.clear();
}

// Messages -----------------------------------------------------------------------------------

std::optional<LRESULT> ReportList::OnEditorMessage(Editor& editor, UINT message, WPARAM wparam,
                                                   LPARAM lparam) {
  if (editor_.get() != &editor) return std::nullopt;  // ended, waiting to be destroyed
  switch (message) {
    case WM_GETDLGCODE:
      // Enter and Escape belong to the editor, not to the dialog's default buttons.
      return editor.hook.PassOn(message, wparam, lparam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN || wparam == VK_ESCAPE) {
        Finish(wparam == VK_RETURN);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wparam == L'\r' || wparam == 0x1B) return 0;  // no beep for the keys handled above
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::optional<LRESULT> ReportList::OnListMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (editor_ && reinterpret_cast<HWND>(lparam) == editor_->window.get()) {
        switch (HIWORD(wparam)) {
          case EN_KILLFOCUS:
          case CBN_KILLFOCUS:
          case CBN_SELENDOK:
            Finish(true);
            break;
          default:
            break;
        }
        return 0;
      }
      break;
    case WM_NOTIFY: {
      // The header's: resizing a column moves the cell under an open editor.
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      const bool tracking = header != nullptr && (header->code == HDN_BEGINTRACKW ||
                                                  header->code == HDN_BEGINTRACKA);
      if (tracking) EndEdit(true);
      break;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
      EndEdit(true);
      break;
    case kMsgCellClicked: {
      const POINT at{static_cast<LONG>(static_cast<INT_PTR>(wparam)),
                     static_cast<LONG>(static_cast<INT_PTR>(lparam))};
      ReportClick(at);
      return 0;
    }
    case kMsgDestroyRetired:
      DestroyRetired();
      return 0;
    case WM_DESTROY:
      // The editors are children and go with the list, without a report; their hooks come off
      // as they go, so the objects stay until the list's last message.
      if (editor_) retired_.push_back(std::move(editor_));
      for (const auto& editor : retired_) editor->window.release();
      break;
    case WM_NCDESTROY:
      retired_.clear();
      list_ = nullptr;
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::optional<LRESULT> ReportList::OnParentMessage(UINT message, WPARAM, LPARAM lparam) {
  if (message != WM_NOTIFY || list_ == nullptr) return std::nullopt;
  auto* header = reinterpret_cast<NMHDR*>(lparam);
  if (header == nullptr || header->hwndFrom != list_) return std::nullopt;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lparam));
    case NM_CLICK: {
      // Reported after the list has finished with the mouse and set its selection.
      const POINT at = reinterpret_cast<const NMITEMACTIVATE*>(lparam)->ptAction;
      ::PostMessageW(list_, kMsgCellClicked, static_cast<WPARAM>(at.x), static_cast<LPARAM>(at.y));
      return std::nullopt;  // the dialog may see the click too
    }
    default:
      return std::nullopt;
  }
}

void ReportList::ReportClick(POINT at) {
  if (!cell_clicked_) return;
  LVHITTESTINFO hit{};
  hit.pt = at;
  const int row =
      static_cast<int>(::SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0 || (hit.flags & LVHT_ONITEM) == 0 || row != Selected()) return;
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  if (::SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds)) == FALSE) {
    return;
  }
  const int column = control_logic::ColumnAt(ColumnWidths(), at.x - bounds.left);
  if (column >= 0) cell_clicked_(row, column);
}

LRESULT ReportList::CustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      item_text_colour_ = draw.clrText;
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
      const int column = draw.iSubItem;
      const bool selected =
          ::SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
      const bool grey = column >= 0 && column < static_cast<int>(grey_.size()) &&
                        grey_[static_cast<std::size_t>(column)] && !selected;
      // The colour stays from one column to the next unless it is set back.
      draw.clrText = grey ? ::GetSysColor(COLOR_GRAYTEXT) : item_text_colour_;
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

}  // namespace vendrel::controls
