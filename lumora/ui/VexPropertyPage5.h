// CVexPropertyPage5: the Option page: colour mode, enhancement with its three offsets,
// shading correction with its level, noise reduction, automatic printing and saving at a
// reduced resolution.
#pragma once
#include <afxcmn.h>

#include "Label.h"
#include "VexPropertyPage.h"

class CVexPropertyPage5 : public CVexPropertyPage {
 public:
  enum {
    IDD = 109,
    kIcon = 192,
    kColor = 1023,
    kNegative = 1025,
    kEnhancement = 1013,
    kEnhanceLive = 1149,
    kContrast = 1140,
    kLevel = 1141,
    kSharpness = 1142,
    kContrastSpin = 1016,
    kLevelSpin = 1017,
    kSharpnessSpin = 1019,
    kShading = 1146,
    kShadingLevel = 1147,
    kShadingSpin = 1148,
    kShadingLive = 1152,
    kNoiseReduction = 1020,
    kNoiseNote = 1139,
    kAutoPrint = 1012,
    kReduce = 1010,
    kReduceSize = 1064,
    kOffsetMax = 15,
    kShadingMax = 100,
  };
  CVexPropertyPage5() : CVexPropertyPage(IDD, kIcon) {}
  void Refresh() override;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnAutoPrint();
  afx_msg void OnEnhancement();
  afx_msg void OnReduce();
  afx_msg void OnSelchangeReduceSize();
  afx_msg void OnNoiseReduction();
  afx_msg void OnShading();
  afx_msg void OnShadingLevelChange();
  afx_msg void OnShadingLive();
  afx_msg void OnEnhanceLive();
  afx_msg void OnColorMode(UINT nID);
  afx_msg void OnOffsetChange(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowValues();

  CSpinButtonCtrl m_wndContrastSpin, m_wndLevelSpin, m_wndSharpnessSpin, m_wndShadingSpin;
  CComboBox m_wndReduceSize;
  CLabel m_wndNoiseNote;
  int m_nContrast = 0, m_nLevel = 0, m_nSharpness = 0, m_nShadingLevel = 0;
};
