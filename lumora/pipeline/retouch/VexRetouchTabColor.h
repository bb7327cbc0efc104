// CVexRetouchTabColor: the Color page (template 136): hue, saturation and intensity,
// each a slider with its field, the three colour-balance sliders, and Apply and Reset.
#pragma once
#include "pipeline/retouch/VexRetouchTab.h"

class CVexRetouchTabColor : public CVexRetouchTab {
 public:
  enum { IDD = 136 };
  enum Code { kHue = 1, kSaturation, kIntensity, kBalance1021, kBalance1022, kBalance1023, kReset, kApply };
  explicit CVexRetouchTabColor(CVexRetouchDlg* dialog);

  // All six values 0, shown on the controls.
  void SetStartValues();
  bool AnyBalance() const { return m_nBalance[0] || m_nBalance[1] || m_nBalance[2]; }

  int m_nIntensity = 0;
  int m_nSaturation = 0;
  int m_nHue = 0;
  // The colour-balance strengths by the plane slot they go to: slider 1021 slot 2, 1022
  // slot 1, 1023 slot 0.
  int m_nBalance[3] = {};

 protected:
  afx_msg void OnApply() { Notify(kApply); }
  afx_msg void OnReset() { Notify(kReset); }
  DECLARE_MESSAGE_MAP()
};
