// CVexAnnoRectSet: the property dialog of the rectangle and scale bar (variant 0), the
// ellipse (1) and the polygon (2): pen width, colour, square and fill. One colour choice
// sets both colours. The caller hands the values in before DoModal and takes them back
// after IDOK.
#pragma once
#include <afxwin.h>

#include "AnnColorButton.h"

class CVexAnnoRectSet : public CDialog {
 public:
  enum { IDD = 143 };
  explicit CVexAnnoRectSet(int variant = 0, CWnd* pParent = nullptr) : CDialog(IDD, pParent), m_nVariant(variant) {}

  void SetValues(int width, int lineType, COLORREF color, COLORREF color2, int square, int fill);
  void GetValues(int& width, int& lineType, COLORREF& color, COLORREF& color2, int& square, int& fill) const;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnColor();
  DECLARE_MESSAGE_MAP()

 private:
  CAnnColorButton m_colorButton;
  CComboBox m_widthList;
  int m_nSquare = 0;
  int m_nFill = 0;
  int m_nVariant;
  int m_nLineType = 0;
  int m_nWidth = 1;
  COLORREF m_color = 0;
  COLORREF m_color2 = 0;
};
