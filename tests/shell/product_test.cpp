#include "resources/product.h"

#include <gtest/gtest.h>

// The main window's class and the Run value are named by the title without
// its blanks: a title with blanks anywhere still gives one word.
TEST(Product, NamesFromTheTitleLoseTheirBlanks) {
  EXPECT_EQ(WithoutBlanks(g_strTitle), "Quillory");
  EXPECT_EQ(WithoutBlanks(" Quill ory  Tool "), "QuilloryTool");
  EXPECT_EQ(WithoutBlanks(""), "");
}
