// Sends a control's click to a window of the program the way the control itself reports it: a
// WM_COMMAND with BN_CLICKED and the control's handle, posted to the top-level window. It reaches
// a window that a modal dialog has disabled, which no mouse click does.
//
//   window_command_probe click TITLE ID     posts the click of control ID of the visible
//                                           top-level window titled TITLE; prints "posted" or
//                                           "missing"
// Exit code 0 unless the command line is wrong.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

// The title stored with the window, read without a message to its busy owner.
std::wstring StoredText(HWND window) {
  wchar_t buffer[512] = {};
  const int n = InternalGetWindowText(window, buffer, static_cast<int>(std::size(buffer)));
  return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

BOOL CALLBACK CollectVisibleTopLevel(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

int Click(const char* title, int id) {
  std::vector<HWND> windows;
  EnumWindows(CollectVisibleTopLevel, reinterpret_cast<LPARAM>(&windows));
  const std::wstring wanted = Wide(title);
  for (HWND window : windows) {
    if (StoredText(window) != wanted) continue;
    HWND control = GetDlgItem(window, id);
    if (control == nullptr) continue;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    std::printf("posted\n");
    return 0;
  }
  std::printf("missing\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  int result = 2;
  if (command == "click" && argc == 4) {
    result = Click(argv[2], std::atoi(argv[3]));
  } else {
    std::fprintf(stderr, "usage: window_command_probe click TITLE ID\n");
  }
  std::fflush(stdout);
  return result;
}
