#include "VexScaleApplyBtn.h"

BEGIN_MESSAGE_MAP(CVexScaleApplyBtn, CButton)
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CVexScaleApplyBtn::OnMouseMove(UINT nFlags, CPoint point) {
  SetFocus();
  CButton::OnMouseMove(nFlags, point);
}
