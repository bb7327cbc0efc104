// CVexDoc: the document's menu commands.
#include "VexDoc.h"

#include "ui/MainFrame.h"

BEGIN_MESSAGE_MAP(CVexDoc, CDocument)
ON_COMMAND(32804, OnDeleteImages)
ON_COMMAND(32801, OnLoupeCursor)
ON_COMMAND(32811, OnStandardCursor)
ON_COMMAND(32792, OnHandCursor)
END_MESSAGE_MAP()

namespace {

CString Text(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

void EnableMain(BOOL on) {
  if (CMainFrame* frame = CMainFrame::Get()) frame->EnableFrame(on);
}

}  // namespace

void CVexDoc::OnDeleteImages() {
  if (CountSelectedImages() > 0) {
    EnableMain(FALSE);
    if (CMainFrame* frame = CMainFrame::Get()) frame->DeleteSelectedImages();
    EnableMain(TRUE);
    return;
  }
  ::MessageBoxA(nullptr, Text(62579), "Lumora Caution", MB_OK | MB_ICONERROR);
}

// The display reads the pointer mode again when it hears update 0x1000.
void CVexDoc::ChangePointerMode(SHORT mode) {
  EnableMain(FALSE);
  SetPointerMode(mode);
  if (CMainFrame* frame = CMainFrame::Get()) frame->BroadcastUpdate(0x1000, 0);
  EnableMain(TRUE);
}
