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

#include "probe_windows.h"

namespace {

using vendrel::probes::StoredText;
using vendrel::probes::VisibleTopLevel;
using vendrel::probes::Wide;

int Click(const char* title, int id) {
  const std::wstring wanted = Wide(title);
  for (HWND window : VisibleTopLevel()) {
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
