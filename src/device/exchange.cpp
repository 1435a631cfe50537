#include "device/exchange.h"

#include <algorithm>

#include "device/check_value.h"
#include "device/descriptors.h"
#include "device/packet_frame.h"
#include "device/results.h"

namespace vendrel::device {
namespace {

constexpr int kAttempts = 3;

Packet PadToPacket(std::span<const std::uint8_t> bytes) {
  Packet p{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), p.size()), p.begin());
  return p;
}

bool IsRefusal(std::uint8_t status) {
  return status == kStatusRefused || status == kStatusRefusedAlt;
}

}  // namespace

Exchange::Exchange(HidLibrary& library, platform::Sleeper& sleeper, DeviceTimings timings)
    : library_(library), sleeper_(sleeper), timings_(timings) {}

int Exchange::AttachedCount() {
  const std::uint32_t check = CheckValue(kCtrlDescriptor, 0, 0);
  const std::int32_t count = library_.RequestGetDeviceCount(kCtrlDescriptor, 0, 0, check, 0);
  return count > 0 ? count : 0;
}

DeviceResult Exchange::Run(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                  std::uint32_t* received) {
  if (received != nullptr) *received = 0;
  if (AttachedCount() == 0) {
    // Nothing to talk to: give the slot back if an abandoned exchange still held it.
    if (slot_.Waiting()) slot_.Clear();
    return DeviceResult::NoKeyboard;
  }
  const Packet packet = PadToPacket(request);
  const std::uint32_t check = CheckValue(kCtrlDescriptor, 0, 0, packet);
  // The reply lands in a buffer of our own and is copied out only once it is ours.
  Packet incoming{};

  int attempts = 0;
  for (;;) {
    if (slot_.Waiting()) {
      sleeper_.Sleep(timings_.take_over);
      slot_.Clear();
    }
    incoming.fill(0);
    const ReplySlot::Ticket ticket = slot_.Arm(incoming);
    const std::int32_t sent = library_.RequestWriteOne(kCtrlDescriptor, 0, 0, packet.data(),
                                                       kPacketSize, check, 0);
    if (sent <= 0) {
      slot_.Disarm(ticket);
      return DeviceResult::NotSent;
    }
    const ReplySlot::WaitResult waited = slot_.Wait(ticket, timings_.reply_wait);
    const std::uint32_t arrived = slot_.ReceivedLength(ticket);
    slot_.Disarm(ticket);

    bool usable = false;
    std::uint32_t length = 0;
    if (waited == ReplySlot::WaitResult::Signalled) {
      length = static_cast<std::uint32_t>(std::min<std::size_t>(reply.size(), arrived));
      std::fill(reply.begin(), reply.end(), std::uint8_t{0});
      std::copy_n(incoming.begin(), length, reply.begin());
      usable = arrived > kOffCommand && incoming[kOffCommand] == packet[kOffCommand];
      if (usable && arrived > kOffStatus && IsRefusal(incoming[kOffStatus])) {
        if (++attempts >= kAttempts) {
          if (received != nullptr) *received = length;
          return DeviceResult::Ok;  // the caller reads the refusal from the status byte
        }
        sleeper_.Sleep(timings_.retry_pause);
        continue;
      }
    }
    if (usable) {
      if (received != nullptr) *received = length;
      return DeviceResult::Ok;
    }
    if (++attempts >= kAttempts) return DeviceResult::NoReply;
    sleeper_.Sleep(timings_.retry_pause);
  }
}

int Exchange::WriteWithoutReply(std::span<const std::uint8_t> bytes) {
  const Packet packet = PadToPacket(bytes);
  const std::uint32_t check = CheckValue(kCtrlDescriptor, 0, 0, packet);
  return library_.RequestWriteOne(kCtrlDescriptor, 0, 0, packet.data(), kPacketSize, check, 0);
}

}  // namespace vendrel::device
