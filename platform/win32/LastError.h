// The calling thread's last-error value.
#pragma once
#include "WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD error);

// Closes any kernel handle (file, device, event, mutex, thread, process).
BOOL CloseHandle(HANDLE h);
