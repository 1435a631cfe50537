// Reads the program's windows the way the scenarios cannot through X11: the text of the message
// boxes on the screen, whether a control of the main window is enabled, and answers a message box
// by its button. Runs in the same Wine prefix as the program; reading another process's window
// text and style needs no help from that process.
//
//   window_text_probe boxes                 one line per visible message box: "box TITLE|TEXT"
//   window_text_probe enabled TITLE ID      "enabled", "disabled" or "missing" for control ID of
//                                           the visible top-level window titled TITLE
//   window_text_probe answer ID             clicks button ID (1 OK, 6 Yes, 7 No) of every visible
//                                           message box that has one; prints "answered N"
//   window_text_probe rows TITLE ID         one line per row of list view ID of the window titled
//                                           TITLE: its cells joined by "|"; "missing" without it
//   window_text_probe cell TITLE ID ROW COL "X Y W H" of that cell on the screen, or "missing"
//   window_text_probe combo TITLE ID        one line per entry of combo box ID of the window
//                                           titled TITLE, then "selected N" (-1: none);
//                                           "missing" without it
//   window_text_probe combo-item TITLE ID N "X Y W H" of entry N on the screen in the combo's
//                                           dropped list; "closed" while the list is not shown,
//                                           "above" or "below" while the entry is scrolled out
//                                           of the list's view, "missing" without such an entry
//   window_text_probe visible TITLE ID...   "visible", "hidden" or "missing", one line per ID
//   window_text_probe checks TITLE ID       the check-box image of every row of list view ID, on
//                                           one line: 0 no box, 1 unchecked, 2 checked
// Exit code 0 unless the command line is wrong.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "probe_windows.h"

namespace {

using vendrel::probes::StoredText;
using vendrel::probes::VisibleTopLevel;
using vendrel::probes::Wide;

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  const int n = GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
  return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

HWND MessageBoxText(HWND window) {
  if (ClassOf(window) != L"#32770") return nullptr;
  HWND text = GetDlgItem(window, kMessageBoxTextId);
  if (text == nullptr || _wcsicmp(ClassOf(text).c_str(), L"Static") != 0) return nullptr;
  return text;
}

int ListBoxes() {
  for (HWND window : VisibleTopLevel()) {
    HWND text = MessageBoxText(window);
    if (text == nullptr) continue;
    std::wstring body = StoredText(text);
    for (wchar_t& c : body) {
      if (c == L'\r' || c == L'\n') c = L' ';
    }
    std::printf("box %s|%s\n", Utf8(StoredText(window)).c_str(), Utf8(body).c_str());
  }
  return 0;
}

int ControlEnabled(const char* title, int id) {
  const std::wstring wanted = Wide(title);
  for (HWND window : VisibleTopLevel()) {
    if (StoredText(window) != wanted) continue;
    HWND control = GetDlgItem(window, id);
    if (control == nullptr) continue;
    std::printf("%s\n", IsWindowEnabled(control) ? "enabled" : "disabled");
    return 0;
  }
  std::printf("missing\n");
  return 0;
}

int Answer(int id) {
  int answered = 0;
  for (HWND window : VisibleTopLevel()) {
    if (MessageBoxText(window) == nullptr) continue;
    HWND button = GetDlgItem(window, id);
    if (button == nullptr) continue;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ++answered;
  }
  std::printf("answered %d\n", answered);
  return 0;
}

HWND VisibleControl(const char* title, int id) {
  const std::wstring wanted = Wide(title);
  for (HWND window : VisibleTopLevel()) {
    if (StoredText(window) != wanted) continue;
    if (HWND control = GetDlgItem(window, id)) return control;
  }
  return nullptr;
}

// Memory inside the process that owns a window: list view messages carry pointers, which that
// process must be able to follow.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) {
      memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    if (memory_ != nullptr) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  bool Ok() const { return memory_ != nullptr; }
  char* At(std::size_t offset) const { return static_cast<char*>(memory_) + offset; }
  bool Write(std::size_t offset, const void* data, std::size_t size) const {
    return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
  }

 private:
  std::size_t size_;
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

int ListRows(const char* title, int id) {
  HWND list = VisibleControl(title, id);
  if (list == nullptr) {
    std::printf("missing\n");
    return 0;
  }
  constexpr std::size_t kChars = 512;
  RemoteBuffer remote(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!remote.Ok()) {
    std::printf("missing\n");
    return 0;
  }
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
      item.cchTextMax = static_cast<int>(kChars);
      remote.Write(0, &item, sizeof(item));
      const auto copied = static_cast<std::size_t>(
          SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.At(0))));
      std::wstring text(std::min(copied, kChars - 1), L'\0');
      remote.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
      if (column > 0) line += '|';
      line += Utf8(text);
    }
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int CellRect(const char* title, int id, int row, int column) {
  HWND list = VisibleControl(title, id);
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_BOUNDS;
  RemoteBuffer remote(list, sizeof(RECT));
  const bool found = list != nullptr && remote.Ok() && remote.Write(0, &cell, sizeof(cell)) &&
                     SendMessageW(list, LVM_GETSUBITEMRECT, row,
                                  reinterpret_cast<LPARAM>(remote.At(0))) != FALSE &&
                     remote.Read(0, &cell, sizeof(cell));
  if (!found) {
    std::printf("missing\n");
    return 0;
  }
  // Column 0's rectangle is the whole row's: it ends where column 1 begins.
  if (column == 0) {
    RECT next{};
    next.top = 1;
    next.left = LVIR_BOUNDS;
    if (remote.Write(0, &next, sizeof(next)) &&
        SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(remote.At(0))) &&
        remote.Read(0, &next, sizeof(next))) {
      cell.right = next.left;
    }
  }
  POINT origin{cell.left, cell.top};
  ClientToScreen(list, &origin);
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, cell.right - cell.left, cell.bottom - cell.top);
  return 0;
}

// The system carries the text and rectangle messages of combo and list boxes across processes,
// so their pointers may point into this process.
int ComboEntries(const char* title, int id) {
  HWND combo = VisibleControl(title, id);
  if (combo == nullptr || _wcsicmp(ClassOf(combo).c_str(), L"ComboBox") != 0) {
    std::printf("missing\n");
    return 0;
  }
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    if (length == CB_ERR) continue;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    std::printf("%s\n", Utf8(text).c_str());
  }
  std::printf("selected %d\n", static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
  return 0;
}

// The combo box's dropped list. Where GetComboBoxInfo does not reach into another process (Wine),
// the combo box fills the structure in memory of its own process.
HWND DroppedList(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(combo, &info)) return info.hwndList;
  RemoteBuffer remote(combo, sizeof(info));
  if (!remote.Ok() || !remote.Write(0, &info, sizeof(info)) ||
      !SendMessageW(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(remote.At(0))) ||
      !remote.Read(0, &info, sizeof(info))) {
    return nullptr;
  }
  return info.hwndList;
}

int ComboItemRect(const char* title, int id, int index) {
  HWND combo = VisibleControl(title, id);
  HWND list = combo != nullptr ? DroppedList(combo) : nullptr;
  if (list == nullptr || index < 0 ||
      index >= static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0))) {
    std::printf("missing\n");
    return 0;
  }
  if (!SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) || !IsWindowVisible(list)) {
    std::printf("closed\n");
    return 0;
  }
  RECT item{};
  RECT view{};
  if (SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR ||
      !GetClientRect(list, &view)) {
    std::printf("missing\n");
    return 0;
  }
  // A click must land on the entry itself, so an entry partly out of view counts as out of it.
  if (item.top < view.top) {
    std::printf("above\n");
    return 0;
  }
  if (item.bottom > view.bottom) {
    std::printf("below\n");
    return 0;
  }
  POINT origin{item.left, item.top};
  ClientToScreen(list, &origin);
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, item.right - item.left,
              item.bottom - item.top);
  return 0;
}

int ControlsVisible(const char* title, const std::vector<int>& ids) {
  for (const int id : ids) {
    HWND control = VisibleControl(title, id);
    std::printf("%s\n", control == nullptr        ? "missing"
                         : IsWindowVisible(control) ? "visible"
                                                    : "hidden");
  }
  return 0;
}

int CheckImages(const char* title, int id) {
  HWND list = VisibleControl(title, id);
  if (list == nullptr) {
    std::printf("missing\n");
    return 0;
  }
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::string line;
  for (int row = 0; row < rows; ++row) {
    const auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    if (row > 0) line += ' ';
    line += std::to_string((state & LVIS_STATEIMAGEMASK) >> 12);
  }
  std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  int result = 2;
  if (command == "boxes" && argc == 2) {
    result = ListBoxes();
  } else if (command == "enabled" && argc == 4) {
    result = ControlEnabled(argv[2], std::atoi(argv[3]));
  } else if (command == "answer" && argc == 3) {
    result = Answer(std::atoi(argv[2]));
  } else if (command == "rows" && argc == 4) {
    result = ListRows(argv[2], std::atoi(argv[3]));
  } else if (command == "cell" && argc == 6) {
    result = CellRect(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  } else if (command == "combo" && argc == 4) {
    result = ComboEntries(argv[2], std::atoi(argv[3]));
  } else if (command == "combo-item" && argc == 5) {
    result = ComboItemRect(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  } else if (command == "visible" && argc >= 4) {
    std::vector<int> ids;
    for (int i = 3; i < argc; ++i) ids.push_back(std::atoi(argv[i]));
    result = ControlsVisible(argv[2], ids);
  } else if (command == "checks" && argc == 4) {
    result = CheckImages(argv[2], std::atoi(argv[3]));
  } else {
    std::fprintf(stderr,
                 "usage: window_text_probe boxes | enabled TITLE ID | answer ID | rows TITLE ID |"
                 " cell TITLE ID ROW COL | combo TITLE ID | combo-item TITLE ID N |"
                 " visible TITLE ID... | checks TITLE ID\n");
  }
  std::fflush(stdout);
  return result;
}
