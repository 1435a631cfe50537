#include "tests/quorva/fake_hid_system.h"

#include <algorithm>

namespace vendrel::quorva::testing {

FakeHidSystem::FakeHidSystem(std::vector<FakeInterface> present, bool starts)
    : present_(std::move(present)), starts_(starts) {}

FakeHidSystem::~FakeHidSystem() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool FakeHidSystem::Start(HidSystemEvents& events) {
  if (!starts_) return false;
  events_ = &events;
  thread_ = std::thread([this] { Loop(); });
  thread_id_ = thread_.get_id();
  Post([this] { events_->OnSystemStarted(); });
  return true;
}

void FakeHidSystem::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  changed_.notify_all();
}

void FakeHidSystem::Loop() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      busy_ = false;
      changed_.notify_all();
      changed_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
      if (stopping_) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
      busy_ = true;
    }
    task();
  }
}

void FakeHidSystem::Sync() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stopping_ || (tasks_.empty() && !busy_); });
}

const FakeInterface* FakeHidSystem::Find(const std::wstring& path) const {
  const auto it = std::find_if(present_.begin(), present_.end(), [&](const FakeInterface& i) { return i.path == path; });
  return it == present_.end() ? nullptr : &*it;
}

HidHandle FakeHidSystem::HandleOf(const std::wstring& path) const {
  for (const auto& [handle, open_path] : open_) {
    if (open_path == path) return handle;
  }
  return 0;
}

std::vector<std::wstring> FakeHidSystem::InterfacePaths() {
  std::lock_guard lock(mutex_);
  std::vector<std::wstring> paths;
  for (const FakeInterface& i : present_) paths.push_back(i.path);
  return paths;
}

HidHandle FakeHidSystem::Open(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  const FakeInterface* iface = Find(path);
  if (iface == nullptr || !iface->openable) return 0;
  const HidHandle handle = next_handle_++;
  open_[handle] = path;
  return handle;
}

std::optional<HidIdentity> FakeHidSystem::Identify(HidHandle handle) {
  std::lock_guard lock(mutex_);
  const auto it = open_.find(handle);
  if (it == open_.end()) return std::nullopt;
  const FakeInterface* iface = Find(it->second);
  if (iface == nullptr) return std::nullopt;
  return iface->identity;
}

bool FakeHidSystem::StartReading(HidHandle handle, std::size_t report_bytes) {
  std::lock_guard lock(mutex_);
  if (!open_.contains(handle) || report_bytes == 0) return false;
  reading_[handle] = report_bytes;
  return true;
}

bool FakeHidSystem::Write(HidHandle handle, std::span<const std::uint8_t> report) {
  std::lock_guard lock(mutex_);
  const auto it = open_.find(handle);
  if (it == open_.end()) return false;
  writes_.push_back({it->second, std::vector<std::uint8_t>(report.begin(), report.end())});
  return write_result_;
}

void FakeHidSystem::Close(HidHandle handle) {
  std::lock_guard lock(mutex_);
  open_.erase(handle);
  reading_.erase(handle);
}

void FakeHidSystem::Arrive(const FakeInterface& iface) {
  {
    std::lock_guard lock(mutex_);
    present_.push_back(iface);
  }
  Post([this, path = iface.path] { events_->OnInterfaceArrived(path); });
}

void FakeHidSystem::Remove(const std::wstring& path, const std::wstring& announced_as) {
  {
    std::lock_guard lock(mutex_);
    std::erase_if(present_, [&](const FakeInterface& i) { return i.path == path; });
  }
  Post([this, announced_as] { events_->OnInterfaceRemoved(announced_as); });
}

void FakeHidSystem::Input(const std::wstring& path, std::vector<std::uint8_t> report) {
  Post([this, path, report = std::move(report)] {
    HidHandle handle = 0;
    {
      std::lock_guard lock(mutex_);
      handle = HandleOf(path);
      if (!reading_.contains(handle)) return;
    }
    events_->OnInputReport(handle, report);
  });
}

void FakeHidSystem::FailRead(const std::wstring& path) {
  Post([this, path] {
    HidHandle handle = 0;
    {
      std::lock_guard lock(mutex_);
      handle = HandleOf(path);
      if (!reading_.contains(handle)) return;
      reading_.erase(handle);
    }
    events_->OnReadFailed(handle);
  });
}

void FakeHidSystem::SetWriteResult(bool result) {
  std::lock_guard lock(mutex_);
  write_result_ = result;
}

std::vector<FakeWrite> FakeHidSystem::Writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

std::set<std::wstring> FakeHidSystem::OpenPaths() const {
  std::lock_guard lock(mutex_);
  std::set<std::wstring> paths;
  for (const auto& [handle, path] : open_) paths.insert(path);
  return paths;
}

std::map<std::wstring, std::size_t> FakeHidSystem::ReadPaths() const {
  std::lock_guard lock(mutex_);
  std::map<std::wstring, std::size_t> paths;
  for (const auto& [handle, bytes] : reading_) paths[open_.at(handle)] = bytes;
  return paths;
}

}  // namespace vendrel::quorva::testing
