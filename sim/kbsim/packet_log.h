#pragma once
// kbsim's packet log: one line per packet, "<microseconds since start> <direction> <hex>".
// Directions: '>' host to keyboard (control packet), '<' keyboard to host (control reply),
// 'B' key-bank output report from the host, 'E' consumer event report from the keyboard.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace vendrel::sim {

std::string PacketLogLine(std::uint64_t micros, char direction, std::span<const std::uint8_t> bytes);

// Appends lines to a file, flushed one by one so that a test can read the log while kbsim runs.
class PacketLog {
 public:
  PacketLog() = default;
  ~PacketLog();
  PacketLog(const PacketLog&) = delete;
  PacketLog& operator=(const PacketLog&) = delete;

  bool Open(const std::string& path);  // truncates
  void Write(std::uint64_t micros, char direction, std::span<const std::uint8_t> bytes);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace vendrel::sim
