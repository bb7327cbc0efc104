#include <gtest/gtest.h>

#include <string>

#include "windows.h"

namespace {

TEST(CodePage, NarrowTextBecomesUtf16) {
  struct Case {
    const char* text;
    int count;
    std::u16string wide;
  } cases[] = {
      {"C:\\Pics", -1, std::u16string(u"C:\\Pics\0", 8)},  // -1 takes the NUL along
      {"C:\\Pics", 2, u"C:"},
      {"画像", -1, std::u16string(u"画像\0", 3)},
      {"\xF0\x9F\x93\xB7", 4, u"\U0001F4F7"},  // a surrogate pair
      {"a\xFF", 2, u"a\uFFFD"},                // a stray byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int needed = MultiByteToWideChar(CP_ACP, 0, c.text, c.count, nullptr, 0);
    ASSERT_EQ(needed, static_cast<int>(c.wide.size()));
    std::u16string out(static_cast<size_t>(needed), u'#');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, c.text, c.count, out.data(), needed), needed);
    EXPECT_EQ(out, c.wide);
  }
}

TEST(CodePage, RefusesWhatItCannotDo) {
  WCHAR small[2] = {u'x', u'y'};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, small, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 0);  // no other code page here
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
