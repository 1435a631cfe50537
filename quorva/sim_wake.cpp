#include "quorva/sim_wake.h"

namespace vendrel::quorva {

SimWake::SimWake(std::uint16_t port) {
  socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (socket_ == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  // No address reuse: with two sockets on the port only one would hear the datagram.
  if (bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
}

SimWake::~SimWake() {
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

void SimWake::Wait(unsigned long fallback_ms) {
  if (socket_ == INVALID_SOCKET) {
    Sleep(fallback_ms);
    return;
  }
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(socket_, &readable);
  if (select(0, &readable, nullptr, nullptr, nullptr) <= 0) {
    // A socket that cannot be waited on must not turn the caller's loop into a spin.
    Sleep(fallback_ms);
  }
}

}  // namespace vendrel::quorva
