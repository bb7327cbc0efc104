#include <gtest/gtest.h>

#include "kernel/CommandLine.h"

namespace {

TEST(CommandLine, ArgumentsSplitTheWindowsWay) {
  struct Case {
    const char* text;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"", {}},
      {"  a\tb  c ", {"a", "b", "c"}},
      {R"("with blank" plain)", {"with blank", "plain"}},
      {R"(in"side quo"tes)", {"inside quotes"}},
      {R"(a\\b c\d)", {R"(a\\b)", R"(c\d)"}},             // backslashes alone are literal
      {R"("trail\\" next)", {"trail\\", "next"}},          // 2n backslashes + quote: n, quote ends
      {R"(say\"hi\")", {R"(say"hi")"}},                    // 2n+1: n and a literal quote
      {R"(x\\\"y)", {R"(x\"y)"}},
      {R"("" "")", {"", ""}},                             // empty arguments survive
      {R"("a ""b"" c")", {R"(a "b" c)"}},                  // "" inside quotes is a quote
      {R"("open ended)", {"open ended"}},
      {R"(C:\Image\a.jpg "C:\My Pictures\")", {R"(C:\Image\a.jpg)", R"(C:\My Pictures")"}},
      {"日本語 \"名 前\"", {"日本語", "名 前"}},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::SplitArguments(c.text), c.args) << c.text;
}

TEST(CommandLine, ProgramWordTakesQuotesWithoutEscapes) {
  struct Case {
    const char* line;
    const char* word;
    const char* rest;
  };
  const Case cases[] = {
      {R"("C:\Program Files\tool.exe" /x)", R"(C:\Program Files\tool.exe)", " /x"},
      {R"(C:\tools\a.exe "b c")", R"(C:\tools\a.exe)", R"( "b c")"},
      {R"(  notepad)", "notepad", ""},
      {R"("C:\dir\"x y)", R"(C:\dir\x)", " y"},  // a backslash does not escape here
  };
  for (const Case& c : cases) {
    std::string_view rest;
    EXPECT_EQ(plat::ProgramWord(c.line, &rest), c.word) << c.line;
    EXPECT_EQ(rest, c.rest) << c.line;
  }
}

}  // namespace
