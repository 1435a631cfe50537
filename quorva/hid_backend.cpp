#include "quorva/hid_backend.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "quorva/output_report.h"

namespace vendrel::quorva {
namespace {

// The control collection carries the 64-byte command packets both ways.
constexpr std::size_t kControlPacketBytes = 64;
// Enumerating and opening a few interfaces takes milliseconds; a system thread stuck longer than
// this leaves Init with no keyboard rather than hanging the program's start.
constexpr auto kFirstScanWait = std::chrono::seconds(5);

std::size_t Index(Collection collection) { return static_cast<std::size_t>(collection); }

// Device paths are case-insensitive, and the arrival and removal messages do not spell them as
// the enumeration does.
bool SamePath(const std::wstring& a, const std::wstring& b) {
  const auto lower = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) {
           return lower(x) == lower(y);
         });
}

// What a collection must offer to be of use: replies and events are read, commands and the
// key-bank report written.
bool Usable(Collection collection, const HidIdentity& identity) {
  switch (collection) {
    case Collection::Control:
      return identity.input_report_bytes >= kControlPacketBytes &&
             identity.output_report_bytes >= kControlPacketBytes;
    case Collection::Consumer:
      return identity.input_report_bytes > 0;
    case Collection::Led:
      return identity.output_report_bytes > 0;
    case Collection::None:
      break;
  }
  return false;
}

}  // namespace

bool HidBackend::Start() {
  if (!system_.Start(*this)) return false;
  std::unique_lock lock(started_mutex_);
  started_.wait_for(lock, kFirstScanWait, [this] { return first_scan_done_; });
  return true;
}

bool HidBackend::Send(Collection collection, std::span<const std::uint8_t> report) {
  if (collection == Collection::None) return false;
  HidHandle handle = 0;
  std::size_t length = 0;
  {
    std::lock_guard lock(mutex_);
    handle = opened_[Index(collection)].handle;
    length = opened_[Index(collection)].output_report_bytes;
  }
  if (handle == 0) return false;
  const auto framed = FrameOutputReport(report, length);
  // Written outside the lock: a removal meanwhile closes the handle and the write fails.
  return !framed.empty() && system_.Write(handle, framed);
}

void HidBackend::OnSystemStarted() {
  for (const std::wstring& path : system_.InterfacePaths()) Consider(path);
  {
    std::lock_guard lock(started_mutex_);
    first_scan_done_ = true;
  }
  started_.notify_all();
}

void HidBackend::OnInterfaceArrived(const std::wstring& path) { Consider(path); }

void HidBackend::OnInterfaceRemoved(const std::wstring& path) {
  std::vector<Collection> gone;
  {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < opened_.size(); ++i) {
      if (opened_[i].handle != 0 && SamePath(opened_[i].path, path)) gone.push_back(static_cast<Collection>(i));
    }
  }
  for (const Collection c : gone) Drop(c);
  if (!gone.empty()) ReportAttachCount();
}

void HidBackend::OnInputReport(HidHandle handle, std::span<const std::uint8_t> report) {
  switch (CollectionOfHandle(handle)) {
    case Collection::Control:
      receiver_.OnControlReply(report);
      break;
    case Collection::Consumer:
      receiver_.OnConsumerReport(report);
      break;
    default:
      break;
  }
}

void HidBackend::OnReadFailed(HidHandle handle) {
  const Collection collection = CollectionOfHandle(handle);
  if (collection == Collection::None) return;
  Drop(collection);
  ReportAttachCount();
}

void HidBackend::Consider(const std::wstring& path) {
  {
    std::lock_guard lock(mutex_);
    // The same interface may be enumerated and announced both.
    for (const Opened& o : opened_) {
      if (o.handle != 0 && SamePath(o.path, path)) return;
    }
  }
  if (Take(path) != Collection::None) ReportAttachCount();
}

Collection HidBackend::Take(const std::wstring& path) {
  const HidHandle handle = system_.Open(path);
  if (handle == 0) return Collection::None;
  const auto identity = system_.Identify(handle);
  const Collection collection =
      identity ? CollectionOf(identity->vendor_id, identity->product_id, identity->usage_page, identity->usage)
               : Collection::None;
  bool wanted = collection != Collection::None && Usable(collection, *identity);
  if (wanted) {
    // One keyboard is served: a second one's collections are left alone.
    std::lock_guard lock(mutex_);
    wanted = opened_[Index(collection)].handle == 0;
  }
  // The 'LED' collection is only written to.
  if (wanted && collection != Collection::Led) wanted = system_.StartReading(handle, identity->input_report_bytes);
  if (!wanted) {
    system_.Close(handle);
    return Collection::None;
  }
  std::lock_guard lock(mutex_);
  opened_[Index(collection)] = {path, handle, identity->output_report_bytes};
  return collection;
}

void HidBackend::Drop(Collection collection) {
  HidHandle handle = 0;
  {
    std::lock_guard lock(mutex_);
    handle = opened_[Index(collection)].handle;
    opened_[Index(collection)] = {};
  }
  if (handle != 0) system_.Close(handle);
}

Collection HidBackend::CollectionOfHandle(HidHandle handle) const {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < opened_.size(); ++i) {
    if (handle != 0 && opened_[i].handle == handle) return static_cast<Collection>(i);
  }
  return Collection::None;
}

void HidBackend::ReportAttachCount() {
  std::uint32_t count = 0;
  {
    std::lock_guard lock(mutex_);
    count = opened_[Index(Collection::Control)].handle != 0 ? 1 : 0;
  }
  if (attach_count_.exchange(count) != count) receiver_.OnAttachCount(count);
}

}  // namespace vendrel::quorva
