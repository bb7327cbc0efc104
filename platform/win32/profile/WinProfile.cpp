// The private profile API over ProfileFile and ProfileStore, with the return values
// and truncation rules of Windows.
#include "WinProfile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DrivePath.h"
#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "profile/ProfileStore.h"

namespace {

// Native path of an INI file name; a bare name is in the Windows folder.
std::optional<std::string> IniPath(LPCSTR fileName) {
  if (!fileName || !*fileName) fileName = "win.ini";
  std::string name = fileName;
  if (name.find_first_of("\\/:") == std::string::npos) name = std::string(plat::path::kWindowsFolder) + "\\" + name;
  DWORD error = 0;
  auto native = plat::path::ToNative(name, &error);
  if (!native) SetLastError(error);
  return native;
}

std::shared_ptr<const plat::profile::ProfileFile> Read(LPCSTR fileName) {
  auto native = IniPath(fileName);
  if (!native) return nullptr;
  DWORD error = 0;
  auto file = plat::profile::Load(*native, &error);
  if (!file) SetLastError(error);
  return file;
}

// How many of the first `limit` bytes of `s` hold whole UTF-8 characters.
size_t WholeCharacters(const std::string& s, size_t limit) {
  size_t n = std::min(limit, s.size());
  while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return n;
}

// A list of NUL-terminated strings plus a final NUL. When it does not fit, it is cut
// and closed with two NULs, and the result is size - 2.
DWORD CopyList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::string all;
  for (const std::string& item : items) {
    all += item;
    all += '\0';
  }
  if (all.size() + 1 <= size) {
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = '\0';
    if (all.empty() && size > 1) buffer[1] = '\0';
    return static_cast<DWORD>(all.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  size_t n = WholeCharacters(all, size - 2);
  std::memcpy(buffer, all.data(), n);
  std::memset(buffer + n, 0, size - n);
  return size - 2;
}

// One string; cut to size - 1 bytes when it does not fit (less when that would
// split a character).
DWORD CopyString(const std::string& s, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  size_t n = s.size() < size ? s.size() : WholeCharacters(s, size - 1);
  std::memcpy(buffer, s.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// A value is one line: what follows a line break would become lines of its own. A
// carriage return that ends no line is kept (the file keeps it too).
std::string OneLine(const char* text) {
  std::string s = text;
  size_t nl = s.find('\n');
  if (nl == std::string::npos) return s;
  if (nl > 0 && s[nl - 1] == '\r') --nl;
  return s.substr(0, nl);
}

// Names are refused when the file could not give them back: a line break would split
// the line, ']' would end a section header early, '=' would end a key early, and a key
// starting like a comment or a header would not read as a key.
bool SectionNameFits(const char* name) { return !std::strpbrk(name, "\n]"); }
bool KeyNameFits(const char* name) {
  std::string_view k = name;
  size_t first = k.find_first_not_of(" \t");
  if (first != std::string_view::npos && (k[first] == ';' || k[first] == '[')) return false;
  return k.find_first_of("\n=") == std::string_view::npos;
}

std::string StripQuotes(std::string v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

DWORD DeleteSection(const std::string& native, const std::string& section) {
  return plat::profile::Update(native, [&](plat::profile::ProfileFile& f) { return f.DeleteSection(section); }, false);
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
  auto file = Read(fileName);
  if (!section) return CopyList(file ? file->SectionNames() : std::vector<std::string>{}, buffer, size);
  if (!key) {
    auto keys = file ? file->Keys(section) : std::nullopt;
    return CopyList(keys ? *keys : std::vector<std::string>{}, buffer, size);
  }
  auto value = file ? file->Value(section, key) : std::nullopt;
  if (value) return CopyString(StripQuotes(*value), buffer, size);
  std::string fallback = defaultValue ? defaultValue : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  SetLastError(ERROR_FILE_NOT_FOUND);
  return CopyString(fallback, buffer, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (!section || !key) return static_cast<UINT>(defaultValue);
  auto file = Read(fileName);
  auto value = file ? file->Value(section, key) : std::nullopt;
  if (!value) return static_cast<UINT>(defaultValue);
  std::string text = StripQuotes(*value);
  if (text.empty()) return static_cast<UINT>(defaultValue);
  // Decimal digits after an optional sign, up to the first other character; the
  // arithmetic wraps at 32 bits, so "-1" and "4294967295" both give 0xFFFFFFFF.
  size_t i = 0;
  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    ++i;
  }
  UINT result = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) result = result * 10 + UINT(text[i] - '0');
  return negative ? 0u - result : result;
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (!section) return key || value ? Fail(ERROR_INVALID_PARAMETER) : TRUE;  // all NULL: flush, nothing kept
  if (DWORD e = plat::faults::Check("WritePrivateProfileStringA")) return Fail(e);
  auto native = IniPath(fileName);
  if (!native) return FALSE;
  std::string s = section;
  DWORD error;
  if (!key) {
    error = DeleteSection(*native, s);
  } else if (!value) {
    std::string k = key;
    error = plat::profile::Update(*native, [&](plat::profile::ProfileFile& f) { return f.DeleteKey(s, k); }, false);
  } else {
    if (!SectionNameFits(section) || !KeyNameFits(key)) return Fail(ERROR_INVALID_PARAMETER);
    std::string k = key, v = OneLine(value);
    error = plat::profile::Update(*native, [&](plat::profile::ProfileFile& f) { return f.Set(s, k, v); });
  }
  return error ? Fail(error) : TRUE;
}

DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR fileName) {
  auto file = section ? Read(fileName) : nullptr;
  auto entries = file ? file->Entries(section) : std::nullopt;
  return CopyList(entries ? *entries : std::vector<std::string>{}, buffer, size);
}

BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR entries, LPCSTR fileName) {
  if (!section) return Fail(ERROR_INVALID_PARAMETER);
  if (DWORD e = plat::faults::Check("WritePrivateProfileSectionA")) return Fail(e);
  auto native = IniPath(fileName);
  if (!native) return FALSE;
  if (entries && !SectionNameFits(section)) return Fail(ERROR_INVALID_PARAMETER);
  std::string s = section;
  DWORD error;
  if (!entries) {
    error = DeleteSection(*native, s);
  } else {
    std::vector<std::string> lines;
    for (const char* p = entries; *p; p += std::strlen(p) + 1) lines.push_back(OneLine(p));
    error = plat::profile::Update(*native, [&](plat::profile::ProfileFile& f) { return f.ReplaceSection(s, lines); });
  }
  return error ? Fail(error) : TRUE;
}

DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR fileName) {
  return GetPrivateProfileStringA(nullptr, nullptr, nullptr, buffer, size, fileName);
}
