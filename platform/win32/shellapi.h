// The shell API header, as the system's code includes it.
#pragma once
#include "windows.h"
