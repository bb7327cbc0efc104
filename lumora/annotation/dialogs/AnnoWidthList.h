// The pen width list of the line and shape dialogs: a drop-down combo box whose edit
// field takes any text, checked when OK is pressed.
#pragma once
#include <afxwin.h>

namespace annowidth {

// Offers 1, 5, 10, 20, 40, 60, 80 and 100 and shows `width` in the edit field.
void Fill(CComboBox& list, int width);
// Reads the edit field. A width outside 1..100 (or no number) is refused with message
// 62559 over `dialog`, and false is answered so the dialog stays open.
bool Read(CWnd& dialog, const CComboBox& list, int& width);

}  // namespace annowidth
