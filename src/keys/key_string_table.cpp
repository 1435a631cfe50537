#include "keys/key_string_table.h"

namespace vendrel::keys {

namespace {
const std::u16string kNoText;
}  // namespace

bool KeyStringTable::Set(std::size_t index, std::u16string_view text) {
  if (index >= kRecordCount) return false;
  Clear(index);
  const std::size_t end = text.find(u'\0');
  if (end != std::u16string_view::npos) text = text.substr(0, end);
  texts_[index] = std::u16string(text);
  sizes_[index] = static_cast<std::uint32_t>((text.size() + 1) * 2);
  total_ += sizes_[index];
  return true;
}

void KeyStringTable::Clear(std::size_t index) {
  if (index >= kRecordCount) return;
  total_ -= sizes_[index];
  sizes_[index] = 0;
  texts_[index].clear();
  texts_[index].shrink_to_fit();
}

void KeyStringTable::ClearAll() {
  for (std::size_t i = 0; i < kRecordCount; ++i) Clear(i);
}

const std::u16string& KeyStringTable::Text(std::size_t index) const {
  return index < kRecordCount ? texts_[index] : kNoText;
}

}  // namespace vendrel::keys
