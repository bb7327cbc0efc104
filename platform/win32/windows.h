// The Win32 API of the stand-in, as the system's code includes it.
#pragma once
#include "WinTypes.h"
#include "WinError.h"
#include "LastError.h"
#include "WinFile.h"     // files, folders, devices, disk space
#include "WinProfile.h"  // private INI files
#include "crt.h"         // the C run-time's Windows extras (_splitpath, _stat, _findfirst ...)
#include "WinSystem.h"   // version, folders, locale, time, memory, modules
#include "WinSync.h"     // threads, waits, events, mutexes, processes
#include "WinGdi.h"      // device contexts, GDI objects, drawing, bitmaps
#include "WinGdiText.h"  // fonts and text
#include "WinPrint.h"    // printer DCs and print jobs
#include "RectApi.h"     // rectangle and point helpers
#include "WinUser.h"     // windows, messages, input, timers, hooks
#include "WinUserUi.h"   // menus, accelerators, resources, cursors, icons, carets
#include "WinDialog.h"   // dialogs and message boxes
#include "WinControls.h" // standard controls, scroll bars, clipboard
#include "WinCommCtrl.h" // common controls
#include "WinChooseDlg.h" // colour and font choosers
#include "WinPrintDlg.h" // the print dialog and printer settings
#include "WinCommDlg.h"  // file dialogs
#include "WinShell.h"    // opening documents, file information
#include "WinShellFolders.h" // item id lists, the folder browser
