// A key map as the keyboard reports it, read against a factory map (the built-in one, or a second
// map from the input): decode -> encode -> decode gives a profile block that the next round
// encodes and decodes unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "keys/default_key_map.h"
#include "keys/key_map_codec.h"
#include "macros/macro_record.h"

namespace {

using namespace vendrel::keys;

// Every macro id the keyboard can number, so that no decoded macro assignment is stale.
std::vector<std::uint16_t> AllMacroIds() {
  std::vector<std::uint16_t> ids(vendrel::macros::kMaxMacros);
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = static_cast<std::uint16_t>(i + 1);
  return ids;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto macros = AllMacroIds();
  DeviceKeyMap map{};
  std::copy_n(data, std::min(size, map.size()), map.begin());
  DeviceKeyMap factory = kDefaultKeyMap;
  if (size >= 2 * kKeyMapBytes) std::copy_n(data + kKeyMapBytes, kKeyMapBytes, factory.begin());

  static ProfileKeyTable table;
  DecodeKeyMap(map, factory, table.Block(0));
  const DeviceKeyMap encoded = EncodeKeyMap(table.Block(0), factory, macros);
  DecodeKeyMap(encoded, factory, table.Block(1));
  const DeviceKeyMap encoded_again = EncodeKeyMap(table.Block(1), factory, macros);
  // The first decode normalises (an unknown entry becomes "disabled", a key mapped onto itself
  // the default, a macro past the list the factory entry); from then on the value is stable.
  if (encoded_again != encoded) std::abort();
  DecodeKeyMap(encoded_again, factory, table.Block(2));
  if (!std::equal(table.Block(1).begin(), table.Block(1).end(), table.Block(2).begin())) std::abort();
  return 0;
}
