// The C run-time's thread and process functions of <process.h>.
#pragma once
#include <cstdint>

#include "WinTypes.h"

#define _P_WAIT 0
#define _P_NOWAIT 1
#define _P_OVERLAY 2
#define P_WAIT _P_WAIT
#define P_OVERLAY _P_OVERLAY

uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned(WINAPI* start)(void*), void* arg,
                         unsigned flags, unsigned* threadId);
[[noreturn]] void _endthreadex(unsigned exitCode);

// Starts `path` (a Windows path) with the given arguments (null-terminated list; the
// first is what the program sees as its own name), the caller's environment and current
// folder. _P_OVERLAY replaces the calling process (exec: whoever started the caller sees
// the new program's exit status) and returns -1 with errno set only on failure;
// _P_WAIT runs the program and returns its exit code (-1 on failure). errno: ENOENT for
// a missing file, ENOEXEC for a file that cannot be run; the fault point "_spawn" fails
// the call with the errno it is armed with.
intptr_t _spawnl(int mode, const char* path, const char* arg0, ...);
intptr_t _spawnv(int mode, const char* path, const char* const* argv);
