#include "VexRetouchTabEnhance.h"

#include "pipeline/retouch/VexRetouchDlg.h"

BEGIN_MESSAGE_MAP(CVexRetouchTabEnhance, CVexRetouchTab)
  ON_BN_CLICKED(1001, OnApply)
  ON_BN_CLICKED(1011, OnReset)
END_MESSAGE_MAP()

CVexRetouchTabEnhance::CVexRetouchTabEnhance(CVexRetouchDlg* dialog)
    : CVexRetouchTab(IDD, dialog, CVexRetouchDlg::kEnhanceMessage) {
  ValueField brightness{1007, 1003, -255, 255, 51, -255, 255, kBrightness, &m_nBrightness, nullptr};
  ValueField contrast{1008, 1004, -100, 100, 20, -100, 100, kContrast, &m_nContrast, nullptr};
  ValueField gamma{1009, 1005, 5, 200, 20, 0.05, 2.00, kGamma, nullptr, &m_fGamma};
  ValueField sharpness{1010, 1006, -1000, 1000, 200, -1000, 1000, kSharpness, &m_nSharpness, nullptr};
  for (const ValueField& f : {brightness, contrast, gamma, sharpness}) AddField(f);
}

void CVexRetouchTabEnhance::SetStartValues() {
  m_nBrightness = 0;
  m_nContrast = 0;
  m_fGamma = 1.0f;
  m_nSharpness = 0;
  ShowFields();
}
