#include "SECControlBarManager.h"

IMPLEMENT_DYNAMIC(SECControlBarManager, CCmdTarget)
