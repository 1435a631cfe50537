#pragma once
// How the kbsim link waits for kbsim to come back without waking the process: a UDP socket bound
// on loopback at the port number of kbsim's HID port (kbsim sends a datagram there when it starts
// listening and on `attach`), waited on with no time limit. Bound before each connection attempt,
// so a kbsim that starts after a failed attempt is always heard; closed with the object, so it is
// held only while there is no connection. When the port cannot be bound (another library waits
// on it), Wait falls back to a slow back-off.
#include <winsock2.h>

#include <cstdint>

namespace vendrel::quorva {

class SimWake {
 public:
  explicit SimWake(std::uint16_t port);
  ~SimWake();
  SimWake(const SimWake&) = delete;
  SimWake& operator=(const SimWake&) = delete;

  bool Bound() const { return socket_ != INVALID_SOCKET; }
  // Returns once a datagram is there (it stays queued: the socket is not reused), or, when not
  // bound, after `fallback_ms`.
  void Wait(unsigned long fallback_ms);

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace vendrel::quorva
