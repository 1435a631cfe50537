#include "device/connection.h"

#include <algorithm>

#include "device/results.h"

namespace vendrel::device {

Connection::Connection(CommandSet& commands, ConnectionEvents& events,
                       const KeyMapBytes& built_in_default_map)
    : commands_(commands), events_(events), default_map_(built_in_default_map) {}

int Connection::PresenceCheck() { return commands_.Link().AttachedCount(); }

KeyMapBytes Connection::DefaultKeyMap() const {
  std::lock_guard lock(default_map_mutex_);
  return default_map_;
}

void Connection::Changed(int count) {
  count = std::max(count, 0);
  const int previous = state_.load();
  if (count == previous) return;

  if (count > 0) {
    KeyMapBytes map{};
    if (Succeeded(commands_.ReadDefaultKeyMap(map))) {
      std::lock_guard lock(default_map_mutex_);
      default_map_ = map;
    }
    InfoBlock info{};
    if (Succeeded(commands_.ReadInformation(info))) {
      macro_space_.store(static_cast<std::uint32_t>(info[kInfoOffMacroSpace]) * kMacroSpaceUnit);
    }
    events_.Attached();
  } else {
    commands_.ForgetActiveProfile();
    events_.Detached();
  }

  platform::Sleeper& sleeper = commands_.Link().Sleeper();
  const auto poll = commands_.Link().Timings().ready_poll;
  while (!events_.ReadyForConnection()) sleeper.Sleep(poll);

  state_.store(count);
  events_.ConnectionSettled(count > 0);
}

}  // namespace vendrel::device
