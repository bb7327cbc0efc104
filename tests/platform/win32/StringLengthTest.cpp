// lstrlenA: the bytes of a string before its zero, and no fault on a null pointer.
#include <gtest/gtest.h>

#include "windows.h"

namespace {

TEST(StringLength, CountsBytesUpToTheZeroAndTakesNull) {
  EXPECT_EQ(lstrlenA("abc"), 3);
  EXPECT_EQ(lstrlenA(""), 0);
  EXPECT_EQ(lstrlenA(nullptr), 0);
  EXPECT_EQ(lstrlenA("日本"), 6);  // bytes, not characters
  const char embedded[] = {'a', 'b', '\0', 'c', '\0'};
  EXPECT_EQ(lstrlenA(embedded), 2);
}

}  // namespace
