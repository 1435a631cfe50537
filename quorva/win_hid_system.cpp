#include "quorva/win_hid_system.h"

#include <dbt.h>
#include <setupapi.h>
// This header declares its functions without C linkage for C++.
extern "C" {
#include <hidsdi.h>
}

#include <cstddef>
#include <cwchar>
#include <future>
#include <thread>

namespace vendrel::quorva {
namespace {

constexpr wchar_t kWindowClass[] = L"QuorvaHidDeviceChanges";
// A device that takes no output report within this time is not answering; the caller retries.
constexpr DWORD kWriteTimeoutMs = 1000;

// Owns a device information list.
class DeviceInfoList {
 public:
  explicit DeviceInfoList(HDEVINFO info) : info_(info) {}
  ~DeviceInfoList() {
    if (info_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(info_);
  }
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;
  HDEVINFO get() const { return info_; }

 private:
  HDEVINFO info_;
};

// Owns a collection's preparsed data.
class PreparsedData {
 public:
  PreparsedData() = default;
  ~PreparsedData() {
    if (data_ != nullptr) HidD_FreePreparsedData(data_);
  }
  PreparsedData(const PreparsedData&) = delete;
  PreparsedData& operator=(const PreparsedData&) = delete;
  PHIDP_PREPARSED_DATA* out() { return &data_; }
  PHIDP_PREPARSED_DATA get() const { return data_; }

 private:
  PHIDP_PREPARSED_DATA data_ = nullptr;
};

HANDLE OpenInterface(const std::wstring& path, DWORD access) {
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OVERLAPPED, nullptr);
}

}  // namespace

bool WinHidSystem::Start(HidSystemEvents& events) {
  events_ = &events;
  HidD_GetHidGuid(&hid_class_);
  std::promise<bool> started;
  auto result = started.get_future();
  std::thread([this, promise = std::move(started)]() mutable { Run(std::move(promise)); }).detach();
  return result.get();
}

void WinHidSystem::Run(std::promise<bool> started) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&WinHidSystem::WindowProc), &module);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &WinHidSystem::WindowProc;
  window_class.hInstance = module;
  window_class.lpszClassName = kWindowClass;
  RegisterClassExW(&window_class);  // fails harmlessly when already registered
  const HWND window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, this);
  if (window == nullptr) {
    started.set_value(false);
    return;
  }
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = hid_class_;
  // Kept for the life of the process, like the window.
  if (RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE) == nullptr) {
    DestroyWindow(window);
    started.set_value(false);
    return;
  }
  started.set_value(true);
  events_->OnSystemStarted();

  for (;;) {
    // Rebuilt each time round: handlers open and close interfaces. The shared pointers keep each
    // device's event alive while the thread waits on it.
    std::vector<std::shared_ptr<Device>> reading;
    std::vector<HidHandle> ids;
    std::vector<HANDLE> events;
    {
      std::lock_guard lock(mutex_);
      for (const auto& [id, device] : devices_) {
        if (!device->reading || events.size() >= MAXIMUM_WAIT_OBJECTS - 1) continue;
        reading.push_back(device);
        ids.push_back(id);
        events.push_back(device->read_event.get());
      }
    }
    const auto count = static_cast<DWORD>(events.size());
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(count, events.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0 + count) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    } else if (woken < WAIT_OBJECT_0 + count) {
      OnReadDone(ids[woken - WAIT_OBJECT_0], *reading[woken - WAIT_OBJECT_0]);
    } else {
      return;  // the wait itself failed: stop rather than spin
    }
  }
}

LRESULT CALLBACK WinHidSystem::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == WM_DEVICECHANGE) {
    auto* self = reinterpret_cast<WinHidSystem*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) self->OnDeviceChange(wparam, lparam);
    return TRUE;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void WinHidSystem::OnDeviceChange(WPARAM change, LPARAM data) {
  if (change != DBT_DEVICEARRIVAL && change != DBT_DEVICEREMOVECOMPLETE) return;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return;
  const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
  constexpr std::size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  if (header->dbch_size <= kNameOffset || !IsEqualGUID(iface->dbcc_classguid, hid_class_)) return;
  // The name ends where the message says it does, terminated or not.
  const std::size_t room = (header->dbch_size - kNameOffset) / sizeof(wchar_t);
  const std::wstring path(iface->dbcc_name, wcsnlen(iface->dbcc_name, room));
  if (path.empty()) return;
  if (change == DBT_DEVICEARRIVAL) {
    events_->OnInterfaceArrived(path);
  } else {
    events_->OnInterfaceRemoved(path);
  }
}

bool WinHidSystem::BeginRead(Device& device) {
  ResetEvent(device.read_event.get());
  device.read = OVERLAPPED{};
  device.read.hEvent = device.read_event.get();
  // Done at once or pending, the event is signalled when the report is there.
  return ReadFile(device.file.get(), device.buffer.data(), static_cast<DWORD>(device.buffer.size()), nullptr,
                  &device.read) ||
         GetLastError() == ERROR_IO_PENDING;
}

void WinHidSystem::OnReadDone(HidHandle handle, Device& device) {
  DWORD got = 0;
  if (!GetOverlappedResult(device.file.get(), &device.read, &got, FALSE)) {
    device.reading = false;
    events_->OnReadFailed(handle);
    return;
  }
  if (got > 0) events_->OnInputReport(handle, std::span(device.buffer.data(), got));
  // The handler may have closed the interface.
  if (Find(handle) == nullptr || !device.reading) return;
  if (!BeginRead(device)) {
    device.reading = false;
    events_->OnReadFailed(handle);
  }
}

std::shared_ptr<WinHidSystem::Device> WinHidSystem::Find(HidHandle handle) {
  std::lock_guard lock(mutex_);
  const auto it = devices_.find(handle);
  return it == devices_.end() ? nullptr : it->second;
}

std::vector<std::wstring> WinHidSystem::InterfacePaths() {
  std::vector<std::wstring> paths;
  const DeviceInfoList list(SetupDiGetClassDevsW(&hid_class_, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (list.get() == INVALID_HANDLE_VALUE) return paths;
  SP_DEVICE_INTERFACE_DATA entry{};
  entry.cbSize = sizeof entry;
  for (DWORD i = 0; SetupDiEnumDeviceInterfaces(list.get(), nullptr, &hid_class_, i, &entry); ++i) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailW(list.get(), &entry, nullptr, 0, &needed, nullptr);
    if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
    // DWORD-aligned storage for the variable-length detail record.
    std::vector<DWORD> storage((needed + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(list.get(), &entry, detail, needed, nullptr, nullptr)) continue;
    const std::size_t room = (needed - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    paths.emplace_back(detail->DevicePath, wcsnlen(detail->DevicePath, room));
  }
  return paths;
}

HidHandle WinHidSystem::Open(const std::wstring& path) {
  UniqueHandle file(OpenInterface(path, GENERIC_READ | GENERIC_WRITE));
  // A collection that takes no output may still be readable.
  if (!file) file = UniqueHandle(OpenInterface(path, GENERIC_READ));
  if (!file) return 0;
  auto device = std::make_shared<Device>();
  device->file = std::move(file);
  device->read_event = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  device->write_event = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!device->read_event || !device->write_event) return 0;
  std::lock_guard lock(mutex_);
  const HidHandle handle = next_++;
  devices_.emplace(handle, std::move(device));
  return handle;
}

std::optional<HidIdentity> WinHidSystem::Identify(HidHandle handle) {
  const auto device = Find(handle);
  if (device == nullptr) return std::nullopt;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (!HidD_GetAttributes(device->file.get(), &attributes)) return std::nullopt;
  PreparsedData preparsed;
  if (!HidD_GetPreparsedData(device->file.get(), preparsed.out())) return std::nullopt;
  HIDP_CAPS caps{};
  if (HidP_GetCaps(preparsed.get(), &caps) != HIDP_STATUS_SUCCESS) return std::nullopt;
  HidIdentity identity;
  identity.vendor_id = attributes.VendorID;
  identity.product_id = attributes.ProductID;
  identity.usage_page = caps.UsagePage;
  identity.usage = caps.Usage;
  identity.input_report_bytes = caps.InputReportByteLength;
  identity.output_report_bytes = caps.OutputReportByteLength;
  return identity;
}

bool WinHidSystem::StartReading(HidHandle handle, std::size_t report_bytes) {
  const auto device = Find(handle);
  if (device == nullptr || report_bytes == 0) return false;
  if (device->reading) return true;
  device->buffer.assign(report_bytes, 0);
  if (!BeginRead(*device)) return false;
  std::lock_guard lock(mutex_);
  device->reading = true;
  return true;
}

bool WinHidSystem::Write(HidHandle handle, std::span<const std::uint8_t> report) {
  const auto device = Find(handle);
  if (device == nullptr || report.empty()) return false;
  std::lock_guard lock(device->write_mutex);
  OVERLAPPED write{};
  write.hEvent = device->write_event.get();
  ResetEvent(write.hEvent);
  const auto size = static_cast<DWORD>(report.size());
  if (!WriteFile(device->file.get(), report.data(), size, nullptr, &write) && GetLastError() != ERROR_IO_PENDING) {
    return false;
  }
  DWORD written = 0;
  if (WaitForSingleObject(write.hEvent, kWriteTimeoutMs) != WAIT_OBJECT_0) {
    CancelIoEx(device->file.get(), &write);
    GetOverlappedResult(device->file.get(), &write, &written, TRUE);
    return false;
  }
  return GetOverlappedResult(device->file.get(), &write, &written, FALSE) && written == size;
}

void WinHidSystem::Close(HidHandle handle) {
  std::shared_ptr<Device> device;
  {
    std::lock_guard lock(mutex_);
    const auto it = devices_.find(handle);
    if (it == devices_.end()) return;
    device = std::move(it->second);
    devices_.erase(it);
  }
  // Every pending read and write on the handle ends now; the read's buffer must outlive it.
  CancelIoEx(device->file.get(), nullptr);
  if (device->reading) {
    DWORD got = 0;
    GetOverlappedResult(device->file.get(), &device->read, &got, TRUE);
    device->reading = false;
  }
  // The file closes when the last user lets go of the device (a write may still hold it).
}

}  // namespace vendrel::quorva
