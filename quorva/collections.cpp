#include "quorva/collections.h"

#include <algorithm>

#include "device/descriptors.h"

namespace vendrel::quorva {
namespace {

constexpr std::uint32_t kMaskVendor = 0x1;
constexpr std::uint32_t kMaskProduct = 0x2;
constexpr std::uint32_t kMaskUsagePage = 0x4;
constexpr std::uint32_t kMaskUsage = 0x8;

bool Matches(const device::Descriptor& wanted, const device::Descriptor& ours) {
  using namespace device;
  const std::uint32_t mask = static_cast<std::uint32_t>(wanted[0]) | (static_cast<std::uint32_t>(wanted[1]) << 8) |
                             (static_cast<std::uint32_t>(wanted[2]) << 16) |
                             (static_cast<std::uint32_t>(wanted[3]) << 24);
  // A descriptor that selects nothing must not select everything.
  if ((mask & (kMaskVendor | kMaskProduct)) != (kMaskVendor | kMaskProduct)) return false;
  const auto field = [&](std::size_t offset) {
    return DescriptorWord(wanted, offset) == DescriptorWord(ours, offset);
  };
  if (!field(kDescOffVendor) || !field(kDescOffProduct)) return false;
  if ((mask & kMaskUsagePage) && !field(kDescOffUsagePage)) return false;
  if ((mask & kMaskUsage) && !field(kDescOffUsage)) return false;
  return true;
}

}  // namespace

Collection MatchCollection(const std::uint8_t* descriptor) {
  if (descriptor == nullptr) return Collection::None;
  device::Descriptor wanted{};
  std::copy(descriptor, descriptor + wanted.size(), wanted.begin());
  if (Matches(wanted, device::kCtrlDescriptor)) return Collection::Control;
  if (Matches(wanted, device::kConsDescriptor)) return Collection::Consumer;
  if (Matches(wanted, device::kLedDescriptor)) return Collection::Led;
  return Collection::None;
}

Collection CollectionOf(std::uint16_t vendor_id, std::uint16_t product_id, std::uint16_t usage_page,
                        std::uint16_t usage) {
  using namespace device;
  if (vendor_id != kVendorId || product_id != kProductId) return Collection::None;
  if (usage_page == kCtrlUsagePage && usage == kCtrlUsage) return Collection::Control;
  if (usage_page == kConsUsagePage && usage == kConsUsage) return Collection::Consumer;
  if (usage_page == kLedUsagePage && usage == kLedUsage) return Collection::Led;
  return Collection::None;
}

}  // namespace vendrel::quorva
