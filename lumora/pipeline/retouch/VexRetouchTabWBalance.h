// CVexRetouchTabWBalance: the W.Balance page (template 138): the white and black
// balance buttons, the kind of sample (a point or a rectangle of the picture), Start,
// and Apply and Reset. The sampling itself is the dialog's, on its preview.
#pragma once
#include "pipeline/retouch/VexRetouchTab.h"

class CVexRetouchTabWBalance : public CVexRetouchTab {
 public:
  enum { IDD = 138 };
  enum Code { kWhite = 1, kBlack, kStart, kReset, kApply };
  enum SampleKind { kPoint = 0, kRectangle = 1 };
  explicit CVexRetouchTabWBalance(CVexRetouchDlg* dialog);

  // Point sampling, Start disabled, the two balance icons on their buttons.
  void SetStartValues();
  void EnableStart(BOOL enable);

  int m_nSampleKind = kPoint;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnKind() { UpdateData(TRUE); }
  afx_msg void OnWhite() { Notify(kWhite); }
  afx_msg void OnBlack() { Notify(kBlack); }
  afx_msg void OnStart();
  afx_msg void OnReset() { Notify(kReset); }
  afx_msg void OnApply() { Notify(kApply); }
  DECLARE_MESSAGE_MAP()
};
