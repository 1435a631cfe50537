#pragma once
// Every key the program knows: its KeyCode, name, place in the key pickers, HID usage and
// virtual-key codes, the key buttons of the main window with their LEDs, and the G and Fn keys.
// Constant tables and pure functions; the media keys' names are language texts.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "texts/text_table.h"

namespace vendrel::keys {

// Scan code set 1 in the low 7 bits, 0x100 for E0-extended keys; Pause 0x045, Num Lock 0x145.
using KeyCode = std::uint16_t;
// The 8-bit fold of a KeyCode that indexes the name table and the assignment records.
using KeySlot = std::uint8_t;

inline constexpr KeyCode kNoKey = 0;

inline constexpr KeySlot Fold(KeyCode code) {
  return static_cast<KeySlot>(code < 0x100 ? code : code - 0x80);
}
inline constexpr KeyCode Unfold(KeySlot slot) {
  return static_cast<KeyCode>(slot < 0x80 ? slot : slot + 0x80);
}

// USB HID usage pages the keyboard uses.
inline constexpr std::uint16_t kPageGenericDesktop = 0x01;
inline constexpr std::uint16_t kPageKeyboard = 0x07;
inline constexpr std::uint16_t kPageConsumer = 0x0C;

struct HidUsage {
  std::uint16_t page = 0;  // 0: no usage
  std::uint16_t usage = 0;
  friend bool operator==(const HidUsage&, const HidUsage&) = default;
};

// ListCode values: 0x00..0x69 key-picker positions, 0x8001.. rows not offered, 0xFFFF empty row.
inline constexpr std::uint16_t kListCodeEmpty = 0xFFFF;
inline constexpr std::size_t kKeyListSize = 106;

// One row of the name table.
struct KeyNameRow {
  std::uint16_t list_code = kListCodeEmpty;
  const char16_t* name = nullptr;  // null for media rows and empty rows
  std::optional<texts::TextKey> name_text;  // media rows: the language text that names them
  std::uint8_t usage_byte = 0;  // 0x00/0xFF none, 0x81..0x83 desktop, 0xC0..0xDF consumer, else keyboard
  std::uint8_t vk = 0;
  std::uint8_t vk2 = 0;  // with Num Lock off; equal to vk except on the keypad
};

// Row fold(code) of the name table.
const KeyNameRow& KeyNameRowOf(KeyCode code);

// The key's name from the given texts; when it has none, UNKNOWN_KEY filled with the code.
std::u16string KeyName(KeyCode code, const texts::TextTable& texts);
// The same from the process-wide texts.
std::u16string KeyName(KeyCode code);
// The name written into buffer of capacity characters (cut to capacity - 1 and terminated).
// Returns the characters written without the terminator; 0 and nothing written when capacity
// is 0.
std::size_t KeyName(KeyCode code, const texts::TextTable& texts, char16_t* buffer,
                    std::size_t capacity);

// The name of the lowest slot whose ListCode is list_code, or the empty text.
std::u16string ListName(std::uint16_t list_code, const texts::TextTable& texts);
// Unfold of that slot, or 0.
KeyCode ListKeyCode(std::uint16_t list_code);
// ListCode of row fold(code).
std::uint16_t ListCodeOf(KeyCode code);
// The keys every key picker offers, in ListCode order 0x00..0x69.
std::array<KeyCode, kKeyListSize> KeyList();

// What the keyboard sends for the key; page 0 when nothing.
HidUsage KeyUsage(KeyCode code);
// The key the lowest slot of which carries the usage, or 0.
KeyCode UsageKey(std::uint16_t page, std::uint16_t usage);
// The key of the lowest set bit of a HID modifier byte; 0 for 0.
KeyCode ModifierKey(std::uint8_t bits);
// The HID modifier bit of one of the eight modifier keys, 0 for any other key.
std::uint8_t ModifierBit(KeyCode code);
// True when a macro action on the key makes the keyboard send something: the code is a key of the
// table and has a usage the keyboard can send. Macro editing refuses any other key, and the macro
// image encoder never writes one, since the keyboard would send nothing or another key instead.
bool IsSendableInMacro(KeyCode code);

// 32 consumer usages indexed by usage byte - 0xC0; entries 18..31 are 0.
inline constexpr std::size_t kConsumerUsageCount = 32;
std::span<const std::uint16_t, kConsumerUsageCount> ConsumerUsageTable();

KeyCode VirtualKeyCode(std::uint8_t vk);
// The key of a keystroke reported by a keyboard hook (scan code in bits 16..23 of lparam, the
// extended flag in bit 24).
KeyCode HookKeyCode(std::uint32_t vk, std::uint32_t lparam);

// Keys that the keyboard reports only on release (Sys Req, KL, KR, Print Screen).
bool IsReleaseOnlyKey(KeyCode code);

// The 104 key buttons of the main window, in table order (the position is used).
struct KeyButton {
  int control_id;
  KeyCode code;
  std::uint8_t led;  // row * 21 + column in the per-key colour area
};
inline constexpr std::size_t kKeyButtonCount = 104;
std::span<const KeyButton, kKeyButtonCount> KeyButtonTable();

// G1..G9 buttons and the Fn key.
inline constexpr std::array<int, 9> kGKeyControlIds = {1000, 1001, 1002, 1003, 1004,
                                                        1140, 1141, 1142, 1143};
inline constexpr std::uint8_t kGKeyLedIndex = 0x7D;
inline constexpr int kFnControlId = 1174;
inline constexpr std::uint8_t kFnLedIndex = 0x6E;

// LED of a key button or G key; 0 for any other id.
std::uint8_t LedIndexOf(int control_id);
// Position 0..8 of a G-key button, or nothing.
std::optional<std::size_t> GKeyIndexOf(int control_id);

}  // namespace vendrel::keys
