// CPrintInfo: what one print job or print preview knows: its print dialog (and through
// it the printer DC), the page range, the page being drawn and where to draw it.
#pragma once
#include "CPrintDialog.h"

class CPrintInfo {
 public:
  CPrintInfo();
  ~CPrintInfo();  // deletes the printer DC the job made
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
  void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage); }
  UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
  UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
  UINT GetFromPage() const { return m_pPD->m_pd.nFromPage; }
  UINT GetToPage() const { return m_pPD->m_pd.nToPage; }

  CPrintDialog* m_pPD;          // owned
  BOOL m_bDirect = FALSE;       // print on the program's printer without the dialog
  BOOL m_bPreview = FALSE;
  BOOL m_bContinuePrinting = TRUE;
  UINT m_nCurPage = 1;
  UINT m_nNumPreviewPages = 1;
  CString m_strPageDesc;
  LPVOID m_lpUserData = nullptr;  // the view's own, untouched by the framework
  CRect m_rectDraw;               // the printable area of the page, logical units
};
