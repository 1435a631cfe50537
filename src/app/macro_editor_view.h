#pragma once
// What the macro editor and its recorder ask of the key-setting dialog's macro tab: the macro box,
// the action list and its cell editors, the cycles field, the buttons, the dialog's Apply, the
// keyboard hooks and the message boxes. The Win32 tab implements it; tests record the calls.
// Positions and rows are 0-based; -1 means "none".
#include <span>
#include <string>
#include <string_view>

#include "platform/message_box.h"

namespace vendrel::app {

// Columns of the action list.
inline constexpr int kKeyColumn = 0;
inline constexpr int kKindColumn = 1;
inline constexpr int kDelayColumn = 2;

// The texts of one row of the action list, column by column.
struct ActionRowTexts {
  std::u16string key;
  std::u16string kind;
  std::u16string delay;
  friend bool operator==(const ActionRowTexts&, const ActionRowTexts&) = default;
};

// ShowOk and AskYesNo (default No) come from MessageBoxes.
class MacroEditorView : public platform::MessageBoxes {
 public:
  // The macro box (control 1126). Replacing an entry removes it and inserts the new text at the
  // same position; the box's edit text stays as the user typed it.
  virtual void AppendBoxEntry(std::u16string_view name) = 0;
  virtual void InsertBoxEntry(int position, std::u16string_view name) = 0;
  virtual void ReplaceBoxEntry(int position, std::u16string_view name) = 0;
  virtual void RemoveBoxEntry(int position) = 0;
  virtual void SelectBoxEntry(int position) = 0;
  virtual void EnableMacroBox(bool enabled) = 0;
  virtual void EnableAddDeleteButtons(bool enabled) = 0;  // 1017 and 1018

  // The action list (control 1019).
  virtual void InsertRow(int row, const ActionRowTexts& texts) = 0;
  virtual void RemoveRow(int row) = 0;
  virtual void RemoveAllRows() = 0;
  virtual void SetCellText(int row, int column, std::u16string_view text) = 0;
  virtual void SelectRow(int row) = 0;
  virtual void EnsureRowVisible(int row) = 0;
  virtual void FocusActionList() = 0;
  // Columns 0 and 1 of every row are drawn in the system's grey-text colour from now on.
  virtual void GreyKeyAndKindColumns() = 0;

  // Cell editors opened over a cell of the action list; at most one is open. Pickers show their
  // entries with the one at selected chosen (-1: none) and report a choice to the editor.
  virtual void OpenKeyPicker(int row, std::span<const std::u16string> names, int selected) = 0;  // 20 rows high
  virtual void OpenKindPicker(int row, std::span<const std::u16string> labels, int selected) = 0;  // 6 rows high
  virtual void OpenDelayEditor(int row, std::u16string_view text) = 0;  // accepts digits only
  virtual std::u16string DelayEditorText() const = 0;
  virtual void CloseCellEditor() = 0;

  // The cycles field (control 1125).
  virtual void SetCyclesText(std::u16string_view text) = 0;
  // Record, delete action, clear, top, up, down, bottom (controls 1020..1026).
  virtual void EnableActionControls(bool enabled) = 0;

  // Recording: the Record button (1020), the record-delay check box (1027) and the two keyboard
  // hooks (the dialog thread's hook first, then the low-level one; removing takes both).
  virtual void SetRecordButton(std::u16string_view caption, bool pressed) = 0;
  virtual void SetRecordDelayChecked(bool checked) = 0;
  virtual void InstallKeyboardHooks() = 0;
  virtual void RemoveKeyboardHooks() = 0;

  // The dialog's Apply button.
  virtual void EnableApply() = 0;
  // A commit changed key assignments that named macros: the main window enables its Apply and
  // redraws the keys of the profile it shows.
  virtual void MacroAssignmentsChanged() = 0;
};

}  // namespace vendrel::app
