#include "afxwin.h"
#include "CCommonDialog.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
