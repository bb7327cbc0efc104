#include "AnnProperties.h"

#include "annotation/dialogs/VexAnnoLineSet.h"
#include "annotation/dialogs/VexAnnoRectSet.h"

namespace annproperties {

void EditShape(CAnnObj& obj, int variant) {
  CVexAnnoRectSet dlg(variant, nullptr);
  CAnnObj::CAnnObjInfo& s = obj.GetInfo();
  dlg.SetValues(s.m_penWidth, s.m_lineType, s.m_fillColor, s.m_penColor, s.m_square, s.m_fill);
  const INT_PTR result = dlg.DoModal();
  if (result == -1)
    obj.SetDialogFailed(1);
  else if (result == IDOK)
    dlg.GetValues(s.m_penWidth, s.m_lineType, s.m_fillColor, s.m_penColor, s.m_square, s.m_fill);
}

void EditLine(CAnnObj& obj, int variant) {
  CVexAnnoLineSet dlg(variant, nullptr);
  CAnnObj::CAnnObjInfo& s = obj.GetInfo();
  dlg.SetValues(s.m_penWidth, s.m_styleCode, s.m_lineType, s.m_penColor);
  const INT_PTR result = dlg.DoModal();
  if (result == -1)
    obj.SetDialogFailed(1);
  else if (result == IDOK)
    dlg.GetValues(s.m_penWidth, s.m_styleCode, s.m_lineType, s.m_penColor);
}

}  // namespace annproperties
