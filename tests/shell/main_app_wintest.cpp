#include <gtest/gtest.h>

#include <string>

#include "shell/main_app_win.h"
#include "shell/program_folder.h"

namespace {

std::string UniqueName(const char* what) {
  return std::string("QuilloryTest") + what + std::to_string(::GetCurrentProcessId());
}

TEST(SingleInstanceMutex, TheSecondToAskFindsItExisting) {
  const std::string name = UniqueName("Mutex");
  {
    CSingleInstanceMutex first(name.c_str());
    EXPECT_FALSE(first.AlreadyExists());
    CSingleInstanceMutex second(name.c_str());
    EXPECT_TRUE(second.AlreadyExists());
    second.Close();
    first.Close();
  }
  // Once every handle is closed the name is free again.
  CSingleInstanceMutex again(name.c_str());
  EXPECT_FALSE(again.AlreadyExists());
}

TEST(SingleInstanceMutex, OneThisUserMayNotOpenStillExists) {
  // As when the first instance runs elevated: a DACL that grants nothing.
  const std::string name = UniqueName("LockedMutex");
  SECURITY_DESCRIPTOR descriptor;
  ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ACL acl;
  ASSERT_TRUE(::InitializeAcl(&acl, sizeof acl, ACL_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  HANDLE locked = ::CreateMutexA(&attributes, TRUE, name.c_str());
  ASSERT_NE(locked, nullptr);
  {
    CSingleInstanceMutex second(name.c_str());
    EXPECT_TRUE(second.AlreadyExists());
  }
  ::CloseHandle(locked);
}

TEST(EnterProgramFolder, IsTheExecutablesFolderAndTheCurrentOne) {
  char before[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, before);
  ::SetCurrentDirectoryA("C:\\");

  const std::string folder = EnterProgramFolder();
  char module[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, module, MAX_PATH);
  EXPECT_EQ(folder, FolderOfModulePath(module));
  EXPECT_EQ(folder.back(), '\\');
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(std::string(current) + "\\", folder);

  ::SetCurrentDirectoryA(before);
}

// Another program's window with the same title, such as an Explorer window
// on a folder named so, is not the first instance: it is not asked to show
// itself.
TEST(HandOver, TakesNoWindowOfAnotherClassWithTheTitle) {
  const std::string title = UniqueName("Title");
  HWND stranger = ::CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, nullptr, nullptr);
  ASSERT_NE(stranger, nullptr);
  HandOverToFirstInstance(title);
  MSG message;
  EXPECT_FALSE(::PeekMessageA(&message, stranger, 0, 0, PM_REMOVE));
  EXPECT_FALSE(::IsWindowVisible(stranger));
  ::DestroyWindow(stranger);
}

}  // namespace
