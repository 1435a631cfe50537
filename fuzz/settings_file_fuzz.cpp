// Settings file bytes: the header check and the load into a key store, bounded by the file's
// size, then the round trip load -> save -> load, which must give the same table records,
// macros and texts.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "profiles/settings_file_codec.h"
#include "store/key_store.h"
#include "store/settings_store.h"

namespace {

using vendrel::store::KeyStore;
using vendrel::profiles::SettingsCodecResult;

// Records compared without the parameter of text-carrying records: a save gives texts new
// offsets, so only the texts themselves must survive. A text-carrying record without text is
// saved with an empty text of its own, so "none" and "empty" are the same text here.
bool SameContent(const KeyStore& a, const KeyStore& b) {
  for (std::size_t i = 0; i < vendrel::keys::kRecordCount; ++i) {
    auto ra = a.Table().records[i];
    auto rb = b.Table().records[i];
    if (vendrel::keys::CarriesText(ra.type)) {
      ra.parameter = rb.parameter;
      if (a.strings.Text(i) != b.strings.Text(i)) return false;
    } else if (a.strings.Has(i) != b.strings.Has(i)) {
      return false;
    }
    if (!(ra == rb)) return false;
  }
  return a.macros == b.macros;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const bool valid = vendrel::profiles::IsValidSettingsFile(bytes);

  KeyStore first;
  const int loaded = vendrel::store::DeserializeStore(bytes, first) == SettingsCodecResult::Ok;
  if (loaded && !valid) std::abort();  // loaded what the check refuses
  if (!loaded) return 0;
  // Loading is bounded by the file's size: the texts (which may overlap in the file) must not add
  // up to more than the file could hold twice over. The runner's -rss_limit_mb and -timeout catch
  // what slips past this.
  if (first.strings.Total() > 2 * static_cast<std::uint64_t>(size)) std::abort();

  std::vector<std::uint8_t> saved;
  if (vendrel::store::SerializeStore(first, saved) != SettingsCodecResult::Ok) return 0;
  if (!vendrel::profiles::IsValidSettingsFile(saved)) std::abort();

  KeyStore second;
  if (vendrel::store::DeserializeStore(saved, second) != SettingsCodecResult::Ok) std::abort();
  if (!SameContent(first, second)) std::abort();

  std::vector<std::uint8_t> saved_again;
  if (vendrel::store::SerializeStore(second, saved_again) != SettingsCodecResult::Ok ||
      saved_again != saved) std::abort();
  return 0;
}
