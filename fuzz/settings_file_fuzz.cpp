// Settings file bytes: the header check and the load into a key store, bounded by the file's
// size, then the round trip load -> save -> load, which must give the same table records,
// macros and texts.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "keys/key_store.h"
#include "profiles/settings_file_codec.h"

namespace {

using vendrel::keys::KeyStore;

// Records compared without the parameter of text-carrying records: a save gives texts new
// offsets, so only the texts themselves must survive.
bool SameContent(const KeyStore& a, const KeyStore& b) {
  for (std::size_t i = 0; i < vendrel::keys::kRecordCount; ++i) {
    auto ra = a.Table().records[i];
    auto rb = b.Table().records[i];
    if (vendrel::keys::CarriesText(ra.type)) ra.parameter = rb.parameter;
    if (!(ra == rb)) return false;
  }
  return a.macros == b.macros && a.strings == b.strings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const bool valid = vendrel::profiles::IsValidSettingsFile(bytes);

  KeyStore first;
  const int loaded = vendrel::profiles::DeserializeStore(bytes, first);
  if (loaded == 1 && !valid) std::abort();  // loaded what the check refuses
  if (loaded != 1) return 0;
  // Loading is bounded by the file's size: the texts (which may overlap in the file) must not add
  // up to more than the file could hold twice over. The runner's -rss_limit_mb and -timeout catch
  // what slips past this.
  if (first.strings.Total() > 2 * static_cast<std::uint64_t>(size)) std::abort();

  std::vector<std::uint8_t> saved;
  if (vendrel::profiles::SerializeStore(first, saved) != 1) return 0;
  if (!vendrel::profiles::IsValidSettingsFile(saved)) std::abort();

  KeyStore second;
  if (vendrel::profiles::DeserializeStore(saved, second) != 1) std::abort();
  if (!SameContent(first, second)) std::abort();

  std::vector<std::uint8_t> saved_again;
  if (vendrel::profiles::SerializeStore(second, saved_again) != 1 || saved_again != saved) std::abort();
  return 0;
}
