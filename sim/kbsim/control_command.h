#pragma once
// One line of kbsim's control port, parsed. Pure: no model, no sockets.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sim/model/keyboard_model.h"

namespace vendrel::sim::control {

struct Attach {};
struct Detach {};
// Pulls the keyboard out right after it has taken the count-th control packet from now (of one
// command code only, when given), before that packet's reply: a scenario can cut a transfer at an
// exact packet instead of racing a clock.
struct DetachAfter {
  int count = 0;
  std::optional<std::uint8_t> command;
};
struct Event {
  std::uint16_t code = 0;
};
struct Read {
  Area area = Area::Info;
  std::size_t offset = 0;
  std::size_t length = 0;
};
struct Write {
  Area area = Area::Info;
  std::size_t offset = 0;
  std::vector<std::uint8_t> bytes;
};
struct Bank {};
struct Mode {};
// The packet log's clock, so that a benchmark can place its own events among the packets.
struct Now {};
struct InjectFault {
  Fault fault = Fault::None;
  int count = 0;
};
struct ClearFaults {};
struct Reset {};
struct Quit {};
// The line was not a command; `reason` is the text after "err ".
struct Invalid {
  std::string reason;
};

using Command = std::variant<Attach, Detach, DetachAfter, Event, Read, Write, Bank, Mode, Now, InjectFault, ClearFaults,
                             Reset, Quit, Invalid>;

// Words are separated by spaces or tabs; a trailing carriage return is ignored.
Command ParseCommand(std::string_view line);

}  // namespace vendrel::sim::control
