// The keyboard's macro memory image: decode, then the round trip decode -> encode -> decode,
// which must give the same macros (with names; without names all but the names). An encode that
// is refused must be refused for a reason the macros really give, and leave its buffer unwritten.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "keys/key_table.h"
#include "macros/macro_image.h"

namespace {

using namespace vendrel::macros;

constexpr char16_t kPrefix[] = u"Macro ";
constexpr std::uint8_t kUnwritten = 0xC5;

// The first action whose key the keyboard cannot play, found here by walking the actions rather
// than through the encoder's own search, so that the two can disagree.
std::optional<UnsendableAction> FirstUnsendable(const MacroList& macros) {
  for (std::size_t m = 0; m < macros.size(); ++m) {
    for (std::size_t a = 0; a < macros[m].actions.size(); ++a) {
      const vendrel::keys::KeyCode key = macros[m].actions[a].key;
      if (key != vendrel::keys::kNoKey && !vendrel::keys::IsSendableInMacro(key)) {
        return UnsendableAction{m, a, key};
      }
    }
  }
  return std::nullopt;
}

// The macros as decoded from their own image, or none when the encoder rightly refused them.
std::optional<MacroList> ReEncoded(const MacroList& macros, bool with_names) {
  const MacroImageSize sizes = MacroImageSizes(macros);
  std::vector<std::uint8_t> image(with_names ? sizes.with_names : sizes.without_names, kUnwritten);
  const MacroEncodeResult encoded = EncodeMacros(macros, image, with_names);

  // Sizes and offsets are 16-bit fields: a larger image cannot be told to the keyboard. A key
  // without a usage would reach it as nothing or as another key. Either refusal fits when both hold.
  const bool too_large = image.size() > kMaxImageSize;
  const std::optional<UnsendableAction> unsendable = FirstUnsendable(macros);
  if (!too_large && !unsendable) {
    if (encoded != MacroEncodeResult::Ok) std::abort();
    MacroList out;
    if (DecodeMacros(image, kPrefix, out) != MacroDecodeResult::Ok) std::abort();
    return out;
  }
  const bool refused_for_size = too_large && encoded == MacroEncodeResult::Refused;
  const bool refused_for_key = unsendable.has_value() && encoded == MacroEncodeResult::UnsendableKey;
  if (!refused_for_size && !refused_for_key) std::abort();
  if (refused_for_key && FindUnsendableAction(macros) != unsendable) std::abort();
  for (const std::uint8_t b : image) {
    if (b != kUnwritten) std::abort();
  }
  return std::nullopt;
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

  const std::optional<MacroList> named_again = ReEncoded(first, true);
  if (named_again && *named_again != first) std::abort();

  std::optional<MacroList> unnamed = ReEncoded(first, false);
  if (!unnamed) return 0;
  if (unnamed->size() != first.size()) std::abort();
  for (std::size_t i = 0; i < unnamed->size(); ++i) {
    (*unnamed)[i].name = first[i].name;
    if ((*unnamed)[i] != first[i]) std::abort();
  }
  return 0;
}
