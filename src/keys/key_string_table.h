#pragma once
// The texts of launch-program and text-block records: one entry per record of the
// ProfileKeyTable, each with its size in bytes as a settings file stores it, and their total.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "keys/profile_key_table.h"

namespace vendrel::keys {

class KeyStringTable {
 public:
  // Stores a copy of text for record index (0..2047), replacing what the entry held. The text
  // ends at its first 0 unit, as it would in a file. Returns false for an index out of range.
  bool Set(std::size_t index, std::u16string_view text);
  // Releases the entry's text; no effect when it holds none.
  void Clear(std::size_t index);
  void ClearAll();

  bool Has(std::size_t index) const { return index < kRecordCount && sizes_[index] != 0; }
  // Empty for an entry without text or an index out of range.
  const std::u16string& Text(std::size_t index) const;
  // Bytes including the terminator: (characters + 1) * 2, or 0 for no text.
  std::uint32_t Size(std::size_t index) const { return index < kRecordCount ? sizes_[index] : 0; }
  // 64-bit: 2048 texts of a few megabytes each must not wrap it on any platform.
  std::uint64_t Total() const { return total_; }

  friend bool operator==(const KeyStringTable&, const KeyStringTable&) = default;

 private:
  std::array<std::u16string, kRecordCount> texts_{};
  std::array<std::uint32_t, kRecordCount> sizes_{};
  std::uint64_t total_ = 0;
};

}  // namespace vendrel::keys
