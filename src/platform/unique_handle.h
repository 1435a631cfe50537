#pragma once
// UniqueHandle: owns one handle of an outside API and releases it exactly once; ownership moves,
// never copies. What counts as "no handle" is the Traits' choice: most handles are empty when
// null, but kernel objects opened from files are empty when INVALID_HANDLE_VALUE (all bits set)
// too, and releasing either would be a fault. No Windows header, so the rule is tested natively.
#include <cstdint>
#include <utility>

namespace vendrel::platform {

// Handles whose only empty value is null.
template <typename Handle>
struct NullIsEmpty {
  static constexpr Handle Empty() { return Handle{}; }
  static bool IsEmpty(Handle h) { return h == Handle{}; }
};

// Pointer-like handles for which both null and the all-bits-set value (-1) mean "no handle".
template <typename Handle>
struct NullOrAllBitsIsEmpty {
  static constexpr Handle Empty() { return Handle{}; }
  static bool IsEmpty(Handle h) { return h == Handle{} || h == AllBits(); }
  static Handle AllBits() { return reinterpret_cast<Handle>(~std::uintptr_t{0}); }
};

template <typename Handle, auto Release, typename Traits = NullIsEmpty<Handle>>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return !Traits::IsEmpty(handle_); }
  void reset(Handle h = Traits::Empty()) {
    if (!Traits::IsEmpty(handle_)) Release(handle_);
    handle_ = h;
  }
  Handle release() { return std::exchange(handle_, Traits::Empty()); }

 private:
  Handle handle_ = Traits::Empty();
};

}  // namespace vendrel::platform
