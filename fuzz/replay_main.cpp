// Replays a fuzz target's corpus without libFuzzer: every regular file under the folders (or the
// files) named on the command line goes once through LLVMFuzzerTestOneInput. A fault aborts the
// run through the sanitizers; the exit code is 0 only when every input was fed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool Feed(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "replay: cannot read %s\n", file.string().c_str());
    return false;
  }
  const std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<std::uint8_t> bytes(raw.begin(), raw.end());
  // A copy of exactly the file's size, so that reading past the end is caught.
  LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      for (const auto& entry : fs::recursive_directory_iterator(arg)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else if (fs::is_regular_file(arg, ec)) {
      files.push_back(arg);
    } else {
      std::fprintf(stderr, "replay: no such file or folder %s\n", arg.string().c_str());
      return 2;
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "replay: no inputs\n");
    return 2;
  }
  std::sort(files.begin(), files.end());
  for (const auto& f : files) {
    if (!Feed(f)) return 1;
  }
  std::printf("replay: %zu inputs fed\n", files.size());
  return 0;
}
