// The calling thread's last-error value.
#pragma once
#include "WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD error);
