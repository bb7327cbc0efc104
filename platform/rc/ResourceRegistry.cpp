#include "ResourceRegistry.h"

#include <strings.h>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace plat::rc {
namespace {

struct Module {
  const Entry* entries;
  size_t count;
};

std::string Key(std::string_view module) {
  std::string k(module);
  for (auto& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* ext : {".exe", ".dll"})
    if (k.size() > 4 && k.compare(k.size() - 4, 4, ext) == 0) k.resize(k.size() - 4);
  return k;
}

std::mutex g_mutex;
// A module may hold several tables (the program's and its class library's scripts).
std::map<std::string, std::vector<Module>>& Modules() {
  static std::map<std::string, std::vector<Module>> modules;
  return modules;
}

std::vector<Module> TablesOf(std::string_view module) {
  std::lock_guard lock(g_mutex);
  auto it = Modules().find(Key(module));
  return it == Modules().end() ? std::vector<Module>() : it->second;
}

struct Wanted {
  uint32_t id = 0;
  const char* text = nullptr;
};

Wanted Decode(const char* p) {
  auto v = reinterpret_cast<uintptr_t>(p);
  if (v < 0x10000) return {static_cast<uint32_t>(v), nullptr};
  if (p[0] == '#') return {static_cast<uint32_t>(std::strtoul(p + 1, nullptr, 10)), nullptr};
  return {0, p};
}

bool Matches(uint32_t id, const char* text, const Wanted& w) {
  if (w.text) return text && strcasecmp(text, w.text) == 0;
  return !text && id == w.id;
}

}  // namespace

Registrar::Registrar(const char* module, const Entry* entries, size_t count) {
  std::lock_guard lock(g_mutex);
  Modules()[Key(module)].push_back(Module{entries, count});
}

bool HasModule(std::string_view module) {
  std::lock_guard lock(g_mutex);
  return Modules().count(Key(module)) > 0;
}

namespace {

const Entry* FindIn(const Module& m, const Wanted& t, const Wanted& n) {
  for (size_t i = 0; i < m.count; ++i) {
    const Entry& e = m.entries[i];
    if (Matches(e.typeId, e.typeName, t) && Matches(e.nameId, e.nameName, n)) return &e;
  }
  return nullptr;
}

// String `id` of one string block; nullopt when the block lacks it.
std::optional<std::string> StringOf(const Entry& e, uint32_t id) {
  // String blocks hold 16 strings each, as length-prefixed UTF-16 texts.
  size_t words = e.size / 2;
  if (words == 0) return std::nullopt;  // a block too short for one length holds no string
  std::vector<uint16_t> w(words);
  std::memcpy(w.data(), e.data, words * 2);
  size_t at = 0;
  for (uint32_t k = 0; k < 16; ++k) {
    if (at >= words) return std::nullopt;
    size_t len = w[at++];
    if (at + len > words) return std::nullopt;
    if (k == (id & 15)) {
      if (len == 0) return std::nullopt;
      return Utf16ToUtf8(w.data() + at, len);
    }
    at += len;
  }
  return std::nullopt;
}

}  // namespace

const Entry* Find(std::string_view module, const char* type, const char* name) {
  Wanted t = Decode(type), n = Decode(name);
  for (const Module& m : TablesOf(module))
    if (const Entry* e = FindIn(m, t, n)) return e;
  return nullptr;
}

std::string Utf16ToUtf8(const uint16_t* text, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::optional<std::string> LoadString(std::string_view module, uint32_t id) {
  Wanted t{6, nullptr}, n{(id >> 4) + 1, nullptr};
  // Two tables of a module may each hold part of one block.
  for (const Module& m : TablesOf(module))
    if (const Entry* e = FindIn(m, t, n))
      if (auto text = StringOf(*e, id)) return text;
  return std::nullopt;
}

}  // namespace plat::rc
