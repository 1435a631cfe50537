// Posts a command to a top-level window of the program and tells when, on kbsim's clock, so that
// the benchmark can set the post against kbsim's packet log without Wine's start-up in between.
//
//   timed_post_probe TITLE ID [CONTROL_PORT]
//
// Finds the top-level window titled TITLE (shown or hidden); with CONTROL_PORT, asks kbsim's
// control port for `now` first. Then posts WM_COMMAND with ID (and the control's handle when the
// window has a control of that id, as a click reports it) and prints "posted MICROS" (MICROS is
// kbsim's answer, or 0 without a port), or "missing" when there is no such window. Exit code 0
// when posted, 1 when not, 2 for a wrong command line.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe_windows.h"

namespace {

using vendrel::probes::Wide;

class WinsockSession {
 public:
  WinsockSession() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
  ~WinsockSession() {
    if (ok_) WSACleanup();
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  bool Ok() const { return ok_; }

 private:
  WSADATA data_{};
  bool ok_ = false;
};

class Socket {
 public:
  Socket() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
  ~Socket() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  SOCKET Get() const { return socket_; }

 private:
  SOCKET socket_;
};

// One `now` on kbsim's control port: its log clock in microseconds, or an empty string.
std::string KbsimNow(unsigned short port) {
  WinsockSession winsock;
  if (!winsock.Ok()) return {};
  Socket link;
  if (link.Get() == INVALID_SOCKET) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(link.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return {};
  // No delay on the request: the answer is wanted at once.
  const BOOL yes = TRUE;
  setsockopt(link.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes), sizeof yes);
  const char request[] = "now\n";
  if (send(link.Get(), request, static_cast<int>(sizeof request - 1), 0) != static_cast<int>(sizeof request - 1)) return {};
  std::string line;
  char c = 0;
  while (line.size() < 64 && recv(link.Get(), &c, 1, 0) == 1 && c != '\n') line.push_back(c);
  if (line.rfind("ok ", 0) != 0) return {};
  return line.substr(3);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: timed_post_probe TITLE ID [CONTROL_PORT]\n");
    return 2;
  }
  const int id = std::atoi(argv[2]);
  HWND window = FindWindowW(nullptr, Wide(argv[1]).c_str());
  if (window == nullptr) {
    std::printf("missing\n");
    return 1;
  }
  HWND control = GetDlgItem(window, id);
  std::string micros = "0";
  if (argc == 4) {
    micros = KbsimNow(static_cast<unsigned short>(std::atoi(argv[3])));
    if (micros.empty()) {
      std::fprintf(stderr, "kbsim did not answer now\n");
      return 1;
    }
  }
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
  std::printf("posted %s\n", micros.c_str());
  std::fflush(stdout);
  return 0;
}
