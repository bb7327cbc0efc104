// SECGripperInfo: the metrics of a docked bar's gripper (the two raised lines along its
// leading edge) and the tooltips of its close and expand buttons.
#pragma once
#include <afxwin.h>

class SECGripperInfo : public CObject {
 public:
  SECGripperInfo();
  ~SECGripperInfo() override = default;

  // Across the gripper: margin, first line, gap, second line, margin.
  virtual int GetWidth() const;
  virtual int GetHeight() const;

  int m_cxLeftMargin = 4, m_cxFirstLine = 3, m_cxGap = 1, m_cxSecondLine = 3, m_cxRightMargin = 6;
  int m_cyTopMargin = 4, m_cyFirstLine = 3, m_cyGap = 1, m_cySecondLine = 3, m_cyBottomMargin = 6;
  int m_nInset = 3;  // along the bar, at both ends
  CString m_strHide;
  CString m_strExpand;
  CString m_strContract;
};
