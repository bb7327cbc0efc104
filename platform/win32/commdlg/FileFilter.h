// Filter strings of the file dialogs and the names they let through.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace plat::commdlg {

struct FilterPair {
  std::string text;                   // what the type list shows
  std::vector<std::string> patterns;  // "*.jpg", "*.jpeg" ...
};

// Splits "text\0p1;p2\0text\0p3\0\0" into pairs; a pair without patterns is dropped.
std::vector<FilterPair> ParseFilter(const char* filter);

// True when `name` matches one of `patterns` without regard to case. "*.*" and "*"
// match every name, also one without a dot.
bool MatchesAny(std::string_view name, const std::vector<std::string>& patterns);

// The patterns of a typed name such as "*.txt;a?.bmp"; empty when it holds no wildcard.
std::vector<std::string> WildcardsOf(std::string_view typed);

}  // namespace plat::commdlg
