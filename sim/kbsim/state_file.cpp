#include "sim/kbsim/state_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace vendrel::sim {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

StateFileRead ReadStateFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return StateFileRead::Missing;
  if (error || status.type() != std::filesystem::file_type::regular) return StateFileRead::Unreadable;
  const File file(std::fopen(path.c_str(), "rb"));
  if (!file) return StateFileRead::Unreadable;
  bytes.clear();
  std::uint8_t buffer[8192];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  return std::ferror(file.get()) ? StateFileRead::Unreadable : StateFileRead::Loaded;
}

bool WriteStateFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string temp = path + ".tmp";
  {
    const File file(std::fopen(temp.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0;
    if (!written) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace vendrel::sim
