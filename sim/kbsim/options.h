#pragma once
// kbsim's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vendrel::sim {

struct Options {
  std::uint16_t hid_port = 0;
  std::uint16_t control_port = 0;
  std::string state_file;  // empty: memory lives only as long as the process
  std::string log_file;    // empty: no packet log
  std::uint32_t latency_us = 1000;
  bool attached = false;
};

// Both ports are required; on a bad or missing value, `error` says which.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* kUsage =
    "usage: kbsim --hid-port N --control-port N [--state FILE] [--log FILE] [--latency-us N] [--attached]";

}  // namespace vendrel::sim
