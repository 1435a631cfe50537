#include "sim/kbsim/options.h"

#include <charconv>

namespace vendrel::sim {
namespace {

template <typename T>
bool ParseUnsigned(const std::string& text, T& value) {
  if (text.empty() || text.front() == '-' || text.front() == '+') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  Options options;
  bool have_hid = false;
  bool have_control = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--attached") {
      options.attached = true;
      continue;
    }
    if (name != "--hid-port" && name != "--control-port" && name != "--state" && name != "--log" &&
        name != "--latency-us") {
      error = "unknown option " + name;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (name == "--hid-port" || name == "--control-port") {
      std::uint16_t port = 0;
      if (!ParseUnsigned(value, port) || port == 0) {
        error = name + " needs a port from 1 to 65535";
        return std::nullopt;
      }
      (name == "--hid-port" ? options.hid_port : options.control_port) = port;
      (name == "--hid-port" ? have_hid : have_control) = true;
    } else if (name == "--latency-us") {
      if (!ParseUnsigned(value, options.latency_us)) {
        error = "--latency-us needs a number of microseconds";
        return std::nullopt;
      }
    } else if (value.empty()) {
      error = name + " needs a file name";
      return std::nullopt;
    } else {
      (name == "--state" ? options.state_file : options.log_file) = value;
    }
  }
  if (!have_hid || !have_control) {
    error = "--hid-port and --control-port are required";
    return std::nullopt;
  }
  if (options.hid_port == options.control_port) {
    error = "the two ports must differ";
    return std::nullopt;
  }
  return options;
}

}  // namespace vendrel::sim
