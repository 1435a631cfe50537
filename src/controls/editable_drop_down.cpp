#include "controls/editable_drop_down.h"

#include <algorithm>

namespace vendrel::controls {
namespace {

std::wstring WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace

bool EditableDropDown::Attach(HWND dialog, int control_id) {
  combo_ = ::GetDlgItem(dialog, control_id);
  id_ = control_id;
  if (combo_ == nullptr) return false;
  return parent_hook_.Install(dialog, [this](UINT m, WPARAM w, LPARAM l) {
    return OnParentMessage(m, w, l);
  });
}

void EditableDropDown::SetEntries(std::span<const std::wstring> entries) {
  auto quiet = Quiet();
  ::SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& entry : entries) {
    ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
}

int EditableDropDown::InsertEntry(int at, const std::wstring& text) {
  auto quiet = Quiet();
  const int count = Count();
  const int index = at < 0 || at > count ? count : at;
  const auto inserted = ::SendMessageW(combo_, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(text.c_str()));
  return inserted < 0 ? -1 : static_cast<int>(inserted);
}

void EditableDropDown::RemoveEntry(int index) {
  if (index < 0 || index >= Count()) return;
  auto quiet = Quiet();
  ::SendMessageW(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void EditableDropDown::ReplaceEntry(int index, const std::wstring& text) {
  if (index < 0 || index >= Count()) return;
  auto quiet = Quiet();
  // Removing and inserting the selected entry resets the entry field: keep what is typed.
  const std::wstring typed = Text();
  DWORD start = 0, end = 0;
  ::SendMessageW(combo_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  const bool was_selected = Selection() == index;
  ::SendMessageW(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  ::SendMessageW(combo_, CB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
  if (was_selected) ::SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SetWindowTextW(combo_, typed.c_str());
  ::SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

void EditableDropDown::Clear() {
  auto quiet = Quiet();
  ::SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
}

int EditableDropDown::Count() const {
  return std::max(static_cast<int>(::SendMessageW(combo_, CB_GETCOUNT, 0, 0)), 0);
}

std::wstring EditableDropDown::Entry(int index) const {
  const auto length = ::SendMessageW(combo_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = ::SendMessageW(combo_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

int EditableDropDown::Selection() const {
  const auto index = ::SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void EditableDropDown::Select(int index) {
  auto quiet = Quiet();
  const int valid = index >= 0 && index < Count() ? index : -1;
  ::SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(valid), 0);
}

std::wstring EditableDropDown::Text() const { return WindowText(combo_); }

void EditableDropDown::SetText(const std::wstring& text) {
  auto quiet = Quiet();
  ::SetWindowTextW(combo_, text.c_str());
}

void EditableDropDown::Enable(bool enabled) { ::EnableWindow(combo_, enabled ? TRUE : FALSE); }

std::optional<LRESULT> EditableDropDown::OnParentMessage(UINT message, WPARAM wparam,
                                                         LPARAM lparam) {
  if (message == WM_NCDESTROY) combo_ = nullptr;  // the combo box went with its dialog
  if (message != WM_COMMAND || combo_ == nullptr || reinterpret_cast<HWND>(lparam) != combo_) {
    return std::nullopt;
  }
  switch (HIWORD(wparam)) {
    case CBN_SELCHANGE:
      if (!quiet_.Suppressed() && selection_changed_) selection_changed_(Selection());
      return 0;
    case CBN_EDITCHANGE:
      if (!quiet_.Suppressed() && text_changed_) text_changed_(Text());
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace vendrel::controls
