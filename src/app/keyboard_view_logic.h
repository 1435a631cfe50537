#pragma once
// The keyboard picture of the main window, apart from Win32: what a click on a key, G or
// macro-edit button does, the colour-keys mode and its switch, and the Flip setting that trades
// F1..F4 for D1..D6.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys/key_table.h"
#include "platform/ini_profile.h"
#include "store/key_store.h"
#include "texts/text_source.h"

namespace vendrel::app {

// The macro-edit button clicks G9, so both open the key dialog in macro-edit mode.
inline constexpr int kMacroEditKeyId = 1143;
inline constexpr int kFlipButtonLeft = 1130;   // FLIP_1
inline constexpr int kFlipButtonRight = 1131;  // FLIP_2

// Where the registry profile keeps the Flip setting.
inline constexpr std::u16string_view kProfilesSection = u"PROFILES";
inline constexpr std::u16string_view kFlipKey = u"Flip";

// What the key dialog opens on.
struct KeyDialogRequest {
  std::size_t block;  // the keyboard's current profile
  std::size_t slot;   // key slot 0..255 or G record 256..273
  int control_id;
  bool macro_edit;

  friend bool operator==(const KeyDialogRequest&, const KeyDialogRequest&) = default;
};

// Which of the two arrow decorations beside the flip buttons.
enum class FlipArrow { Left, Right };

class KeyboardViewView {
 public:
  virtual ~KeyboardViewView() = default;

  // Keeps the button lit (hover image in every state but pressed and disabled) or gives it its
  // usual images back.
  virtual void KeepKeyLit(int control_id, bool lit) = 0;
  // Opens the key dialog modally; returns when it has closed.
  virtual void OpenKeyDialog(const KeyDialogRequest& request) = 0;
  // One button's colour-keys look with its flag.
  virtual void ShowColourFlag(int control_id, bool flag) = 0;
  // Every key and G button switched to or from the colour-keys look, flags read from the store.
  virtual void ShowColourKeys(bool on) = 0;
  virtual void SetColourKeysSwitchText(std::u16string_view text) = 0;
  virtual void EnableMainApply() = 0;
  virtual void EnableKey(int control_id, bool enabled) = 0;
  // The arrow shows the region of the arrow sheet named by that BUTTONINFO2 key.
  virtual void ShowArrow(FlipArrow arrow, std::u16string_view variant_key) = 0;
};

class KeyboardViewServices {
 public:
  virtual ~KeyboardViewServices() = default;
  virtual store::WorkingStore& Working() = 0;
  virtual int ActiveProfile() = 0;  // -1 when unknown
  virtual int GBank() const = 0;
  virtual const texts::TextSource& Texts() = 0;
  virtual platform::IniProfile& RegistryProfile() = 0;
};

// The record a key or G button stands for: the key's slot or the G record of the bank.
std::optional<std::size_t> KeySlotOfControl(int control_id, int g_bank);
// The record that keeps a button's colour flag: its position in the key button table, or
// 9 * bank + g for G key g.
std::optional<std::size_t> ColourFlagRecordOfControl(int control_id, int g_bank);
// The BUTTONINFO2 key of an arrow: UP_ when Flip is on, DOWN_ when off, then the side and the
// phase (1 at rest, 2 while the pointer is over its flip button).
std::u16string FlipArrowKey(bool flip, FlipArrow arrow, bool pointer_over);

class KeyboardViewLogic {
 public:
  KeyboardViewLogic(KeyboardViewView& view, KeyboardViewServices& services);

  // A click on a key or G button, or on the macro-edit button as the click of G9.
  void KeyClick(int control_id);
  void OnMacroEditButton() { KeyClick(kMacroEditKeyId); }
  void ToggleColourKeysMode();
  bool ColourKeysMode() const { return colour_keys_mode_; }

  // Reads Flip from the registry profile and applies it.
  void LoadFlip();
  // A click on FLIP_1 or FLIP_2: inverts, stores and applies.
  void ToggleFlip();
  void OnFlipButtonHover(int control_id, bool pointer_over);
  bool Flip() const { return flip_; }
  // The keys and arrows of the current setting, again after a refresh of every key.
  void ApplyFlip();

 private:
  std::optional<std::size_t> CurrentBlock();

  KeyboardViewView& view_;
  KeyboardViewServices& services_;
  bool colour_keys_mode_ = false;
  bool flip_ = false;
  bool over_left_ = false;
  bool over_right_ = false;
};

}  // namespace vendrel::app
