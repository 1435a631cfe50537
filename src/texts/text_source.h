#pragma once
// The one way the windows get a language text: by a typed key, whether the text was loaded at
// start-up (TextKey) or is read at the moment of use (LiveTextKey).
#include <string>

#include "texts/live_text_key.h"
#include "texts/text_key.h"

namespace vendrel::texts {

class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual std::u16string Text(TextKey key) const = 0;
  virtual std::u16string Text(LiveTextKey key) const = 0;
};

}  // namespace vendrel::texts
