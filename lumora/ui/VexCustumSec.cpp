#include "VexCustumSec.h"

void CVexCustumSec::SetFieldIndex(int index) {
  m_nFieldIndex = index;
  if (m_hWnd) ScrollToGadget(index);
}
