#pragma once
// The device link as one object for the main window: the exchange, the command set, the connection
// state with its worker, the macro indicator and the units, wired together over the HID library.
// The library, the event listener and the sleeper must outlive it, and the library must make no
// further call into the units once it is destroyed; the sleeper is always given, so a test that
// forgets to fake it fails to build instead of sleeping.
#include "device/command_set.h"
#include "device/connection.h"
#include "device/connection_worker.h"
#include "device/device_units.h"
#include "device/exchange.h"
#include "device/macro_indicator.h"
#include "platform/sleeper.h"

namespace vendrel::device {

class DeviceLink {
 public:
  DeviceLink(HidLibrary& library, ConnectionEvents& events, platform::Sleeper& sleeper,
             const KeyMapBytes& built_in_default_map, DeviceTimings timings = {})
      : exchange_(library, sleeper, timings),
        commands_(exchange_),
        connection_(commands_, events, built_in_default_map),
        connection_worker_(connection_),
        indicator_(events, sleeper, timings.indicator_poll),
        units_(library, exchange_, connection_worker_, indicator_, events) {}

  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  Exchange& Link() { return exchange_; }
  CommandSet& Commands() { return commands_; }
  Connection& State() { return connection_; }
  ConnectionWorker& StateWorker() { return connection_worker_; }
  MacroIndicator& Indicator() { return indicator_; }
  DeviceUnits& Units() { return units_; }

 private:
  Exchange exchange_;
  CommandSet commands_;
  Connection connection_;
  ConnectionWorker connection_worker_;
  MacroIndicator indicator_;
  DeviceUnits units_;
};

}  // namespace vendrel::device
