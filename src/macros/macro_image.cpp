#include "macros/macro_image.h"

#include <algorithm>
#include <new>

#include "codec/little_endian.h"
#include "keys/key_table.h"

namespace vendrel::macros {

using codec::ReadU16;
using codec::WriteU16;
using keys::kKeyboardSubModifier;
using keys::kKeyboardSubUsage;
using keys::kUsageKindConsumer;
using keys::kUsageKindDesktop;
using keys::kUsageKindKeyboard;
using keys::kUsageKindNone;
namespace {

std::size_t BlockSize(const MacroRecord& m, bool with_names) {
  const std::size_t actions = std::min(m.actions.size(), kMaxActions);
  std::size_t size = kBlockHeaderSize + kEncodedActionSize * actions;
  if (with_names) size += 2 * std::min(m.name.size(), kMaxNameLength);
  return size;
}

}  // namespace

MacroImageSize MacroImageSizes(std::span<const MacroRecord> macros) {
  MacroImageSize s;
  s.with_names = s.without_names = kImageHeaderSize + kImageOffsetSize * macros.size();
  for (const MacroRecord& m : macros) {
    s.with_names += BlockSize(m, true);
    s.without_names += BlockSize(m, false);
  }
  return s;
}

std::array<std::uint8_t, kEncodedActionSize> EncodeImageAction(const MacroAction& action) {
  std::array<std::uint8_t, kEncodedActionSize> out{};
  std::uint8_t kind = kUsageKindNone;
  std::uint8_t b2 = 0;
  std::uint8_t b3 = 0;
  const keys::HidUsage usage = keys::KeyUsage(action.key);
  if (usage.page == keys::kPageKeyboard) {
    kind = kUsageKindKeyboard;
    const std::uint8_t bit = keys::ModifierBit(action.key);
    if (bit != 0) {
      b2 = kKeyboardSubModifier;
      b3 = bit;
    } else {
      b2 = kKeyboardSubUsage;
      b3 = static_cast<std::uint8_t>(usage.usage & 0xFF);
    }
  } else if (usage.page == keys::kPageConsumer || usage.page == keys::kPageGenericDesktop) {
    kind = usage.page == keys::kPageConsumer ? kUsageKindConsumer : kUsageKindDesktop;
    b2 = static_cast<std::uint8_t>(usage.usage & 0xFF);
    b3 = static_cast<std::uint8_t>(usage.usage >> 8);
  }
  // A pause longer than the field holds becomes the longest it holds: cut to its low bits, a
  // 50-second pause would play as a 9-second one.
  const auto delay = static_cast<std::uint16_t>(
      std::min<std::uint32_t>(action.delay / kDelayUnitMs, kControlDelayMask));
  std::uint16_t control = static_cast<std::uint16_t>(delay | (kind << kControlKindShift));
  if (action.kind != ActionKind::Release) control |= kControlPressBit;
  WriteU16(out, kEncodedOffControl, control);
  out[kEncodedOffUsage] = b2;
  out[kEncodedOffUsage + 1] = b3;
  return out;
}

MacroAction DecodeImageAction(std::span<const std::uint8_t, kEncodedActionSize> bytes) {
  const std::uint16_t control = ReadU16(bytes, kEncodedOffControl);
  MacroAction a;
  a.delay = static_cast<std::uint32_t>(control & kControlDelayMask) * kDelayUnitMs;
  const auto kind = static_cast<std::uint8_t>((control >> kControlKindShift) & kControlKindMask);
  a.key = keys::UsageTripleKey(kind, bytes[kEncodedOffUsage], bytes[kEncodedOffUsage + 1]);
  a.kind = (control & kControlPressBit) != 0 ? ActionKind::Press : ActionKind::Release;
  return a;
}

std::optional<UnsendableAction> FindUnsendableAction(std::span<const MacroRecord> macros) {
  for (std::size_t i = 0; i < macros.size(); ++i) {
    const MacroRecord& m = macros[i];
    const std::size_t actions = std::min(m.actions.size(), kMaxActions);
    for (std::size_t a = 0; a < actions; ++a) {
      const keys::KeyCode key = m.actions[a].key;
      if (key != keys::kNoKey && !keys::IsSendableInMacro(key)) return UnsendableAction{i, a, key};
    }
  }
  return std::nullopt;
}

MacroEncodeResult EncodeMacros(std::span<const MacroRecord> macros, std::span<std::uint8_t> buffer,
                               bool with_names) {
  const MacroImageSize sizes = MacroImageSizes(macros);
  const std::size_t size = with_names ? sizes.with_names : sizes.without_names;
  if (size > kMaxImageSize || buffer.size() != size) return MacroEncodeResult::Refused;
  if (FindUnsendableAction(macros)) return MacroEncodeResult::UnsendableKey;
  std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
  WriteU16(buffer, kImageOffMagic, kImageMagic);
  WriteU16(buffer, kImageOffTotalSize, static_cast<std::uint16_t>(size));
  WriteU16(buffer, kImageOffCount, static_cast<std::uint16_t>(macros.size()));
  WriteU16(buffer, kImageOffNamesFlag, with_names ? 1 : 0);
  std::size_t p = kImageHeaderSize + kImageOffsetSize * macros.size();
  for (std::size_t i = 0; i < macros.size(); ++i) {
    const MacroRecord& m = macros[i];
    const std::size_t actions = std::min(m.actions.size(), kMaxActions);
    const std::size_t name_units = with_names ? std::min(m.name.size(), kMaxNameLength) : 0;
    WriteU16(buffer, kImageHeaderSize + kImageOffsetSize * i, static_cast<std::uint16_t>(p));
    WriteU16(buffer, p + kBlockOffActionCount, static_cast<std::uint16_t>(actions));
    buffer[p + kBlockOffCycles] = m.cycles;
    buffer[p + kBlockOffNameLength] = static_cast<std::uint8_t>(name_units);
    p += kBlockHeaderSize;
    for (std::size_t a = 0; a < actions; ++a) {
      const auto encoded = EncodeImageAction(m.actions[a]);
      std::copy(encoded.begin(), encoded.end(), buffer.begin() + static_cast<std::ptrdiff_t>(p));
      p += kEncodedActionSize;
    }
    for (std::size_t u = 0; u < name_units; ++u) {
      WriteU16(buffer, p, static_cast<std::uint16_t>(m.name[u]));
      p += 2;
    }
  }
  return MacroEncodeResult::Ok;
}

std::u16string GeneratedMacroName(std::u16string_view prefix, std::size_t number) {
  std::u16string name(prefix);
  const std::string digits = std::to_string(number);
  name.append(digits.begin(), digits.end());
  return name;
}

MacroImageCheck CheckMacroImage(std::span<const std::uint8_t> image) {
  if (image.size() < kImageHeaderSize || ReadU16(image, kImageOffMagic) != kImageMagic) {
    return MacroImageCheck::NoImage;
  }
  if (ReadU16(image, kImageOffTotalSize) != image.size()) return MacroImageCheck::SizeMismatch;
  const std::size_t count = ReadU16(image, kImageOffCount);
  if (count > kMaxMacros) return MacroImageCheck::TooManyMacros;
  const std::size_t blocks_from = kImageHeaderSize + kImageOffsetSize * count;
  if (blocks_from > image.size()) return MacroImageCheck::OffsetsOutside;
  // At most kMaxMacros blocks: a fixed array keeps the check free of allocation.
  std::array<std::pair<std::size_t, std::size_t>, kMaxMacros> spans{};
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t offset = ReadU16(image, kImageHeaderSize + kImageOffsetSize * i);
    if (offset < blocks_from || offset + kBlockHeaderSize > image.size()) {
      return MacroImageCheck::BlockOutside;
    }
    const std::size_t actions = ReadU16(image, offset + kBlockOffActionCount);
    if (actions > kMaxActions) return MacroImageCheck::TooManyActions;
    const std::size_t name_units = image[offset + kBlockOffNameLength];
    if (name_units > kMaxNameLength) return MacroImageCheck::NameTooLong;
    const std::size_t end = offset + kBlockHeaderSize + kEncodedActionSize * actions + 2 * name_units;
    if (end > image.size()) return MacroImageCheck::BlockOutside;
    spans[i] = {offset, end};
  }
  std::sort(spans.begin(), spans.begin() + static_cast<std::ptrdiff_t>(count));
  for (std::size_t i = 1; i < count; ++i) {
    if (spans[i].first < spans[i - 1].second) return MacroImageCheck::Overlap;
  }
  return MacroImageCheck::Whole;
}

std::vector<bool> BlocksWithNames(std::span<const std::uint8_t> image) {
  std::vector<bool> named;
  if (CheckMacroImage(image) != MacroImageCheck::Whole) return named;
  const std::size_t count = ReadU16(image, kImageOffCount);
  named.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t offset = ReadU16(image, kImageHeaderSize + kImageOffsetSize * i);
    named.push_back(image[offset + kBlockOffNameLength] != 0);
  }
  return named;
}

MacroDecodeResult DecodeMacros(std::span<const std::uint8_t> image,
                               std::u16string_view new_name_prefix, MacroList& out) {
  out.clear();
  if (image.size() < kImageHeaderSize || ReadU16(image, kImageOffMagic) != kImageMagic) {
    return MacroDecodeResult::Refused;
  }
  bool cut = false;
  std::size_t count = ReadU16(image, kImageOffCount);
  if (count > kMaxMacros) {
    count = kMaxMacros;
    cut = true;
  }
  const std::size_t offsets_fit = (image.size() - kImageHeaderSize) / kImageOffsetSize;
  if (count > offsets_fit) {
    count = offsets_fit;
    cut = true;
  }
  try {
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t offset = ReadU16(image, kImageHeaderSize + kImageOffsetSize * i);
      if (offset < kImageHeaderSize || offset + kBlockHeaderSize > image.size()) {
        cut = true;
        break;
      }
      const std::span<const std::uint8_t> block = image.subspan(offset);
      MacroRecord m;
      m.id = static_cast<MacroId>(i + 1);
      m.cycles = block[kBlockOffCycles];
      const std::size_t stated_actions = ReadU16(block, kBlockOffActionCount);
      const std::size_t actions_fit = (block.size() - kBlockHeaderSize) / kEncodedActionSize;
      std::size_t actions = std::min({stated_actions, kMaxActions, actions_fit});
      if (actions != stated_actions) cut = true;
      m.actions.reserve(actions);
      for (std::size_t a = 0; a < actions; ++a) {
        m.actions.push_back(DecodeImageAction(
            block.subspan(kBlockOffActions + kEncodedActionSize * a).first<kEncodedActionSize>()));
      }
      const std::size_t stated_name = block[kBlockOffNameLength];
      if (stated_name != 0) {
        // The name follows the actions the block states, not those kept after a cut.
        const std::size_t name_at = kBlockOffActions + kEncodedActionSize * stated_actions;
        const std::size_t units_fit = name_at < block.size() ? (block.size() - name_at) / 2 : 0;
        const std::size_t units = std::min({stated_name, kMaxNameLength, units_fit});
        if (units != stated_name) cut = true;
        // Units are kept as stored, a 0 unit included: only a block without name gets one made.
        for (std::size_t u = 0; u < units; ++u) {
          m.name.push_back(static_cast<char16_t>(ReadU16(block, name_at + 2 * u)));
        }
      }
      if (m.name.empty()) m.name = GeneratedMacroName(new_name_prefix, i + 1);
      out.push_back(std::move(m));
    }
  } catch (const std::bad_alloc&) {
    out.clear();
    return MacroDecodeResult::Refused;
  }
  return cut ? MacroDecodeResult::Cut : MacroDecodeResult::Ok;
}

}  // namespace vendrel::macros
