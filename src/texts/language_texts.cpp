#include "texts/language_texts.h"

#include "texts/language_file.h"

namespace vendrel::texts {

std::u16string LanguageTexts::Text(TextKey key) const { return table_.Text(key); }

std::u16string LanguageTexts::Text(LiveTextKey key) const {
  const std::u16string section = LanguageSection(ini_, file_);
  std::u16string text = LookUpText(ini_, file_, section, std::u16string(LiveTextKeyName(key)));
  if (text.empty()) text = LiveTextBuiltIn(key);
  return text;
}

}  // namespace vendrel::texts
