// The framework's extension classes (splitters), as the system's code includes them.
#pragma once
#include "afxwin.h"
#include "CSplitterWnd.h"
#include "CMiniFrameWnd.h"
#include "afxdlgs.h"
