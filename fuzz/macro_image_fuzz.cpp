// The keyboard's macro memory image: decode, then the round trip decode -> encode -> decode,
// which must give the same macros (with names; without names all but the names).
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "macros/macro_image.h"

namespace {

using namespace vendrel::macros;

constexpr char16_t kPrefix[] = u"Macro ";

MacroList ReEncoded(const MacroList& macros, bool with_names) {
  const MacroImageSize sizes = MacroImageSizes(macros);
  std::vector<std::uint8_t> image(with_names ? sizes.with_names : sizes.without_names);
  if (image.size() > kMaxImageSize) return macros;  // too large for the keyboard: not encodable
  const MacroEncodeResult encoded = EncodeMacros(macros, image, with_names);
  // A key the keyboard cannot send is refused, never written as another key.
  if (encoded == MacroEncodeResult::UnsendableKey) return macros;
  if (encoded != MacroEncodeResult::Ok) std::abort();
  MacroList out;
  if (DecodeMacros(image, kPrefix, out) != MacroDecodeResult::Ok) std::abort();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MacroList first;
  const MacroDecodeResult result = DecodeMacros(std::span<const std::uint8_t>(data, size), kPrefix, first);
  if (result != MacroDecodeResult::Ok && result != MacroDecodeResult::Cut &&
      result != MacroDecodeResult::Refused) {
    std::abort();
  }
  if (first.size() > kMaxMacros) std::abort();
  for (const MacroRecord& m : first) {
    if (m.actions.size() > kMaxActions || m.name.size() > kMaxNameLength) std::abort();
  }

  // A whole image tells for each macro whether its name was stored or made up.
  const std::vector<bool> named = BlocksWithNames(std::span<const std::uint8_t>(data, size));
  if (!named.empty() && named.size() != first.size()) std::abort();
  for (std::size_t i = 0; i < named.size(); ++i) {
    if (!named[i] && first[i].name != GeneratedMacroName(kPrefix, i + 1)) std::abort();
  }

  if (ReEncoded(first, true) != first) std::abort();

  MacroList unnamed = ReEncoded(first, false);
  if (unnamed.size() != first.size()) std::abort();
  for (std::size_t i = 0; i < unnamed.size(); ++i) {
    unnamed[i].name = first[i].name;
    if (unnamed[i] != first[i]) std::abort();
  }
  return 0;
}
