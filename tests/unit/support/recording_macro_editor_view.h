#pragma once
// The macro tab's view as a mirror: it keeps the box entries, rows, field texts and button states
// the way the controls would hold them, so tests check what the user would see.
#include <span>
#include <string>
#include <vector>

#include "app/macro_editor_view.h"

namespace vendrel::testing {

class RecordingMacroEditorView : public app::MacroEditorView {
 public:
  enum class Editor { None, Key, Kind, Delay };

  void ShowOk(std::u16string_view text) override { shown.emplace_back(text); }
  bool AskYesNo(std::u16string_view text) override {
    asked.emplace_back(text);
    return answer_yes;
  }

  void AppendBoxEntry(std::u16string_view name) override { box.emplace_back(name); }
  void InsertBoxEntry(int position, std::u16string_view name) override {
    box.insert(box.begin() + position, std::u16string(name));
    if (box_selected >= position) ++box_selected;
  }
  void ReplaceBoxEntry(int position, std::u16string_view name) override { box.at(position) = name; }
  void RemoveBoxEntry(int position) override {
    box.erase(box.begin() + position);
    if (box_selected == position) box_selected = -1;
    if (box_selected > position) --box_selected;
  }
  void SelectBoxEntry(int position) override { box_selected = position; }
  void EnableMacroBox(bool enabled) override { box_enabled = enabled; }
  void EnableAddDeleteButtons(bool enabled) override { add_delete_enabled = enabled; }

  void InsertRow(int row, const app::ActionRowTexts& texts) override {
    rows.insert(rows.begin() + row, texts);
    if (row_selected >= row) ++row_selected;
  }
  void RemoveRow(int row) override {
    rows.erase(rows.begin() + row);
    if (row_selected == row) row_selected = -1;
    if (row_selected > row) --row_selected;
  }
  void RemoveAllRows() override {
    rows.clear();
    row_selected = -1;
  }
  void SetCellText(int row, int column, std::u16string_view text) override {
    app::ActionRowTexts& r = rows.at(row);
    (column == app::kKeyColumn ? r.key : column == app::kKindColumn ? r.kind : r.delay) = text;
  }
  void SelectRow(int row) override { row_selected = row; }
  void EnsureRowVisible(int row) override { visible_row = row; }
  void FocusActionList() override { ++list_focused; }
  void GreyKeyAndKindColumns() override { grey = true; }

  void OpenKeyPicker(int row, std::span<const std::u16string> names, int selected) override {
    Open(Editor::Key, row);
    picker.assign(names.begin(), names.end());
    picker_selected = selected;
  }
  void OpenKindPicker(int row, std::span<const std::u16string> labels, int selected) override {
    Open(Editor::Kind, row);
    picker.assign(labels.begin(), labels.end());
    picker_selected = selected;
  }
  void OpenDelayEditor(int row, std::u16string_view text) override {
    Open(Editor::Delay, row);
    delay_text = text;
  }
  std::u16string DelayEditorText() const override { return delay_text; }
  void CloseCellEditor() override { editor = Editor::None; }

  void SetCyclesText(std::u16string_view text) override {
    cycles_text = text;
    ++cycles_writes;
  }
  void EnableActionControls(bool enabled) override { action_controls_enabled = enabled; }

  void SetRecordButton(std::u16string_view caption, bool pressed) override {
    record_caption = caption;
    record_pressed = pressed;
  }
  void SetRecordDelayChecked(bool checked) override { record_delay_checked = checked; }
  void InstallKeyboardHooks() override { hooks_installed = true; }
  void RemoveKeyboardHooks() override { hooks_installed = false; }

  void EnableApply() override { apply_enabled = true; }
  void MacroAssignmentsChanged() override { ++assignments_changed; }

  std::vector<std::u16string> box;
  int box_selected = -1;
  bool box_enabled = true;
  bool add_delete_enabled = true;

  std::vector<app::ActionRowTexts> rows;
  int row_selected = -1;
  int visible_row = -1;
  int list_focused = 0;
  bool grey = false;

  Editor editor = Editor::None;
  int editor_row = -1;
  std::vector<std::u16string> picker;
  int picker_selected = -1;
  std::u16string delay_text;

  std::u16string cycles_text;
  int cycles_writes = 0;
  bool action_controls_enabled = false;

  std::u16string record_caption;
  bool record_pressed = false;
  bool record_delay_checked = false;
  bool hooks_installed = false;

  bool apply_enabled = false;
  int assignments_changed = 0;

  std::vector<std::u16string> shown;
  std::vector<std::u16string> asked;
  bool answer_yes = false;

 private:
  void Open(Editor kind, int row) {
    editor = kind;
    editor_row = row;
  }
};

}  // namespace vendrel::testing
