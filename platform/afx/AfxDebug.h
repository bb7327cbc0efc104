// Diagnostics of the framework: ASSERT, VERIFY, TRACE and the address checks.
// A failed assertion is reported on stderr and counted; it never stops the program,
// in any build, because a slip the original platform would only have shown in a debug
// dialog must not end a user's session here.
#pragma once
#include "WinTypes.h"

void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
// Number of assertion failures reported so far in this process (for diagnostics).
LONG AfxAssertFailureCount();
void AfxTrace(LPCSTR lpszFormat, ...) __attribute__((format(printf, 1, 2)));

// Only non-null can be checked here; the original platform could say little more.
BOOL AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite = TRUE);
BOOL AfxIsValidString(LPCSTR lpsz, int nLength = -1);

#ifndef NDEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) AfxTrace(__VA_ARGS__)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define DEBUG_ONLY(f) ((void)0)
