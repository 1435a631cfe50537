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

}  // namespace vendrel::quorva
