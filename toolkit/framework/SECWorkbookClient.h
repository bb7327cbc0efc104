// SECWorkbookClient: the workbook's MDI client, subclassed. It keeps four margins around
// itself in the frame's layout and tells the workbook when the MDI menu or the activation
// changed, so that the active tab is drawn again.
#pragma once
#include <afxwin.h>

class SECWorkbookClient : public CWnd {
  DECLARE_DYNCREATE(SECWorkbookClient)
 public:
  SECWorkbookClient() = default;

  // The frame lays out again when the client is in one.
  void SetMargins(int nLeft, int nTop, int nRight, int nBottom);
  void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

  int m_nLeftMargin = 0;
  int m_nTopMargin = 0;
  int m_nRightMargin = 0;
  int m_nBottomMargin = 0;

 protected:
  afx_msg LRESULT OnMDISetMenu(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
