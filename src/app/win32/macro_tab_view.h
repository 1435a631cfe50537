#pragma once
// The macro tab of the key-setting dialog on its controls: the macro box, the action list with
// its cell editors, the cycles field, the buttons, the recorder's hooks and the message boxes.
// It draws what the MacroEditor tells it and hands the user's actions to the editor. The dialog
// owns the controls' windows; this object wraps them and forwards their notifications.
#include <windows.h>

#include <string>

#include "app/composite_dialog_logic.h"
#include "app/macro_editor.h"
#include "app/macro_editor_view.h"
#include "app/win32/macro_record_hooks.h"
#include "control_logic/suppress_guard.h"
#include "controls/editable_drop_down.h"
#include "controls/image_button.h"
#include "controls/report_list.h"
#include "platform/win32/win32_message_boxes.h"
#include "texts/text_table.h"

namespace vendrel::app {

// Widths of the action list's key, kind and delay columns in pixels.
inline constexpr int kActionColumnWidths[] = {68, 45, 70};
// Heights of the cell pickers in rows.
inline constexpr int kKeyPickerRows = 20;
inline constexpr int kKindPickerRows = 6;

class MacroTabView final : public MacroEditorView {
 public:
  // dialog: the key-setting dialog's Apply; host: the main window.
  MacroTabView(CompositeDialogView& dialog, CompositeDialogHost& host);
  MacroTabView(const MacroTabView&) = delete;
  MacroTabView& operator=(const MacroTabView&) = delete;

  // Once, when the dialog window exists. record: the Record button's images and caption; font:
  // its caption's font, not owned.
  void Attach(HWND dialog, MacroEditor& editor, controls::ImageButton* record, HFONT font);
  // Each opening, before the editor fills the tab: the column headers in the current language,
  // and nothing left of the previous opening.
  void Reset(const texts::TextTable& texts);

  // The dialog's commands and notifications; true when they belonged to the tab.
  bool OnCommand(int id, int code);
  bool OnNotify(int id, const NMHDR& header);
  // Whether the window is an open cell editor, which takes Enter and Escape itself.
  bool IsCellEditor(HWND hwnd) const { return list_.IsEditor(hwnd); }

  // MessageBoxes
  void ShowOk(std::u16string_view text) override { boxes_.ShowOk(text); }
  bool AskYesNo(std::u16string_view text) override { return boxes_.AskYesNo(text); }

  // MacroEditorView
  void AppendBoxEntry(std::u16string_view name) override;
  void InsertBoxEntry(int position, std::u16string_view name) override;
  void ReplaceBoxEntry(int position, std::u16string_view name) override;
  void RemoveBoxEntry(int position) override;
  void SelectBoxEntry(int position) override;
  void EnableMacroBox(bool enabled) override;
  void EnableAddDeleteButtons(bool enabled) override;

  void InsertRow(int row, const ActionRowTexts& texts) override;
  void RemoveRow(int row) override;
  void RemoveAllRows() override;
  void SetCellText(int row, int column, std::u16string_view text) override;
  void SelectRow(int row) override;
  void EnsureRowVisible(int row) override;
  void FocusActionList() override;
  void GreyKeyAndKindColumns() override;

  void OpenKeyPicker(int row, std::span<const std::u16string> names, int selected) override;
  void OpenKindPicker(int row, std::span<const std::u16string> labels, int selected) override;
  void OpenDelayEditor(int row, std::u16string_view text) override;
  std::u16string DelayEditorText() const override;
  void CloseCellEditor() override;

  void SetCyclesText(std::u16string_view text) override;
  void EnableActionControls(bool enabled) override;

  void SetRecordButton(std::u16string_view caption, bool pressed) override;
  void SetRecordDelayChecked(bool checked) override;
  void InstallKeyboardHooks() override;
  void RemoveKeyboardHooks() override;

  void EnableApply() override { dialog_.EnableApply(true); }
  void MacroAssignmentsChanged() override;

 private:
  void OpenPicker(int row, int column, std::span<const std::u16string> entries, int selected,
                  int visible_rows);
  void OnDelayEntered(const std::wstring& digits);
  void Enable(int id, bool enabled) const;

  CompositeDialogView& dialog_;
  CompositeDialogHost& host_;
  HWND hwnd_ = nullptr;
  MacroEditor* editor_ = nullptr;
  controls::ImageButton* record_ = nullptr;
  HFONT font_ = nullptr;
  controls::EditableDropDown box_;
  controls::ReportList list_;
  platform::win32::Win32MessageBoxes boxes_;
  MacroRecordHooks hooks_;
  // The list's own notifications while the tab changes it are not the user's.
  control_logic::SuppressCount list_quiet_;
  // The delay editor's text: what it opened with until it reports its digits. Kept for the
  // editor, which asks for it once the field has ended.
  std::u16string delay_text_;
};

}  // namespace vendrel::app
