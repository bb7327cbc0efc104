// The framework's synchronization objects, as the system's code includes them.
#pragma once
#include "afx.h"
#include "CSyncObject.h"
