#include "shell/program_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramFolder, IsTheExecutablesFolderWithItsBackslash) {
  EXPECT_EQ(FolderOfModulePath("C:\\Tools\\quillory.exe"), "C:\\Tools\\");
}

// Another file name changes nothing: the name was never searched for.
TEST(ProgramFolder, AnyFileName) {
  EXPECT_EQ(FolderOfModulePath("C:\\Tools\\renamed copy.exe"), "C:\\Tools\\");
}

TEST(ProgramFolder, BlanksAndDotsInFolders) {
  EXPECT_EQ(FolderOfModulePath("C:\\Program Files\\Quill.ory v1\\quillory.exe"),
            "C:\\Program Files\\Quill.ory v1\\");
}

TEST(ProgramFolder, RootOfADrive) { EXPECT_EQ(FolderOfModulePath("D:\\quillory.exe"), "D:\\"); }

TEST(ProgramFolder, NetworkAndLongPaths) {
  EXPECT_EQ(FolderOfModulePath("\\\\server\\share\\bin\\quillory.exe"), "\\\\server\\share\\bin\\");
  EXPECT_EQ(FolderOfModulePath("\\\\?\\C:\\deep\\quillory.exe"), "\\\\?\\C:\\deep\\");
}

TEST(ProgramFolder, BareNameIsTheCurrentFolder) {
  EXPECT_EQ(FolderOfModulePath("quillory.exe"), ".\\");
  EXPECT_EQ(FolderOfModulePath(""), ".\\");
}

}  // namespace
