#pragma once
// The rows of the macro tab's action list: the current macro's actions as the dialog edits them,
// with the selected row, kept in step with the list control of the view. Indices outside the list
// are ignored, so a stale row number from the view never reaches past the actions.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/macro_editor_view.h"
#include "macros/macro_record.h"
#include "texts/text_table.h"

namespace vendrel::app {

// The kind labels of column 1: a press, a release.
inline constexpr std::u16string_view kPressLabel = u"\u2193";
inline constexpr std::u16string_view kReleaseLabel = u"  \u2191";

class ActionRows {
 public:
  ActionRows(MacroEditorView& view, const texts::TextTable& texts) : view_(view), texts_(texts) {}

  const std::vector<macros::MacroAction>& Actions() const { return actions_; }
  std::size_t Size() const { return actions_.size(); }
  int Selected() const { return selected_; }

  // Replaces every row with actions (kinds normalised, at most kMaxActions); nothing selected.
  void Reset(std::span<const macros::MacroAction> actions);
  void Clear();

  // Inserts at position (clamped to the end); the new row is not selected.
  void Insert(std::size_t position, const macros::MacroAction& action);
  // Removes the row; the selection is dropped.
  void Remove(std::size_t row);
  void SetKey(std::size_t row, macros::MacroKey key);
  void SetKind(std::size_t row, macros::ActionKind kind);
  void SetDelay(std::size_t row, std::uint32_t delay);

  // Selects the row in the model and the view and scrolls it into view; -1 selects none.
  void Select(int row);
  // The user selected a row in the view.
  void NoteSelected(int row);

  // Moves the row, with its key, kind and delay, to position; it stays selected and visible and
  // the list gets the focus. False when the row is out of range or already there.
  bool Move(std::size_t row, std::size_t position);

  ActionRowTexts TextsOf(const macros::MacroAction& action) const;
  static std::u16string KindLabel(macros::ActionKind kind);

 private:
  MacroEditorView& view_;
  const texts::TextTable& texts_;
  std::vector<macros::MacroAction> actions_;
  int selected_ = -1;
};

}  // namespace vendrel::app
