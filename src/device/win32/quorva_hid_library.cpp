#include "device/win32/quorva_hid_library.h"

#include <atomic>

#include "device/descriptors.h"
#include "device/hid_event_decoder.h"

namespace vendrel::device {
namespace {

std::atomic<HidEventSink*> g_sink{nullptr};

const std::uint8_t* AtAddress(std::uint32_t address) {
  return reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(address));
}

// The library's entry into the program; always answers 1.
int __stdcall OnLibraryEvent(void* event_record) {
  HidEvent event;
  HidEventSink* sink = g_sink.load();
  if (sink != nullptr && DecodeHidEvent(event_record, event)) sink->OnHidEvent(event);
  return 1;
}

QuorvaCallback AsCallback(std::uint32_t address) {
  return reinterpret_cast<QuorvaCallback>(static_cast<std::uintptr_t>(address));
}

}  // namespace

bool DecodeHidEvent(const void* event_record, HidEvent& event) {
  return DecodeHidEvent(static_cast<const std::uint8_t*>(event_record), AtAddress, event);
}

QuorvaHidLibrary::~QuorvaHidLibrary() { g_sink.store(nullptr); }

void QuorvaHidLibrary::SetEventSink(HidEventSink* sink) { g_sink.store(sink); }

std::uint32_t QuorvaHidLibrary::CallbackAddress() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&OnLibraryEvent));
}

std::int32_t QuorvaHidLibrary::Init(std::uint32_t flags) { return entry_.Init(static_cast<int>(flags)); }

std::int32_t QuorvaHidLibrary::RequestGetDeviceCount(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                                                     std::uint32_t check, std::uint32_t reserved) {
  return entry_.RequestGetDeviceCount(descriptor.data(), AsCallback(callback), tag, check, reserved);
}

std::int32_t QuorvaHidLibrary::DeleteRequestFromUnitId(std::uint32_t unit_id) {
  return entry_.DeleteRequestFromUnitId(unit_id);
}

std::int32_t QuorvaHidLibrary::RequestAsyncRead(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                                                std::uint32_t check, std::uint32_t* unit_id) {
  return entry_.RequestAsyncRead(descriptor.data(), AsCallback(callback), tag, check, unit_id);
}

std::int32_t QuorvaHidLibrary::RequestStatusWrite(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                                                  const std::uint8_t* data, std::uint32_t length,
                                                  std::uint32_t check, std::uint32_t* unit_id) {
  return entry_.RequestStatusWrite(descriptor.data(), AsCallback(callback), tag, data, length, check, unit_id);
}

std::int32_t QuorvaHidLibrary::RequestWriteOne(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                                               const std::uint8_t* data, std::uint32_t length, std::uint32_t check,
                                               std::uint32_t reserved) {
  return entry_.RequestWriteOne(descriptor.data(), AsCallback(callback), tag, data, length, check, reserved);
}

}  // namespace vendrel::device
