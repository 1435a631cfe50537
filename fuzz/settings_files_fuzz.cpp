// A settings file as the program opens it: validated and loaded into the WorkingStore through the
// file interface (held in memory). A file that validates loads; a file that does not leaves the
// store as it was.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/support/memory_file_system.h"
#include "platform/documents_folder.h"
#include "store/key_store.h"
#include "store/settings_files.h"
#include "texts/text_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vendrel;
  const std::u16string path = u"/docs/fuzz.dat";
  fuzz::MemoryFileSystem files;
  files.files[path].assign(data, data + size);
  const platform::FixedDocumentsFolder documents(u"/docs");
  const texts::TextTable texts;
  store::WorkingStore store;
  store::SettingsFiles settings(store, files, documents, texts);

  const store::SettingsFileCheck valid = settings.ValidateSettingsFile(path);
  const auto lock = store.Lock();
  store.Clear();
  const bool loaded = settings.LoadSettingsFile(path) == profiles::SettingsCodecResult::Ok;
  if ((valid == store::SettingsFileCheck::Valid) != loaded) std::abort();
  if (!loaded && (!store.macros.empty() || store.strings.Total() != 0)) std::abort();
  return 0;
}
