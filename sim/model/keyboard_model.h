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
inline constexpr int kProfiles = 3;
// The lighting area: the three blocks at 0, 42 and 84, then reserved bytes, so that the host's
// 56-byte read of the last block lies inside the area.
inline constexpr std::size_t kLightingAreaSize = 256;
// Macro memory: information byte 11 units of 128 bytes; the factory setting holds 3840 actions.
inline constexpr std::size_t kMacroUnit = 128;
inline constexpr std::uint8_t kFactoryMacroUnits = 0xF0;
inline constexpr std::size_t kMacroCapacity = 255 * kMacroUnit;
inline constexpr std::uint8_t kErasedByte = 0xFF;  // content of macro memory never written

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
  // range lies outside the area or the memory would then break HoldsValidInfo.
  std::span<const std::uint8_t> AreaBytes(Area area) const;
  bool WriteArea(Area area, std::size_t offset, std::span<const std::uint8_t> bytes);

  // The one rule on memory that every way in keeps (a state file, a direct write, the host's
  // write of the information block): the active profile is one of the three.
  static bool HoldsValidInfo(std::span<const std::uint8_t, kInfoSize> info);

  void InjectFault(Fault fault, int count);
  void ClearFaults();

  void Reset();  // factory state, faults cleared, normal mode

  // Whole state as bytes, for kbsim's state file (keeps the keyboard's settings like flash).
  // Load returns false and changes nothing when the bytes are not a state of this model.
  std::vector<std::uint8_t> SaveState() const;
  bool LoadState(std::span<const std::uint8_t> bytes);

  // Bumped on every change of memory or mode, so a host knows when to save its state file.
  std::uint64_t Generation() const;

  // What the keyboard does on its own; each returns the notification it sends on 'CONS'.
  ConsumerEvent PressBankKey();            // kEventBankKey; the host answers with a bank report
  ConsumerEvent ChangeLightingOnKeyboard();  // next supported mode in the active profile
  ConsumerEvent StartMacro();              // kEventMacroStarted
  ConsumerEvent EndMacro();                // kEventMacroEnded
  bool MacroPlaying() const;

  // The update program has finished: back to normal mode, memory kept.
  void LeaveBootMode();

  // How long the keyboard takes to answer a packet; the host waits this long before delivering.
  std::chrono::milliseconds ReplyLatency() const;
  void SetReplyLatency(std::chrono::milliseconds latency);

 private:
  std::optional<Packet> Answer(const Packet& request);
  std::span<std::uint8_t> Mutable(Area area);
  void Touch() { ++generation_; }

  std::array<std::uint8_t, kInfoSize> info_{};
  std::array<std::uint8_t, kKeyMapSize> default_map_{};
  std::array<std::uint8_t, kProfiles * kKeyMapSize> key_maps_{};
  std::array<std::uint8_t, kMacroCapacity> macro_{};
  std::array<std::uint8_t, kLightingAreaSize> lighting_{};
  std::array<std::uint8_t, kProfiles * kColoursPerProfile> colours_{};
  std::vector<std::uint8_t> bank_report_;
  bool boot_mode_ = false;
  bool in_transfer_ = false;
  bool macro_playing_ = false;
  Fault fault_ = Fault::None;
  int fault_count_ = 0;
  std::uint64_t generation_ = 0;
  std::chrono::milliseconds latency_{1};
};

}  // namespace vendrel::sim
