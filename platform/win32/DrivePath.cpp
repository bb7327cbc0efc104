#include "DrivePath.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
#include <vector>

#include "Config.h"
#include "WinError.h"

namespace plat::path {
namespace {

namespace fs = std::filesystem;

std::mutex g_mutex;
std::string g_current;          // empty until first asked: the program folder
std::set<std::string> g_made;   // C: roots whose standard folders exist

bool IsSep(char c) { return c == '\\' || c == '/'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string StripTrailingSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string DefaultDriveC() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::string(xdg) + "/lumora/drive_c";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share/lumora/drive_c";
}

// LUMORA_DRIVES: "D=/mnt/x;E=/media/y". C: has its own key; a bad entry is ignored.
std::optional<std::string> ConfiguredDrive(char letter) {
  std::string spec = config::Get("DRIVES", "");
  size_t pos = 0;
  while (pos <= spec.size()) {
    size_t end = spec.find(';', pos);
    if (end == std::string::npos) end = spec.size();
    std::string_view entry(spec.data() + pos, end - pos);
    if (entry.size() >= 3 && entry[1] == '=' && Upper(entry[0]) == letter && entry[2] == '/')
      return StripTrailingSlash(std::string(entry.substr(2)));
    pos = end + 1;
  }
  return std::nullopt;
}

void MakeStandardFolders(const std::string& root) {
  std::lock_guard lock(g_mutex);
  if (g_made.count(root)) return;
  std::error_code ec;
  fs::create_directories(root + "/Lumora", ec);
  fs::create_directories(root + "/WINDOWS/SYSTEM32", ec);
  if (!ec) g_made.insert(root);
}

// Windows drops trailing dots and blanks of a name ("a.txt. " is "a.txt").
std::string TrimName(std::string_view name) {
  size_t n = name.size();
  while (n > 0 && (name[n - 1] == '.' || name[n - 1] == ' ')) --n;
  return std::string(name.substr(0, n));
}

bool HasBadChar(std::string_view s) {
  for (unsigned char c : s)
    if (c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == ':') return true;
  return false;
}

// Splits the part after "X:\" into names.
std::vector<std::string> Components(std::string_view rest) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < rest.size()) {
    size_t end = pos;
    while (end < rest.size() && !IsSep(rest[end])) ++end;
    out.emplace_back(rest.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

// Finds the entry of `dir` that matches `name` without regard to case; an exact
// match wins, then the smallest name in byte order, so the answer is stable.
std::optional<std::string> MatchInFolder(const std::string& dir, const std::string& name) {
  struct stat st;
  std::string exact = (dir == "/" ? "" : dir) + "/" + name;
  if (lstat(exact.c_str(), &st) == 0) return name;
  DIR* d = opendir(dir.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> best;
  while (dirent* e = readdir(d)) {
    std::string_view n = e->d_name;
    if (NamesEqual(n, name) && (!best || n < *best)) best = std::string(n);
  }
  closedir(d);
  return best;
}

std::string CurrentLocked() { return g_current.empty() ? std::string(kProgramFolder) : g_current; }

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

std::optional<std::string> DriveRoot(char letter) {
  letter = Upper(letter);
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  if (letter == 'C') {
    std::string root = StripTrailingSlash(config::Get("DRIVE_C", DefaultDriveC()));
    MakeStandardFolders(root);
    return root;
  }
  if (letter == 'Z') return std::string("/");  // fixed: every native path has a Windows form
  return ConfiguredDrive(letter);
}

std::optional<std::string> DeviceName(std::string_view path) {
  if (path.size() > 4 && IsSep(path[0]) && IsSep(path[1]) && path[2] == '.' && IsSep(path[3]))
    return std::string(path.substr(4));
  return std::nullopt;
}

bool IsNulDevice(std::string_view path) {
  size_t cut = path.find_last_of("\\/:");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return NamesEqual(name, "NUL");
}

std::optional<std::string> FullPath(std::string_view path, DWORD* error) {
  DWORD dummy;
  if (!error) error = &dummy;
  if (path.empty()) {
    *error = ERROR_INVALID_NAME;
    return std::nullopt;
  }
  if (DeviceName(path)) return std::string(path);
  if (IsSep(path[0]) && path.size() > 1 && IsSep(path[1])) {
    *error = ERROR_BAD_PATHNAME;  // network shares are not served
    return std::nullopt;
  }

  std::string current;
  {
    std::lock_guard lock(g_mutex);
    current = CurrentLocked();
  }
  char drive;
  std::string combined;  // everything after "X:"
  if (path.size() >= 2 && path[1] == ':') {
    drive = Upper(path[0]);
    if (drive < 'A' || drive > 'Z') {
      *error = ERROR_INVALID_NAME;
      return std::nullopt;
    }
    std::string_view rest = path.substr(2);
    if (!rest.empty() && IsSep(rest[0]))
      combined = rest;
    else if (drive == current[0])  // "X:name" is relative to the current folder of that drive
      combined = current.substr(2) + "\\" + std::string(rest);
    else
      combined = "\\" + std::string(rest);
  } else {
    drive = current[0];
    combined = IsSep(path[0]) ? std::string(path) : current.substr(2) + "\\" + std::string(path);
  }

  std::vector<std::string> names;
  for (std::string& c : Components(combined)) {
    if (c.empty() || c == ".") continue;
    if (c == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    std::string t = TrimName(c);
    if (t.empty()) continue;  // "..." and the like name the folder itself
    if (HasBadChar(t)) {
      *error = ERROR_INVALID_NAME;
      return std::nullopt;
    }
    names.push_back(std::move(t));
  }
  std::string out{drive, ':', '\\'};
  for (size_t i = 0; i < names.size(); ++i) {
    if (i) out += '\\';
    out += names[i];
  }
  if (!names.empty() && IsSep(path.back())) out += '\\';
  return out;
}

std::optional<std::string> ToNative(std::string_view path, DWORD* error) {
  DWORD dummy;
  if (!error) error = &dummy;
  if (DeviceName(path)) {
    *error = ERROR_INVALID_NAME;
    return std::nullopt;
  }
  auto full = FullPath(path, error);
  if (!full) return std::nullopt;
  auto root = DriveRoot((*full)[0]);
  if (!root) {
    *error = ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  std::string native = *root;
  bool lookUp = true;  // stops at the first name that does not exist
  for (const std::string& name : Components(std::string_view(*full).substr(3))) {
    if (name.empty()) continue;
    std::string onDisk = name;
    if (lookUp) {
      if (auto found = MatchInFolder(native, name))
        onDisk = *found;
      else
        lookUp = false;
    }
    if (native.back() != '/') native += '/';
    native += onDisk;
  }
  return native;
}

std::string ToWindows(std::string_view nativePath) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(std::string(nativePath)), ec).lexically_normal();
  std::string s = StripTrailingSlash(p.string());
  char bestDrive = 'Z';
  size_t bestLen = 0;
  std::string bestRest = s;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    // Asking for C: creates it; only do that when it is the drive being used.
    std::optional<std::string> root =
        letter == 'C' ? std::optional(StripTrailingSlash(config::Get("DRIVE_C", DefaultDriveC()))) : DriveRoot(letter);
    if (!root || *root == "/") continue;
    std::string r = StripTrailingSlash(fs::path(*root).lexically_normal().string());
    if (r.size() > bestLen && s.compare(0, r.size(), r) == 0 && (s.size() == r.size() || s[r.size()] == '/')) {
      bestDrive = letter;
      bestLen = r.size();
      bestRest = s.substr(r.size());
    }
  }
  std::string out{bestDrive, ':'};
  for (char c : bestRest) out += c == '/' ? '\\' : c;
  if (out.size() == 2) out += '\\';
  return out;
}

std::string CurrentFolder() {
  std::lock_guard lock(g_mutex);
  return CurrentLocked();
}

bool SetCurrentFolder(std::string_view path, DWORD* error) {
  DWORD dummy;
  if (!error) error = &dummy;
  auto full = FullPath(path, error);
  if (!full) return false;
  auto native = ToNative(*full, error);
  if (!native) return false;
  struct stat st;
  if (stat(native->c_str(), &st) != 0) {
    *error = ERROR_FILE_NOT_FOUND;
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    *error = ERROR_DIRECTORY;
    return false;
  }
  if (full->size() > 3 && full->back() == '\\') full->pop_back();
  std::lock_guard lock(g_mutex);
  g_current = *full;
  return true;
}

bool AdoptNativeWorkingFolder(DWORD* error) {
  DWORD dummy;
  if (!error) error = &dummy;
  std::error_code ec;
  fs::path here = fs::current_path(ec);
  if (ec) {
    *error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  return SetCurrentFolder(ToWindows(here.string()), error);
}

}  // namespace plat::path
