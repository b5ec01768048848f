#pragma once
// One move-only owner for every kind of handle. Traits name the handle type,
// its "none" value and how to release it:
//
//   struct FontTraits {
//     using Type = HFONT;
//     static Type Invalid() { return nullptr; }
//     static void Close(Type h) { DeleteObject(h); }
//   };
//
// Copying is forbidden on purpose: a copyable owner releases twice.

#include <utility>

namespace fw {

template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : m_handle(handle) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Type Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != Traits::Invalid(); }

  // Releases the current handle, if any, and takes the new one.
  void Reset(Type handle = Traits::Invalid()) {
    Type old = std::exchange(m_handle, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // Gives the handle up without releasing it.
  [[nodiscard]] Type Release() { return std::exchange(m_handle, Traits::Invalid()); }

 private:
  Type m_handle = Traits::Invalid();
};

}  // namespace fw
