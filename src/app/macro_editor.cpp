#include "app/macro_editor.h"

#include <algorithm>
#include <new>
#include <utility>

#include "app/decimal_text.h"
#include "app/store_messages.h"
#include "macros/macro_list.h"
#include "store/macro_commit.h"

namespace vendrel::app {

using macros::ActionKind;
using macros::MacroRecord;
using texts::TextKey;

namespace {

// Letter case as the macro box compares names: ASCII and the Latin-1 letters.
char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  return c;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldCase(text[i]) != FoldCase(prefix[i])) return false;
  }
  return true;
}

std::uint8_t ClampedCycles(std::int64_t value) {
  return static_cast<std::uint8_t>(
      std::clamp<std::int64_t>(value, macros::kMinCycles, macros::kMaxCycles));
}

}  // namespace

MacroEditor::MacroEditor(store::WorkingStore& store, MacroEditorView& view,
                         const texts::TextTable& texts, platform::Sleeper& sleeper,
                         platform::IniProfile& profile, std::u16string profile_file)
    : store_(store),
      view_(view),
      texts_(texts),
      sleeper_(sleeper),
      rows_(view, texts),
      recorder_(rows_, view, texts, profile, std::move(profile_file)) {
  for (std::size_t n = 0; n < keys::kKeyListSize; ++n) {
    key_picker_names_[n] = keys::ListName(static_cast<std::uint16_t>(n), texts);
  }
}

// Opening and closing.

void MacroEditor::Fill() {
  records_.clear();
  current_ = -1;
  {
    auto lock = store_.Lock();
    records_ = store_.macros;
  }
  Suppress suppress(suppress_);
  for (MacroRecord& m : records_) {
    m.new_flag = 0;
    view_.AppendBoxEntry(m.name);
  }
  recorder_.LoadRecordDelayOption();
  Load();
}

void MacroEditor::SelectForOpening(std::uint32_t initial_value) {
  if (records_.empty()) return;
  const auto found = std::find_if(records_.begin(), records_.end(), [initial_value](const MacroRecord& m) {
    return m.id == initial_value;
  });
  MakeCurrent(found == records_.end() ? 0 : static_cast<int>(found - records_.begin()));
}

void MacroEditor::SelectFirstSavingCurrent() {
  Save();
  if (records_.empty()) return;
  MakeCurrent(0);
}

std::uint16_t MacroEditor::CurrentMacroId() const {
  return HasCurrent() ? records_[static_cast<std::size_t>(current_)].id : 0;
}

std::uint16_t MacroEditor::Cycles() const { return HasCurrent() ? cycles_ : 0; }

void MacroEditor::SaveAndCommit() {
  Save();
  const store::MacroCommit commit = store::CommitMacroList(store_, records_);
  if (commit.assignments_changed) view_.MacroAssignmentsChanged();
}

void MacroEditor::Discard() {
  recorder_.Stop();
  CancelCellEdit();
  records_.clear();
  current_ = -1;
  name_counter_ = 0;
  rows_.Clear();
}

// The current macro.

void MacroEditor::Save() {
  if (records_.empty() || !HasCurrent()) return;
  MacroRecord& m = records_[static_cast<std::size_t>(current_)];
  m.cycles = cycles_;
  m.actions = rows_.Actions();
}

void MacroEditor::Load() {
  CancelCellEdit();
  if (HasCurrent()) {
    const MacroRecord& m = records_[static_cast<std::size_t>(current_)];
    // A settings file may hold cycles outside 1..255; the field never shows them.
    ShowCycles(ClampedCycles(m.cycles));
    rows_.Reset(m.actions);
  } else {
    rows_.Clear();
    Suppress suppress(suppress_);
    view_.SetCyclesText(u"");
  }
  view_.EnableActionControls(HasCurrent());
}

void MacroEditor::MakeCurrent(int position) {
  current_ = position;
  {
    Suppress suppress(suppress_);
    view_.SelectBoxEntry(position);
  }
  Load();
}

void MacroEditor::ShowCycles(std::uint8_t cycles) {
  cycles_ = cycles;
  Suppress suppress(suppress_);
  view_.SetCyclesText(DecimalText(cycles));
}

// The macro box.

void MacroEditor::OnBoxSelectionChanged(int position) {
  if (suppress_ || Recording()) return;
  if (position < 0 || position >= static_cast<int>(records_.size())) return;
  Save();
  current_ = position;
  Load();
}

void MacroEditor::OnBoxTextChanged(std::u16string_view text) {
  if (suppress_ || Recording()) return;
  // The box takes longer names than the record holds; the record keeps what fits.
  const std::u16string name = macros::FittedMacroName(text);
  if (records_.empty()) {
    MacroRecord m;
    m.name = name;
    m.cycles = 1;
    m.new_flag = 1;
    m.id = 1;
    try {
      records_.push_back(std::move(m));
    } catch (const std::bad_alloc&) {
      return;
    }
    {
      Suppress suppress(suppress_);
      view_.InsertBoxEntry(0, name);
    }
    current_ = 0;
    Load();
  } else {
    if (!HasCurrent()) return;
    records_[static_cast<std::size_t>(current_)].name = name;
    Suppress suppress(suppress_);
    view_.ReplaceBoxEntry(current_, name);
  }
  view_.EnableApply();
}

std::u16string MacroEditor::NextNewName() {
  if (records_.empty()) name_counter_ = 0;
  const std::u16string& prefix = texts_.Text(TextKey::MACRO_NEW_PREFIX);
  // Ends: each of the at most 99 entries rules out only the candidates that begin it.
  for (;;) {
    ++name_counter_;
    const std::u16string name = macros::FittedMacroName(prefix + DecimalText(name_counter_));
    const bool taken = std::any_of(records_.begin(), records_.end(), [&name](const MacroRecord& m) {
      return StartsWithIgnoringCase(m.name, name);
    });
    if (!taken) return name;
    sleeper_.Sleep(kNameRetryPause);
  }
}

void MacroEditor::AddMacro() {
  if (Recording()) return;
  if (!macros::MayAddMacro(records_.size())) {
    TellMacroLimit(view_, texts_);
    return;
  }
  MacroRecord m;
  m.name = NextNewName();
  m.cycles = 1;
  m.new_flag = 1;
  m.repeat_mode = 0;
  m.id = macros::NextFreeMacroId(records_);
  Save();
  try {
    records_.push_back(m);
  } catch (const std::bad_alloc&) {
    return;
  }
  {
    Suppress suppress(suppress_);
    view_.AppendBoxEntry(m.name);
  }
  MakeCurrent(static_cast<int>(records_.size()) - 1);
  view_.EnableApply();
}

// Covers all 2048 records of the four profile blocks, the same records CommitMacroList repairs:
// whichever profile a key belongs to, it loses its macro at the commit, so the user is asked
// whenever any key would.
bool MacroEditor::KeysUseMacro(macros::MacroId id) const {
  auto lock = store_.Lock();
  const auto& records = store_.Table().records;
  return std::any_of(records.begin(), records.end(), [id](const keys::KeyAssignment& r) {
    return r.type == keys::AssignmentType::Macro && keys::MacroIdOf(r) == id;
  });
}

void MacroEditor::DeleteMacro() {
  if (Recording() || records_.empty() || !HasCurrent()) return;
  const MacroRecord& m = records_[static_cast<std::size_t>(current_)];
  // A new macro's id may still sit on keys of a macro deleted earlier; those keys do not use it.
  if (m.new_flag == 0 && KeysUseMacro(m.id) &&
      !view_.AskYesNo(texts_.Text(TextKey::MACRO_DELETE_CONFIRM_OF_KEYS))) {
    return;
  }
  const int removed = current_;
  CancelCellEdit();
  records_.erase(records_.begin() + removed);
  {
    Suppress suppress(suppress_);
    view_.RemoveBoxEntry(removed);
  }
  current_ = -1;
  if (records_.empty()) {
    Load();
  } else {
    MakeCurrent(removed == 0 ? 0 : removed - 1);
  }
  view_.EnableApply();
}

// The cycles field.

void MacroEditor::OnCyclesTextChanged(std::u16string_view text) {
  if (suppress_) return;
  cycles_ = ClampedCycles(LeadingDecimal(text).value_or(macros::kMinCycles));
  const std::u16string corrected = DecimalText(cycles_);
  if (corrected != text) {
    Suppress suppress(suppress_);
    view_.SetCyclesText(corrected);
  }
  view_.EnableApply();
}

// Cell editing.

void MacroEditor::OnRowSelected(int row) { rows_.NoteSelected(row); }

void MacroEditor::BeginCellEdit(int row, int column) {
  EndCellEdit();
  if (row < 0 || row >= static_cast<int>(rows_.Size())) return;
  const macros::MacroAction& action = rows_.Actions()[static_cast<std::size_t>(row)];
  switch (column) {
    case kKeyColumn: {
      const std::uint16_t list_code = keys::ListCodeOf(action.key);
      const int selected = list_code < keys::kKeyListSize ? list_code : -1;
      cell_edit_ = CellEdit::Key;
      cell_edit_row_ = row;
      view_.OpenKeyPicker(row, key_picker_names_, selected);
      return;
    }
    case kKindColumn: {
      const std::array<std::u16string, 2> labels = {ActionRows::KindLabel(ActionKind::Press),
                                                    ActionRows::KindLabel(ActionKind::Release)};
      cell_edit_ = CellEdit::Kind;
      cell_edit_row_ = row;
      view_.OpenKindPicker(row, labels, action.kind == ActionKind::Release ? 1 : 0);
      return;
    }
    case kDelayColumn:
      recorder_.Stop();
      cell_edit_ = CellEdit::Delay;
      cell_edit_row_ = row;
      view_.OpenDelayEditor(row, DecimalText(action.delay));
      return;
    default:
      view_.ShowOk(texts_.Text(TextKey::MACRO_ACTION_ERR_MODIFY));
      return;
  }
}

void MacroEditor::OnKeyChosen(int list_position) {
  if (cell_edit_ != CellEdit::Key) return;
  const auto row = static_cast<std::size_t>(cell_edit_row_);
  CancelCellEdit();
  if (list_position < 0 || list_position >= static_cast<int>(keys::kKeyListSize)) return;
  if (row >= rows_.Size()) return;
  if (keys::ListCodeOf(rows_.Actions()[row].key) == list_position) return;
  rows_.SetKey(row, keys::ListKeyCode(static_cast<std::uint16_t>(list_position)));
  view_.EnableApply();
}

void MacroEditor::OnKindChosen(int kind) {
  if (cell_edit_ != CellEdit::Kind) return;
  const auto row = static_cast<std::size_t>(cell_edit_row_);
  CancelCellEdit();
  if ((kind != 0 && kind != 1) || row >= rows_.Size()) return;
  const ActionKind chosen = kind == 1 ? ActionKind::Release : ActionKind::Press;
  if (rows_.Actions()[row].kind == chosen) return;
  rows_.SetKind(row, chosen);
  view_.EnableApply();
}

void MacroEditor::EndCellEdit() {
  if (cell_edit_ == CellEdit::Delay) {
    const std::u16string text = view_.DelayEditorText();
    FinishDelayEdit(text);
    return;
  }
  CancelCellEdit();
}

void MacroEditor::CancelCellEdit() {
  if (cell_edit_ == CellEdit::None) return;
  cell_edit_ = CellEdit::None;
  cell_edit_row_ = -1;
  view_.CloseCellEditor();
}

void MacroEditor::FinishDelayEdit(std::u16string_view text) {
  const auto row = static_cast<std::size_t>(cell_edit_row_);
  // Closed before any message box, whose focus change would end the edit a second time.
  CancelCellEdit();
  if (row >= rows_.Size()) return;
  std::int64_t value = std::max<std::int64_t>(LeadingDecimal(text).value_or(0), 0);
  if (value > macros::kMaxDelayMs) {
    view_.ShowOk(texts_.Format(TextKey::MACRO_ACTION_ERR_DELAY_MAX,
                               {static_cast<std::int64_t>(macros::kMaxDelayMs)}));
    value = macros::kMaxDelayMs;
  }
  // The keyboard keeps delays in 10 ms units.
  value -= value % 10;
  rows_.SetDelay(row, static_cast<std::uint32_t>(value));
  view_.EnableApply();
}

// Row operations.

void MacroEditor::DeleteAction() {
  const int selected = rows_.Selected();
  if (selected < 0) return;
  rows_.Remove(static_cast<std::size_t>(selected));
  view_.EnableApply();
}

void MacroEditor::ClearActions() {
  if (rows_.Size() == 0) return;
  if (!view_.AskYesNo(texts_.Text(TextKey::MACRO_ACTION_CLEAR_CONFIRM))) return;
  rows_.Clear();
  view_.EnableApply();
}

void MacroEditor::MoveSelected(bool up, bool to_end) {
  const int selected = rows_.Selected();
  if (selected < 0) return;
  const auto row = static_cast<std::size_t>(selected);
  const std::size_t last = rows_.Size() - 1;
  std::size_t target = row;
  if (up) {
    target = to_end ? 0 : (row == 0 ? 0 : row - 1);
  } else {
    target = to_end ? last : std::min(row + 1, last);
  }
  if (rows_.Move(row, target)) view_.EnableApply();
}

void MacroEditor::MoveToTop() { MoveSelected(true, true); }
void MacroEditor::MoveUp() { MoveSelected(true, false); }
void MacroEditor::MoveDown() { MoveSelected(false, false); }
void MacroEditor::MoveToBottom() { MoveSelected(false, true); }

// Recording.

void MacroEditor::OnRecordClicked(std::uint32_t now_ms) {
  if (recorder_.Recording()) {
    recorder_.Stop();
    return;
  }
  if (!HasCurrent()) return;
  EndCellEdit();
  recorder_.Start(now_ms);
}

}  // namespace vendrel::app
