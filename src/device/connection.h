#pragma once
// Whether a keyboard is present, and what happens when it comes and goes: the attach reads of the
// factory key map and the macro space, then the events that let the program follow.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "device/command_set.h"
#include "device/connection_events.h"

namespace vendrel::device {

// What the connection worker found waiting for it: the latest count reported, and whether a detach
// came since the last state it handled (a detach and an attach may arrive before it runs).
struct ConnectionChange {
  int count = 0;
  bool detach_seen = false;
};

class Connection {
 public:
  // built_in_default_map: the factory key map the program ships, used until the keyboard's own
  // copy has been read.
  Connection(CommandSet& commands, ConnectionEvents& events,
             const KeyMapBytes& built_in_default_map);

  // Number of keyboards attached right now.
  int PresenceCheck();

  // Brings the state to change.count, on the connection worker. A detach seen while connected
  // runs the detach handling first even when the count is back up, so a keyboard that bounced is
  // read and refreshed afresh. Returns without settling when cancelled() turns true while it
  // waits for the program to be ready (the worker is shutting down).
  void Handle(ConnectionChange change, const std::function<bool()>& cancelled);

  // The same for one notification on the calling thread: a count of 0 is a detach.
  void Changed(int count);

  // The worker has nothing more to handle for now.
  void ReportQuiet() { events_.ConnectionQuiet(IsConnected()); }

  bool IsConnected() const { return state_.load() > 0; }
  int State() const { return state_.load(); }

  // The keyboard's factory key map: the built-in one until the first successful read.
  KeyMapBytes DefaultKeyMap() const;
  // Bytes of macro memory on the keyboard; 0 until an information read succeeded.
  std::uint32_t MacroSpace() const { return macro_space_.load(); }
  // The same, or nothing while no information read has succeeded yet; a failed read never
  // replaces a known value.
  std::optional<std::uint32_t> KnownMacroSpace() const;

  CommandSet& Commands() { return commands_; }

 private:
  // The attach or detach handling for count; false when cancelled before it settled.
  bool Settle(int count, const std::function<bool()>& cancelled);

  CommandSet& commands_;
  ConnectionEvents& events_;
  std::atomic<int> state_{0};
  std::atomic<std::uint32_t> macro_space_{0};
  std::atomic<bool> macro_space_known_{false};
  mutable std::mutex default_map_mutex_;
  KeyMapBytes default_map_;
};

}  // namespace vendrel::device
