#pragma once
// Whether a keyboard is present, and what happens when it comes and goes: the attach reads of the
// factory key map and the macro space, then the events that let the program follow.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/command_set.h"
#include "device/connection_events.h"

namespace vendrel::device {

class Connection {
 public:
  // built_in_default_map: the factory key map the program ships, used until the keyboard's own
  // copy has been read.
  Connection(CommandSet& commands, ConnectionEvents& events,
             const KeyMapBytes& built_in_default_map);

  // Number of keyboards attached right now.
  int PresenceCheck();

  // The attach/detach handling, run on a worker thread of its own for every 'CTRL' attach
  // notification and once at start-up with the presence check's result.
  void Changed(int count);

  bool IsConnected() const { return state_.load() > 0; }
  int State() const { return state_.load(); }

  // The keyboard's factory key map: the built-in one until the first successful read.
  KeyMapBytes DefaultKeyMap() const;
  // Bytes of macro memory on the keyboard; 0 until the first attach.
  std::uint32_t MacroSpace() const { return macro_space_.load(); }

  // Taken by the indicator workers around their macro events.
  std::atomic<bool>& IndicatorBusy() { return indicator_busy_; }

  CommandSet& Commands() { return commands_; }

 private:
  CommandSet& commands_;
  ConnectionEvents& events_;
  std::atomic<int> state_{0};
  std::atomic<std::uint32_t> macro_space_{0};
  std::atomic<bool> indicator_busy_{false};
  mutable std::mutex default_map_mutex_;
  KeyMapBytes default_map_;
};

}  // namespace vendrel::device
