#pragma once
// The whole device link wired to the fake library with the keyboard model behind it, the main
// window's device events over the recording window, and a sleeper that does not sleep. Replies are awaited for real, so the reply wait
// stays generous unless a test means to time out.
#include <chrono>

#include "app/device_event_policy.h"
#include "device/command_set.h"
#include "device/connection.h"
#include "device/connection_worker.h"
#include "device/device_units.h"
#include "device/exchange.h"
#include "device/macro_indicator.h"
#include "keys/default_key_map.h"
#include "support/fake_hid_library.h"
#include "support/fake_host_window.h"
#include "support/fake_sleeper.h"

namespace vendrel::testing {

inline device::DeviceTimings TestTimings(std::chrono::milliseconds reply_wait) {
  device::DeviceTimings t;
  t.reply_wait = reply_wait;
  return t;
}

struct DeviceRig {
  explicit DeviceRig(int attached = 1,
                     std::chrono::milliseconds reply_wait = std::chrono::milliseconds{2000})
      : library(attached),
        exchange(library, sleeper, TestTimings(reply_wait)),
        commands(exchange),
        events(window),
        connection(commands, events, keys::kDefaultKeyMap),
        connection_worker(connection),
        indicator(events, sleeper, exchange.Timings().indicator_poll),
        units(library, exchange, connection_worker, indicator, events) {
    units.RegisterUnits();
  }
  ~DeviceRig() {
    Settle();
    library.SetEventSink(nullptr);
  }

  // Delivers everything queued and waits until both workers have handled what it brought.
  void Settle() {
    library.Drain();
    connection_worker.WaitIdle();
    indicator.WaitIdle();
    library.Drain();
  }

  FakeHidLibrary library;
  FakeSleeper sleeper;
  FakeHostWindow window;
  device::Exchange exchange;
  device::CommandSet commands;
  app::DeviceEventPolicy events;
  device::Connection connection;
  device::ConnectionWorker connection_worker;
  device::MacroIndicator indicator;
  device::DeviceUnits units;
};

}  // namespace vendrel::testing
