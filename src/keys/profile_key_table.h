#pragma once
// The table of all key assignments: 2048 records in four profile blocks of 512. Blocks 0..2 are
// the keyboard's profiles; block 3 only travels in files.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/command_set.h"
#include "keys/key_assignment.h"

namespace vendrel::keys {

inline constexpr std::size_t kProfileBlockCount = 4;
inline constexpr std::size_t kRecordsPerBlock = 512;
inline constexpr std::size_t kRecordCount = kProfileBlockCount * kRecordsPerBlock;  // 2048
inline constexpr std::size_t kProfileKeyTableSize = kRecordCount * kKeyAssignmentSize;  // 32768
// The keyboard's profiles are the command set's; blocks 0..kDeviceProfileCount-1 stand for them.
inline constexpr std::size_t kDeviceProfileCount = device::kProfileCount;

// Records of a block: 0..255 key slots, 256..273 the G keys (bank-major), the rest always zero.
inline constexpr std::size_t kKeySlotRecords = 256;
inline constexpr std::size_t kGKeyCount = 9;
inline constexpr std::size_t kGBankCount = 2;
inline constexpr std::size_t kFirstGRecord = 256;
inline constexpr std::uint16_t kGCodeBank0 = 0x0301;  // + g
inline constexpr std::uint16_t kGCodeBank1 = 0x1301;  // + g

// Record index of G key g (0..8) in bank (0..1), and the code its key field holds.
inline constexpr std::size_t GRecordIndex(std::size_t bank, std::size_t g) {
  return kFirstGRecord + kGKeyCount * bank + g;
}
inline constexpr std::uint16_t GKeyFieldCode(std::size_t bank, std::size_t g) {
  return static_cast<std::uint16_t>((bank == 0 ? kGCodeBank0 : kGCodeBank1) + g);
}

struct ProfileKeyTable {
  std::array<KeyAssignment, kRecordCount> records{};

  // Callers keep block < kProfileBlockCount and record < kRecordsPerBlock.
  KeyAssignment& At(std::size_t block, std::size_t record) {
    return records[block * kRecordsPerBlock + record];
  }
  const KeyAssignment& At(std::size_t block, std::size_t record) const {
    return records[block * kRecordsPerBlock + record];
  }
  std::span<KeyAssignment, kRecordsPerBlock> Block(std::size_t block) {
    return std::span<KeyAssignment, kRecordsPerBlock>(records.data() + block * kRecordsPerBlock,
                                                      kRecordsPerBlock);
  }
  std::span<const KeyAssignment, kRecordsPerBlock> Block(std::size_t block) const {
    return std::span<const KeyAssignment, kRecordsPerBlock>(
        records.data() + block * kRecordsPerBlock, kRecordsPerBlock);
  }

  friend bool operator==(const ProfileKeyTable&, const ProfileKeyTable&) = default;
};

// A block of 512 records as the key map codec sees it.
using ProfileBlock = std::span<KeyAssignment, kRecordsPerBlock>;
using ConstProfileBlock = std::span<const KeyAssignment, kRecordsPerBlock>;

// All records zero, then the G records receive their G codes.
void ResetBlock(ProfileBlock block);

// Byte image of the whole table: the records field by field, in order.
void EncodeProfileKeyTable(const ProfileKeyTable& table,
                           std::span<std::uint8_t, kProfileKeyTableSize> out);
void DecodeProfileKeyTable(std::span<const std::uint8_t, kProfileKeyTableSize> in,
                           ProfileKeyTable& table);

}  // namespace vendrel::keys
