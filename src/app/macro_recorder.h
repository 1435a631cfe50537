#pragma once
// Recording of the macro tab: while it runs, every keystroke the user makes is taken from the
// dialog and inserted into the action list as a press or release with the pause since the
// previous keystroke (or a fixed pause when the record-delay option is off). The Win32 tab installs
// the hooks when asked and hands each hooked keystroke to OnThreadKey or OnLowLevelKey with the
// tick count; both run on the dialog's thread, so no state here needs a lock.
#include <cstdint>
#include <string>

#include "app/action_rows.h"
#include "app/macro_editor_view.h"
#include "keys/key_table.h"
#include "platform/ini_profile.h"
#include "texts/text_table.h"

namespace vendrel::app {

inline constexpr std::uint32_t kFixedRecordDelayMs = 50;
// The extra press recorded before a key that reports only its release.
inline constexpr std::uint32_t kSyntheticPressDelayMs = 2;
inline constexpr std::u16string_view kRecordDelaySection = u"PROFILES";
// Bits of a thread hook's key data.
inline constexpr std::uint32_t kKeyWasDownBit = 1u << 30;
inline constexpr std::uint32_t kKeyReleasedBit = 1u << 31;
// The Windows keys, seen only by the low-level hook.
inline constexpr std::uint32_t kVkLeftWindows = 0x5B;
inline constexpr std::uint32_t kVkRightWindows = 0x5C;

// True for the 18 media keys, which recording leaves to the system.
bool IsMediaKey(keys::KeyCode key);

class MacroRecorder {
 public:
  // The option lives in the profile store ini (the Win32 side backs it with the program's registry
  // profile) under profile_file.
  MacroRecorder(ActionRows& rows, MacroEditorView& view, const texts::TextTable& texts,
                platform::IniProfile& profile, std::u16string profile_file);

  bool Recording() const { return recording_; }
  // now_ms: the tick count when recording starts; the first pause is measured from it.
  void Start(std::uint32_t now_ms);
  void Stop();  // nothing when not recording

  // A keyboard message of the dialog's thread (hook code 0): the virtual-key code and the key data
  // (scan code in bits 16..23, extended flag 24, previous state 30, transition 31). True when the
  // message is taken from the dialog.
  bool OnThreadKey(std::uint32_t vk, std::uint32_t key_data, std::uint32_t now_ms);
  // An event of the low-level hook (hook code 0); only the Windows keys are taken.
  bool OnLowLevelKey(std::uint32_t vk, bool is_press, std::uint32_t now_ms);

  // Inserts one recorded action after the selected row (at the end when none is selected).
  void InsertAction(keys::KeyCode key, macros::ActionKind kind, std::uint32_t measured_delay);

  // The record-delay option: 1 records measured pauses, 0 the fixed pause.
  int RecordDelayOption() const { return record_delay_; }
  // When the dialog opens: reads the stored value (missing or unparsable: 0), stores any value
  // other than 0 and 1 back as 0, and ticks the check box for 1.
  void LoadRecordDelayOption();
  // A click on the check box: flips the option and stores it at once.
  void ToggleRecordDelayOption();

 private:
  std::u16string OptionKey() const;
  void StoreOption();
  // The pause since the previous recorded keystroke, modulo 2^32 as the tick count wraps.
  std::uint32_t TakeDelay(std::uint32_t now_ms);

  ActionRows& rows_;
  MacroEditorView& view_;
  const texts::TextTable& texts_;
  platform::IniProfile& profile_;
  std::u16string profile_file_;
  bool recording_ = false;
  std::uint32_t last_event_ms_ = 0;
  std::uint32_t held_windows_vk_ = 0;  // last Windows key pressed, 0 after any release
  int record_delay_ = 0;
};

}  // namespace vendrel::app
