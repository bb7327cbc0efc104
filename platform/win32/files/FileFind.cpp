#include "files/FileFind.h"

#include <dirent.h>

#include <algorithm>
#include <map>

#include "DrivePath.h"
#include "WinError.h"

namespace plat::file {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Length of the UTF-8 character that starts at s[i] (1 for stray bytes).
size_t CharLength(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  return std::min(n, s.size() - i);
}

bool Glob(std::string_view p, std::string_view n) {
  size_t pi = 0, ni = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (pi < p.size() && p[pi] == '?') {
      ++pi;
      ni += CharLength(n, ni);
    } else if (pi < p.size() && Upper(p[pi]) == Upper(n[ni])) {
      ++pi;
      ++ni;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      starN += CharLength(n, starN);
      ni = starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

bool IsShortChar(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

// Upper-cased, with blanks and dots dropped and characters 8.3 names refuse replaced;
// whole UTF-8 characters are kept while they fit in `limit` bytes.
std::string Clean(std::string_view s, size_t limit) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    size_t n = CharLength(s, i);
    std::string_view ch = s.substr(i, n);
    i += n;
    if (ch == " " || ch == ".") continue;
    std::string piece = n == 1 ? std::string(1, IsShortChar(ch[0]) ? Upper(ch[0]) : '_') : std::string(ch);
    if (out.size() + piece.size() > limit) break;
    out += piece;
  }
  return out;
}

struct Parts {
  std::string stem, ext;
};

Parts SplitLong(std::string_view name) {
  size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot == 0) return {Clean(name, 255), ""};
  return {Clean(name.substr(0, dot), 255), Clean(name.substr(dot + 1), 3)};
}

std::string Truncate(const std::string& s, size_t limit) { return Clean(s, limit); }

bool LessNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (Upper(a[i]) != Upper(b[i]))
      return static_cast<unsigned char>(Upper(a[i])) < static_cast<unsigned char>(Upper(b[i]));
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  DIR* d = opendir(folder.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) names.emplace_back(e->d_name);
  closedir(d);
  return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end(), LessNoCase);
  return names;
}

// Short names of every long name of the folder, numbered in listing order.
std::map<std::string, std::string> ShortNames(const std::vector<std::string>& sorted) {
  std::map<std::string, int> seen;
  std::map<std::string, std::string> out;
  for (const std::string& name : sorted) {
    if (name == "." || name == ".." || IsShortName(name)) continue;
    Parts parts = SplitLong(name);
    if (parts.stem.empty()) parts.stem = "_";
    std::string key = Truncate(parts.stem, 6) + "." + parts.ext;
    int k = ++seen[key];
    std::string tail = "~" + std::to_string(k);
    std::string shortName = Truncate(parts.stem, 8 - tail.size()) + tail;
    if (!parts.ext.empty()) shortName += "." + parts.ext;
    out[name] = shortName;
  }
  return out;
}

}  // namespace

bool MatchWildcard(std::string_view pattern, std::string_view name) {
  if (Glob(pattern, name)) return true;
  // "name.*" also stands for "name" with no extension at all.
  return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
         name.find('.') == std::string_view::npos && Glob(pattern.substr(0, pattern.size() - 2), name);
}

bool IsShortName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  size_t dot = name.find('.');
  std::string_view base = name.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string_view::npos && ext.empty()) return false;
  for (char c : base)
    if (!IsShortChar(c)) return false;
  for (char c : ext)
    if (!IsShortChar(c)) return false;
  return true;
}

std::string ShortNameIn(const std::string& folder, const std::string& name) {
  if (IsShortName(name)) return name;
  auto names = ShortNames(Sorted(Names(folder)));
  auto it = names.find(name);
  return it != names.end() ? it->second : name;
}

std::optional<std::vector<Entry>> Find(std::string_view pattern, DWORD* error) {
  auto full = path::FullPath(pattern, error);
  if (!full) return std::nullopt;
  size_t cut = full->find_last_of('\\');
  std::string folder = full->substr(0, cut + 1);
  std::string part = full->substr(cut + 1);
  auto nativeFolder = path::ToNative(folder, error);
  if (!nativeFolder) return std::nullopt;
  auto folderInfo = Query(*nativeFolder);
  if (!folderInfo || !folderInfo->IsFolder()) {
    *error = ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  if (part.empty()) {
    *error = ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  std::vector<Entry> out;
  if (part.find_first_of("*?") == std::string::npos && path::IsNulDevice(part)) {
    // The NUL device is in every folder; finding it is the classic "folder exists" test.
    Entry nul;
    nul.name = "NUL";
    nul.info.attributes = 0x20;
    out.push_back(nul);
    return out;
  }
  bool root = folder.size() == 3;
  // Only the matches are sorted; the whole folder only when short names are needed.
  std::vector<std::string> names = Names(*nativeFolder);
  std::vector<std::string> matches;
  for (const std::string& name : names)
    if (!(root && (name == "." || name == "..")) && name.size() < MAX_PATH && MatchWildcard(part, name))
      matches.push_back(name);
  matches = Sorted(std::move(matches));
  std::map<std::string, std::string> shortNames;
  bool shortNamesMade = false;
  std::string base = *nativeFolder == "/" ? "" : *nativeFolder;
  for (const std::string& name : matches) {
    auto info = Query(base + "/" + name);
    if (!info) continue;  // a dangling link, or gone since the listing
    Entry entry{name, "", *info};
    if (name != "." && name != ".." && !IsShortName(name)) {
      if (!shortNamesMade) {
        shortNames = ShortNames(Sorted(names));
        shortNamesMade = true;
      }
      entry.shortName = shortNames[name];
    }
    out.push_back(std::move(entry));
  }
  if (out.empty()) {
    *error = ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  return out;
}

}  // namespace plat::file
