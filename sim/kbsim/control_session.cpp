#include "sim/kbsim/control_session.h"

#include <type_traits>
#include <variant>

#include "sim/kbsim/control_command.h"
#include "sim/kbsim/hex.h"
#include "sim/model/wire_constants.h"

namespace vendrel::sim {

ControlSession::Result ControlSession::Execute(std::string_view line) {
  using namespace control;
  const Command command = ParseCommand(line);
  return std::visit(
      [this](const auto& c) -> Result {
        using C = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<C, Attach>) {
          if (!attached_) {
            attached_ = true;
            link_.AttachChanged(true);
          }
          return {"ok attached"};
        } else if constexpr (std::is_same_v<C, Detach>) {
          Unplug();
          return {"ok detached"};
        } else if constexpr (std::is_same_v<C, DetachAfter>) {
          // An unplugged keyboard takes no packet to count.
          if (!attached_) return {"err detached"};
          detach_after_ = c.count;
          detach_after_command_ = c.command;
          return {"ok"};
        } else if constexpr (std::is_same_v<C, Event>) {
          // An unplugged keyboard sends nothing.
          if (!attached_) return {"err detached"};
          link_.SendConsumerEvent(c.code);
          return {"ok"};
        } else if constexpr (std::is_same_v<C, Read>) {
          const auto bytes = model_.AreaBytes(c.area);
          if (c.offset > bytes.size() || c.length > bytes.size() - c.offset) return {"err range"};
          return {"ok " + ToHex(bytes.subspan(c.offset, c.length))};
        } else if constexpr (std::is_same_v<C, Write>) {
          const std::size_t size = model_.AreaBytes(c.area).size();
          if (c.offset > size || c.bytes.size() > size - c.offset) return {"err range"};
          // The model refuses memory that its state file could not hold.
          if (!model_.WriteArea(c.area, c.offset, c.bytes)) return {"err invalid"};
          return {"ok"};
        } else if constexpr (std::is_same_v<C, Bank>) {
          const auto report = model_.LastBankReport();
          if (report.empty()) return {"err no bank report yet"};
          return {"ok " + ToHex(report)};
        } else if constexpr (std::is_same_v<C, Mode>) {
          return {model_.InBootMode() ? "ok boot" : "ok normal"};
        } else if constexpr (std::is_same_v<C, Now>) {
          return {"ok " + std::to_string(link_.LogMicros())};
        } else if constexpr (std::is_same_v<C, InjectFault>) {
          model_.InjectFault(c.fault, c.count);
          return {"ok"};
        } else if constexpr (std::is_same_v<C, ClearFaults>) {
          model_.ClearFaults();
          return {"ok"};
        } else if constexpr (std::is_same_v<C, Reset>) {
          model_.Reset();
          return {"ok"};
        } else if constexpr (std::is_same_v<C, Quit>) {
          return {"ok bye", true};
        } else {
          return {"err " + c.reason};
        }
      },
      command);
}

void ControlSession::ControlPacketTaken(std::span<const std::uint8_t> packet) {
  if (detach_after_ == 0) return;
  if (detach_after_command_ &&
      (packet.size() <= wire::kOffCommand || packet[wire::kOffCommand] != *detach_after_command_)) {
    return;
  }
  if (--detach_after_ > 0) return;
  Unplug();
}

// Any detach ends a countdown: a later attach starts with a keyboard that stays in.
void ControlSession::Unplug() {
  detach_after_ = 0;
  if (!attached_) return;
  attached_ = false;
  link_.AttachChanged(false);
}

}  // namespace vendrel::sim
