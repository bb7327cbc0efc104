// Test files with a chosen last-write time.
#pragma once
#include <gtest/gtest.h>

#include <afx.h>
#include <windows.h>

// Creates (or empties) the file and sets its last-write time, in seconds since 1970.
inline void Touch(const CString& path, long long seconds = 1700000000) {
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << (LPCSTR)path;
  const unsigned long long ticks = (seconds + 11644473600ULL) * 10000000ULL;
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
}
