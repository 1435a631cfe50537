#pragma once
// RAII owners for the Win32 handles the windows hold. Each owner deletes or closes its handle
// exactly once; ownership moves, never copies.
#include <windows.h>

#include "controls/wide_text.h"
#include "platform/unique_handle.h"

namespace vendrel::controls {

template <typename Handle, auto Release>
using UniqueHandle = platform::UniqueHandle<Handle, Release>;

inline void DeleteBitmap(HBITMAP h) { ::DeleteObject(h); }
inline void DeleteRegion(HRGN h) { ::DeleteObject(h); }
inline void DeleteFontHandle(HFONT h) { ::DeleteObject(h); }
inline void DeleteBrush(HBRUSH h) { ::DeleteObject(h); }
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DeleteMemoryDc(HDC h) { ::DeleteDC(h); }
inline void DestroyWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void UnhookHook(HHOOK h) { ::UnhookWindowsHookEx(h); }

using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteBitmap>;
using UniqueRegion = UniqueHandle<HRGN, &DeleteRegion>;
using UniqueFont = UniqueHandle<HFONT, &DeleteFontHandle>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteBrush>;
// Kernel handles: CreateFileW and friends fail with INVALID_HANDLE_VALUE, others with null.
using UniqueKernelHandle =
    platform::UniqueHandle<HANDLE, &CloseKernelHandle, platform::NullOrAllBitsIsEmpty<HANDLE>>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenuHandle>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIconHandle>;
using UniqueMemoryDc = UniqueHandle<HDC, &DeleteMemoryDc>;
// Child windows a control creates for itself (cell editors); not for windows of a template.
using UniqueWindow = UniqueHandle<HWND, &DestroyWindowHandle>;
// Keyboard hooks of SetWindowsHookExW.
using UniqueHook = UniqueHandle<HHOOK, &UnhookHook>;

// Selects an object into a DC for a scope and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace vendrel::controls
