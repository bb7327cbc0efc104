#include "AfxDebug.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<LONG> g_assertFailures{0};
}

void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
  ++g_assertFailures;
  std::fprintf(stderr, "%s(%d): assertion failed\n", lpszFileName ? lpszFileName : "?", nLine);
}

LONG AfxAssertFailureCount() { return g_assertFailures.load(); }

void AfxTrace(LPCSTR lpszFormat, ...) {
  if (lpszFormat == nullptr) return;
  va_list args;
  va_start(args, lpszFormat);
  std::vfprintf(stderr, lpszFormat, args);
  va_end(args);
}

BOOL AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL) { return lp != nullptr; }

BOOL AfxIsValidString(LPCSTR lpsz, int) { return lpsz != nullptr; }
