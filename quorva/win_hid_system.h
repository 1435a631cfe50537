#pragma once
// The Windows HID API behind HidSystem: SetupDi enumeration of the HID interface class,
// HidD_GetAttributes and HidP_GetCaps, overlapped ReadFile and WriteFile, and arrival and removal
// through RegisterDeviceNotification on a message-only window. One thread of its own waits for
// read completions and window messages together and wakes only when one of them happens.
#include <windows.h>

#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "quorva/hid_system.h"

namespace vendrel::quorva {

// Owns a kernel handle (files, events); INVALID_HANDLE_VALUE and null are both "none".
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      h_ = other.h_;
      other.h_ = nullptr;
    }
    return *this;
  }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  void Reset() {
    if (*this) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

class WinHidSystem final : public HidSystem {
 public:
  WinHidSystem() = default;
  WinHidSystem(const WinHidSystem&) = delete;
  WinHidSystem& operator=(const WinHidSystem&) = delete;

  // The thread runs as long as the process: the library is never unloaded.
  bool Start(HidSystemEvents& events) override;
  std::vector<std::wstring> InterfacePaths() override;
  HidHandle Open(const std::wstring& path) override;
  std::optional<HidIdentity> Identify(HidHandle handle) override;
  bool StartReading(HidHandle handle, std::size_t report_bytes) override;
  bool Write(HidHandle handle, std::span<const std::uint8_t> report) override;
  void Close(HidHandle handle) override;

 private:
  struct Device {
    UniqueHandle file;
    // Reading: one overlapped read pending while `reading`; its event wakes the thread.
    UniqueHandle read_event;
    OVERLAPPED read{};
    std::vector<std::uint8_t> buffer;
    bool reading = false;
    // Writing, from any thread, one at a time.
    std::mutex write_mutex;
    UniqueHandle write_event;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Run(std::promise<bool> started);
  void OnDeviceChange(WPARAM change, LPARAM data);
  void OnReadDone(HidHandle handle, Device& device);
  static bool BeginRead(Device& device);
  std::shared_ptr<Device> Find(HidHandle handle);

  HidSystemEvents* events_ = nullptr;
  GUID hid_class_{};
  std::mutex mutex_;  // guards devices_ and next_
  std::map<HidHandle, std::shared_ptr<Device>> devices_;
  HidHandle next_ = 1;
};

}  // namespace vendrel::quorva
