#include "store/settings_store.h"

#include <memory>
#include <new>

namespace vendrel::store {

using profiles::SettingsCodecResult;

SettingsCodecResult SerializeStore(const KeyStore& store, std::vector<std::uint8_t>& out) {
  return profiles::EncodeSettingsFile(
      {store.settings_header, store.Table(), store.macros, store.strings}, out);
}

SettingsCodecResult DeserializeStore(std::span<const std::uint8_t> bytes, KeyStore& store) {
  std::unique_ptr<profiles::SettingsContent> content;
  try {
    content = std::make_unique<profiles::SettingsContent>();
  } catch (const std::bad_alloc&) {
    return SettingsCodecResult::Refused;
  }
  const SettingsCodecResult result = profiles::DecodeSettingsFile(bytes, *content);
  if (result != SettingsCodecResult::Ok) return result;
  store.settings_header = content->header;
  store.Table() = content->table;
  store.macros = std::move(content->macros);
  store.strings = std::move(content->strings);
  return SettingsCodecResult::Ok;
}

}  // namespace vendrel::store
