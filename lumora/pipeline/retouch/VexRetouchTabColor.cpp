#include "VexRetouchTabColor.h"

#include "pipeline/retouch/VexRetouchDlg.h"

BEGIN_MESSAGE_MAP(CVexRetouchTabColor, CVexRetouchTab)
  ON_BN_CLICKED(1002, OnApply)
  ON_BN_CLICKED(1017, OnReset)
END_MESSAGE_MAP()

CVexRetouchTabColor::CVexRetouchTabColor(CVexRetouchDlg* dialog)
    : CVexRetouchTab(IDD, dialog, CVexRetouchDlg::kColorMessage) {
  // Typed hues reach further than the slider shows (the slider stops at its end).
  ValueField hue{1014, 1013, -180, 180, 36, -255, 255, kHue, &m_nHue, nullptr};
  ValueField saturation{1016, 1015, -100, 100, 20, -100, 100, kSaturation, &m_nSaturation, nullptr};
  ValueField intensity{1020, 1019, -100, 100, 20, -100, 100, kIntensity, &m_nIntensity, nullptr};
  ValueField balance2{1021, 0, -100, 100, 20, -100, 100, kBalance1021, &m_nBalance[2], nullptr};
  ValueField balance1{1022, 0, -100, 100, 20, -100, 100, kBalance1022, &m_nBalance[1], nullptr};
  ValueField balance0{1023, 0, -100, 100, 20, -100, 100, kBalance1023, &m_nBalance[0], nullptr};
  for (const ValueField& f : {hue, saturation, intensity, balance2, balance1, balance0}) AddField(f);
}

void CVexRetouchTabColor::SetStartValues() {
  m_nIntensity = m_nSaturation = m_nHue = 0;
  m_nBalance[0] = m_nBalance[1] = m_nBalance[2] = 0;
  ShowFields();
}
