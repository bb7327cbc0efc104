#include "SECDockableFrame.h"

IMPLEMENT_DYNCREATE(SECDockableFrame, SECFrameWnd)
