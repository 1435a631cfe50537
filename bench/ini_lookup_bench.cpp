// Per-lookup cost of the portable INI reader on a large file: 16 MiB of line ends followed by one
// section. The first lookup reads and indexes the file; later lookups use the index while the
// file stays the same.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ini_profile.h"
#include "platform/ini_profile_file.h"

namespace {

namespace fs = std::filesystem;

// A large language file in a fresh temporary folder, dated an hour back so that its stamp is
// settled; removed at exit.
class LargeIniFile {
 public:
  LargeIniFile() {
    std::string pattern = (fs::temp_directory_path() / "ini-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    path_ = folder_ / "language.ini";
    {
      std::ofstream out(path_, std::ios::binary);
      const std::string line_ends(16u * 1024u * 1024u - 64u, '\n');
      out << line_ends << "[ENGINSH]\nMAIN_CAPTION=Vendrel\n";
    }
    fs::last_write_time(path_, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  ~LargeIniFile() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  std::u16string Path() const { return path_.u16string(); }

 private:
  fs::path folder_;
  fs::path path_;
};

const LargeIniFile& File() {
  static const LargeIniFile file;
  return file;
}

void BM_IniLookupIndexed(benchmark::State& state) {
  vendrel::platform::IniFileProfile ini;
  const std::u16string path = File().Path();
  vendrel::platform::ReadProfileString(ini, u"ENGINSH", u"MAIN_CAPTION", u"", 260, path);  // indexes
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        vendrel::platform::ReadProfileString(ini, u"ENGINSH", u"MAIN_CAPTION", u"", 260, path));
  }
}
BENCHMARK(BM_IniLookupIndexed);

// A new reader every time: the cost of reading and indexing the file once.
void BM_IniLookupFirst(benchmark::State& state) {
  const std::u16string path = File().Path();
  for (auto _ : state) {
    vendrel::platform::IniFileProfile ini;
    benchmark::DoNotOptimize(
        vendrel::platform::ReadProfileString(ini, u"ENGINSH", u"MAIN_CAPTION", u"", 260, path));
  }
}
BENCHMARK(BM_IniLookupFirst)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
