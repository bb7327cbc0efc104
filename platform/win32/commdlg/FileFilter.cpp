#include "FileFilter.h"

#include <fnmatch.h>

#include <cstring>

namespace plat::commdlg {
namespace {

std::vector<std::string> SplitPatterns(std::string_view list) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t end = list.find(';', pos);
    if (end == std::string_view::npos) end = list.size();
    std::string_view p = list.substr(pos, end - pos);
    while (!p.empty() && p.front() == ' ') p.remove_prefix(1);
    while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
    if (!p.empty()) out.emplace_back(p);
    pos = end + 1;
  }
  return out;
}

// fnmatch knows brackets; Windows patterns do not, so a '[' stands for itself.
std::string Escaped(std::string_view pattern) {
  std::string out;
  for (char c : pattern) {
    if (c == '[' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::vector<FilterPair> ParseFilter(const char* filter) {
  std::vector<FilterPair> pairs;
  if (!filter) return pairs;
  const char* p = filter;
  while (*p) {
    std::string text = p;
    p += text.size() + 1;
    if (!*p) break;  // text without patterns ends the list
    std::string patterns = p;
    p += patterns.size() + 1;
    FilterPair pair{text, SplitPatterns(patterns)};
    if (!pair.patterns.empty()) pairs.push_back(std::move(pair));
  }
  return pairs;
}

bool MatchesAny(std::string_view name, const std::vector<std::string>& patterns) {
  std::string n(name);
  for (const std::string& p : patterns) {
    if (p == "*.*" || p == "*") return true;
    if (fnmatch(Escaped(p).c_str(), n.c_str(), FNM_CASEFOLD) == 0) return true;
  }
  return false;
}

std::vector<std::string> WildcardsOf(std::string_view typed) {
  if (typed.find_first_of("*?") == std::string_view::npos) return {};
  return SplitPatterns(typed);
}

}  // namespace plat::commdlg
