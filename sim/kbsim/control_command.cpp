#include "sim/kbsim/control_command.h"

#include <charconv>
#include <limits>
#include <optional>

#include "sim/kbsim/hex.h"

namespace vendrel::sim::control {
namespace {

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Only plain digits: from_chars alone would also take a leading minus sign.
template <typename T>
std::optional<T> ParseNumber(std::string_view word, int base) {
  if (word.empty() || word.front() == '-' || word.front() == '+') return std::nullopt;
  T value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

Command ParseFault(const std::vector<std::string_view>& w) {
  if (w.size() == 2 && w[1] == "clear") return ClearFaults{};
  Fault fault = Fault::None;
  std::size_t count_at = 0;
  if (w.size() == 3 && w[1] == "drop") {
    fault = Fault::Drop;
    count_at = 2;
  } else if (w.size() == 3 && w[1] == "wrongcode") {
    fault = Fault::WrongCode;
    count_at = 2;
  } else if (w.size() == 4 && w[1] == "status" && (w[2] == "ff" || w[2] == "FF")) {
    fault = Fault::StatusFF;
    count_at = 3;
  } else if (w.size() == 4 && w[1] == "status" && (w[2] == "fe" || w[2] == "FE")) {
    fault = Fault::StatusFE;
    count_at = 3;
  } else {
    return Invalid{"usage: fault drop|wrongcode|status ff|status fe N, or fault clear"};
  }
  const auto count = ParseNumber<int>(w[count_at], 10);
  if (!count || *count < 1) return Invalid{"bad count"};
  return InjectFault{fault, *count};
}

}  // namespace

Command ParseCommand(std::string_view line) {
  const std::vector<std::string_view> w = SplitWords(line);
  if (w.empty()) return Invalid{"empty command"};
  const std::string_view name = w[0];
  const std::size_t args = w.size() - 1;

  if (name == "attach" && args == 0) return Attach{};
  if (name == "detach" && args == 0) return Detach{};
  if (name == "bank" && args == 0) return Bank{};
  if (name == "mode" && args == 0) return Mode{};
  if (name == "now" && args == 0) return Now{};
  if (name == "reset" && args == 0) return Reset{};
  if (name == "quit" && args == 0) return Quit{};
  if (name == "fault") return ParseFault(w);
  if (name == "detach-after") {
    if (args != 1 && args != 2) return Invalid{"usage: detach-after N [CC]"};
    const auto count = ParseNumber<int>(w[1], 10);
    if (!count || *count < 1) return Invalid{"bad count"};
    DetachAfter detach{*count, std::nullopt};
    if (args == 2) {
      const auto code = w[2].size() == 2 ? ParseNumber<std::uint8_t>(w[2], 16) : std::nullopt;
      if (!code) return Invalid{"bad command code"};
      detach.command = *code;
    }
    return detach;
  }

  if (name == "event") {
    if (args != 1 || w[1].size() > 4) return Invalid{"usage: event XXXX"};
    const auto code = ParseNumber<std::uint16_t>(w[1], 16);
    if (!code) return Invalid{"bad event code"};
    return Event{*code};
  }
  if (name == "read" || name == "write") {
    if (args != 3) return Invalid{name == "read" ? "usage: read AREA OFFSET LENGTH" : "usage: write AREA OFFSET HEX"};
    const auto area = AreaFromName(w[1]);
    if (!area) return Invalid{"unknown area"};
    const auto offset = ParseNumber<std::size_t>(w[2], 10);
    if (!offset) return Invalid{"bad offset"};
    if (name == "read") {
      const auto length = ParseNumber<std::size_t>(w[3], 10);
      if (!length || *length == 0) return Invalid{"bad length"};
      return Read{*area, *offset, *length};
    }
    auto bytes = FromHex(w[3]);
    if (!bytes) return Invalid{"bad hex"};
    return Write{*area, *offset, std::move(*bytes)};
  }
  for (const std::string_view known : {"attach", "detach", "bank", "mode", "now", "reset", "quit"}) {
    if (name == known) return Invalid{"usage: " + std::string(known)};
  }
  return Invalid{"unknown command"};
}

}  // namespace vendrel::sim::control
