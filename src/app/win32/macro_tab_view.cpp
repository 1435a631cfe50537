#include "app/win32/macro_tab_view.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "app/resource_ids.h"
#include "control_logic/cell_editor_input.h"
#include "controls/transparent_label.h"
#include "controls/wide_text.h"

namespace vendrel::app {
namespace {

using controls::U16From;
using controls::WideFrom;

constexpr char16_t kBoxCaption[] = u"Corvasse Vendrel Gaming Keyboard";
constexpr int kActionControls[] = {IDC_CMP_RECORD,   IDC_CMP_ACTION_DELETE, IDC_CMP_ACTION_CLEAR,
                                   IDC_CMP_MOVE_TOP, IDC_CMP_MOVE_UP,       IDC_CMP_MOVE_DOWN,
                                   IDC_CMP_MOVE_BOTTOM};

std::u16string WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      std::max(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())), 0)));
  return U16From(text.c_str());
}

}  // namespace

MacroTabView::MacroTabView(CompositeDialogView& dialog, CompositeDialogHost& host)
    : dialog_(dialog), host_(host), boxes_(nullptr, kBoxCaption) {}

void MacroTabView::Attach(HWND dialog, MacroEditor& editor, controls::ImageButton* record,
                          HFONT font) {
  hwnd_ = dialog;
  editor_ = &editor;
  record_ = record;
  font_ = font;
  boxes_.SetOwner(dialog);
  box_.Attach(dialog, IDC_CMP_MACRO_BOX);
  box_.OnSelectionChanged([this](int index) { editor_->OnBoxSelectionChanged(index); });
  box_.OnTextChanged([this](const std::wstring& text) { editor_->OnBoxTextChanged(U16From(text.c_str())); });
  list_.Attach(dialog, IDC_CMP_ACTION_LIST);
  list_.OnCellClicked([this](int row, int column) { editor_->BeginCellEdit(row, column); });
  list_.OnEntryChosen([this](int, int column, int index) {
    if (column == kKeyColumn) {
      editor_->OnKeyChosen(index);
    } else {
      editor_->OnKindChosen(index);
    }
  });
  list_.OnNumberEntered([this](int, int, const std::wstring& digits) { OnDelayEntered(digits); });
}

void MacroTabView::Reset(const texts::TextTable& texts) {
  list_.EndEdit(false);
  {
    auto quiet = list_quiet_.Hold();
    list_.RemoveAll();
  }
  const controls::ReportColumn columns[] = {
      {WideFrom(texts.Text(texts::TextKey::MACRO_KEYS_TISHI)), kActionColumnWidths[kKeyColumn], true},
      {WideFrom(texts.Text(texts::TextKey::MACRO_ACTION_TISHI)), kActionColumnWidths[kKindColumn], true},
      {WideFrom(texts.Text(texts::TextKey::MACRO_DELAY_MS)), kActionColumnWidths[kDelayColumn], false},
  };
  list_.SetColumns(columns);
  box_.Clear();
  box_.SetText(L"");
  delay_text_.clear();
}

// ---- the dialog's notifications ------------------------------------------------------------

bool MacroTabView::OnCommand(int id, int code) {
  if (editor_ == nullptr) return false;
  if (id == IDC_CMP_CYCLES) {
    if (code == EN_CHANGE) editor_->OnCyclesTextChanged(WindowText(::GetDlgItem(hwnd_, id)));
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_CMP_MACRO_ADD: editor_->AddMacro(); return true;
    case IDC_CMP_MACRO_DELETE: editor_->DeleteMacro(); return true;
    case IDC_CMP_RECORD: editor_->OnRecordClicked(::GetTickCount()); return true;
    case IDC_CMP_ACTION_DELETE: editor_->DeleteAction(); return true;
    case IDC_CMP_ACTION_CLEAR: editor_->ClearActions(); return true;
    case IDC_CMP_MOVE_TOP: editor_->MoveToTop(); return true;
    case IDC_CMP_MOVE_UP: editor_->MoveUp(); return true;
    case IDC_CMP_MOVE_DOWN: editor_->MoveDown(); return true;
    case IDC_CMP_MOVE_BOTTOM: editor_->MoveToBottom(); return true;
    case IDC_CMP_RECORD_DELAY: editor_->OnRecordDelayClicked(); return true;
    default: return false;
  }
}

bool MacroTabView::OnNotify(int id, const NMHDR& header) {
  if (editor_ == nullptr || id != IDC_CMP_ACTION_LIST || header.code != LVN_ITEMCHANGED) return false;
  if (list_quiet_.Suppressed()) return true;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  const bool selection_changed =
      (change.uChanged & LVIF_STATE) != 0 && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0;
  if (selection_changed) editor_->OnRowSelected(list_.Selected());
  return true;
}

// ---- the macro box -------------------------------------------------------------------------

void MacroTabView::AppendBoxEntry(std::u16string_view name) { box_.InsertEntry(-1, WideFrom(name)); }

void MacroTabView::InsertBoxEntry(int position, std::u16string_view name) {
  box_.InsertEntry(position, WideFrom(name));
}

void MacroTabView::ReplaceBoxEntry(int position, std::u16string_view name) {
  box_.ReplaceEntry(position, WideFrom(name));
}

void MacroTabView::RemoveBoxEntry(int position) {
  box_.RemoveEntry(position);
  // A box without entries keeps no text of a macro that is gone.
  if (box_.Count() == 0) box_.SetText(L"");
}

void MacroTabView::SelectBoxEntry(int position) { box_.Select(position); }

void MacroTabView::EnableMacroBox(bool enabled) { box_.Enable(enabled); }

void MacroTabView::EnableAddDeleteButtons(bool enabled) {
  Enable(IDC_CMP_MACRO_ADD, enabled);
  Enable(IDC_CMP_MACRO_DELETE, enabled);
}

void MacroTabView::Enable(int id, bool enabled) const {
  ::EnableWindow(::GetDlgItem(hwnd_, id), enabled ? TRUE : FALSE);
}

// ---- the action list -----------------------------------------------------------------------

void MacroTabView::InsertRow(int row, const ActionRowTexts& texts) {
  const std::wstring cells[] = {WideFrom(texts.key), WideFrom(texts.kind), WideFrom(texts.delay)};
  auto quiet = list_quiet_.Hold();
  list_.InsertRow(row, cells);
}

void MacroTabView::RemoveRow(int row) {
  auto quiet = list_quiet_.Hold();
  list_.RemoveRow(row);
}

void MacroTabView::RemoveAllRows() {
  auto quiet = list_quiet_.Hold();
  list_.RemoveAll();
}

void MacroTabView::SetCellText(int row, int column, std::u16string_view text) {
  auto quiet = list_quiet_.Hold();
  list_.SetCell(row, column, WideFrom(text));
}

void MacroTabView::SelectRow(int row) {
  auto quiet = list_quiet_.Hold();
  list_.Select(row);
}

void MacroTabView::EnsureRowVisible(int row) { list_.EnsureVisible(row); }

void MacroTabView::FocusActionList() { ::SetFocus(list_.Hwnd()); }

void MacroTabView::GreyKeyAndKindColumns() {
  list_.SetColumnGrey(kKeyColumn, true);
  list_.SetColumnGrey(kKindColumn, true);
}

// ---- cell editors --------------------------------------------------------------------------

void MacroTabView::OpenPicker(int row, int column, std::span<const std::u16string> entries,
                              int selected, int visible_rows) {
  std::vector<std::wstring> items;
  items.reserve(entries.size());
  for (const std::u16string& entry : entries) items.push_back(WideFrom(entry));
  list_.EditDropDown(row, column, items, selected, visible_rows);
}

void MacroTabView::OpenKeyPicker(int row, std::span<const std::u16string> names, int selected) {
  OpenPicker(row, kKeyColumn, names, selected, kKeyPickerRows);
}

void MacroTabView::OpenKindPicker(int row, std::span<const std::u16string> labels, int selected) {
  OpenPicker(row, kKindColumn, labels, selected, kKindPickerRows);
}

void MacroTabView::OpenDelayEditor(int row, std::u16string_view text) {
  delay_text_ = text;
  list_.EditNumber(row, kDelayColumn, WideFrom(text));
}

std::u16string MacroTabView::DelayEditorText() const {
  // Still open (the editor ends it from Apply or a tab change): the field holds the text.
  HWND focus = ::GetFocus();
  if (list_.Editing() && list_.IsEditor(focus)) return control_logic::KeepDigits(WindowText(focus));
  return delay_text_;
}

void MacroTabView::OnDelayEntered(const std::wstring& digits) {
  delay_text_ = U16From(digits.c_str());
  editor_->EndCellEdit();
}

void MacroTabView::CloseCellEditor() { list_.EndEdit(false); }

// ---- fields and buttons --------------------------------------------------------------------

void MacroTabView::SetCyclesText(std::u16string_view text) {
  ::SetDlgItemTextW(hwnd_, IDC_CMP_CYCLES, WideFrom(text).c_str());
}

void MacroTabView::EnableActionControls(bool enabled) {
  for (int id : kActionControls) Enable(id, enabled);
}

void MacroTabView::SetRecordButton(std::u16string_view caption, bool pressed) {
  if (record_ == nullptr) {
    ::SetDlgItemTextW(hwnd_, IDC_CMP_RECORD, WideFrom(caption).c_str());
    return;
  }
  record_->SetLabel(WideFrom(caption), font_, controls::kLabelColour);
  record_->SetSelected(pressed);
}

void MacroTabView::SetRecordDelayChecked(bool checked) {
  ::CheckDlgButton(hwnd_, IDC_CMP_RECORD_DELAY, checked ? BST_CHECKED : BST_UNCHECKED);
}

void MacroTabView::InstallKeyboardHooks() {
  if (editor_ != nullptr) hooks_.Install(editor_->Recorder());
}

void MacroTabView::RemoveKeyboardHooks() { hooks_.Remove(); }

void MacroTabView::MacroAssignmentsChanged() {
  host_.EnableMainApply();
  host_.RefreshKeyButtons();
}

}  // namespace vendrel::app
