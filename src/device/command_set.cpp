#include "device/command_set.h"

#include <algorithm>

#include "device/packet_frame.h"
#include "device/results.h"

namespace vendrel::device {
namespace {

constexpr std::uint32_t kAddressLimit = 0x10000;  // addresses are 16 bits
constexpr std::size_t kColourBytesPerLed = 3;

bool ValidProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

std::uint16_t KeyMapBase(int profile) {
  return static_cast<std::uint16_t>(static_cast<std::size_t>(profile) * kKeyMapSize);
}

}  // namespace

CommandSet::CommandSet(Exchange& exchange) : exchange_(exchange) {}

int CommandSet::Transact(std::uint8_t command, std::uint8_t length, std::uint16_t address,
                         std::span<const std::uint8_t> payload,
                         std::span<std::uint8_t> reply_payload) {
  const Packet request = BuildRequest(command, length, address, payload);
  Packet reply{};
  const DeviceResult result = exchange_.Run(request, reply);
  // After any packet that failed, the keyboard may hold anything a transfer left half done.
  if (result != DeviceResult::Ok) {
    macro_memory_.Forget();
    return ResultCode(result);
  }
  if (reply[kOffStatus] == kStatusRefused || reply[kOffStatus] == kStatusRefusedAlt) {
    macro_memory_.Forget();
    return reply[kOffStatus] == kStatusRefused ? kRefusedFF : kRefusedFE;
  }
  const std::size_t n = std::min(reply_payload.size(), kPayloadSize);
  std::copy_n(reply.begin() + kOffPayload, n, reply_payload.begin());
  return kOk;
}

int CommandSet::BeginTransfer() { return Transact(kCmdBeginTransfer, 0, 0, {}, {}); }

int CommandSet::EndTransfer() {
  exchange_.Sleeper().Sleep(exchange_.Timings().end_transfer_pause);
  return Transact(kCmdEndTransfer, 0, 0, {}, {});
}

int CommandSet::ReadInformation(std::span<std::uint8_t, kInfoSize> destination) {
  return Transact(kCmdReadInformation, static_cast<std::uint8_t>(kInfoSize), 0, {}, destination);
}

int CommandSet::WriteInformation(std::span<const std::uint8_t, kInfoSize> block) {
  return Transact(kCmdWriteInformation, static_cast<std::uint8_t>(kInfoSize), 0, block, {});
}

int CommandSet::ReadLightingArea(std::span<std::uint8_t, kLightingReadSize> destination,
                                 std::uint8_t n, std::uint16_t address) {
  if (n > kPayloadSize) return kOutOfRange;
  return Transact(kCmdReadLighting, n, address, {}, destination);
}

int CommandSet::WriteLightingArea(std::span<const std::uint8_t> source, std::uint8_t n,
                                  std::uint16_t address) {
  if (n > kPayloadSize || n > source.size()) return kOutOfRange;
  return Transact(kCmdWriteLighting, n, address, source.first(n), {});
}

int CommandSet::ReadChunks(std::uint8_t command, std::uint16_t base,
                           std::span<std::uint8_t> destination) {
  for (std::size_t offset = 0; offset < destination.size(); offset += kPayloadSize) {
    const std::size_t n = std::min(kPayloadSize, destination.size() - offset);
    const int result = Transact(command, static_cast<std::uint8_t>(n),
                                static_cast<std::uint16_t>(base + offset), {},
                                destination.subspan(offset, n));
    if (result != kOk) return result;
    if (command == kCmdReadMacro) {
      macro_memory_.Observe(base + offset, destination.subspan(offset, n));
    }
  }
  return kOk;
}

int CommandSet::WriteChunks(std::uint8_t command, std::uint16_t base,
                            std::span<const std::uint8_t> source, bool skip_known) {
  for (std::size_t offset = 0; offset < source.size(); offset += kPayloadSize) {
    const std::size_t n = std::min(kPayloadSize, source.size() - offset);
    const std::span<const std::uint8_t> chunk = source.subspan(offset, n);
    if (skip_known && macro_memory_.Holds(base + offset, chunk)) continue;
    const int result = Transact(command, static_cast<std::uint8_t>(n),
                                static_cast<std::uint16_t>(base + offset), chunk, {});
    if (result != kOk) return result;
    if (command == kCmdWriteMacro) macro_memory_.Learn(base + offset, chunk);
  }
  return kOk;
}

int CommandSet::ReadKeyMap(std::span<std::uint8_t, kKeyMapSize> destination, int profile) {
  if (!ValidProfile(profile)) return kOutOfRange;
  return ReadChunks(kCmdReadKeyMap, KeyMapBase(profile), destination);
}

int CommandSet::WriteKeyMap(std::span<const std::uint8_t, kKeyMapSize> source, int profile) {
  if (!ValidProfile(profile)) return kOutOfRange;
  return WriteChunks(kCmdWriteKeyMap, KeyMapBase(profile), source);
}

int CommandSet::ReadMacroArea(std::span<std::uint8_t> destination, std::uint32_t count) {
  if (count == 0) return kOk;
  if (count > destination.size() || count > kAddressLimit) return kOutOfRange;
  return ReadChunks(kCmdReadMacro, 0, destination.first(count));
}

int CommandSet::WriteMacroArea(std::span<const std::uint8_t> source, std::uint32_t count) {
  if (count == 0) return kOk;
  if (count > source.size() || count > kAddressLimit) return kOutOfRange;
  return WriteChunks(kCmdWriteMacro, 0, source.first(count));
}

void CommandSet::ConfirmKnownMacroChunks(std::span<const std::uint8_t> image) {
  if (image.size() > kAddressLimit) return;  // nothing that large is written, so nothing skipped
  std::array<std::uint8_t, kPayloadSize> read{};
  for (std::size_t offset = 0; offset < image.size(); offset += kPayloadSize) {
    const std::size_t n = std::min(kPayloadSize, image.size() - offset);
    if (!macro_memory_.Holds(offset, image.subspan(offset, n))) continue;
    // ReadChunks teaches the knowledge what it read, and forgets it all on a difference or a
    // failure: the chunks after that are then not held and get written.
    if (ReadChunks(kCmdReadMacro, static_cast<std::uint16_t>(offset), std::span(read).first(n)) != kOk) {
      return;
    }
  }
}

int CommandSet::WriteChangedMacroArea(std::span<const std::uint8_t> source, std::uint32_t count) {
  if (count == 0) return kOk;
  if (count > source.size() || count > kAddressLimit) return kOutOfRange;
  return WriteChunks(kCmdWriteMacro, 0, source.first(count), true);
}

int CommandSet::ReadDefaultKeyMap(std::span<std::uint8_t, kKeyMapSize> destination) {
  return ReadChunks(kCmdReadDefaultKeyMap, 0, destination);
}

int CommandSet::WritePerKeyColours(int profile, std::span<const std::uint8_t> source,
                                   std::uint8_t n, int first_led) {
  if (!ValidProfile(profile) || first_led < 0 || n > kPayloadSize || n > source.size()) {
    return kOutOfRange;
  }
  const std::size_t address = static_cast<std::size_t>(profile) * kColoursPerProfile +
                              static_cast<std::size_t>(first_led) * kColourBytesPerLed;
  if (address >= kAddressLimit) return kOutOfRange;
  return Transact(kCmdWriteColours, n, static_cast<std::uint16_t>(address), source.first(n), {});
}

int CommandSet::EnterUpdateMode() {
  macro_memory_.Forget();  // the update may rewrite anything
  // The boot packet is all zeros but the report number and the code twice, checksum included.
  Packet p{};
  p[kOffReport] = kReportNumber;
  p[kOffCommand] = kCmdUpdateMode;
  p[kOffLength] = kCmdUpdateMode;
  // The library reports a successful write as any positive value; callers look for exactly 1.
  const int written = exchange_.WriteWithoutReply(p);
  return written > 0 ? kOk : written;
}

int CommandSet::GetActiveProfile() {
  const int cached = active_profile_.load();
  if (cached != -1) return cached;
  InfoBlock info{};
  if (ReadInformation(info) != kOk) return -1;
  const int profile = info[kInfoOffActiveProfile];
  // A keyboard that names a profile it does not have is not understood: nothing is written to a
  // profile chosen from such a reply.
  if (!ValidProfile(profile)) return -1;
  active_profile_.store(profile);
  return profile;
}

int CommandSet::SetActiveProfile(int profile) {
  if (!ValidProfile(profile)) return kOutOfRange;
  InfoBlock info{};
  const int read = ReadInformation(info);
  if (read != kOk) return read;
  info[kInfoOffActiveProfile] = static_cast<std::uint8_t>(profile);
  const int written = WriteInformation(info);
  active_profile_.store(written == kOk ? info[kInfoOffActiveProfile] : -1);
  return written;
}

}  // namespace vendrel::device
