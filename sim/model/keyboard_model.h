#pragma once
// The keyboard's firmware as the host sees it: memory areas, the answer to every command packet,
// the transfer bracket, boot mode, the key-bank output report and the notifications the keyboard
// sends. Pure and single-threaded: whoever hosts it (the unit tests' fake HID library, kbsim)
// serialises calls and delivers replies and notifications on its own threads, after the latency.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace vendrel::sim {

using Packet = std::array<std::uint8_t, 64>;

// Memory areas and their sizes in bytes.
enum class Area { Info, DefaultMap, KeyMap, Macro, Lighting, Colours };
inline constexpr std::size_t kInfoSize = 44;
inline constexpr std::size_t kKeyMapSize = 378;       // one profile's key map; KeyMap holds three
inline constexpr std::size_t kLightingBlockSize = 42; // Lighting holds three blocks
inline constexpr std::size_t kColoursPerProfile = 512;  // Colours holds three

// Parses the names used by kbsim's control port ("info", "defaultmap", "keymap", "macro",
// "lighting", "colours").
std::optional<Area> AreaFromName(std::string_view name);

// Faults injected into the next N requests on the control collection.
enum class Fault { None, Drop, WrongCode, StatusFF, StatusFE };

// A notification the keyboard sends on its own: a consumer event code on 'CONS'.
struct ConsumerEvent {
  std::uint16_t code;
};
inline constexpr std::uint16_t kEventBankKey = 0x02FF;
inline constexpr std::uint16_t kEventLightingChanged = 0x0401;
inline constexpr std::uint16_t kEventMacroEnded = 0x1810;
inline constexpr std::uint16_t kEventMacroStarted = 0x1811;

// The report bytes of a consumer event: the code as the first 16-bit little-endian word.
std::vector<std::uint8_t> ConsumerEventReport(std::uint16_t code);

class KeyboardModel {
 public:
  KeyboardModel();  // factory state

  // A 64-byte packet written by the host to the control collection. Returns the reply packet,
  // or nothing (boot-mode packet, dropped by an injected fault, keyboard in boot mode).
  std::optional<Packet> HandleControlPacket(std::span<const std::uint8_t> packet);

  // The two-byte key-bank output report written by the host ('LED' unit).
  void HandleBankReport(std::span<const std::uint8_t> report);
  std::vector<std::uint8_t> LastBankReport() const;

  bool InBootMode() const;
  bool InTransfer() const;  // between BeginTransfer and EndTransfer

  // Direct memory access (control port, tests). Write returns false, changing nothing, when the
  // range lies outside the area.
  std::span<const std::uint8_t> AreaBytes(Area area) const;
  bool WriteArea(Area area, std::size_t offset, std::span<const std::uint8_t> bytes);

  void InjectFault(Fault fault, int count);
  void ClearFaults();

  void Reset();  // factory state, faults cleared, normal mode

  // Whole state as bytes, for kbsim's state file (keeps the keyboard's settings like flash).
  // Load returns false and changes nothing when the bytes are not a state of this model.
  std::vector<std::uint8_t> SaveState() const;
  bool LoadState(std::span<const std::uint8_t> bytes);

  // Bumped on every change of memory or mode, so a host knows when to save its state file.
  std::uint64_t Generation() const;
};

}  // namespace vendrel::sim
