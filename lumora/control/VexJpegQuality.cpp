#include "VexJpegQuality.h"

#include "VexAppIcon.h"

int CVexJpegQuality::SetQuality(int index) {
  m_nQuality = index >= 0 && index <= 2 ? index : 0;
  return 1;
}

void CVexJpegQuality::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Radio(pDX, 1096, m_nQuality);
}

BOOL CVexJpegQuality::OnInitDialog() {
  // Settled before the controls are filled, so that Fine is shown checked and an OK
  // without a click answers Fine rather than no choice.
  if (m_nQuality < 0 || m_nQuality > 2) m_nQuality = 0;
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  return TRUE;
}
