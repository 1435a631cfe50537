#pragma once
// The device link as one object for the main window: the exchange, the command set, the connection
// state and the units, wired together over the HID library. The library, the event listener, the
// worker runner and the sleeper must outlive it; the sleeper is always given, so a test that
// forgets to fake it fails to build instead of sleeping.
#include "device/command_set.h"
#include "device/connection.h"
#include "device/device_units.h"
#include "device/exchange.h"
#include "platform/sleeper.h"

namespace vendrel::device {

class DeviceLink {
 public:
  DeviceLink(HidLibrary& library, ConnectionEvents& events, WorkerRunner& workers,
             platform::Sleeper& sleeper, const KeyMapBytes& built_in_default_map,
             DeviceTimings timings = {})
      : exchange_(library, sleeper, timings),
        commands_(exchange_),
        connection_(commands_, events, built_in_default_map),
        units_(library, exchange_, connection_, events, workers) {}

  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  Exchange& Link() { return exchange_; }
  CommandSet& Commands() { return commands_; }
  Connection& State() { return connection_; }
  DeviceUnits& Units() { return units_; }

 private:
  Exchange exchange_;
  CommandSet commands_;
  Connection connection_;
  DeviceUnits units_;
};

}  // namespace vendrel::device
