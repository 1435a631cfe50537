#pragma once
// What the Win32 probes share: command-line text as UTF-16, and the program's top-level windows
// found by their stored titles, without a message to an owner that may be busy.
#include <windows.h>

#include <string>
#include <vector>

namespace vendrel::probes {

// A UTF-8 command-line argument as UTF-16.
inline std::wstring Wide(const char* text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

// The text stored with the window (a title, a message box's text), read without a message to its
// owner: a busy program cannot hang the probe.
inline std::wstring StoredText(HWND window) {
  wchar_t buffer[2048] = {};
  const int n = InternalGetWindowText(window, buffer, static_cast<int>(std::size(buffer)));
  return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

inline BOOL CALLBACK CollectVisibleTopLevel(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The visible top-level windows of this desktop, front to back.
inline std::vector<HWND> VisibleTopLevel() {
  std::vector<HWND> windows;
  EnumWindows(CollectVisibleTopLevel, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace vendrel::probes
