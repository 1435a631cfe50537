#include "device/known_macro_memory.h"

#include <algorithm>

namespace vendrel::device {

void KnownMacroMemory::Learn(std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  reads_count_ = true;
  LearnLocked(offset, bytes);
}

void KnownMacroMemory::Observe(std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  if (!reads_count_) return;
  if (offset < bytes_.size()) {
    const std::size_t overlap = std::min(bytes.size(), bytes_.size() - offset);
    if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(overlap),
                    bytes_.begin() + static_cast<std::ptrdiff_t>(offset))) {
      bytes_.clear();
    }
  }
  LearnLocked(offset, bytes);
}

void KnownMacroMemory::LearnLocked(std::size_t offset, std::span<const std::uint8_t> bytes) {
  if (offset > bytes_.size()) return;
  const std::size_t end = offset + bytes.size();
  if (end > bytes_.size()) bytes_.resize(end);
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool KnownMacroMemory::Holds(std::size_t offset, std::span<const std::uint8_t> bytes) const {
  std::lock_guard lock(mutex_);
  if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset) return false;
  return std::equal(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void KnownMacroMemory::Forget() {
  std::lock_guard lock(mutex_);
  bytes_.clear();
  bytes_.shrink_to_fit();
  reads_count_ = false;
}

std::size_t KnownMacroMemory::KnownSize() const {
  std::lock_guard lock(mutex_);
  return bytes_.size();
}

}  // namespace vendrel::device
