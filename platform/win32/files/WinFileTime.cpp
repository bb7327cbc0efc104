// FILETIME conversions: 100 ns units since 1601-01-01 UTC.
#include <time.h>

#include "Clock.h"
#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"
#include "files/FileInfo.h"

namespace {

constexpr int64_t kTicksPerDay = 864000000000;
constexpr int64_t kDays1601To1970 = 134774;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  unsigned yoe = static_cast<unsigned>(y - era * 400);
  unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  unsigned doe = static_cast<unsigned>(z - era * 146097);
  unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// The local zone's offset from UTC now, in FILETIME ticks (Windows converts with the
// current bias, not the one in force at the converted time).
int64_t LocalBias() {
  time_t now = static_cast<time_t>(plat::clock::WallMicros() / 1000000);
  struct tm local;
  localtime_r(&now, &local);
  return static_cast<int64_t>(local.tm_gmtoff) * 10000000;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME st) {
  if (!fileTime || !st) return Fail(ERROR_INVALID_PARAMETER);
  uint64_t v = plat::file::Join(*fileTime);
  if (v > 0x7FFFFFFFFFFFFFFFull) return Fail(ERROR_INVALID_PARAMETER);
  int64_t days = static_cast<int64_t>(v / kTicksPerDay);
  int64_t rest = static_cast<int64_t>(v % kTicksPerDay);
  int64_t y;
  unsigned m, d;
  CivilFromDays(days - kDays1601To1970, &y, &m, &d);
  st->wYear = static_cast<WORD>(y);
  st->wMonth = static_cast<WORD>(m);
  st->wDay = static_cast<WORD>(d);
  st->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  st->wHour = static_cast<WORD>(rest / 36000000000);
  st->wMinute = static_cast<WORD>(rest / 600000000 % 60);
  st->wSecond = static_cast<WORD>(rest / 10000000 % 60);
  st->wMilliseconds = static_cast<WORD>(rest / 10000 % 1000);
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME fileTime) {
  if (!st || !fileTime) return Fail(ERROR_INVALID_PARAMETER);
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool valid = st->wYear >= 1601 && st->wYear <= 30827 && st->wMonth >= 1 && st->wMonth <= 12 && st->wDay >= 1 &&
               st->wHour < 24 && st->wMinute < 60 && st->wSecond < 60 && st->wMilliseconds < 1000;
  if (valid) {
    int limit = kDays[st->wMonth - 1] + (st->wMonth == 2 && IsLeap(st->wYear));
    valid = st->wDay <= limit;
  }
  if (!valid) return Fail(ERROR_INVALID_PARAMETER);
  int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay) + kDays1601To1970;
  int64_t ticks = days * kTicksPerDay + st->wHour * 36000000000ll + st->wMinute * 600000000ll +
                  st->wSecond * 10000000ll + st->wMilliseconds * 10000ll;
  *fileTime = plat::file::Split(static_cast<uint64_t>(ticks));
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME local) {
  if (!fileTime || !local) return Fail(ERROR_INVALID_PARAMETER);
  *local = plat::file::Split(plat::file::Join(*fileTime) + static_cast<uint64_t>(LocalBias()));
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* local, LPFILETIME fileTime) {
  if (!local || !fileTime) return Fail(ERROR_INVALID_PARAMETER);
  *fileTime = plat::file::Split(plat::file::Join(*local) - static_cast<uint64_t>(LocalBias()));
  return TRUE;
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
  uint64_t x = plat::file::Join(*a), y = plat::file::Join(*b);
  return x < y ? -1 : x > y ? 1 : 0;
}
