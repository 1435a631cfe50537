#include "app/action_rows.h"

#include <algorithm>

#include "app/decimal_text.h"
#include "keys/key_table.h"

namespace vendrel::app {

using macros::ActionKind;
using macros::MacroAction;

std::u16string ActionRows::KindLabel(ActionKind kind) {
  return std::u16string(kind == ActionKind::Release ? kReleaseLabel : kPressLabel);
}

ActionRowTexts ActionRows::TextsOf(const MacroAction& action) const {
  return ActionRowTexts{keys::KeyName(action.key, texts_), KindLabel(action.kind),
                        DecimalText(action.delay)};
}

void ActionRows::Reset(std::span<const MacroAction> actions) {
  Clear();
  const std::size_t count = std::min(actions.size(), macros::kMaxActions);
  actions_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    MacroAction action = actions[i];
    action.kind = macros::NormalisedKind(action.kind);
    actions_.push_back(action);
    view_.InsertRow(static_cast<int>(i), TextsOf(action));
  }
  view_.GreyKeyAndKindColumns();
}

void ActionRows::Clear() {
  actions_.clear();
  selected_ = -1;
  view_.RemoveAllRows();
}

void ActionRows::Insert(std::size_t position, const MacroAction& action) {
  position = std::min(position, actions_.size());
  MacroAction normalised = action;
  normalised.kind = macros::NormalisedKind(action.kind);
  actions_.insert(actions_.begin() + static_cast<std::ptrdiff_t>(position), normalised);
  if (selected_ >= static_cast<int>(position)) ++selected_;
  view_.InsertRow(static_cast<int>(position), TextsOf(normalised));
}

void ActionRows::Remove(std::size_t row) {
  if (row >= actions_.size()) return;
  actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(row));
  selected_ = -1;
  view_.RemoveRow(static_cast<int>(row));
}

void ActionRows::SetKey(std::size_t row, macros::MacroKey key) {
  if (row >= actions_.size()) return;
  actions_[row].key = key;
  view_.SetCellText(static_cast<int>(row), kKeyColumn, keys::KeyName(key, texts_));
}

void ActionRows::SetKind(std::size_t row, ActionKind kind) {
  if (row >= actions_.size()) return;
  actions_[row].kind = macros::NormalisedKind(kind);
  view_.SetCellText(static_cast<int>(row), kKindColumn, KindLabel(actions_[row].kind));
}

void ActionRows::SetDelay(std::size_t row, std::uint32_t delay) {
  if (row >= actions_.size()) return;
  actions_[row].delay = delay;
  view_.SetCellText(static_cast<int>(row), kDelayColumn, DecimalText(delay));
}

void ActionRows::Select(int row) {
  if (row < -1 || row >= static_cast<int>(actions_.size())) return;
  selected_ = row;
  view_.SelectRow(row);
  if (row >= 0) view_.EnsureRowVisible(row);
}

void ActionRows::NoteSelected(int row) {
  selected_ = (row >= 0 && row < static_cast<int>(actions_.size())) ? row : -1;
}

bool ActionRows::Move(std::size_t row, std::size_t position) {
  if (row >= actions_.size() || position >= actions_.size() || row == position) return false;
  const MacroAction moved = actions_[row];
  actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(row));
  actions_.insert(actions_.begin() + static_cast<std::ptrdiff_t>(position), moved);
  view_.RemoveRow(static_cast<int>(row));
  view_.InsertRow(static_cast<int>(position), TextsOf(moved));
  Select(static_cast<int>(position));
  view_.FocusActionList();
  return true;
}

}  // namespace vendrel::app
