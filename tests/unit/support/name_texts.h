#pragma once
// Texts for tests: every text is its key's name in angle brackets, so that a test sees which text
// was chosen without depending on a language.
#include <string>
#include <string_view>

#include "texts/live_text_key.h"
#include "texts/text_key.h"
#include "texts/text_source.h"

namespace vendrel::testing {

inline std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

class NameTexts final : public texts::TextSource {
 public:
  std::u16string Text(texts::TextKey key) const override {
    return u"<" + std::u16string(texts::TextKeyName(key)) + u">";
  }
  std::u16string Text(texts::LiveTextKey key) const override {
    return u"<" + std::u16string(texts::LiveTextKeyName(key)) + u">";
  }
};

}  // namespace vendrel::testing
