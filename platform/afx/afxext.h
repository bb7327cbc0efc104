// The framework's extension classes (splitters, control bars and docking), as the
// system's code includes them.
#pragma once
#include "afxwin.h"
#include "CSplitterWnd.h"
#include "CMiniFrameWnd.h"
#include "CControlBar.h"
#include "CControlBarInfo.h"
#include "CDockState.h"
#include "CDockBar.h"
#include "CDockContext.h"
#include "CMiniDockFrameWnd.h"
#include "CReBar.h"
#include "CStatusBar.h"
#include "afxdlgs.h"
