#pragma once
// Backup, sync, indexing and virus scanners open a fresh file for a moment:
// a call that fails because of them is tried again for about a second.

#include <windows.h>

#include <algorithm>
#include <initializer_list>

namespace platform {

inline constexpr unsigned kHeldRetryMilliseconds = 1000;

// Tries `attempt` again while it fails with one of the `held` errors, for
// up to kHeldRetryMilliseconds. Returns the last error, 0 on success.
template <typename Attempt>
DWORD RetryWhileHeld(Attempt attempt, std::initializer_list<DWORD> held) {
  const ULONGLONG deadline = GetTickCount64() + kHeldRetryMilliseconds;
  for (;;) {
    if (attempt()) return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    if (std::find(held.begin(), held.end(), error) == held.end() || GetTickCount64() >= deadline)
      return error;
    Sleep(50);
  }
}

}  // namespace platform
