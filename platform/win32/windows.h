// The Win32 API of the stand-in, as the system's code includes it.
#pragma once
#include "WinTypes.h"
#include "WinError.h"
#include "LastError.h"
