// CVexScaleApplyBtn: the scale dialog's "Apply" button. Passing the mouse over it takes
// the keyboard focus, so the field being edited is finished before the click.
#pragma once
#include <afxwin.h>

class CVexScaleApplyBtn : public CButton {
 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};
