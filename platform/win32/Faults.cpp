#include "Faults.h"

#include <map>
#include <mutex>

namespace plat::faults {
namespace {
struct Fault {
  uint32_t error = 0;
  int skip = 0;
  int times = 0;
  int hits = 0;
  bool armed = false;
};
std::mutex g_mutex;
std::map<std::string, Fault, std::less<>>& Table() {
  static std::map<std::string, Fault, std::less<>> table;
  return table;
}
}  // namespace

uint32_t Check(std::string_view point) {
  std::lock_guard lock(g_mutex);
  auto& t = Table();
  if (t.empty()) return 0;
  auto it = t.find(point);
  if (it == t.end()) return 0;
  Fault& f = it->second;
  ++f.hits;
  if (!f.armed) return 0;
  if (f.skip > 0) {
    --f.skip;
    return 0;
  }
  if (f.times == 0) return 0;
  if (f.times > 0) --f.times;
  return f.error;
}

void Arm(std::string_view point, uint32_t error, int skip, int times) {
  std::lock_guard lock(g_mutex);
  Table()[std::string(point)] = Fault{error, skip, times, 0, true};
}

void Disarm(std::string_view point) {
  std::lock_guard lock(g_mutex);
  auto& t = Table();
  if (auto it = t.find(point); it != t.end()) it->second.armed = false;
}

void DisarmAll() {
  std::lock_guard lock(g_mutex);
  Table().clear();
}

int Hits(std::string_view point) {
  std::lock_guard lock(g_mutex);
  auto& t = Table();
  auto it = t.find(point);
  return it == t.end() ? 0 : it->second.hits;
}

Scope::Scope(std::string_view point, uint32_t error, int skip, int times) : point_(point) {
  Arm(point, error, skip, times);
}
Scope::~Scope() { Disarm(point_); }

}  // namespace plat::faults
