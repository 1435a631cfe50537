#include "app/composite_dialog_logic.h"

#include <algorithm>

#include "keys/assignment_tables.h"
#include "keys/profile_key_table.h"
#include "store/assignment_model.h"

namespace vendrel::app {
namespace {

using keys::AssignmentType;

constexpr std::uint32_t kKeyDataReleased = 1u << 31;
constexpr std::uint32_t kKeyDataWasDown = 1u << 30;
constexpr keys::KeyCode kPrintScreen = 0x137;
// The low-level hook's virtual keys and the keys they stand for.
constexpr std::uint32_t kVkLeftWindows = 0x5B;
constexpr std::uint32_t kVkApps = 0x5D;
constexpr keys::KeyCode kExtended = 0x100;

bool IsMediaKey(keys::KeyCode key) {
  return std::any_of(keys::kMediaTable.begin(), keys::kMediaTable.end(),
                     [key](const keys::MediaFunction& m) { return m.code == key; });
}

// The types this dialog makes; a record of any other type is only replaced on purpose.
bool MadeByDialog(AssignmentType type) {
  return type == AssignmentType::Default || type == AssignmentType::Key ||
         type == AssignmentType::Macro || type == AssignmentType::Media ||
         type == AssignmentType::Function;
}

int PositionIn(std::uint32_t value, std::size_t count) {
  return value < count ? static_cast<int>(value) : -1;
}

}  // namespace

CompositeTab TabOfType(AssignmentType type) {
  switch (type) {
    case AssignmentType::Macro: return CompositeTab::Macro;
    case AssignmentType::Media: return CompositeTab::Media;
    case AssignmentType::Function: return CompositeTab::Function;
    default: return CompositeTab::SingleKey;
  }
}

CompositeDialogLogic::CompositeDialogLogic(CompositeDialogView& view, CompositeMacroTab& macro_tab,
                                           CompositeDialogHost& host, store::WorkingStore& store,
                                           const texts::TextTable& texts)
    : view_(view), macro_tab_(macro_tab), host_(host), store_(store), texts_(texts) {}

void CompositeDialogLogic::Open(std::size_t block, std::size_t slot, int control_id) {
  open_ = true;
  block_ = block;
  slot_ = slot;
  control_id_ = control_id;
  macro_edit_ = control_id == keys::kGKeyControlIds.back();
  macro_tab_chosen_ = false;

  view_.SelectMedia(0);
  view_.SelectFunction(0);
  macro_tab_.Fill();

  const keys::KeyAssignment current = store::ReadAssignment(store_, block, slot);
  pending_ = current.type;
  opened_type_ = current.type;
  initial_value_ = current.parameter;

  view_.ShowMode(macro_edit_);
  if (macro_edit_) pending_ = AssignmentType::Macro;
  chosen_key_ = keys::kNoKey;
  ShowPendingTab(true);
  view_.EnableApply(false);
}

void CompositeDialogLogic::ShowPendingTab(bool opening) {
  const CompositeTab tab = TabOfType(pending_);
  switch (tab) {
    case CompositeTab::Macro:
      RemoveHooks();
      if (opening) {
        macro_tab_.SelectForOpening(initial_value_);
      } else if (!macro_tab_chosen_ && initial_value_ == 0) {
        macro_tab_.SelectFirstSavingCurrent();
      }
      if (!opening) macro_tab_chosen_ = true;
      break;
    case CompositeTab::Media:
    case CompositeTab::Function:
      RemoveHooks();
      macro_tab_.StopRecording();
      if (opening) {
        if (tab == CompositeTab::Media) {
          view_.SelectMedia(PositionIn(initial_value_, keys::kMediaCount));
        } else {
          view_.SelectFunction(PositionIn(initial_value_, keys::kFunctionCount));
        }
      }
      break;
    case CompositeTab::SingleKey:
      macro_tab_.StopRecording();
      InstallHooks();
      if (opening) {
        chosen_key_ = static_cast<keys::KeyCode>(initial_value_);
        const bool shows_key = pending_ == AssignmentType::Key && chosen_key_ != keys::kNoKey;
        view_.SetKeyField(shows_key ? keys::KeyName(chosen_key_, texts_) : std::u16string());
      }
      break;
  }
  view_.ShowTab(tab);
}

void CompositeDialogLogic::OnTabButton(CompositeTab tab) {
  if (!open_) return;
  AssignmentType type = AssignmentType::Key;
  switch (tab) {
    case CompositeTab::SingleKey:
      if (pending_ == AssignmentType::Key || pending_ == AssignmentType::Default) return;
      type = AssignmentType::Key;
      break;
    case CompositeTab::Macro: type = AssignmentType::Macro; break;
    case CompositeTab::Media: type = AssignmentType::Media; break;
    case CompositeTab::Function: type = AssignmentType::Function; break;
  }
  if (pending_ == type) return;
  pending_ = type;
  ShowPendingTab(false);
  view_.EnableApply(true);
}

bool CompositeDialogLogic::OnCaptureKey(std::uint32_t vk, std::uint32_t key_data) {
  const keys::KeyCode key = keys::HookKeyCode(vk, key_data);
  if (key == keys::kNoKey || IsMediaKey(key)) return false;
  // Auto-repeat and releases choose nothing; Print Screen arrives only as a release.
  const bool fresh_press = (key_data & (kKeyDataReleased | kKeyDataWasDown)) == 0;
  if (fresh_press || key == kPrintScreen) TakeKey(key);
  return true;
}

bool CompositeDialogLogic::OnLowLevelKey(std::uint32_t message, std::uint32_t vk) {
  const bool keyboard_message = message == kMsgKeyDown || message == kMsgKeyUp ||
                                message == kMsgSysKeyDown || message == kMsgSysKeyUp;
  if (!keyboard_message || vk < kVkLeftWindows || vk > kVkApps) return false;
  if (message == kMsgKeyDown || message == kMsgSysKeyDown) {
    TakeKey(static_cast<keys::KeyCode>(kExtended | (vk & 0xFF)));
  }
  return true;
}

void CompositeDialogLogic::TakeKey(keys::KeyCode key) {
  chosen_key_ = key;
  view_.SetKeyField(keys::KeyName(key, texts_));
  pending_ = AssignmentType::Key;
  view_.EnableApply(true);
}

void CompositeDialogLogic::OnClear() {
  if (!open_) return;
  OnTabButton(CompositeTab::SingleKey);
  if (pending_ != AssignmentType::Key) return;
  view_.SetKeyField(u"");
  pending_ = AssignmentType::Default;
  view_.EnableApply(true);
}

keys::KeyAssignment CompositeDialogLogic::BuildAssignment() const {
  keys::KeyAssignment a;
  a.type = pending_;
  if (slot_ >= keys::kFirstGRecord && slot_ < keys::kFirstGRecord + keys::kGKeyCount * keys::kGBankCount) {
    const std::size_t index = slot_ - keys::kFirstGRecord;
    a.key_field = keys::GKeyFieldCode(index / keys::kGKeyCount, index % keys::kGKeyCount);
  }
  switch (pending_) {
    case AssignmentType::Key:
      if (chosen_key_ == keys::kNoKey || keys::Fold(chosen_key_) == slot_) {
        a.type = AssignmentType::Default;
      } else {
        a.parameter = chosen_key_;
      }
      break;
    case AssignmentType::Macro:
      if (macro_tab_.Empty()) {
        a.type = AssignmentType::Default;
      } else {
        a.parameter = macro_tab_.CurrentMacroId();
        a.key_field = macro_tab_.Cycles();
      }
      break;
    case AssignmentType::Media:
    case AssignmentType::Function: {
      const int position =
          pending_ == AssignmentType::Media ? view_.SelectedMedia() : view_.SelectedFunction();
      // A value the box cannot show (from a settings file) stays as it was.
      const bool kept = position < 0 && opened_type_ == pending_;
      a.parameter = kept ? initial_value_ : static_cast<std::uint32_t>(std::max(position, 0));
      break;
    }
    default:
      break;
  }
  return a;
}

void CompositeDialogLogic::Apply() {
  if (!open_) return;
  macro_tab_.EndCellEdit();
  macro_tab_.StopRecording();
  macro_tab_.SaveAndCommit();
  view_.EnableApply(false);
  // A type this dialog cannot make (a program, a text, a disabled key) is kept until the user
  // chooses something else: writing it back would lose its value or its text.
  if (pending_ == opened_type_ && !MadeByDialog(pending_)) return;

  const keys::KeyAssignment a = BuildAssignment();
  if (store::WriteAssignment(store_, block_, slot_, a) != store::AssignResult::Ok) return;
  opened_type_ = a.type;
  initial_value_ = a.parameter;
  host_.ShowAssignment(control_id_, store::IsAssignmentSet(a));
  host_.EnableMainApply();
}

void CompositeDialogLogic::Ok() {
  Apply();
  Close();
}

void CompositeDialogLogic::Close() {
  if (!open_) return;
  open_ = false;
  RemoveHooks();
  macro_tab_.StopRecording();
  macro_tab_.Discard();
  view_.EnableApply(false);
  view_.EndDialog();
}

void CompositeDialogLogic::InstallHooks() {
  if (hooks_installed_) return;
  view_.InstallCaptureHooks();
  hooks_installed_ = true;
}

void CompositeDialogLogic::RemoveHooks() {
  if (!hooks_installed_) return;
  view_.RemoveCaptureHooks();
  hooks_installed_ = false;
}

}  // namespace vendrel::app
