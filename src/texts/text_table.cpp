#include "texts/text_table.h"

namespace vendrel::texts {

TextTable::TextTable() {
  for (std::size_t i = 0; i < kTextKeyCount; ++i) slots_[i] = std::u16string(BuiltInText(static_cast<TextKey>(i)));
}

void TextTable::Set(TextKey key, std::u16string_view text) {
  slots_[static_cast<std::size_t>(key)] = std::u16string(text.substr(0, kMaxTextLength));
}

std::u16string TextTable::Format(TextKey key, std::initializer_list<FormatArg> args) const {
  const std::u16string& text = Text(key);
  std::u16string out;
  if (SameConversions(text, BuiltInText(key)) && FormatChecked(text, args, out)) return out;
  return text;
}

TextTable& ProcessTextTable() {
  static TextTable table;
  return table;
}

}  // namespace vendrel::texts
