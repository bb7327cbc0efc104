// Wall time, ticks, the performance counter and sleeps, all read from plat::clock so
// that tests can run them on the virtual clock. Local time follows the process's TZ.
#include <time.h>

#include "Clock.h"
#include "WinSystem.h"

namespace {

// The counter runs at a fixed 10 MHz, whatever the host's clocks offer.
constexpr LONGLONG kCounterFrequency = 10'000'000;

void Fill(const struct tm& tm, int64_t micros, LPSYSTEMTIME out) {
  out->wYear = static_cast<WORD>(tm.tm_year + 1900);
  out->wMonth = static_cast<WORD>(tm.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
  out->wDay = static_cast<WORD>(tm.tm_mday);
  out->wHour = static_cast<WORD>(tm.tm_hour);
  out->wMinute = static_cast<WORD>(tm.tm_min);
  out->wSecond = static_cast<WORD>(tm.tm_sec);
  out->wMilliseconds = static_cast<WORD>((micros / 1000) % 1000);
}

void Now(LPSYSTEMTIME out, bool local) {
  if (!out) return;
  int64_t micros = plat::clock::WallMicros();
  time_t seconds = static_cast<time_t>(micros / 1'000'000);
  struct tm tm{};
  if (local) {
    tzset();  // follow a TZ changed since the last call
    localtime_r(&seconds, &tm);
  } else {
    gmtime_r(&seconds, &tm);
  }
  Fill(tm, micros, out);
}

}  // namespace

void GetLocalTime(LPSYSTEMTIME time) { Now(time, true); }
void GetSystemTime(LPSYSTEMTIME time) { Now(time, false); }

DWORD GetTickCount() { return static_cast<DWORD>(plat::clock::NowMicros() / 1000); }

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) return FALSE;
  count->QuadPart = plat::clock::NowMicros() * (kCounterFrequency / 1'000'000);
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) return FALSE;
  frequency->QuadPart = kCounterFrequency;
  return TRUE;
}

void Sleep(DWORD milliseconds) { plat::clock::SleepMicros(int64_t(milliseconds) * 1000); }

DWORD SleepEx(DWORD milliseconds, BOOL) {
  Sleep(milliseconds);
  return 0;  // no asynchronous calls are ever queued to a thread here
}
