// The shell's name space and folder browser, as the system's code includes them.
#pragma once
#include "windows.h"
