// Narrow text to UTF-16, for the calls that take wide strings (the shell's name space).
// The narrow code page of the stand-in is UTF-8: the system's texts are kept as UTF-8.
#pragma once
#include "WinTypes.h"

#define CP_ACP 0
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

// `count` -1: up to and with the NUL. `size` 0: answers the UTF-16 units needed. 0 on
// failure (GetLastError: ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER). Malformed
// bytes become U+FFFD.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int count, LPWSTR wide, int size);
