#include "device/device_units.h"

#include <algorithm>

#include "codec/little_endian.h"
#include "device/check_value.h"
#include "device/connection_worker.h"
#include "device/descriptors.h"
#include "device/exchange.h"
#include "device/macro_indicator.h"

namespace vendrel::device {
namespace {

constexpr std::size_t kCodeBytes = 2;

constexpr std::size_t kOffCode = 0;

}  // namespace

DeviceUnits::DeviceUnits(HidLibrary& library, Exchange& exchange,
                         ConnectionWorker& connection_worker, MacroIndicator& indicator,
                         ConnectionEvents& events)
    : library_(library),
      exchange_(exchange),
      connection_worker_(connection_worker),
      indicator_(indicator),
      events_(events) {}

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
    connection_worker_.Post(static_cast<int>(event.count));
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
      indicator_.Post(false);
      break;
    case kCodeMacroStarted:
      indicator_.Post(true);
      break;
    default:
      break;
  }
}

}  // namespace vendrel::device
