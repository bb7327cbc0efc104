// Loads a bitmap resource with its fixed greys mapped onto the current system colours:
// black to the button text, dark grey to the button shadow, light grey to the button
// face and white to the button highlight. True-colour bitmaps load unchanged.
#pragma once
#include <afxwin.h>

// FALSE when the resource is missing, damaged (it holds less than its header declares)
// or the bitmap cannot be made; `bitmap` is left as it was then.
BOOL LoadBitmapWithSysColors(CBitmap& bitmap, LPCSTR lpszResourceName);
