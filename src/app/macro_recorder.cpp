#include "app/macro_recorder.h"

#include <algorithm>
#include <utility>

#include "app/decimal_text.h"
#include "keys/assignment_tables.h"

namespace vendrel::app {

using macros::ActionKind;
using texts::TextKey;

namespace {

constexpr std::uint32_t kOptionCapacity = 260;

keys::KeyCode WindowsKeyCode(std::uint32_t vk) {
  return static_cast<keys::KeyCode>(vk == kVkLeftWindows ? 0x15B : 0x15C);
}

}  // namespace

bool IsMediaKey(keys::KeyCode key) {
  return std::any_of(keys::kMediaTable.begin(), keys::kMediaTable.end(),
                     [key](const keys::MediaFunction& m) { return m.code == key; });
}

MacroRecorder::MacroRecorder(ActionRows& rows, MacroEditorView& view, const texts::TextTable& texts,
                             platform::IniProfile& profile, std::u16string profile_file)
    : rows_(rows),
      view_(view),
      texts_(texts),
      profile_(profile),
      profile_file_(std::move(profile_file)) {}

void MacroRecorder::Start(std::uint32_t now_ms) {
  if (recording_) return;
  recording_ = true;
  view_.SetRecordButton(texts_.Text(TextKey::MACRO_ACTION_STOP_RECORD), true);
  view_.EnableAddDeleteButtons(false);
  view_.EnableMacroBox(false);
  last_event_ms_ = now_ms;
  held_windows_vk_ = 0;
  view_.InstallKeyboardHooks();
}

void MacroRecorder::Stop() {
  if (!recording_) return;
  recording_ = false;
  view_.SetRecordButton(texts_.Text(TextKey::MACRO_ACTION_RECORD), false);
  view_.EnableAddDeleteButtons(true);
  view_.EnableMacroBox(true);
  view_.RemoveKeyboardHooks();
}

std::uint32_t MacroRecorder::TakeDelay(std::uint32_t now_ms) {
  const std::uint32_t delay = now_ms - last_event_ms_;  // unsigned: wraps with the tick count
  last_event_ms_ = now_ms;
  return delay;
}

bool MacroRecorder::OnThreadKey(std::uint32_t vk, std::uint32_t key_data, std::uint32_t now_ms) {
  if (!recording_) return false;
  const keys::KeyCode key = keys::HookKeyCode(vk, key_data);
  // Media keys keep working while recording. Keys the keyboard cannot play in a macro (F13 and
  // up, Sys Req) are left alone too: recorded, they would only stop the next write to the keyboard.
  if (key == keys::kNoKey || IsMediaKey(key) || !keys::IsSendableInMacro(key)) return false;
  const bool released = (key_data & kKeyReleasedBit) != 0;
  if (!released && (key_data & kKeyWasDownBit) != 0) return true;  // auto-repeat
  if (keys::IsReleaseOnlyKey(key)) InsertAction(key, ActionKind::Press, kSyntheticPressDelayMs);
  InsertAction(key, released ? ActionKind::Release : ActionKind::Press, TakeDelay(now_ms));
  return true;
}

bool MacroRecorder::OnLowLevelKey(std::uint32_t vk, bool is_press, std::uint32_t now_ms) {
  if (!recording_) return false;
  if (!is_press) held_windows_vk_ = 0;
  if (vk != kVkLeftWindows && vk != kVkRightWindows) return false;
  if (is_press) {
    if (held_windows_vk_ == vk) return true;  // auto-repeat
    held_windows_vk_ = vk;
  }
  InsertAction(WindowsKeyCode(vk), is_press ? ActionKind::Press : ActionKind::Release,
               TakeDelay(now_ms));
  // Taken, so that the Start menu does not open while recording.
  return true;
}

void MacroRecorder::InsertAction(keys::KeyCode key, ActionKind kind, std::uint32_t measured_delay) {
  if (rows_.Size() >= macros::kMaxActions) return;
  const std::uint32_t delay =
      std::min(record_delay_ == 1 ? measured_delay : kFixedRecordDelayMs, macros::kMaxDelayMs);
  const int selected = rows_.Selected();
  const std::size_t position = selected >= 0 ? static_cast<std::size_t>(selected) + 1 : rows_.Size();
  // A row's delay is the pause after its own action: the row before takes the new pause and the
  // new row the pause that followed the row before until now.
  macros::MacroAction action{0, key, kind};
  if (position > 0) {
    action.delay = rows_.Actions()[position - 1].delay;
    rows_.SetDelay(position - 1, delay);
  }
  rows_.Insert(position, action);
  view_.GreyKeyAndKindColumns();
  rows_.Select(static_cast<int>(position));
  view_.EnableApply();
}

std::u16string MacroRecorder::OptionKey() const {
  const std::u16string& key = texts_.Text(TextKey::MACRO_ACTION_RECORD_DELAY);
  // An empty key would name nothing in the profile.
  return key.empty() ? std::u16string(texts::BuiltInText(TextKey::MACRO_ACTION_RECORD_DELAY)) : key;
}

void MacroRecorder::StoreOption() {
  const std::u16string section(kRecordDelaySection);
  const std::u16string value = DecimalText(record_delay_);
  profile_.WriteString(section.c_str(), OptionKey().c_str(), value.c_str(), profile_file_.c_str());
}

void MacroRecorder::LoadRecordDelayOption() {
  const std::u16string stored = platform::ReadProfileString(
      profile_, std::u16string(kRecordDelaySection), OptionKey(), u"", kOptionCapacity, profile_file_);
  const std::int64_t value = LeadingDecimal(stored).value_or(0);
  record_delay_ = value == 1 ? 1 : 0;
  StoreOption();
  view_.SetRecordDelayChecked(record_delay_ == 1);
}

void MacroRecorder::ToggleRecordDelayOption() {
  record_delay_ = record_delay_ == 1 ? 0 : 1;
  StoreOption();
  view_.SetRecordDelayChecked(record_delay_ == 1);
}

}  // namespace vendrel::app
