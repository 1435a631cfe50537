#pragma once
// What the keyboard's macro memory is known to hold, from address 0 up: the bytes this program read
// from it or wrote to it and had acknowledged. A write can then skip the chunks the keyboard
// already holds. Anything that leaves the memory in doubt (a failed packet, a detach) forgets it
// all, and reads do not teach it again until a write of this program has gone through: the next
// write after a doubt is whole. Safe to use from several threads.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace vendrel::device {

class KnownMacroMemory {
 public:
  // The keyboard acknowledged a write of bytes at offset; reads count again from now on. Bytes that
  // would leave a gap after the known ones are not recorded: knowledge stays one run from 0.
  void Learn(std::size_t offset, std::span<const std::uint8_t> bytes);
  // A read found bytes at offset (ignored while reads do not count). Where they contradict what
  // was known, someone else wrote the memory (another program, a reset on the keyboard): all else
  // known is forgotten first.
  void Observe(std::size_t offset, std::span<const std::uint8_t> bytes);
  // True when every byte of the range is known and equal to bytes.
  bool Holds(std::size_t offset, std::span<const std::uint8_t> bytes) const;
  // Forgets everything, and reads do not count until the next acknowledged write.
  void Forget();
  std::size_t KnownSize() const;

 private:
  void LearnLocked(std::size_t offset, std::span<const std::uint8_t> bytes);

  mutable std::mutex mutex_;
  std::vector<std::uint8_t> bytes_;
  bool reads_count_ = true;
};

}  // namespace vendrel::device
