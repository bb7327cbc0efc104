#include <unistd.h>

#include "WinSync.h"

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }
