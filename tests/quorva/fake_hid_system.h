#pragma once
// A HID system for the library's hardware backend in tests: a list of interfaces the test
// describes, and its own thread that reports arrivals, removals and input reports the way the real
// one does. Nothing here reaches a real device.
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "quorva/hid_system.h"

namespace vendrel::quorva::testing {

struct FakeInterface {
  std::wstring path;
  HidIdentity identity;
  bool openable = true;
};

struct FakeWrite {
  std::wstring path;
  std::vector<std::uint8_t> report;
};

class FakeHidSystem final : public HidSystem {
 public:
  explicit FakeHidSystem(std::vector<FakeInterface> present, bool starts = true);
  ~FakeHidSystem() override;
  FakeHidSystem(const FakeHidSystem&) = delete;
  FakeHidSystem& operator=(const FakeHidSystem&) = delete;

  bool Start(HidSystemEvents& events) override;
  std::vector<std::wstring> InterfacePaths() override;
  HidHandle Open(const std::wstring& path) override;
  std::optional<HidIdentity> Identify(HidHandle handle) override;
  bool StartReading(HidHandle handle, std::size_t report_bytes) override;
  bool Write(HidHandle handle, std::span<const std::uint8_t> report) override;
  void Close(HidHandle handle) override;

  // What the outside world does; each is reported on the system's thread, in order.
  void Arrive(const FakeInterface& iface);
  // `announced_as` is the path as the removal message spells it.
  void Remove(const std::wstring& path, const std::wstring& announced_as);
  // An input report on the interface, if it is open and read.
  void Input(const std::wstring& path, std::vector<std::uint8_t> report);
  void FailRead(const std::wstring& path);
  // Returns once everything reported so far has been handled.
  void Sync();

  void SetWriteResult(bool result);

  // What the backend did, read after Sync.
  std::vector<FakeWrite> Writes() const;
  std::set<std::wstring> OpenPaths() const;
  // Paths read and the report length asked for.
  std::map<std::wstring, std::size_t> ReadPaths() const;
  std::thread::id ThreadId() const { return thread_id_; }

 private:
  void Post(std::function<void()> task);
  void Loop();
  const FakeInterface* Find(const std::wstring& path) const;  // under mutex_
  HidHandle HandleOf(const std::wstring& path) const;         // under mutex_

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<FakeInterface> present_;
  std::map<HidHandle, std::wstring> open_;
  std::map<HidHandle, std::size_t> reading_;
  std::vector<FakeWrite> writes_;
  HidHandle next_handle_ = 1;
  bool starts_;
  bool write_result_ = true;
  HidSystemEvents* events_ = nullptr;
  std::deque<std::function<void()>> tasks_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
  std::thread::id thread_id_;
};

}  // namespace vendrel::quorva::testing
