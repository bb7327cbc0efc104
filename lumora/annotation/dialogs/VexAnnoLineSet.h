// CVexAnnoLineSet: the property dialog of the line (variant 0), the polyline (1) and the
// freehand curve (2): pen width, colour and, for the line, its arrow heads. The caller
// hands the values in before DoModal and takes them back after IDOK.
#pragma once
#include <afxwin.h>

#include "AnnColorButton.h"
#include "ArrowCombo.h"

class CVexAnnoLineSet : public CDialog {
 public:
  enum { IDD = 141 };
  explicit CVexAnnoLineSet(int variant = 0, CWnd* pParent = nullptr) : CDialog(IDD, pParent), m_nVariant(variant) {}

  void SetValues(int width, int styleCode, int lineType, COLORREF color);
  void GetValues(int& width, int& styleCode, int& lineType, COLORREF& color) const;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnColor();
  DECLARE_MESSAGE_MAP()

 private:
  CArrowCombo m_arrowList;
  CAnnColorButton m_colorButton;
  CComboBox m_widthList;
  int m_nStyleIndex = 0;  // selection of the arrow list; -1 none
  int m_nVariant;
  int m_nLineType = 0;
  int m_nWidth = 1;
  COLORREF m_color = 0;
  int m_nGivenStyle = 0;
};
