#pragma once
// kbsim's loopback server: the HID port where Quorva.dll connects, the control port for tests and
// people, the packet log and the state file around one KeyboardModel. Single-threaded: one poll
// loop serialises every call into the model, as the model requires.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sim/kbsim/control_session.h"
#include "sim/kbsim/options.h"
#include "sim/kbsim/packet_log.h"
#include "sim/kbsim/wire_protocol.h"
#include "sim/model/keyboard_model.h"

namespace vendrel::sim {

class Server : private KeyboardLink {
 public:
  explicit Server(Options options);
  ~Server() override;
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Loads the state, opens the log, listens on both ports. False with `error` set on failure.
  bool Start(std::string& error);
  // Serves until `quit` or until StopFromSignal; returns the process exit code.
  int Run();
  // Async-signal-safe: wakes the poll loop and ends it.
  static void StopFromSignal();

 private:
  using Clock = std::chrono::steady_clock;
  struct HidClient {
    int fd = -1;
    std::uint64_t id = 0;
    wire::FrameReader reader;
  };
  struct ControlClient {
    int fd = -1;
    std::string pending;
  };
  struct DueReply {
    Clock::time_point due;
    std::uint64_t client_id = 0;
    Packet packet{};
  };

  void AttachChanged(bool attached) override;
  void SendConsumerEvent(std::uint16_t code) override;
  std::uint64_t LogMicros() const override { return Micros(); }

  void AcceptHid();
  void AcceptControl();
  bool ServeHid(HidClient& client);          // false: drop the connection
  bool ServeControl(ControlClient& client);  // false: drop the connection
  void HandleFrame(HidClient& client, const wire::Frame& frame);
  void SendDueReplies();
  void SendFrame(int fd, std::uint8_t type, std::span<const std::uint8_t> payload);
  void SaveIfChanged();
  std::uint64_t Micros() const;
  // Wakes a library that waits for kbsim: one UDP datagram to 127.0.0.1 at the HID port's number.
  void Announce();

  Options options_;
  KeyboardModel model_;
  ControlSession session_;
  PacketLog log_;
  Clock::time_point start_;
  std::uint64_t saved_generation_ = 0;
  int hid_listener_ = -1;
  int control_listener_ = -1;
  int announce_socket_ = -1;
  std::uint64_t next_client_id_ = 1;
  std::vector<std::unique_ptr<HidClient>> hid_clients_;
  std::vector<std::unique_ptr<ControlClient>> control_clients_;
  std::deque<DueReply> due_replies_;
  bool quit_ = false;
};

}  // namespace vendrel::sim
