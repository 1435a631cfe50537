// One 16512-byte macro record (the input zero-padded or cut to that size) and one 8-byte action:
// decode -> encode -> decode must give the same value. Each action of the record also goes into
// the keyboard's image form: a key is written with a real usage or as no key at all, and the key
// read back writes the same bytes again.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "keys/key_table.h"
#include "keys/usage_entry.h"
#include "macros/macro_image.h"
#include "macros/macro_record.h"

using namespace vendrel::macros;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::array<std::uint8_t, kMacroRecordSize> bytes;
  bytes.fill(0);
  std::copy_n(data, std::min(size, bytes.size()), bytes.begin());

  const MacroRecord first = DecodeMacroRecord(bytes);
  if (first.name.size() > kMaxNameLength || first.actions.size() > kMaxActions) std::abort();
  if (first.name.find(u'\0') != std::u16string::npos) std::abort();

  static std::array<std::uint8_t, kMacroRecordSize> encoded;
  EncodeMacroRecord(first, encoded);
  if (DecodeMacroRecord(encoded) != first) std::abort();

  for (const MacroAction& a : first.actions) {
    if (a.key != 0 && !vendrel::keys::IsSendableInMacro(a.key)) {
      // A key the keyboard cannot send must be refused by the image encoder, never written as
      // another key or as nothing.
      MacroRecord alone;
      alone.id = 1;
      alone.actions = {a};
      const MacroList list{alone};
      std::vector<std::uint8_t> image(MacroImageSizes(list).with_names);
      if (EncodeMacros(list, image, true) != MacroEncodeResult::UnsendableKey) std::abort();
      continue;
    }
    const auto image = EncodeImageAction(a);
    const auto kind = static_cast<std::uint8_t>((image[kEncodedOffControl + 1] >> 4) & kControlKindMask);
    const bool no_usage = kind == vendrel::keys::kUsageKindKeyboard ? image[kEncodedOffUsage + 1] == 0
                                                     : image[kEncodedOffUsage] == 0 && image[kEncodedOffUsage + 1] == 0;
    if (kind != vendrel::keys::kUsageKindNone && no_usage) std::abort();  // the keyboard would send nothing
    // What the keyboard holds reads back as one action that then writes and reads unchanged.
    // (Two codes may share a usage, Right Shift and its E0 form, and read back as the first.)
    const MacroAction back = DecodeImageAction(image);
    if (DecodeImageAction(EncodeImageAction(back)) != back) std::abort();
  }

  const std::span<const std::uint8_t, kMacroActionSize> action_bytes(bytes.data(), kMacroActionSize);
  const MacroAction action = DecodeMacroAction(action_bytes);
  std::array<std::uint8_t, kMacroActionSize> action_encoded{};
  EncodeMacroAction(action, action_encoded);
  if (DecodeMacroAction(action_encoded) != action) std::abort();
  return 0;
}
