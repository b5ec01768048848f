#include "framework/handles_win.h"

namespace fw {

void ItemIdListTraits::Close(Type h) {
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator) {
    allocator->Free(h);
    allocator->Release();
  }
}

}  // namespace fw
