// Speed of the data core on its largest inputs: a full store (100 macros of 2000 actions and a
// text on every key record) through the settings-file codec and the files on disk, and the
// largest macro image the keyboard's memory can hold.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "store/key_store.h"
#include "macros/macro_image.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "profiles/settings_file_codec.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "texts/text_table.h"

namespace {

using namespace vendrel;

void FillFullStore(store::KeyStore& s) {
  profiles::MakeDefaultTable(s.Table());
  for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) {
    for (std::size_t r = 0; r < keys::kKeySlotRecords; ++r) {
      s.Table().At(b, r).type = keys::AssignmentType::TextBlock;
      s.strings.Set(b * keys::kRecordsPerBlock + r, std::u16string(259, static_cast<char16_t>(u'a' + r % 26)));
    }
  }
  for (macros::MacroId id = 1; id <= macros::kMaxMacros; ++id) {
    macros::MacroRecord m;
    m.id = id;
    m.name = std::u16string(macros::kMaxNameLength, u'n');
    m.cycles = 3;
    m.actions.reserve(macros::kMaxActions);
    for (std::size_t a = 0; a < macros::kMaxActions; ++a) {
      m.actions.push_back({static_cast<std::uint32_t>(a % 4000) * 10,
                           static_cast<std::uint16_t>(0x10 + a % 40),
                           a % 2 ? macros::ActionKind::Release : macros::ActionKind::Press});
    }
    s.macros.push_back(std::move(m));
  }
}

// The largest image that fits the largest macro memory the information block can state
// (255 units of 128 bytes): 100 named macros with as many actions as fit.
std::vector<macros::MacroRecord> LargestImageMacros() {
  constexpr std::size_t kSpace = 128 * 255;
  std::vector<macros::MacroRecord> list(macros::kMaxMacros);
  for (std::size_t i = 0; i < list.size(); ++i) {
    list[i].id = static_cast<macros::MacroId>(i + 1);
    list[i].name = u"Macro " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
  }
  for (std::size_t i = 0;; i = (i + 1) % list.size()) {
    list[i].actions.push_back({120, 0x1E, macros::ActionKind::Press});
    if (macros::MacroImageSizes(list).with_names > kSpace) {
      list[i].actions.pop_back();
      break;
    }
  }
  return list;
}

void BM_EncodeFullStore(benchmark::State& state) {
  store::KeyStore store;
  FillFullStore(store);
  std::vector<std::uint8_t> bytes;
  for (auto _ : state) {
    store::SerializeStore(store, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_EncodeFullStore)->Unit(benchmark::kMillisecond);

void BM_DecodeFullStore(benchmark::State& state) {
  store::KeyStore store;
  FillFullStore(store);
  std::vector<std::uint8_t> bytes;
  store::SerializeStore(store, bytes);
  store::KeyStore target;
  for (auto _ : state) {
    const auto r = store::DeserializeStore(bytes, target);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeFullStore)->Unit(benchmark::kMillisecond);

void BM_EncodeLargestMacroImage(benchmark::State& state) {
  const auto list = LargestImageMacros();
  std::vector<std::uint8_t> image(macros::MacroImageSizes(list).with_names);
  for (auto _ : state) {
    const auto r = macros::EncodeMacros(list, image, true);
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(image.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
  state.counters["image_bytes"] = static_cast<double>(image.size());
}
BENCHMARK(BM_EncodeLargestMacroImage)->Unit(benchmark::kMicrosecond);

void BM_DecodeLargestMacroImage(benchmark::State& state) {
  const auto list = LargestImageMacros();
  std::vector<std::uint8_t> image(macros::MacroImageSizes(list).with_names);
  macros::EncodeMacros(list, image, true);
  macros::MacroList out;
  for (auto _ : state) {
    const auto r = macros::DecodeMacros(image, u"Macro", out);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
}
BENCHMARK(BM_DecodeLargestMacroImage)->Unit(benchmark::kMicrosecond);

// The largest settings file on disk, in a folder of its own.
class FileFixture {
 public:
  FileFixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vendrel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
    documents_ = std::make_unique<platform::FixedDocumentsFolder>(folder_.u16string());
    files_ = std::make_unique<store::SettingsFiles>(store, platform::PortableFileSystem(),
                                                       *documents_, texts_);
    FillFullStore(store);
    path = (folder_ / "largest.fwc").u16string();
    files_->SaveSettingsFile(path, true);
  }
  ~FileFixture() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  store::SettingsFiles& Files() { return *files_; }

  store::WorkingStore store;
  std::u16string path;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<platform::FixedDocumentsFolder> documents_;
  texts::TextTable texts_;
  std::unique_ptr<store::SettingsFiles> files_;
};

void BM_ValidateLargestFile(benchmark::State& state) {
  FileFixture f;
  for (auto _ : state) {
    const auto r = f.Files().ValidateSettingsFile(f.path);
    if (r != store::SettingsFileCheck::Valid) state.SkipWithError("file not valid");
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_ValidateLargestFile)->Unit(benchmark::kMillisecond);

void BM_LoadLargestFile(benchmark::State& state) {
  FileFixture f;
  for (auto _ : state) {
    auto lock = f.store.Lock();
    f.Files().ClearStore();
    const auto r = f.Files().LoadSettingsFile(f.path);
    if (r != profiles::SettingsCodecResult::Ok) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_LoadLargestFile)->Unit(benchmark::kMillisecond);

void BM_SaveLargestFile(benchmark::State& state) {
  FileFixture f;
  for (auto _ : state) {
    const bool ok = f.Files().SaveSettingsFile(f.path, true);
    if (!ok) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_SaveLargestFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
