#pragma once
// Carries out kbsim's control commands on the keyboard model. What reaches the host (attach
// changes, consumer events) and the packet log's clock go through KeyboardLink, so this runs the
// same in a test as in kbsim.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/model/keyboard_model.h"

namespace vendrel::sim {

class KeyboardLink {
 public:
  virtual ~KeyboardLink() = default;
  virtual void AttachChanged(bool attached) = 0;
  virtual void SendConsumerEvent(std::uint16_t code) = 0;
  // Microseconds since kbsim started, as its packet log counts them.
  virtual std::uint64_t LogMicros() const = 0;
};

class ControlSession {
 public:
  ControlSession(KeyboardModel& model, KeyboardLink& link, bool attached)
      : model_(model), link_(link), attached_(attached) {}

  struct Result {
    std::string reply;  // one line without its newline: "ok ..." or "err <reason>"
    bool quit = false;
  };
  Result Execute(std::string_view line);

  bool Attached() const { return attached_; }

  // The server calls this once the model has taken a control packet (after its reply is queued):
  // a `detach-after` that counts down to it pulls the keyboard out here, so that packet's reply is
  // never sent.
  void ControlPacketTaken(std::span<const std::uint8_t> packet);

 private:
  void Unplug();

  KeyboardModel& model_;
  KeyboardLink& link_;
  bool attached_;
  int detach_after_ = 0;  // control packets still to take before the keyboard is pulled out; 0: none
  std::optional<std::uint8_t> detach_after_command_;  // counted alone, when set
};

}  // namespace vendrel::sim
