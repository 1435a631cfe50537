#include "quorva/sim_link.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "quorva/sim_wake.h"
#include "sim/kbsim/wire_protocol.h"

namespace vendrel::quorva {
namespace {

namespace wire = vendrel::sim::wire;

constexpr auto kFirstReportWait = std::chrono::milliseconds(2000);
// Only when kbsim's announcement cannot be heard (the wake port is taken, by another library
// waiting for the same kbsim): retries from 1 s, doubling up to 8 s.
constexpr unsigned long kFirstRetryMs = 1000;
constexpr unsigned long kLastRetryMs = 8000;

bool ParseAddress(const std::string& address, std::string& host, std::uint16_t& port) {
  const auto colon = address.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= address.size()) return false;
  unsigned long value = 0;
  for (std::size_t i = colon + 1; i < address.size(); ++i) {
    const char c = address[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned long>(c - '0');
    if (value > 65535) return false;
  }
  if (value == 0) return false;
  host = address.substr(0, colon);
  port = static_cast<std::uint16_t>(value);
  return true;
}

SOCKET Connect(const std::string& host, std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || found == nullptr) return INVALID_SOCKET;
  SOCKET s = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (s != INVALID_SOCKET && connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0) {
    closesocket(s);
    s = INVALID_SOCKET;
  }
  freeaddrinfo(found);
  if (s != INVALID_SOCKET) {
    const BOOL yes = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes), sizeof yes);
  }
  return s;
}

}  // namespace

bool SimLink::Start(const std::string& address) {
  if (!ParseAddress(address, host_, port_)) return false;
  // The library is never unloaded, so its reader runs until the process ends.
  reader_ = std::thread([this] { ReaderLoop(); });
  reader_.detach();
  std::unique_lock lock(first_mutex_);
  first_report_.wait_for(lock, kFirstReportWait, [this] { return first_seen_; });
  return true;
}

bool SimLink::Send(Collection collection, std::span<const std::uint8_t> report) {
  if (collection == Collection::Control) return SendFrame(wire::kControlWrite, report);
  if (collection == Collection::Led) return SendFrame(wire::kBankReport, report);
  return false;
}

bool SimLink::SendFrame(std::uint8_t type, std::span<const std::uint8_t> payload) {
  const auto bytes = wire::EncodeFrame(type, payload);
  if (bytes.empty()) return false;
  std::lock_guard lock(send_mutex_);
  if (socket_ == INVALID_SOCKET) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const int sent = send(socket_, reinterpret_cast<const char*>(bytes.data() + done),
                          static_cast<int>(bytes.size() - done), 0);
    if (sent <= 0) return false;
    done += static_cast<std::size_t>(sent);
  }
  return true;
}

void SimLink::SetAttachCount(std::uint32_t count) {
  const std::uint32_t previous = attach_count_.exchange(count);
  // Delivered before Init is released, so the keyboard found at start-up is not reported again
  // as an attach to units registered right after Init.
  if (previous != count) receiver_.OnAttachCount(count);
  ReleaseStart();
}

void SimLink::ReleaseStart() {
  {
    std::lock_guard lock(first_mutex_);
    first_seen_ = true;
  }
  first_report_.notify_all();
}

void SimLink::ReaderLoop() {
  unsigned long retry_ms = kFirstRetryMs;
  for (;;) {
    // Bound before the attempt: a kbsim that starts after it fails is heard.
    std::optional<SimWake> wake(std::in_place, port_);
    const SOCKET s = Connect(host_, port_);
    if (s == INVALID_SOCKET) {
      // Nothing to wait for when kbsim is not there: Init goes on with no keyboard.
      ReleaseStart();
      wake->Wait(retry_ms);
      if (!wake->Bound()) retry_ms = std::min(retry_ms * 2, kLastRetryMs);
      continue;
    }
    retry_ms = kFirstRetryMs;
    // The wake port is needed only while kbsim is gone.
    wake.reset();
    {
      std::lock_guard lock(send_mutex_);
      socket_ = s;
    }
    ServeConnection(s);
    {
      std::lock_guard lock(send_mutex_);
      closesocket(socket_);
      socket_ = INVALID_SOCKET;
    }
    // A lost simulator is an unplugged keyboard; the next attempt waits for it to come back.
    SetAttachCount(0);
  }
}

void SimLink::ServeConnection(SOCKET s) {
  wire::FrameReader reader;
  std::vector<std::uint8_t> buffer(4096);
  for (;;) {
    const int got = recv(s, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
    if (got <= 0) return;
    reader.Feed(std::span(buffer.data(), static_cast<std::size_t>(got)));
    while (auto frame = reader.Next()) {
      if (frame->type == wire::kAttachCount && frame->payload.size() == 1) {
        SetAttachCount(frame->payload[0]);
      } else if (frame->type == wire::kControlReply) {
        receiver_.OnControlReply(frame->payload);
      } else if (frame->type == wire::kConsumerEvent) {
        receiver_.OnConsumerReport(frame->payload);
      }
    }
    if (reader.Corrupt()) return;
  }
}

}  // namespace vendrel::quorva
