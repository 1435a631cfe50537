#pragma once
// The program's TextSource: loaded texts from the table, the others from the language file's
// chosen section at the moment they are asked for.
#include <string>

#include "platform/ini_profile.h"
#include "texts/text_source.h"
#include "texts/text_table.h"

namespace vendrel::texts {

class LanguageTexts final : public TextSource {
 public:
  // All three outlive this object.
  LanguageTexts(const TextTable& table, const platform::IniProfile& ini, const std::u16string& file)
      : table_(table), ini_(ini), file_(file) {}

  std::u16string Text(TextKey key) const override;
  std::u16string Text(LiveTextKey key) const override;

 private:
  const TextTable& table_;
  const platform::IniProfile& ini_;
  const std::u16string& file_;
};

}  // namespace vendrel::texts
