// kbsim: the keyboard model served on loopback. See sim/kbsim/README.md.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/kbsim/options.h"
#include "sim/kbsim/server.h"

namespace {

void OnStopSignal(int) { vendrel::sim::Server::StopFromSignal(); }

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = vendrel::sim::ParseOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "kbsim: %s\n%s\n", error.c_str(), vendrel::sim::kUsage);
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);
  vendrel::sim::Server server(*options);
  if (!server.Start(error)) {
    std::fprintf(stderr, "kbsim: %s\n", error.c_str());
    return 1;
  }
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::printf("ready\n");
  std::fflush(stdout);
  return server.Run();
}
