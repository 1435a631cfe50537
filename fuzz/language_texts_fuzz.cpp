// Language texts: a language file (held in memory) loaded into a text table, every text formatted
// with arguments of several shapes, and the checked formatter on a format taken from the input.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/support/fuzz_input.h"
#include "fuzz/support/memory_file_system.h"
#include "platform/ini_profile_file.h"
#include "texts/language_file.h"
#include "texts/text_format.h"
#include "texts/text_table.h"

namespace {

using namespace vendrel::texts;
using vendrel::fuzz::FuzzInput;

void FormatEveryShape(const TextTable& table, TextKey key, std::u16string_view s) {
  const std::int64_t n = -1234567;
  for (const std::u16string& out :
       {table.Format(key, {}), table.Format(key, {n}), table.Format(key, {s}),
        table.Format(key, {n, n}), table.Format(key, {s, n}), table.Format(key, {n, s}),
        table.Format(key, {s, s}), table.Format(key, {n, n, n}), table.Format(key, {s, n, s})}) {
    // A filled text is bounded by its format and the arguments; width at most 99 each.
    if (out.size() > table.Text(key).size() + 3 * (99 + s.size() + 20)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::u16string format = input.Text16(300);
  const std::u16string text_arg = input.Text16(40);
  const std::int64_t number = static_cast<std::int64_t>(input.U16()) - 0x8000;

  std::u16string out;
  if (FormatChecked(format, {number, std::u16string_view(text_arg)}, out)) {
    if (out.size() > format.size() * 100 + text_arg.size() + 40) std::abort();
  }
  SameConversions(format, BuiltInText(TextKey::MACRO_DELAY_MS));

  vendrel::fuzz::MemoryFileSystem files;
  const auto file = input.Rest();
  files.files[u"language.ini"].assign(file.begin(), file.end());
  vendrel::platform::IniFileProfile ini(files);
  TextTable table;
  LoadTexts(ini, u"language.ini", table);
  LeadingInteger(table.Text(TextKey::MAIN_CAPTION));
  for (std::size_t k = 0; k < kTextKeyCount; ++k) {
    const auto key = static_cast<TextKey>(k);
    if (table.Text(key).size() > kMaxTextLength) std::abort();
    FormatEveryShape(table, key, text_arg);
  }
  return 0;
}
