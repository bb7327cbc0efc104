// CVexRetouchTabSize: the Size page (template 137): the current and the new size of the
// picture and the size list (100 %, 75 %, 50 %, 25 %), with Apply and Reset.
#pragma once
#include "pipeline/retouch/VexRetouchTab.h"

class CVexRetouchTabSize : public CVexRetouchTab {
 public:
  enum { IDD = 137 };
  enum Code { kChosen = 1, kReset, kApply };
  explicit CVexRetouchTabSize(CVexRetouchDlg* dialog);

  CString m_strNewSize;
  CString m_strCurrentSize;
  int m_nSizeIndex = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnChosen();
  afx_msg void OnReset();
  afx_msg void OnApply();
  DECLARE_MESSAGE_MAP()
};
