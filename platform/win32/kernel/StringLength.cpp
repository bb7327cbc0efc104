#include <cstring>

#include "WinSystem.h"

int lstrlenA(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }
