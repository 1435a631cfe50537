#pragma once
// Every command the program sends to the keyboard, transfers longer than one packet, the
// information block and the active-profile cache. Each builder returns 1 on success, the exchange's
// result when that is not 1, -102 / -103 for a reply refused with status 0xFF / 0xFE, and -201,
// before anything is sent, for an argument out of range.
#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "device/command_codes.h"
#include "device/exchange.h"
#include "device/known_macro_memory.h"

namespace vendrel::device {

// Information block.
inline constexpr std::size_t kInfoSize = 44;
inline constexpr std::size_t kInfoOffActiveProfile = 10;
inline constexpr std::size_t kInfoOffMacroSpace = 11;  // in units of kMacroSpaceUnit bytes
inline constexpr std::size_t kInfoOffModeList = 12;
inline constexpr std::size_t kModeListSize = 32;
inline constexpr std::uint32_t kMacroSpaceUnit = 128;

// Fixed tables and areas.
inline constexpr std::size_t kKeyMapSize = 378;
inline constexpr int kProfileCount = 3;
inline constexpr std::size_t kColoursPerProfile = 512;
inline constexpr std::size_t kLightingReadSize = 56;  // a lighting read always returns 56 bytes

using InfoBlock = std::array<std::uint8_t, kInfoSize>;
using KeyMapBytes = std::array<std::uint8_t, kKeyMapSize>;

class CommandSet {
 public:
  explicit CommandSet(Exchange& exchange);

  int BeginTransfer();
  int EndTransfer();  // pauses before sending, so the keyboard can finish the last write

  int ReadInformation(std::span<std::uint8_t, kInfoSize> destination);
  int WriteInformation(std::span<const std::uint8_t, kInfoSize> block);

  // Copies all 56 reply bytes to destination, whatever n is. n at most 56.
  int ReadLightingArea(std::span<std::uint8_t, kLightingReadSize> destination, std::uint8_t n,
                       std::uint16_t address);
  // n at most 56 and at most source.size(); n 0 sends no payload bytes.
  int WriteLightingArea(std::span<const std::uint8_t> source, std::uint8_t n,
                        std::uint16_t address);

  // profile 0..2, otherwise -201.
  int ReadKeyMap(std::span<std::uint8_t, kKeyMapSize> destination, int profile);
  int WriteKeyMap(std::span<const std::uint8_t, kKeyMapSize> source, int profile);

  // count 0 returns 1 without sending; count beyond the buffer or the 16-bit address range: -201.
  int ReadMacroArea(std::span<std::uint8_t> destination, std::uint32_t count);
  int WriteMacroArea(std::span<const std::uint8_t> source, std::uint32_t count);
  // The same end state as WriteMacroArea, sending only the chunks whose bytes the keyboard is not
  // known to hold already (all of them when nothing is known).
  int WriteChangedMacroArea(std::span<const std::uint8_t> source, std::uint32_t count);
  // Reads back every chunk of image that the keyboard is known to hold already, so that
  // WriteChangedMacroArea skips only chunks just seen on the keyboard. Another program or a reset
  // can rewrite any chunk without the program hearing of it, and the keyboard offers no cheaper
  // sign of that than its bytes. A read that differs or fails forgets what was known, and the
  // chunks from there on are written.
  void ConfirmKnownMacroChunks(std::span<const std::uint8_t> image);
  // What the macro area's reads and writes taught: any failed packet forgets it, and so does
  // the connection when the keyboard goes or comes.
  KnownMacroMemory& MacroMemory() { return macro_memory_; }

  int ReadDefaultKeyMap(std::span<std::uint8_t, kKeyMapSize> destination);

  // Address profile * 512 + first_led * 3. profile 0..2; n at most 56 and at most source.size().
  int WritePerKeyColours(int profile, std::span<const std::uint8_t> source, std::uint8_t n,
                         int first_led);

  // Writes the boot packet without waiting: 1 when it was sent, otherwise the library's result.
  int EnterUpdateMode();

  // The keyboard's active profile 0..2 from the cache, read when the cache is empty; -1 when it
  // cannot be read.
  int GetActiveProfile();
  // profile 0..2, otherwise -201. On success the cache holds the new profile, on a failed write -1.
  int SetActiveProfile(int profile);
  int CachedActiveProfile() const { return active_profile_.load(); }
  void ForgetActiveProfile() { active_profile_.store(-1); }

  Exchange& Link() { return exchange_; }

 private:
  // One packet: request, reply into reply; maps the reply status to -102/-103.
  int Transact(std::uint8_t command, std::uint8_t length, std::uint16_t address,
               std::span<const std::uint8_t> payload, std::span<std::uint8_t> reply_payload);
  int ReadChunks(std::uint8_t command, std::uint16_t base, std::span<std::uint8_t> destination);
  int WriteChunks(std::uint8_t command, std::uint16_t base, std::span<const std::uint8_t> source,
                  bool skip_known = false);

  Exchange& exchange_;
  std::atomic<int> active_profile_{-1};
  KnownMacroMemory macro_memory_;
};

}  // namespace vendrel::device
