#include "VexPrintNowDlg.h"

#include "VexAppIcon.h"

BEGIN_MESSAGE_MAP(CVexPrintNowDlg, CDialog)
ON_WM_CLOSE()
END_MESSAGE_MAP()

CVexPrintNowDlg::CVexPrintNowDlg(CWnd* pParent, CWnd* pOwner) : CDialog(IDD, pParent), m_pOwner(pOwner) {
  Create(IDD, pParent);
}

void CVexPrintNowDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDCANCEL, m_cancelButton);
  DDX_Control(pDX, 1113, m_title);
  DDX_Control(pDX, 1110, m_document);
  DDX_Control(pDX, 1111, m_printer);
  DDX_Control(pDX, 1112, m_page);
}

BOOL CVexPrintNowDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  CenterWindow(CWnd::GetDesktopWindow());
  return TRUE;
}

void CVexPrintNowDlg::ForwardCancel() {
  if (m_pOwner && m_pOwner->m_hWnd) m_pOwner->SendMessage(WM_COMMAND, IDCANCEL, 0);
}

void CVexPrintNowDlg::OnCancel() { ForwardCancel(); }
void CVexPrintNowDlg::OnClose() { ForwardCancel(); }

void CVexPrintNowDlg::BeginCapture() {
  SetFocus();
  SetCapture();
}

void CVexPrintNowDlg::EndCapture(CWnd* pFocus) {
  ::ReleaseCapture();
  if (pFocus && pFocus->m_hWnd) pFocus->SetFocus();
}
