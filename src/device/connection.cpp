#include "device/connection.h"

#include <algorithm>

#include "device/results.h"
#include "keys/default_key_map.h"

namespace vendrel::device {

Connection::Connection(CommandSet& commands, HostWindow& window)
    : commands_(commands), window_(window) {
  std::copy(keys::kDefaultKeyMap.begin(), keys::kDefaultKeyMap.end(), default_map_.begin());
}

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
    if (commands_.ReadDefaultKeyMap(map) == kOk) {
      std::lock_guard lock(default_map_mutex_);
      default_map_ = map;
    }
    InfoBlock info{};
    if (commands_.ReadInformation(info) == kOk) {
      macro_space_.store(static_cast<std::uint32_t>(info[kInfoOffMacroSpace]) * kMacroSpaceUnit);
    }
    window_.SendToWindow(kMsgProfileRefresh, kTagProf, 0);
  } else if (previous != 0) {
    commands_.ForgetActiveProfile();
    window_.SendToWindow(kMsgCloseChildren, 0, 0);
    window_.HideWindow();
  }

  platform::Sleeper& sleeper = commands_.Link().Sleeper();
  const auto poll = commands_.Link().Timings().ready_poll;
  while (!window_.IsReady()) sleeper.Sleep(poll);

  const int icon = count > 0 ? kIconConnected : kIconDisconnected;
  window_.SetTrayIcon(icon);
  connection_icon_.store(icon);
  state_.store(count);

  if (!window_.StartFlag()) {
    if (count > 0) window_.PostToWindow(kMsgOpen, kTagOpen, 0);
    window_.SetStartFlag();
  }
}

}  // namespace vendrel::device
