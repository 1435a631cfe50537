#include "app/profile_dialog_logic.h"

#include <algorithm>

namespace vendrel::app {
namespace {

constexpr char16_t kFilter[] = u"(*.fwc)|*.fwc|(*.*)|*.*||";
constexpr char16_t kExtension[] = u"fwc";
constexpr char16_t kLoadPattern[] = u"\\*.fwc";
// More rows than any list a person keeps: a damaged count stops the clean-up of stale keys here.
constexpr int kMostStoredRows = 9999;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string Decimal(int value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  return digits;
}

// The row count a previous Apply left, 0 when there is none or it is no number.
int StoredRowCount(const platform::IniProfile& registry) {
  const std::u16string text = platform::ReadProfileString(registry, kProfileListSection,
                                                          ProfileListKey(0), u"", 8, u"");
  if (text.empty() || text.size() > 4) return 0;
  int count = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return 0;
    count = count * 10 + (c - u'0');
  }
  return std::min(count, kMostStoredRows);
}

}  // namespace

ProfileRow ProfileRowOfPath(std::u16string_view path) {
  std::size_t name_start = path.size();
  while (name_start > 0 && !IsSeparator(path[name_start - 1])) --name_start;
  // "C:name" has its drive for a folder.
  if (name_start == 0 && path.size() >= 2 && path[1] == u':') name_start = 2;
  std::u16string_view name = path.substr(name_start);
  const std::size_t dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos && dot > 0) name = name.substr(0, dot);
  return {std::u16string(name), std::u16string(path.substr(0, name_start))};
}

std::u16string StoredPathOfRow(const ProfileRow& row) { return row.folder + row.name + u".fwc"; }

std::u16string ProfileListKey(int index) {
  std::u16string digits = Decimal(index);
  if (digits.size() < 2) digits.insert(digits.begin(), u'0');
  return u"PROFILE" + digits;
}

ProfileDialogLogic::ProfileDialogLogic(ProfileDialogView& view, ProfileDialogHost& host,
                                       platform::FileDialogs& dialogs,
                                       platform::IniProfile& registry,
                                       const texts::TextSource& texts)
    : view_(view), host_(host), dialogs_(dialogs), registry_(registry), texts_(texts) {}

void ProfileDialogLogic::Open() {
  open_ = true;
  rows_.clear();
  checked_ = -1;
  view_.ClearRows();
  // One cache file holds every profile, so each of the keyboard's profiles shows that file.
  const ProfileRow cache = ProfileRowOfPath(host_.CacheFilePath());
  for (int i = 0; i < kKeyboardProfileRows; ++i) AppendRow(cache);
  const int active = host_.ActiveProfile();
  if (active >= 0 && active < kKeyboardProfileRows) Check(active);
  SetDirty(false);
}

void ProfileDialogLogic::AppendRow(const ProfileRow& row) {
  rows_.push_back(row);
  view_.AppendRow(row, rows_.size() <= static_cast<std::size_t>(kKeyboardProfileRows));
}

void ProfileDialogLogic::Check(int row) {
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
    if (i != row) view_.SetChecked(i, false);
  }
  if (row >= 0) view_.SetChecked(row, true);
  checked_ = row;
}

void ProfileDialogLogic::SetDirty(bool dirty) {
  dirty_ = dirty;
  view_.EnableApply(dirty);
}

std::u16string ProfileDialogLogic::ProposedInUserFolder(std::u16string_view name) {
  return host_.UserFolder() + std::u16string(name);
}

void ProfileDialogLogic::OnAdd() {
  platform::FileDialogRequest request;
  request.save = true;
  request.filter = kFilter;
  request.default_extension = kExtension;
  request.proposed = ProposedInUserFolder(texts_.Text(texts::TextKey::PROFILE_NEW));
  request.overwrite_prompt = true;
  const std::optional<std::u16string> path = dialogs_.Choose(request);
  if (!path || path->empty()) return;
  if (!host_.CreateDefaultSettingsFile(*path)) {
    view_.ShowMessage(texts_.Text(texts::TextKey::EXTRA_PROFILE_FILE_NOT_CREATED));
    return;
  }
  AppendRow(ProfileRowOfPath(*path));
  SetDirty(true);
}

void ProfileDialogLogic::OnLoad() {
  platform::FileDialogRequest request;
  request.filter = kFilter;
  request.default_extension = kExtension;
  request.proposed = ProposedInUserFolder(kLoadPattern);
  const std::optional<std::u16string> path = dialogs_.Choose(request);
  if (!path || path->empty()) return;
  AppendRow(ProfileRowOfPath(*path));  // the file is named, not read
  SetDirty(true);
}

void ProfileDialogLogic::OnDelete() {
  const int row = view_.SelectedRow();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_.erase(rows_.begin() + row);
  view_.RemoveRow(row);
  if (checked_ == row) {
    checked_ = -1;
  } else if (checked_ > row) {
    --checked_;
  }
  const int count = static_cast<int>(rows_.size());
  if (count > 0) view_.SelectRow(std::min(row, count - 1));
  SetDirty(true);
}

void ProfileDialogLogic::OnRowCheck(int row, bool checked) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  if (!checked) {
    if (row != checked_) return;
    checked_ = -1;
    SetDirty(true);
    return;
  }
  if (row >= kKeyboardProfileRows) {
    // Sending the keyboard a profile it does not have would leave it and the program disagreeing.
    view_.SetChecked(row, false);
    view_.ShowMessage(texts_.Text(texts::TextKey::EXTRA_PROFILE_ROW_NOT_ON_KEYBOARD));
    return;
  }
  if (row == checked_) return;
  Check(row);
  SetDirty(true);
}

void ProfileDialogLogic::WriteList() {
  const int previous = StoredRowCount(registry_);
  const int count = static_cast<int>(rows_.size());
  for (int i = 0; i < count; ++i) {
    registry_.WriteString(kProfileListSection, ProfileListKey(i + 1).c_str(),
                          StoredPathOfRow(rows_[static_cast<std::size_t>(i)]).c_str(), nullptr);
  }
  // Rows a longer list left behind would otherwise read as part of this one.
  for (int i = count + 1; i <= previous; ++i) {
    registry_.WriteString(kProfileListSection, ProfileListKey(i).c_str(), nullptr, nullptr);
  }
  registry_.WriteString(kProfileListSection, ProfileListKey(0).c_str(), Decimal(count).c_str(),
                        nullptr);
}

void ProfileDialogLogic::Apply() {
  WriteList();
  if (checked_ >= 0 && checked_ < kKeyboardProfileRows) host_.SetActiveProfile(checked_);
  host_.RefreshCache();
  host_.RebuildProfileMenu();
  SetDirty(false);
  host_.DisableMainApply();
}

void ProfileDialogLogic::Ok() {
  Apply();
  Cancel();
}

void ProfileDialogLogic::Cancel() {
  if (!open_) return;
  SetDirty(false);
  open_ = false;
  view_.EndDialog();
}

void ProfileDialogLogic::OnSceneSwitched(int profile) {
  if (!open_) return;
  if (profile >= 0 && profile < kKeyboardProfileRows &&
      profile < static_cast<int>(rows_.size())) {
    Check(profile);
  }
  SetDirty(false);
}

}  // namespace vendrel::app
