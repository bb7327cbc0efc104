// CVexPropertyPage3: the Live page: the picture's direction and flip, the white-balance
// area and its start, the focus mark, and the colour balance with its R, G and B steps.
#pragma once
#include <afxcmn.h>

#include "Label.h"
#include "VexPropertyPage.h"

class CVexPropertyPage3 : public CVexPropertyPage {
 public:
  enum {
    IDD = 107,
    kIcon = 189,
    kDirection0 = 1029,
    kDirection3 = 1032,
    kFlip = 1033,
    kPoint = 1034,
    kRectangle = 1035,
    kWB = 1074,
    kStart = 1036,
    kStartSpare = 1037,
    kFocusOn = 1121,
    kFocusDocking = 1122,
    kColorBalance = 1123,
    kRedLabel = 1151,
    kGreenLabel = 1152,
    kBlueLabel = 1153,
    kRed = 1173,
    kGreen = 1174,
    kBlue = 1175,
    kBlueSpin = 1176,
    kGreenSpin = 1177,
    kRedSpin = 1178,
    kWBIcon = 130,
  };
  CVexPropertyPage3() : CVexPropertyPage(IDD, kIcon) {}
  void Refresh() override;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnWB();
  afx_msg void OnStart();
  afx_msg void OnFocusDocking();
  afx_msg void OnFocusOn();
  afx_msg void OnColorBalance();
  afx_msg void OnDirection(UINT nID);
  afx_msg void OnSampleShape(UINT nID);
  afx_msg void OnStartSpare(UINT nID);
  afx_msg void OnColorChange(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowValues();

  CLabel m_wndRed, m_wndGreen, m_wndBlue;
  CSpinButtonCtrl m_wndRedSpin, m_wndGreenSpin, m_wndBlueSpin;
  int m_nRed = 0, m_nGreen = 0, m_nBlue = 0;
};
