#include "AnnoWidthList.h"

#include <cstdlib>

namespace annowidth {

void Fill(CComboBox& list, int width) {
  for (int w : {1, 5, 10, 20, 40, 60, 80, 100}) {
    CString item;
    item.Format("%4d", w);
    list.AddString(item);
  }
  CString shown;
  shown.Format(" %4d", width);
  list.SetWindowText(shown);
}

bool Read(CWnd& dialog, const CComboBox& list, int& width) {
  CString text;
  list.GetWindowText(text);
  const int typed = std::atoi(text);
  if (typed < 1 || typed > 100) {
    CString message;
    message.LoadString(62559);
    dialog.MessageBox(message, "Lumora Error", MB_ICONERROR);
    return false;
  }
  width = typed;
  return true;
}

}  // namespace annowidth
