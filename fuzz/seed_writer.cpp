// Writes the encoder-made seeds of the fuzz corpora: valid settings files, macro images, a macro
// record, key maps and a kbsim state, each made by the project's own encoders.
// Usage: fuzz_seed_writer <fuzz/corpus folder>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "keys/key_map_codec.h"
#include "keys/key_store.h"
#include "macros/macro_image.h"
#include "macros/macro_record.h"
#include "profiles/settings_file_codec.h"
#include "sim/model/keyboard_model.h"

namespace {

using namespace vendrel;
namespace fs = std::filesystem;

void Write(const fs::path& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

macros::MacroList TwoMacros() {
  macros::MacroRecord a;
  a.name = u"Copy paste";
  a.cycles = 2;
  a.id = 1;
  a.actions = {{50, 0x1D, macros::ActionKind::Press}, {30, 0x2E, macros::ActionKind::Press},
               {30, 0x2E, macros::ActionKind::Release}, {0, 0x1D, macros::ActionKind::Release}};
  macros::MacroRecord b;
  b.name = u"Volume";
  b.id = 2;
  b.actions = {{10, 0x130, macros::ActionKind::Press}, {10, 0x130, macros::ActionKind::Release}};
  return {a, b};
}

std::vector<std::uint8_t> SettingsFile(bool with_content) {
  keys::KeyStore store;
  profiles::MakeDefaultTable(store.Table());
  if (with_content) {
    store.macros = TwoMacros();
    store.Table().At(0, 0x1E).type = keys::AssignmentType::TextBlock;
    store.strings.Set(keys::kRecordsPerBlock * 0 + 0x1E, u"Hello there");
    store.Table().At(1, 0x20).type = keys::AssignmentType::LaunchProgram;
    store.strings.Set(keys::kRecordsPerBlock * 1 + 0x20, u"C:\\Windows\\notepad.exe");
    store.Table().At(0, 0x10).type = keys::AssignmentType::Macro;
    store.Table().At(0, 0x10).parameter = 2;
  }
  std::vector<std::uint8_t> out;
  profiles::SerializeStore(store, out);
  return out;
}

std::vector<std::uint8_t> MacroImage(bool with_names) {
  const auto list = TwoMacros();
  const auto sizes = macros::MacroImageSizes(list);
  std::vector<std::uint8_t> image(with_names ? sizes.with_names : sizes.without_names);
  macros::EncodeMacros(list, image, with_names);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seed_writer <corpus folder>\n");
    return 2;
  }
  const fs::path corpus(argv[1]);
  for (const char* target : {"settings_file", "settings_files"}) {
    Write(corpus / target, "seed_default", SettingsFile(false));
    Write(corpus / target, "seed_macros_texts", SettingsFile(true));
  }
  Write(corpus / "macro_image", "seed_named", MacroImage(true));
  Write(corpus / "macro_image", "seed_unnamed", MacroImage(false));

  std::vector<std::uint8_t> record(macros::kMacroRecordSize);
  macros::EncodeMacroRecord(TwoMacros()[0], std::span<std::uint8_t, macros::kMacroRecordSize>(record));
  Write(corpus / "macro_record", "seed_record", record);

  const std::vector<std::uint8_t> factory(keys::kDefaultKeyMap.begin(), keys::kDefaultKeyMap.end());
  Write(corpus / "key_map", "seed_factory", factory);
  keys::ProfileKeyTable table;
  keys::ResetBlock(table.Block(0));
  table.At(0, 0x1E) = {keys::AssignmentType::Macro, 0, 1, 0, 0};
  table.At(0, 0x1F) = {keys::AssignmentType::Disabled, 0, 0, 0, 0};
  table.At(0, 0x20) = {keys::AssignmentType::Key, 0, 0x2C, 0, 0};
  const auto encoded = keys::EncodeKeyMap(table.Block(0), keys::kDefaultKeyMap, TwoMacros());
  std::vector<std::uint8_t> with_factory(encoded.begin(), encoded.end());
  with_factory.insert(with_factory.end(), factory.begin(), factory.end());
  Write(corpus / "key_map", "seed_assigned_with_factory", with_factory);

  Write(corpus / "kbsim_state", "seed_factory", sim::KeyboardModel().SaveState());
  return 0;
}
