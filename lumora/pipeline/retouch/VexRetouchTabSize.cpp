#include "VexRetouchTabSize.h"

#include "pipeline/retouch/VexRetouchDlg.h"

BEGIN_MESSAGE_MAP(CVexRetouchTabSize, CVexRetouchTab)
  ON_CBN_SELCHANGE(1020, OnChosen)
  ON_BN_CLICKED(1011, OnReset)
  ON_BN_CLICKED(1003, OnApply)
END_MESSAGE_MAP()

CVexRetouchTabSize::CVexRetouchTabSize(CVexRetouchDlg* dialog)
    : CVexRetouchTab(IDD, dialog, CVexRetouchDlg::kSizeMessage) {}

void CVexRetouchTabSize::DoDataExchange(CDataExchange* pDX) {
  CVexRetouchTab::DoDataExchange(pDX);
  DDX_Text(pDX, 1019, m_strNewSize);
  DDX_Text(pDX, 1018, m_strCurrentSize);
  DDX_CBIndex(pDX, 1020, m_nSizeIndex);
}

void CVexRetouchTabSize::OnChosen() {
  UpdateData(TRUE);
  Notify(kChosen);
}

void CVexRetouchTabSize::OnReset() {
  m_nSizeIndex = 0;
  UpdateData(FALSE);
  Notify(kReset);
}

void CVexRetouchTabSize::OnApply() {
  UpdateData(TRUE);
  Notify(kApply);
}
