// INI files (UTF-16 with mark, UTF-8 with or without mark, 8-bit): the text decoder with the
// round trip decode -> encode -> decode, and the profile-string reads and a write over the file
// held in memory. The first input byte is the caller's buffer size; the rest is the file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/support/fuzz_input.h"
#include "fuzz/support/memory_file_system.h"
#include "platform/ini_profile_file.h"
#include "platform/ini_text.h"

namespace {

using namespace vendrel::platform;

constexpr char16_t kFile[] = u"fuzz.ini";

bool HasSurrogate(const IniText& text) {
  for (const auto& line : text.lines) {
    for (char16_t c : line) {
      if (c >= 0xD800 && c <= 0xDFFF) return true;
    }
  }
  return false;
}

void CheckTextRoundTrip(std::span<const std::uint8_t> bytes) {
  const IniText first = DecodeIniText(bytes);
  for (const auto& line : first.lines) {
    if (line.find_first_of(u"\r\n") != std::u16string::npos || line.find(u'\0') != std::u16string::npos)
      std::abort();
    ParseIniLine(line);
  }
  // UTF-8 has no form for a lone surrogate (written as U+FFFD).
  const bool utf8 = first.encoding == IniEncoding::Utf8 || first.encoding == IniEncoding::Utf8Bom;
  if (utf8 && HasSurrogate(first)) return;
  const IniText second = DecodeIniText(EncodeIniText(first));
  if (second.lines != first.lines) std::abort();
}

// The names of a list result, each ended by 0.
std::vector<std::u16string> Names(const std::vector<char16_t>& buffer, std::uint32_t copied) {
  std::vector<std::u16string> names;
  std::u16string name;
  for (std::uint32_t i = 0; i < copied; ++i) {
    if (buffer[i] == u'\0') {
      names.push_back(name);
      name.clear();
    } else {
      name.push_back(buffer[i]);
    }
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vendrel::fuzz::FuzzInput input(data, size);
  const std::uint32_t buffer_size = input.U8();
  const auto file_bytes = input.Rest();
  CheckTextRoundTrip(file_bytes);

  vendrel::fuzz::MemoryFileSystem files;
  files.files[kFile].assign(file_bytes.begin(), file_bytes.end());
  IniFileProfile ini(files);

  // Small buffers for cutting, a large one for whole lists.
  std::vector<char16_t> small(buffer_size + 1u, u'\x7F');
  std::vector<char16_t> large(70000);
  const std::uint32_t got = ini.ReadString(nullptr, nullptr, nullptr, small.data(), buffer_size, kFile);
  if (buffer_size > 0 && got >= buffer_size) std::abort();
  if (small[buffer_size] != u'\x7F') std::abort();  // wrote past the buffer

  const std::uint32_t sections =
      ini.ReadString(nullptr, nullptr, nullptr, large.data(), static_cast<std::uint32_t>(large.size()), kFile);
  std::size_t lookups = 0;
  for (const auto& section : Names(large, sections)) {
    std::vector<char16_t> keys_buffer(70000);
    const std::uint32_t keys = ini.ReadString(section.c_str(), nullptr, u"", keys_buffer.data(),
                                              static_cast<std::uint32_t>(keys_buffer.size()), kFile);
    for (const auto& key : Names(keys_buffer, keys)) {
      if (++lookups > 64) break;
      ini.ReadString(section.c_str(), key.c_str(), u"none ", small.data(), buffer_size, kFile);
      if (small[buffer_size] != u'\x7F') std::abort();
    }
  }

  // A write shows up in the next read, and the file still decodes.
  if (ini.WriteString(u"FuzzSection", u"FuzzKey", u"written", kFile) == 1) {
    char16_t value[16] = {};
    ini.ReadString(u"FuzzSection", u"FuzzKey", u"", value, 16, kFile);
    if (std::u16string(value) != u"written") std::abort();
  }
  return 0;
}
