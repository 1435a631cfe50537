#include "platform/ini_index.h"

#include <algorithm>

#include "platform/ini_text.h"

namespace vendrel::platform {

const IniIndex::Entry* IniIndex::Section::Find(std::u16string_view key) const {
  const auto it = first_entry.find(IniNameKey(key));
  return it == first_entry.end() ? nullptr : &entries[it->second];
}

IniIndex::IniIndex(std::span<const std::uint8_t> bytes) {
  const IniChars chars = DecodeIniChars(bytes);
  ForEachIniLine(chars.text, [this](std::u16string_view text) {
    IniLine line = ParseIniLine(text);
    if (line.kind == IniLineKind::Section) {
      first_section_.emplace(IniNameKey(line.name), sections_.size());
      sections_.push_back(Section{std::move(line.name), {}, {}});
    } else if (line.kind == IniLineKind::Entry && !sections_.empty()) {
      // Entries before the first header belong to no section.
      Section& section = sections_.back();
      section.first_entry.emplace(IniNameKey(line.name), section.entries.size());
      section.entries.push_back(Entry{std::move(line.name), std::move(line.value)});
    }
  });
}

const IniIndex::Section* IniIndex::Find(std::u16string_view section) const {
  const auto it = first_section_.find(IniNameKey(section));
  return it == first_section_.end() ? nullptr : &sections_[it->second];
}

std::shared_ptr<const IniIndex> IniIndexCache::Get(const std::u16string& path, std::uint64_t max_size) {
  // The stamp is taken before the read: a change in between shows up as a new stamp next time.
  const std::optional<FileStamp> stamp = files_.Stamp(path);
  if (stamp) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto it = kept_.find(path);
    if (it != kept_.end() && stamp->settled && it->second.stamp == *stamp) return it->second.index;
  }

  std::vector<std::uint8_t> bytes;
  if (files_.ReadWholeFile(path, max_size, bytes) != kReadOk) {
    Forget(path);
    return nullptr;
  }
  auto index = std::make_shared<const IniIndex>(bytes);
  if (!stamp || !stamp->settled) return index;

  const std::lock_guard<std::mutex> lock(mutex_);
  if (kept_.find(path) == kept_.end()) {
    order_.push_back(path);
    if (order_.size() > kMaxKept) {
      kept_.erase(order_.front());
      order_.pop_front();
    }
  }
  kept_[path] = Kept{*stamp, index};
  return index;
}

void IniIndexCache::Forget(const std::u16string& path) {
  const std::lock_guard<std::mutex> lock(mutex_);
  kept_.erase(path);
  order_.remove(path);
}

}  // namespace vendrel::platform
