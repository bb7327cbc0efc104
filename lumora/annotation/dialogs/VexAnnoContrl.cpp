#include "VexAnnoContrl.h"

#include "control/VexAppIcon.h"
#include "ui/MainFrame.h"

namespace {
constexpr int kFirstTool = 1001;
constexpr int kLastTool = 1008;
constexpr int kSetButton = 1009;
// Each button's icon; the buttons are numbered as they were made, not as they lie.
constexpr struct {
  int button;
  int icon;
} kToolIcons[] = {{1001, 193}, {1002, 132}, {1004, 133}, {1003, 134},
                  {1005, 135}, {1006, 136}, {1007, 137}, {1008, 138}};
}  // namespace

BEGIN_MESSAGE_MAP(CVexAnnoContrl, CDialog)
ON_CONTROL_RANGE(BN_CLICKED, kFirstTool, kLastTool, OnToolButton)
ON_BN_CLICKED(kSetButton, OnSet)
ON_WM_CLOSE()
END_MESSAGE_MAP()

void CVexAnnoContrl::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Radio(pDX, kFirstTool, m_nSelectedTool);
}

BOOL CVexAnnoContrl::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  for (const auto& t : kToolIcons) {
    // The tool pictures are small icons, shown at their size.
    auto icon = static_cast<HICON>(
        ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(t.icon), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    SendDlgItemMessage(t.button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }
  return TRUE;
}

void CVexAnnoContrl::OnToolButton(UINT) {
  if (CMainFrame* frame = CMainFrame::Get()) {
    frame->ActivateImagePane();
    frame->AbandonUnfinishedAnnotation();
  }
}

void CVexAnnoContrl::OnSet() {
  UpdateData(TRUE);
  CMainFrame* frame = CMainFrame::Get();
  if (!frame) return;
  frame->AbandonUnfinishedAnnotation();
  frame->OpenAnnotationSetDialog(m_nSelectedTool);
  frame->ActivateImagePane();
}

void CVexAnnoContrl::OnClose() {
  CMainFrame* frame = CMainFrame::Get();
  // The frame destroys the window and frees this object after the message is handled.
  if (m_pOwnerView && frame)
    frame->CloseAnnotationTool();
  else
    CDialog::OnClose();
}
