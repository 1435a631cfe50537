#include "app/win32/composite_macro_list_tab.h"

#include <algorithm>
#include <cwchar>

#include "app/keyboard_view_logic.h"
#include "app/resource_ids.h"
#include "controls/wide_text.h"

namespace vendrel::app {
namespace {

constexpr std::uint32_t kMaxCycles = 0xFFFF;

}  // namespace

void CompositeMacroListTab::Fill() {
  HWND box = ::GetDlgItem(dialog_, IDC_CMP_MACRO_BOX);
  ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
  ids_.clear();
  std::vector<std::wstring> names;
  {
    auto lock = store_.Lock();
    for (const macros::MacroRecord& m : store_.macros) {
      ids_.push_back(m.id);
      names.push_back(controls::WideFrom(m.name));
    }
  }
  for (const std::wstring& name : names) {
    ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  ::SetDlgItemTextW(dialog_, IDC_CMP_CYCLES, L"1");
  const std::u16string delay = platform::ReadProfileString(
      registry_, std::u16string(kProfilesSection),
      texts_.Text(texts::TextKey::MACRO_ACTION_RECORD_DELAY), u"0", 16, u"");
  ::CheckDlgButton(dialog_, IDC_CMP_RECORD_DELAY,
                   delay == u"1" ? BST_CHECKED : BST_UNCHECKED);
}

void CompositeMacroListTab::Select(int position) {
  ::SendDlgItemMessageW(dialog_, IDC_CMP_MACRO_BOX, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void CompositeMacroListTab::SelectForOpening(std::uint32_t initial_value) {
  if (ids_.empty()) return;
  const auto it = std::find(ids_.begin(), ids_.end(), initial_value);
  Select(it == ids_.end() ? 0 : static_cast<int>(it - ids_.begin()));
}

void CompositeMacroListTab::SelectFirstSavingCurrent() {
  if (!ids_.empty()) Select(0);
}

std::uint16_t CompositeMacroListTab::CurrentMacroId() const {
  const LRESULT position = ::SendDlgItemMessageW(dialog_, IDC_CMP_MACRO_BOX, CB_GETCURSEL, 0, 0);
  if (position < 0 || static_cast<std::size_t>(position) >= ids_.size()) return 0;
  return ids_[static_cast<std::size_t>(position)];
}

std::uint16_t CompositeMacroListTab::Cycles() const {
  BOOL ok = FALSE;
  const UINT cycles = ::GetDlgItemInt(dialog_, IDC_CMP_CYCLES, &ok, FALSE);
  if (!ok || cycles == 0) return 1;  // an unreadable field repeats the macro once
  return static_cast<std::uint16_t>(std::min<UINT>(cycles, kMaxCycles));
}

void CompositeMacroListTab::Discard() {
  ids_.clear();
  ::SendDlgItemMessageW(dialog_, IDC_CMP_MACRO_BOX, CB_RESETCONTENT, 0, 0);
}

}  // namespace vendrel::app
