#include "Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace plat::clock {
namespace {
std::atomic<bool> g_virtual{false};
std::atomic<int64_t> g_virtualNow{0};
std::atomic<int64_t> g_readStep{1};
std::atomic<bool> g_wallPinned{false};
std::atomic<int64_t> g_wallPin{0};
std::atomic<bool> g_wallFollows{false};
std::atomic<int64_t> g_wallBase{0};
std::atomic<int64_t> g_virtualBase{0};

int64_t RealNow() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

int64_t NowMicros() {
  if (g_virtual.load()) return g_virtualNow.fetch_add(g_readStep.load()) + g_readStep.load();
  return RealNow();
}

void SleepMicros(int64_t micros) {
  if (micros < 0) micros = 0;
  if (g_virtual.load()) {
    g_virtualNow.fetch_add(micros);
    std::this_thread::yield();
    return;
  }
  if (micros == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

void UseVirtual(bool on, int64_t readStepMicros) {
  if (on && !g_virtual.load()) g_virtualNow = RealNow();
  g_readStep = readStepMicros < 0 ? 0 : readStepMicros;
  g_virtual = on;
}

bool IsVirtual() { return g_virtual.load(); }

void Advance(int64_t micros) {
  if (micros > 0) g_virtualNow.fetch_add(micros);
}

int64_t WallMicros() {
  if (g_wallPinned.load()) return g_wallPin.load();
  if (g_wallFollows.load() && g_virtual.load()) return g_wallBase.load() + (g_virtualNow.load() - g_virtualBase.load());
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

void WallFollowsVirtual(bool on) {
  if (on) {
    g_wallFollows = false;
    g_wallBase = WallMicros();
    g_virtualBase = g_virtualNow.load();
  }
  g_wallFollows = on;
}

void PinWall(std::optional<int64_t> microsSinceEpoch) {
  if (microsSinceEpoch) g_wallPin = *microsSinceEpoch;
  g_wallPinned = microsSinceEpoch.has_value();
}

}  // namespace plat::clock
