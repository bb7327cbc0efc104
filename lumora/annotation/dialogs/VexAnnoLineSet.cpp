#include "VexAnnoLineSet.h"

#include <afxdlgs.h>

#include "AnnoWidthList.h"
#include "control/VexAppIcon.h"

namespace {
constexpr int kWidthList = 1020;
constexpr int kArrowList = 1021;
constexpr int kColorButton = 1023;
constexpr int kStyleLabel = 1031;
}  // namespace

BEGIN_MESSAGE_MAP(CVexAnnoLineSet, CDialog)
ON_BN_CLICKED(kColorButton, OnColor)
END_MESSAGE_MAP()

void CVexAnnoLineSet::SetValues(int width, int styleCode, int lineType, COLORREF color) {
  m_nWidth = width;
  m_nGivenStyle = styleCode;
  m_nStyleIndex = styleCode;
  m_nLineType = lineType;
  m_color = color;
}

void CVexAnnoLineSet::GetValues(int& width, int& styleCode, int& lineType, COLORREF& color) const {
  width = m_nWidth;
  // With nothing chosen in the list the line keeps its style: a measuring line (4) has
  // no item, and must stay a measuring line.
  styleCode = m_nStyleIndex >= 0 ? m_nStyleIndex : m_nGivenStyle;
  lineType = m_nLineType;
  color = m_color;
}

void CVexAnnoLineSet::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kArrowList, m_arrowList);
  DDX_Control(pDX, kColorButton, m_colorButton);
  DDX_Control(pDX, kWidthList, m_widthList);
  DDX_CBIndex(pDX, kArrowList, m_nStyleIndex);
}

BOOL CVexAnnoLineSet::OnInitDialog() {
  // The arrow pictures go in before the data exchange selects the given style.
  for (LPARAM type = 1; type <= 4; ++type) {
    const LRESULT item = SendDlgItemMessage(kArrowList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    SendDlgItemMessage(kArrowList, CB_SETITEMDATA, static_cast<WPARAM>(item), type);
  }
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  annowidth::Fill(m_widthList, m_nWidth);
  m_colorButton.SetColor(m_color);
  static const UINT kTitles[] = {62554, 62555, 62560};
  CString title;
  if (m_nVariant >= 0 && m_nVariant <= 2 && title.LoadString(kTitles[m_nVariant])) SetWindowText(title);
  if (m_nVariant == 1 || m_nVariant == 2) {
    GetDlgItem(kStyleLabel)->ShowWindow(SW_HIDE);
    m_arrowList.ShowWindow(SW_HIDE);
  }
  return TRUE;
}

void CVexAnnoLineSet::OnColor() {
  UpdateData(TRUE);
  CColorDialog chooser(m_color, 0, this);
  if (chooser.DoModal() == IDOK) {
    m_color = chooser.GetColor();
    m_colorButton.SetColor(m_color);
    m_colorButton.Invalidate();
  }
  UpdateData(FALSE);
}

void CVexAnnoLineSet::OnOK() {
  if (!annowidth::Read(*this, m_widthList, m_nWidth)) return;
  CDialog::OnOK();
}
