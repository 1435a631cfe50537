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

std::optional<std::uint32_t> Connection::KnownMacroSpace() const {
  if (!macro_space_known_.load()) return std::nullopt;
  return macro_space_.load();
}

void Connection::Changed(int count) {
  Handle({count, count <= 0}, [] { return false; });
}

void Connection::Handle(ConnectionChange change, const std::function<bool()>& cancelled) {
  const int count = std::max(change.count, 0);
  int previous = state_.load();
  if (change.detach_seen && previous > 0 && count > 0) {
    if (!Settle(0, cancelled)) return;
    previous = 0;
  }
  if (count == previous) return;
  Settle(count, cancelled);
}

bool Connection::Settle(int count, const std::function<bool()>& cancelled) {
  if (count > 0) {
    KeyMapBytes map{};
    if (Succeeded(commands_.ReadDefaultKeyMap(map))) {
      std::lock_guard lock(default_map_mutex_);
      default_map_ = map;
    }
    InfoBlock info{};
    if (Succeeded(commands_.ReadInformation(info))) {
      macro_space_.store(static_cast<std::uint32_t>(info[kInfoOffMacroSpace]) * kMacroSpaceUnit);
      macro_space_known_.store(true);
    }
    events_.Attached();
  } else {
    // The keyboard may come back holding anything: the first write after a reconnect is whole.
    commands_.MacroMemory().Forget();
    commands_.ForgetActiveProfile();
    events_.Detached();
  }

  platform::Sleeper& sleeper = commands_.Link().Sleeper();
  const auto poll = commands_.Link().Timings().ready_poll;
  while (!events_.ReadyForConnection()) {
    if (cancelled()) return false;
    sleeper.Sleep(poll);
  }

  state_.store(count);
  events_.ConnectionSettled(count > 0);
  return true;
}

}  // namespace vendrel::device
