// (filled in as the stand-in grows)
#pragma once
#include "WinTypes.h"
