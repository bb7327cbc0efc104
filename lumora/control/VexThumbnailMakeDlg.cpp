#include "VexThumbnailMakeDlg.h"

#include "VexAppIcon.h"

void CVexThumbnailMakeDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, 1116, m_text);
  DDX_Control(pDX, 1115, m_progress);
}

BOOL CVexThumbnailMakeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  CenterWindow(CWnd::GetDesktopWindow());
  return TRUE;
}
