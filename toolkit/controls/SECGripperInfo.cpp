#include "SECGripperInfo.h"

#include "SECResourceIds.h"

SECGripperInfo::SECGripperInfo() {
  m_strHide.LoadString(IDS_SEC_HIDE_DOCKED);
  m_strExpand.LoadString(IDS_SEC_EXPAND_DOCKED);
  m_strContract.LoadString(IDS_SEC_CONTRACT_DOCKED);
}

int SECGripperInfo::GetWidth() const {
  return m_cxLeftMargin + m_cxFirstLine + m_cxGap + m_cxSecondLine + m_cxRightMargin;
}

int SECGripperInfo::GetHeight() const {
  return m_cyTopMargin + m_cyFirstLine + m_cyGap + m_cySecondLine + m_cyBottomMargin;
}
