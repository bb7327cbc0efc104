// CVexPropertyPage4: the Timer page: time-lapse on or off, the interval (hours, minutes
// and seconds in a date/time control), the number of shots, and the total time and size
// that follow from them.
#pragma once
#include <afxcmn.h>

#include "VexCustumSec.h"
#include "VexPropertyPage.h"
#include "controls/SECBitmapButton.h"

class CVexPropertyPage4 : public CVexPropertyPage {
 public:
  enum {
    IDD = 108,
    kIcon = 188,
    kEnableTimer = 1010,
    kInterval = 1004,
    kShots = 1070,
    kShotsSpin = 1071,
    kTotalTime = 1003,
    kTotalSize = 1005,
    kMaxShots = 9999,
    kIntervalField = 5,
  };
  CVexPropertyPage4() : CVexPropertyPage(IDD, kIcon) {}
  void Refresh() override;
  // Recomputes the total time and size from the interval, the shots and the exposure.
  void UpdateTotals();
  CVexCustumSec& IntervalControl() { return m_wndInterval; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnEnableTimer();
  afx_msg void OnIntervalChange();
  afx_msg void OnShotsChange();
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  void ShowInterval();
  void ShotsChanged();
  // The shot edit's number, or FALSE when it holds none.
  BOOL ReadShots(int& shots) const;

  SECBitmapButton m_btnEnable;
  CVexCustumSec m_wndInterval;
  CSpinButtonCtrl m_wndShotsSpin;
  CFont m_font;
  int m_nShots = 0;
  CString m_strTotalTime, m_strTotalSize;
};
