#pragma once
// RAII owners for the Win32 handles the windows hold. Each owner deletes or closes its handle
// exactly once; ownership moves, never copies.
#include <windows.h>

#include <string>
#include <utility>

namespace vendrel::controls {

template <typename Handle, auto Release>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle h = nullptr) {
    if (handle_ != nullptr) Release(handle_);
    handle_ = h;
  }
  Handle release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

inline void DeleteBitmap(HBITMAP h) { ::DeleteObject(h); }
inline void DeleteRegion(HRGN h) { ::DeleteObject(h); }
inline void DeleteFontHandle(HFONT h) { ::DeleteObject(h); }
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DeleteMemoryDc(HDC h) { ::DeleteDC(h); }

using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteBitmap>;
using UniqueRegion = UniqueHandle<HRGN, &DeleteRegion>;
using UniqueFont = UniqueHandle<HFONT, &DeleteFontHandle>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseKernelHandle>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenuHandle>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIconHandle>;
using UniqueMemoryDc = UniqueHandle<HDC, &DeleteMemoryDc>;

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

std::wstring WideFrom(const std::u16string& text);
std::u16string U16From(const wchar_t* text);

}  // namespace vendrel::controls
