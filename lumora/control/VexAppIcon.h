// The program's icon (resource 128) as the big icon of its dialogs.
#pragma once
#include <afxwin.h>

inline void SetAppIcon(CWnd& wnd) { wnd.SetIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(128)), TRUE); }
