#include "sim/kbsim/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sim/kbsim/state_file.h"

namespace vendrel::sim {
namespace {

// Written by the signal handler, read by the poll loop.
int g_wake_pipe[2] = {-1, -1};

// How long before a reply is due the loop stops sleeping and spins: longer than the kernel's usual
// lateness in waking a process, short enough to cost little.
constexpr std::chrono::microseconds kSpunBeforeReply{300};

// A control line longer than this (the whole macro memory in hex is far shorter) is refused.
constexpr std::size_t kMaxControlLine = 1 << 22;

int ListenLoopback(std::uint16_t port, std::string& error) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return -1;
  }
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from another machine
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
    error = "port " + std::to_string(port) + ": " + std::strerror(errno);
    ::close(fd);
    return -1;
  }
  return fd;
}

void SendAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return;  // the reader notices the closed connection
    bytes += sent;
    size -= static_cast<std::size_t>(sent);
  }
}

}  // namespace

Server::Server(Options options)
    : options_(std::move(options)), session_(model_, *this, options_.attached), start_(Clock::now()) {}

Server::~Server() {
  for (const auto& c : hid_clients_) ::close(c->fd);
  for (const auto& c : control_clients_) ::close(c->fd);
  if (hid_listener_ >= 0) ::close(hid_listener_);
  if (control_listener_ >= 0) ::close(control_listener_);
  if (announce_socket_ >= 0) ::close(announce_socket_);
}

void Server::StopFromSignal() {
  if (g_wake_pipe[1] >= 0) {
    const char byte = 'q';
    [[maybe_unused]] const ssize_t ignored = ::write(g_wake_pipe[1], &byte, 1);
  }
}

bool Server::Start(std::string& error) {
  if (!options_.state_file.empty()) {
    std::vector<std::uint8_t> bytes;
    switch (ReadStateFile(options_.state_file, bytes)) {
      case StateFileRead::Loaded:
        // Refuse rather than start from factory state and overwrite what the file holds.
        if (!model_.LoadState(bytes)) {
          error = "state file " + options_.state_file + " is not a kbsim state";
          return false;
        }
        break;
      case StateFileRead::Unreadable:
        error = "cannot read state file " + options_.state_file;
        return false;
      case StateFileRead::Missing:
        if (!WriteStateFile(options_.state_file, model_.SaveState())) {
          error = "cannot write state file " + options_.state_file;
          return false;
        }
        break;
    }
  }
  saved_generation_ = model_.Generation();
  if (!options_.log_file.empty() && !log_.Open(options_.log_file)) {
    error = "cannot open log file " + options_.log_file;
    return false;
  }
  if (::pipe2(g_wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = "pipe failed";
    return false;
  }
  hid_listener_ = ListenLoopback(options_.hid_port, error);
  if (hid_listener_ < 0) return false;
  control_listener_ = ListenLoopback(options_.control_port, error);
  if (control_listener_ < 0) return false;
  // Without it libraries still connect, only later (their slow retry).
  announce_socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  Announce();
  return true;
}

void Server::Announce() {
  if (announce_socket_ < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(options_.hid_port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const char datagram[] = "kbsim";
  // Nobody may be waiting: then the datagram is simply lost.
  [[maybe_unused]] const ssize_t ignored = ::sendto(announce_socket_, datagram, sizeof datagram - 1, 0,
                                                    reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

std::uint64_t Server::Micros() const {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count());
}

void Server::SendFrame(int fd, std::uint8_t type, std::span<const std::uint8_t> payload) {
  const auto bytes = wire::EncodeFrame(type, payload);
  SendAll(fd, bytes.data(), bytes.size());
}

void Server::AttachChanged(bool attached) {
  // A keyboard pulled out answers nothing it had not answered yet.
  if (!attached) due_replies_.clear();
  if (attached) Announce();
  const std::uint8_t count = attached ? 1 : 0;
  // Logged so that a scenario can tell which packets came after the last plug or unplug.
  log_.Write(Micros(), 'A', std::span(&count, 1));
  for (const auto& c : hid_clients_) SendFrame(c->fd, wire::kAttachCount, std::span(&count, 1));
}

void Server::SendConsumerEvent(std::uint16_t code) {
  const auto report = ConsumerEventReport(code);
  log_.Write(Micros(), 'E', report);
  for (const auto& c : hid_clients_) SendFrame(c->fd, wire::kConsumerEvent, report);
}

void Server::AcceptHid() {
  const int fd = ::accept4(hid_listener_, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return;
  const int yes = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  auto client = std::make_unique<HidClient>();
  client->fd = fd;
  client->id = next_client_id_++;
  // The library learns at once whether a keyboard is there.
  const std::uint8_t count = session_.Attached() ? 1 : 0;
  SendFrame(fd, wire::kAttachCount, std::span(&count, 1));
  hid_clients_.push_back(std::move(client));
}

void Server::AcceptControl() {
  const int fd = ::accept4(control_listener_, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return;
  auto client = std::make_unique<ControlClient>();
  client->fd = fd;
  control_clients_.push_back(std::move(client));
}

bool Server::ServeHid(HidClient& client) {
  std::uint8_t buffer[4096];
  const ssize_t got = ::recv(client.fd, buffer, sizeof buffer, 0);
  if (got < 0 && errno == EINTR) return true;
  if (got <= 0) return false;
  client.reader.Feed(std::span(buffer, static_cast<std::size_t>(got)));
  while (auto frame = client.reader.Next()) HandleFrame(client, *frame);
  return !client.reader.Corrupt();
}

void Server::HandleFrame(HidClient& client, const wire::Frame& frame) {
  // An unplugged keyboard receives nothing.
  if (!session_.Attached()) return;
  if (frame.type == wire::kControlWrite) {
    if (frame.payload.size() != std::tuple_size_v<Packet>) return;
    log_.Write(Micros(), '>', frame.payload);
    if (auto reply = model_.HandleControlPacket(frame.payload)) {
      due_replies_.push_back({Clock::now() + std::chrono::microseconds(options_.latency_us), client.id, *reply});
    }
    // After the reply is queued, so that a detach here drops it with the others not yet sent.
    session_.ControlPacketTaken(frame.payload);
  } else if (frame.type == wire::kBankReport) {
    log_.Write(Micros(), 'B', frame.payload);
    model_.HandleBankReport(frame.payload);
  }
  SaveIfChanged();
}

bool Server::ServeControl(ControlClient& client) {
  char buffer[4096];
  const ssize_t got = ::recv(client.fd, buffer, sizeof buffer, 0);
  if (got < 0 && errno == EINTR) return true;
  if (got <= 0) return false;
  client.pending.append(buffer, static_cast<std::size_t>(got));
  std::size_t newline;
  while ((newline = client.pending.find('\n')) != std::string::npos) {
    const std::string line = client.pending.substr(0, newline);
    client.pending.erase(0, newline + 1);
    const auto result = session_.Execute(line);
    SaveIfChanged();
    const std::string reply = result.reply + '\n';
    SendAll(client.fd, reply.data(), reply.size());
    if (result.quit) {
      quit_ = true;
      return true;
    }
  }
  if (client.pending.size() > kMaxControlLine) {
    const std::string reply = "err line too long\n";
    SendAll(client.fd, reply.data(), reply.size());
    return false;
  }
  return true;
}

void Server::SendDueReplies() {
  const auto now = Clock::now();
  while (!due_replies_.empty() && due_replies_.front().due <= now) {
    const DueReply reply = due_replies_.front();
    due_replies_.pop_front();
    const auto it = std::find_if(hid_clients_.begin(), hid_clients_.end(),
                                 [&](const auto& c) { return c->id == reply.client_id; });
    if (it == hid_clients_.end()) continue;  // the asking library has gone
    log_.Write(Micros(), '<', reply.packet);
    SendFrame((*it)->fd, wire::kControlReply, reply.packet);
  }
}

void Server::SaveIfChanged() {
  if (options_.state_file.empty() || model_.Generation() == saved_generation_) return;
  // On failure the generation stays unsaved and the next change tries again.
  if (WriteStateFile(options_.state_file, model_.SaveState())) saved_generation_ = model_.Generation();
}

int Server::Run() {
  // The kernel may otherwise let a timed wait run some 50 us late, which every reply would add to
  // its latency.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  while (!quit_) {
    std::vector<pollfd> fds;
    fds.push_back({g_wake_pipe[0], POLLIN, 0});
    fds.push_back({hid_listener_, POLLIN, 0});
    fds.push_back({control_listener_, POLLIN, 0});
    for (const auto& c : hid_clients_) fds.push_back({c->fd, POLLIN, 0});
    for (const auto& c : control_clients_) fds.push_back({c->fd, POLLIN, 0});

    // Waits to the microsecond for the next due reply, so that a reply's latency is what was asked
    // for and not rounded up to the next millisecond. A wake-up from the kernel comes some tens
    // to hundreds of microseconds late on a busy machine, which would count as the host's time:
    // the last stretch before a reply is due is spun instead of slept.
    if (!due_replies_.empty() && due_replies_.front().due - Clock::now() <= kSpunBeforeReply) {
      while (Clock::now() < due_replies_.front().due) {
      }
      SendDueReplies();
      continue;
    }
    timespec timeout{};
    timespec* wait_limit = nullptr;
    if (!due_replies_.empty()) {
      const auto wait = std::max<std::int64_t>(
          0, std::chrono::duration_cast<std::chrono::nanoseconds>(due_replies_.front().due - kSpunBeforeReply -
                                                                  Clock::now()).count());
      timeout.tv_sec = static_cast<time_t>(wait / 1000000000);
      timeout.tv_nsec = static_cast<long>(wait % 1000000000);
      wait_limit = &timeout;
    }
    const int ready = ::ppoll(fds.data(), fds.size(), wait_limit, nullptr);
    if (ready < 0 && errno != EINTR) return 1;
    if (ready > 0) {
      if (fds[0].revents != 0) break;  // SIGTERM or SIGINT
      // Clients first, in the order fds was built; new connections are accepted afterwards so
      // they cannot shift the indices.
      const std::size_t hid_count = hid_clients_.size();
      std::vector<HidClient*> closed_hid;
      std::vector<ControlClient*> closed_control;
      for (std::size_t k = 0; k < hid_count; ++k) {
        if (fds[3 + k].revents != 0 && !ServeHid(*hid_clients_[k])) closed_hid.push_back(hid_clients_[k].get());
      }
      for (std::size_t k = 0; k < control_clients_.size() && !quit_; ++k) {
        if (fds[3 + hid_count + k].revents != 0 && !ServeControl(*control_clients_[k])) {
          closed_control.push_back(control_clients_[k].get());
        }
      }
      const auto drop = [](auto& clients, const auto& closed) {
        std::erase_if(clients, [&](const auto& c) {
          const bool gone = std::find(closed.begin(), closed.end(), c.get()) != closed.end();
          if (gone) ::close(c->fd);
          return gone;
        });
      };
      drop(hid_clients_, closed_hid);
      drop(control_clients_, closed_control);
      if (fds[1].revents & POLLIN) AcceptHid();
      if (fds[2].revents & POLLIN) AcceptControl();
    }
    SendDueReplies();
  }
  SaveIfChanged();
  return 0;
}

}  // namespace vendrel::sim
