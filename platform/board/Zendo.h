// The Zendo library's one function: opens the capture board device for Windows 2000
// and XP and stores its handle through the argument.
#pragma once
#include "WinTypes.h"

extern "C" {
// TRUE with the device handle in *device; FALSE with INVALID_HANDLE_VALUE there when no
// board device can be opened.
BOOL WINAPI ZendoOpenBoard(HANDLE* device);
}
