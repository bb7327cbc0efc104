#include "VexBusyDialogs.h"

namespace {
constexpr UINT kSaveFrames = 62546, kShadingFrames = 62567;
}

namespace busyspinner {

UINT FrameText(UINT first, SHORT frame) { return frame >= 0 && frame <= 3 ? first + static_cast<UINT>(frame) : 0; }

void Show(CDialog& dialog, int id, UINT first, SHORT frame) {
  if (dialog.GetSafeHwnd()) {
    CString text;
    if (const UINT sid = FrameText(first, frame)) text.LoadString(sid);
    dialog.SetDlgItemText(id, text);
    dialog.RedrawWindow();
  }
  ::Sleep(100);
}

}  // namespace busyspinner

void CVexSaveNowDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kText, m_text);
}

BOOL CVexSaveNowDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(128) : nullptr, TRUE);
  return TRUE;
}

void CVexSaveNowDialog::SetSpinnerFrame(SHORT frame) { busyspinner::Show(*this, kText, kSaveFrames, frame); }

void CVexShadingNowDialog::SetSpinnerFrame(SHORT frame) { busyspinner::Show(*this, kText, kShadingFrames, frame); }
