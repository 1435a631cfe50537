#include "keys/profile_key_table.h"

#include <algorithm>

namespace vendrel::keys {

void ResetBlock(ProfileBlock block) {
  std::fill(block.begin(), block.end(), KeyAssignment{});
  for (std::size_t bank = 0; bank < kGBankCount; ++bank) {
    for (std::size_t g = 0; g < kGKeyCount; ++g) {
      block[GRecordIndex(bank, g)].key_field = GKeyFieldCode(bank, g);
    }
  }
}

void EncodeProfileKeyTable(const ProfileKeyTable& table,
                           std::span<std::uint8_t, kProfileKeyTableSize> out) {
  for (std::size_t i = 0; i < kRecordCount; ++i) {
    EncodeKeyAssignment(table.records[i], out.subspan(i * kKeyAssignmentSize)
                                              .first<kKeyAssignmentSize>());
  }
}

void DecodeProfileKeyTable(std::span<const std::uint8_t, kProfileKeyTableSize> in,
                           ProfileKeyTable& table) {
  for (std::size_t i = 0; i < kRecordCount; ++i) {
    table.records[i] = DecodeKeyAssignment(
        in.subspan(i * kKeyAssignmentSize).first<kKeyAssignmentSize>());
  }
}

}  // namespace vendrel::keys
