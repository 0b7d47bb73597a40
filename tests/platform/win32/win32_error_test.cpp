#include "platform/win32/win32_error.h"

#include <gtest/gtest.h>

namespace nx7::win32 {
namespace {

TEST(Win32Error, NamesTheCallTheCodeAndTheSystemMessage) {
  const std::string text = ErrorText("CreateFileW", ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text.rfind("CreateFileW failed (2): ", 0), 0u) << text;
  EXPECT_GT(text.size(), std::string("CreateFileW failed (2): ").size());
  EXPECT_NE(text.back(), '\n');
}

}  // namespace
}  // namespace nx7::win32
