#include "afxwin.h"

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)) {
  SetMinPage(1);
  SetMaxPage(0xFFFF);
  m_pPD->m_pd.nFromPage = 1;
  m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo() {
  if (m_pPD->m_pd.hDC) ::DeleteDC(m_pPD->m_pd.hDC);
  delete m_pPD;
}
