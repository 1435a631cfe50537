#include "device/device_units.h"

#include <algorithm>

#include "codec/little_endian.h"
#include "device/check_value.h"
#include "device/connection.h"
#include "device/descriptors.h"
#include "device/exchange.h"

namespace vendrel::device {
namespace {

constexpr std::size_t kCodeBytes = 2;

constexpr std::size_t kOffCode = 0;

}  // namespace

DeviceUnits::DeviceUnits(HidLibrary& library, Exchange& exchange, Connection& connection,
                         ConnectionEvents& events, WorkerRunner& workers)
    : library_(library),
      exchange_(exchange),
      connection_(connection),
      events_(events),
      workers_(workers) {}

void DeviceUnits::RegisterUnits() {
  library_.SetEventSink(this);
  const std::uint32_t callback = library_.CallbackAddress();
  bank_byte_.store(kBankBase);
  led_unit_.store(0);

  library_.DeleteRequestFromUnitId(cons_unit_);
  library_.RequestAsyncRead(kConsDescriptor, callback, kTagCons,
                            CheckValue(kConsDescriptor, callback, kTagCons), &cons_unit_);

  exchange_.ResetSlot();

  library_.DeleteRequestFromUnitId(ctrl_unit_);
  library_.RequestAsyncRead(kCtrlDescriptor, callback, kTagCtrl,
                            CheckValue(kCtrlDescriptor, callback, kTagCtrl), &ctrl_unit_);
}

std::vector<std::uint8_t> DeviceUnits::BankState() const {
  return {kBankReportId, bank_byte_.load()};
}

void DeviceUnits::WriteBankState() {
  const std::uint32_t callback = library_.CallbackAddress();
  const std::vector<std::uint8_t> state = BankState();
  const std::uint32_t check = CheckValue(kLedDescriptor, callback, kTagLed, state);
  library_.DeleteRequestFromUnitId(led_unit_.load());
  std::uint32_t unit = 0;
  library_.RequestStatusWrite(kLedDescriptor, callback, kTagLed, state.data(),
                              static_cast<std::uint32_t>(state.size()), check, &unit);
  led_unit_.store(unit);
}

int DeviceUnits::OnHidEvent(const HidEvent& event) {
  if (event.kind == kEventDataArrived && event.tag == kTagCons) {
    if (event.report.size() >= kCodeBytes) OnConsumerCode(codec::ReadU16(event.report, kOffCode));
  } else if (event.kind == kEventDataArrived && event.tag == kTagCtrl) {
    exchange_.OnControlReport(event.report.first(std::min<std::size_t>(event.count, event.report.size())));
  } else if (event.kind == kEventAttachChanged && event.tag == kTagCtrl) {
    const int count = static_cast<int>(event.count);
    Connection& connection = connection_;
    workers_.RunWorker([&connection, count] { connection.Changed(count); });
  }
  return 1;
}

void DeviceUnits::OnConsumerCode(std::uint16_t code) {
  switch (code) {
    case kCodeBankKey:
      bank_byte_.fetch_xor(kBankBit);
      WriteBankState();
      events_.BankChanged();
      break;
    case kCodeLightingChanged:
      events_.LightingChanged();
      break;
    case kCodeMacroEnded:
      RunIndicator(false);
      break;
    case kCodeMacroStarted:
      RunIndicator(true);
      break;
    default:
      break;
  }
}

void DeviceUnits::RunIndicator(bool playing) {
  Connection& connection = connection_;
  ConnectionEvents& events = events_;
  platform::Sleeper& sleeper = exchange_.Sleeper();
  const auto poll = exchange_.Timings().indicator_poll;
  workers_.RunWorker([&connection, &events, &sleeper, poll, playing] {
    std::atomic<bool>& busy = connection.IndicatorBusy();
    bool expected = false;
    while (!busy.compare_exchange_weak(expected, true)) {
      expected = false;
      sleeper.Sleep(poll);
    }
    if (playing) {
      events.MacroStarted();
    } else {
      events.MacroEnded();
    }
    sleeper.Sleep(poll);
    busy.store(false);
  });
}

}  // namespace vendrel::device
