#pragma once
// The one way to keep a value per thread. With this toolchain (mingw-w64 GCC,
// emulated thread-local storage, winpthreads) a thread_local object's
// destructor runs from a key destructor that can come after the thread's
// storage block is freed: it then reads its members from freed memory and
// frees whatever lies there. Every search once crashed the program at its end
// so, a 32 KB buffer kept by a thread_local std::unique_ptr. A thread's value
// therefore needs no destructor; whatever it points at is owned elsewhere.
//   thread_local platform::ThreadLocalSlot<Batch*> t_batch{};
// A test finds any thread_local in the program that is not one of these.

#include <type_traits>

namespace platform {

template <class T>
  requires std::is_trivially_destructible_v<T>
struct ThreadLocalSlot {
  T value;
};

}  // namespace platform
