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
// Exit code 0 unless the command line is wrong.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

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

std::wstring Wide(const char* text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

// The text stored with the window, without sending it a message: a busy program cannot hang us.
std::wstring StoredText(HWND window) {
  wchar_t buffer[2048] = {};
  const int n = InternalGetWindowText(window, buffer, static_cast<int>(std::size(buffer)));
  return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  const int n = GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
  return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

BOOL CALLBACK CollectVisibleTopLevel(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleTopLevel() {
  std::vector<HWND> windows;
  EnumWindows(CollectVisibleTopLevel, reinterpret_cast<LPARAM>(&windows));
  return windows;
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
  } else {
    std::fprintf(stderr, "usage: window_text_probe boxes | enabled TITLE ID | answer ID\n");
  }
  std::fflush(stdout);
  return result;
}
