#include "Config.h"

#include <cstdlib>
#include <map>
#include <mutex>

namespace plat::config {
namespace {
std::mutex g_mutex;
std::map<std::string, std::optional<std::string>, std::less<>>& Overrides() {
  static std::map<std::string, std::optional<std::string>, std::less<>> overrides;
  return overrides;
}
}  // namespace

std::optional<std::string> Find(std::string_view key) {
  {
    std::lock_guard lock(g_mutex);
    auto& o = Overrides();
    if (auto it = o.find(key); it != o.end()) return it->second;
  }
  std::string name = "LUMORA_" + std::string(key);
  if (const char* v = std::getenv(name.c_str())) return std::string(v);
  return std::nullopt;
}

std::string Get(std::string_view key, std::string_view fallback) {
  auto v = Find(key);
  return v && !v->empty() ? *v : std::string(fallback);
}

long GetInt(std::string_view key, long fallback) {
  auto v = Find(key);
  if (!v || v->empty()) return fallback;
  char* end = nullptr;
  long n = std::strtol(v->c_str(), &end, 0);
  return (end && *end == '\0') ? n : fallback;
}

void Set(std::string_view key, std::optional<std::string> value) {
  std::lock_guard lock(g_mutex);
  auto& o = Overrides();
  if (value)
    o[std::string(key)] = std::move(value);
  else
    o.erase(std::string(key));
}

}  // namespace plat::config
