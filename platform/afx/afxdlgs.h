// The framework's standard dialogs and property sheets, as the system's code includes them.
#pragma once
#include "afxwin.h"
#include "CFileDialog.h"
#include "CPropertySheet.h"
#include "CColorDialog.h"
#include "CFontDialog.h"
#include "CPrintDialog.h"
