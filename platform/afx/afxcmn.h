// The framework's common-control classes, as the system's code includes them.
#pragma once
#include "afxwin.h"
#include "AfxCommonControls.h"
#include "CStatusBarCtrl.h"
