#include "sim/kbsim/packet_log.h"

#include "sim/kbsim/hex.h"

namespace vendrel::sim {

std::string PacketLogLine(std::uint64_t micros, char direction, std::span<const std::uint8_t> bytes) {
  return std::to_string(micros) + ' ' + direction + ' ' + ToHex(bytes);
}

PacketLog::~PacketLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool PacketLog::Open(const std::string& path) {
  if (file_ != nullptr) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void PacketLog::Write(std::uint64_t micros, char direction, std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr) return;
  const std::string line = PacketLogLine(micros, direction, bytes) + '\n';
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

}  // namespace vendrel::sim
