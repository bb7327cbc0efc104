// CVexRetouchTabEnhance: the Enhance page (template 140): brightness, contrast, gamma
// and sharpness, each a slider with its field, and Apply and Reset.
#pragma once
#include "pipeline/retouch/VexRetouchTab.h"

class CVexRetouchTabEnhance : public CVexRetouchTab {
 public:
  enum { IDD = 140 };
  enum Code { kBrightness = 1, kContrast, kGamma, kSharpness, kReset, kApply };
  explicit CVexRetouchTabEnhance(CVexRetouchDlg* dialog);

  // Brightness, contrast and sharpness 0, gamma 1.00, shown on the controls.
  void SetStartValues();
  // Gamma in hundredths, as the operations take it.
  int GetGamma100() const { return DecimalPosition(m_fGamma); }

  int m_nSharpness = 0;
  int m_nContrast = 0;
  int m_nBrightness = 0;
  float m_fGamma = 1.0f;

 protected:
  afx_msg void OnApply() { Notify(kApply); }
  afx_msg void OnReset() { Notify(kReset); }
  DECLARE_MESSAGE_MAP()
};
