// Windows command lines: one string that the started program splits into words by
// the C run-time's rules (blanks separate, quotes group, backslashes escape quotes).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The program word: quotes group (without escapes) up to the first blank outside
// them. *rest gets the text after it.
std::string ProgramWord(std::string_view commandLine, std::string_view* rest);
// The arguments: 2n backslashes and a quote give n backslashes and toggle quoting;
// 2n+1 backslashes and a quote give n backslashes and a literal quote; backslashes
// elsewhere are literal; "" inside quotes is a literal quote.
std::vector<std::string> SplitArguments(std::string_view text);

}  // namespace plat
