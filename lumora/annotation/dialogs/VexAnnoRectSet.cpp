#include "VexAnnoRectSet.h"

#include <afxdlgs.h>

#include "AnnoWidthList.h"
#include "control/VexAppIcon.h"

namespace {
constexpr int kWidthList = 1025;
constexpr int kColorButton = 1027;
constexpr int kSquareBox = 1028;
constexpr int kFillBox = 1029;
}  // namespace

BEGIN_MESSAGE_MAP(CVexAnnoRectSet, CDialog)
ON_BN_CLICKED(kColorButton, OnColor)
END_MESSAGE_MAP()

void CVexAnnoRectSet::SetValues(int width, int lineType, COLORREF color, COLORREF color2, int square, int fill) {
  m_nWidth = width;
  m_nLineType = lineType;
  m_color = color;
  m_color2 = color2;
  m_nSquare = square;
  m_nFill = fill;
}

void CVexAnnoRectSet::GetValues(int& width, int& lineType, COLORREF& color, COLORREF& color2, int& square,
                                int& fill) const {
  width = m_nWidth;
  lineType = m_nLineType;
  color = m_color;
  color2 = m_color2;
  square = m_nSquare;
  fill = m_nFill;
}

void CVexAnnoRectSet::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kColorButton, m_colorButton);
  DDX_Control(pDX, kWidthList, m_widthList);
  DDX_Check(pDX, kSquareBox, m_nSquare);
  DDX_Check(pDX, kFillBox, m_nFill);
}

BOOL CVexAnnoRectSet::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  annowidth::Fill(m_widthList, m_nWidth);
  m_colorButton.SetColor(m_color);
  static const UINT kTitles[] = {62556, 62557, 62558};
  CString text;
  if (m_nVariant >= 0 && m_nVariant <= 2 && text.LoadString(kTitles[m_nVariant])) SetWindowText(text);
  if (m_nVariant == 2) {
    GetDlgItem(kSquareBox)->ShowWindow(SW_HIDE);
  } else if (text.LoadString(m_nVariant == 1 ? 62562 : 62561)) {
    SetDlgItemText(kSquareBox, text);
  }
  return TRUE;
}

void CVexAnnoRectSet::OnColor() {
  UpdateData(TRUE);
  CColorDialog chooser(m_color, 0, this);
  if (chooser.DoModal() == IDOK) {
    // Outline and fill take the one colour chosen.
    m_color = chooser.GetColor();
    m_color2 = m_color;
    m_colorButton.SetColor(m_color);
    m_colorButton.Invalidate();
  }
  UpdateData(FALSE);
}

void CVexAnnoRectSet::OnOK() {
  if (!annowidth::Read(*this, m_widthList, m_nWidth)) return;
  CDialog::OnOK();
}
