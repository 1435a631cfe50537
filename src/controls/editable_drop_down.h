#pragma once
// An editable drop-down (a combo box whose entry text can be typed): its entries, selection and
// text, with the user's changes reported. The owner's own changes are not: every change made
// through this class, and any the owner makes inside Quiet(), drops the notifications it causes.
// Wraps the dialog's combo box without owning it; its notifications are handled here and do
// not reach the dialog.
#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "control_logic/suppress_guard.h"
#include "controls/window_hook.h"

namespace vendrel::controls {

class EditableDropDown {
 public:
  using SelectionChanged = std::function<void(int index)>;
  using TextChanged = std::function<void(const std::wstring& text)>;

  EditableDropDown() = default;
  EditableDropDown(const EditableDropDown&) = delete;
  EditableDropDown& operator=(const EditableDropDown&) = delete;

  bool Attach(HWND dialog, int control_id);
  HWND Hwnd() const { return combo_; }

  void SetEntries(std::span<const std::wstring> entries);
  // Inserts before `at` (at the end when `at` is outside the entries); returns the index.
  int InsertEntry(int at, const std::wstring& text);
  void RemoveEntry(int index);
  // Replaces an entry's text; the text being typed and its caret stay as they are.
  void ReplaceEntry(int index, const std::wstring& text);
  void Clear();
  int Count() const;
  std::wstring Entry(int index) const;

  int Selection() const;        // -1 for none
  void Select(int index);       // -1 clears the selection
  std::wstring Text() const;    // the text in the entry field
  void SetText(const std::wstring& text);
  void Enable(bool enabled);

  void OnSelectionChanged(SelectionChanged callback) { selection_changed_ = std::move(callback); }
  void OnTextChanged(TextChanged callback) { text_changed_ = std::move(callback); }
  // For changes made to the window directly: hold the returned scope while making them.
  [[nodiscard]] control_logic::SuppressCount::Scope Quiet() { return quiet_.Hold(); }

 private:
  std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wparam, LPARAM lparam);

  HWND combo_ = nullptr;
  int id_ = 0;
  control_logic::SuppressCount quiet_;
  SelectionChanged selection_changed_;
  TextChanged text_changed_;
  WindowHook parent_hook_;  // the notifications arrive at the parent
};

}  // namespace vendrel::controls
