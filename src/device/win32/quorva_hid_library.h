#pragma once
// The HID library interface of the device link over the loaded Quorva.dll. The library calls one
// __stdcall entry point with its 32-bit records; this adapter decodes them into HidEvent for the
// sink. There is one library per process, so there is one sink per process.
#include "device/hid_library.h"
#include "device/win32/quorva_loader.h"

namespace vendrel::device {

class QuorvaHidLibrary final : public HidLibrary {
 public:
  explicit QuorvaHidLibrary(const QuorvaEntryPoints& entry) : entry_(entry) {}
  ~QuorvaHidLibrary() override;

  void SetEventSink(HidEventSink* sink) override;
  std::uint32_t CallbackAddress() const override;
  std::int32_t Init(std::uint32_t flags) override;
  std::int32_t RequestGetDeviceCount(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                                     std::uint32_t check, std::uint32_t reserved) override;
  std::int32_t DeleteRequestFromUnitId(std::uint32_t unit_id) override;
  std::int32_t RequestAsyncRead(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                                std::uint32_t check, std::uint32_t* unit_id) override;
  std::int32_t RequestStatusWrite(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                                  const std::uint8_t* data, std::uint32_t length, std::uint32_t check,
                                  std::uint32_t* unit_id) override;
  std::int32_t RequestWriteOne(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                               const std::uint8_t* data, std::uint32_t length, std::uint32_t check,
                               std::uint32_t reserved) override;

  const QuorvaEntryPoints& EntryPoints() const { return entry_; }

 private:
  QuorvaEntryPoints entry_;
};

// Decodes one event record as the library hands it over. False when the record is unusable
// (no unit record, data without report bytes); the report span points into the library's memory.
bool DecodeHidEvent(const void* event_record, HidEvent& event);

}  // namespace vendrel::device
