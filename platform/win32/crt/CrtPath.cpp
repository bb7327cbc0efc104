// _splitpath, _makepath and _fullpath.
#include <errno.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "WinFile.h"
#include "crt.h"

namespace {

// Copies at most limit - 1 bytes, backing off to the start of a UTF-8 character.
void CopyPart(char* out, std::string_view part, size_t limit) {
  if (!out) return;
  size_t n = part.size();
  if (n > limit - 1) {
    n = limit - 1;
    while (n > 0 && (static_cast<unsigned char>(part[n]) & 0xC0) == 0x80) --n;
  }
  if (n) std::memcpy(out, part.data(), n);
  out[n] = '\0';
}

}  // namespace

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  std::string_view p = path ? path : "";
  std::string_view d;
  if (p.size() >= 2 && p[1] == ':') {
    d = p.substr(0, 2);
    p.remove_prefix(2);
  }
  size_t slash = p.find_last_of("\\/");
  std::string_view folder = slash == std::string_view::npos ? std::string_view() : p.substr(0, slash + 1);
  std::string_view name = slash == std::string_view::npos ? p : p.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  std::string_view base = dot == std::string_view::npos ? name : name.substr(0, dot);
  std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
  CopyPart(drive, d, _MAX_DRIVE);
  CopyPart(dir, folder, _MAX_DIR);
  CopyPart(fname, base, _MAX_FNAME);
  CopyPart(ext, extension, _MAX_EXT);
}

void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext) {
  std::string out;
  if (drive && *drive) {
    out += drive[0];
    out += ':';
  }
  if (dir && *dir) {
    out += dir;
    if (out.back() != '\\' && out.back() != '/') out += '\\';
  }
  if (fname) out += fname;
  if (ext && *ext) {
    if (*ext != '.') out += '.';
    out += ext;
  }
  CopyPart(path, out, _MAX_PATH);
}

char* _fullpath(char* buffer, const char* path, size_t size) {
  if (!path || !*path) return _getcwd(buffer, static_cast<int>(size));
  char full[_MAX_PATH * 4];
  DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) {
    errno = n == 0 ? EINVAL : ERANGE;
    return nullptr;
  }
  if (!buffer) {
    size = std::max<size_t>(size, n + 1);
    buffer = static_cast<char*>(malloc(size));
    if (!buffer) {
      errno = ENOMEM;
      return nullptr;
    }
  } else if (size < n + 1) {
    errno = ERANGE;
    return nullptr;
  }
  std::memcpy(buffer, full, n + 1);
  return buffer;
}
