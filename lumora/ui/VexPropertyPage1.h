// CVexPropertyPage1: the Photo page: fine or quick mode with the resolution list of
// each, the file format and automatic saving.
#pragma once
#include "VexPropertyPage.h"

class CVexPropertyPage1 : public CVexPropertyPage {
 public:
  enum {
    IDD = 104,
    kIcon = 191,
    kFine = 1009,
    kQuick = 1010,
    kFineList = 1006,
    kQuickList = 1007,
    kFormatList = 1008,
    kAutoSave = 1011,
  };
  CVexPropertyPage1() : CVexPropertyPage(IDD, kIcon) {}
  void Refresh() override;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnQuick();
  afx_msg void OnFine();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnSelchangeFine();
  afx_msg void OnSelchangeQuick();
  afx_msg void OnAutoSave();
  afx_msg void OnSelchangeFormat();
  DECLARE_MESSAGE_MAP()

 private:
  void SelectMode(int fine);
  // The stored mode applied twice, the opposite first, so that the document takes the
  // shoot resolution of the current mode even when the mode itself is unchanged.
  void SelectStoredMode();
  void ShowValues();

  CComboBox m_wndFine, m_wndQuick, m_wndFormat;
};
