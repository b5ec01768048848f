#include <gtest/gtest.h>

#include <utility>

#include "framework/handles_win.h"
#include "resources/resource.h"

namespace {

TEST(Handles, FontIsDeleted) {
  HFONT raw;
  {
    fw::CFont font(::CreateFontA(11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                 "MS Sans Serif"));
    raw = font.Get();
    ASSERT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_FONT));
  }
  EXPECT_EQ(::GetObjectType(raw), 0u);
}

TEST(Handles, IconIsDestroyed) {
  HICON raw;
  {
    fw::CIcon icon(static_cast<HICON>(::LoadImageA(
        ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MESSAGE), IMAGE_ICON, 16, 16, 0)));
    raw = icon.Get();
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(raw, &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
  ICONINFO info{};
  EXPECT_FALSE(::GetIconInfo(raw, &info));
}

TEST(Handles, MenuIsDestroyedOnceAfterAMove) {
  HMENU raw;
  {
    fw::CMenu first(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU)));
    raw = first.Get();
    ASSERT_TRUE(::IsMenu(raw));
    fw::CMenu second(std::move(first));
    EXPECT_FALSE(first);  // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(::IsMenu(raw));
  }
  EXPECT_FALSE(::IsMenu(raw));
}

TEST(Handles, RegistryKeyIsClosed) {
  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &raw), ERROR_SUCCESS);
  { fw::CRegKey key(raw); }
  DWORD subKeys = 0;
  EXPECT_NE(::RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
}

TEST(Handles, MutexHandleIsClosed) {
  HANDLE raw;
  {
    fw::CKernelHandle mutex(::CreateMutexA(nullptr, FALSE, nullptr));
    raw = mutex.Get();
    DWORD flags = 0;
    ASSERT_TRUE(::GetHandleInformation(raw, &flags));
  }
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(raw, &flags));
}

TEST(Handles, FindHandleNoneIsInvalidHandleValue) {
  fw::CFindHandle none(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none);
  WIN32_FIND_DATAA data;
  HANDLE raw;
  {
    fw::CFindHandle find(::FindFirstFileA("C:\\windows\\*", &data));
    ASSERT_TRUE(find);
    raw = find.Get();
    EXPECT_TRUE(::FindNextFileA(raw, &data));
  }
  EXPECT_FALSE(::FindNextFileA(raw, &data));
}

// Watches the process's task allocator, which the shell's allocator is.
class FreeSpy : public IMallocSpy {
 public:
  void* m_pFreed = nullptr;
  int m_nFrees = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
      *object = static_cast<IMallocSpy*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
  void* STDMETHODCALLTYPE PostAlloc(void* actual) override { return actual; }
  void* STDMETHODCALLTYPE PreFree(void* request, BOOL) override {
    if (request == m_pWatched) {
      m_pFreed = request;
      ++m_nFrees;
    }
    return request;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest,
                                      BOOL) override {
    *newRequest = request;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

  void* m_pWatched = nullptr;
};

TEST(Handles, ItemIdListGoesBackToTheShellAllocator) {
  FreeSpy spy;
  ASSERT_EQ(::CoRegisterMallocSpy(&spy), S_OK);
  LPITEMIDLIST pidl = nullptr;
  ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, &pidl), S_OK);
  spy.m_pWatched = pidl;
  {
    fw::CItemIdList list(pidl);
    char path[MAX_PATH] = {};
    EXPECT_TRUE(::SHGetPathFromIDListA(list.Get(), path));
    EXPECT_EQ(spy.m_nFrees, 0);
  }
  EXPECT_EQ(spy.m_nFrees, 1);
  EXPECT_EQ(spy.m_pFreed, pidl);
  ::CoRevokeMallocSpy();
}

}  // namespace
