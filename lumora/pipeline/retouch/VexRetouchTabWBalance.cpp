#include "VexRetouchTabWBalance.h"

#include "pipeline/retouch/VexRetouchDlg.h"

BEGIN_MESSAGE_MAP(CVexRetouchTabWBalance, CVexRetouchTab)
  ON_BN_CLICKED(1022, OnKind)
  ON_BN_CLICKED(1023, OnKind)
  ON_BN_CLICKED(1024, OnWhite)
  ON_BN_CLICKED(1025, OnBlack)
  ON_BN_CLICKED(1026, OnStart)
  ON_BN_CLICKED(1005, OnReset)
  ON_BN_CLICKED(1004, OnApply)
END_MESSAGE_MAP()

CVexRetouchTabWBalance::CVexRetouchTabWBalance(CVexRetouchDlg* dialog)
    : CVexRetouchTab(IDD, dialog, CVexRetouchDlg::kWBalanceMessage) {}

void CVexRetouchTabWBalance::DoDataExchange(CDataExchange* pDX) {
  CVexRetouchTab::DoDataExchange(pDX);
  DDX_Radio(pDX, 1022, m_nSampleKind);
}

void CVexRetouchTabWBalance::SetStartValues() {
  m_nSampleKind = kPoint;
  UpdateData(FALSE);
  EnableStart(FALSE);
  HINSTANCE resources = AfxGetResourceHandle();
  SendDlgItemMessage(1024, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(::LoadIconA(resources, MAKEINTRESOURCEA(130))));
  SendDlgItemMessage(1025, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(::LoadIconA(resources, MAKEINTRESOURCEA(131))));
}

void CVexRetouchTabWBalance::EnableStart(BOOL enable) {
  if (CWnd* start = GetDlgItem(1026)) start->EnableWindow(enable);
}

void CVexRetouchTabWBalance::OnStart() {
  Notify(kStart);
  EnableStart(FALSE);
}
