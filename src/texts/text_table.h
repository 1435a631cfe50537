#pragma once
// The process-wide language texts: one slot per key, each at most kMaxTextLength characters,
// holding its built-in English value until the language file is loaded (language_file.h).
//
// Texts come from a file that anyone can edit, and several are format strings. They never reach
// a printf-style formatter: Format() fills them itself, and only when the text's conversions are
// those of its built-in value; any other text is shown as it stands, unformatted.
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "texts/text_format.h"
#include "texts/text_key.h"

namespace vendrel::texts {

class TextTable {
 public:
  TextTable();  // every slot at its built-in value

  const std::u16string& Text(TextKey key) const { return slots_[static_cast<std::size_t>(key)]; }
  // Stores text cut to kMaxTextLength units.
  void Set(TextKey key, std::u16string_view text);

  // The slot's text filled with args when its conversions are those of the built-in value;
  // otherwise the slot's text unformatted.
  std::u16string Format(TextKey key, std::initializer_list<FormatArg> args) const;

 private:
  std::array<std::u16string, kTextKeyCount> slots_;
};

// The table that the whole program reads; filled once at start-up before any window exists.
TextTable& ProcessTextTable();

}  // namespace vendrel::texts
