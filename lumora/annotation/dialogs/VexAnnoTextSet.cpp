#include "VexAnnoTextSet.h"

#include <afxdlgs.h>

#include "control/VexAppIcon.h"

namespace {
constexpr int kFaceText = 1011;
constexpr int kSizeText = 1012;
constexpr int kSetButton = 1013;
constexpr int kStyleText = 1014;
constexpr int kPreview = 1015;
constexpr int kFillBox = 1018;
constexpr int kTextField = 1029;
constexpr int kTextLabel = 1030;
// How much shorter the defaults variant is: the text field's row.
constexpr int kTextRowHeight = 35;
}  // namespace

BEGIN_MESSAGE_MAP(CVexAnnoTextSet, CDialog)
ON_BN_CLICKED(kSetButton, OnSetFont)
ON_BN_CLICKED(kPreview, OnBackgroundColor)
ON_BN_CLICKED(kFillBox, OnFillCheck)
END_MESSAGE_MAP()

void CVexAnnoTextSet::SetValues(LOGFONTA font, int fontSize, COLORREF textColor, COLORREF bkColor, int fill,
                                CString text) {
  m_font = font;
  m_nFontSize = fontSize;
  m_textColor = textColor;
  m_bkColor = bkColor;
  m_nFill = fill;
  m_strText = text;
}

void CVexAnnoTextSet::GetValues(LOGFONTA& font, int& fontSize, COLORREF& textColor, COLORREF& bkColor, int& fill,
                                CString& text) const {
  font = m_font;
  fontSize = m_nFontSize;
  textColor = m_textColor;
  bkColor = m_bkColor;
  fill = m_nFill;
  text = m_strText;
}

CString CVexAnnoTextSet::DescribeFace(const LOGFONTA& font) {
  static const struct {
    BYTE charSet;
    const char* format;
  } kSets[] = {{0, "%s [ANSI]"},         {1, "%s [DEFAULT]"},   {2, "%s [SYMBOL]"},   {77, "%s [MAC]"},
               {128, "%s [SHIFTJIS]"},   {129, "%s [HANGUL]"},  {134, "%s [GB2312]"}, {136, "%s [CHINESEBIG5]"},
               {161, "%s [GREEK]"},      {162, "%s [TURKISH]"}, {186, "%s [BALTIC]"}, {204, "%s [RUSSIAN]"},
               {238, "%s [EASTEUROPE]"}, {255, "%s [OEM]"}};
  CString text;
  for (const auto& s : kSets)
    if (s.charSet == font.lfCharSet) text.Format(s.format, font.lfFaceName);
  return text;
}

CString CVexAnnoTextSet::DescribeSize(int fontSize) {
  CString text;
  text.Format("            Size  : %d points", fontSize / 10);
  return text;
}

CString CVexAnnoTextSet::DescribeStyle(const LOGFONTA& font) {
  static const struct {
    LONG weight;
    const char* text;
  } kWeights[] = {{0, "            Style : Dontcare"},     {100, "            Style : Thin"},
                  {200, "            Style : Ultralight"}, {300, "            Style : Light"},
                  {400, "            Style : Regular"},    {500, "            Style : Medium"},
                  {600, "            Style : Demibold"},   {700, "            Style : Bold"},
                  {800, "            Style : Ultrabold"},  {900, "            Style : Heavy"}};
  CString text;
  if (font.lfItalic != 0 && font.lfItalic != 1) return text;
  for (const auto& w : kWeights)
    if (w.weight == font.lfWeight) text.Format(font.lfItalic == 1 ? "%s Italic" : "%s", w.text);
  return text;
}

void CVexAnnoTextSet::UpdateFontDescription() {
  m_strFace = DescribeFace(m_font);
  m_strSize = DescribeSize(m_nFontSize);
  m_strStyle = DescribeStyle(m_font);
  m_nFillCheck = m_nFill;
  // The preview shows the face at 10 points on the screen.
  LOGFONTA preview = m_font;
  CClientDC dc(this);
  preview.lfHeight = -MulDiv(10, dc.GetDeviceCaps(LOGPIXELSY), 72);
  m_previewFont.DeleteObject();
  m_previewFont.CreateFontIndirect(&preview);
  m_preview.SetFont(&m_previewFont);
  m_preview.SetBkColor(m_nFill == 1 ? m_bkColor : GetSysColor(COLOR_BTNFACE));
  m_preview.SetTextColor(m_textColor);
  m_preview.Invalidate();
}

void CVexAnnoTextSet::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, kFaceText, m_strFace);
  DDX_Text(pDX, kSizeText, m_strSize);
  DDX_Text(pDX, kStyleText, m_strStyle);
  DDX_Control(pDX, kPreview, m_preview);
  DDX_Check(pDX, kFillBox, m_nFillCheck);
  DDX_Text(pDX, kTextField, m_strText);
}

BOOL CVexAnnoTextSet::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  UpdateFontDescription();
  UpdateData(FALSE);
  if (m_nVariant == 1) {
    GetDlgItem(kTextField)->SetFocus();
    return FALSE;
  }
  if (m_nVariant == 0) {
    CRect r;
    GetWindowRect(&r);
    SetWindowPos(nullptr, 0, 0, r.Width(), r.Height() - kTextRowHeight, SWP_NOMOVE | SWP_NOZORDER);
    for (int id : {IDOK, IDCANCEL}) {
      CWnd* button = GetDlgItem(id);
      button->GetWindowRect(&r);
      ScreenToClient(&r);
      button->SetWindowPos(nullptr, r.left, r.top - kTextRowHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    GetDlgItem(kTextField)->ShowWindow(SW_HIDE);
    GetDlgItem(kTextLabel)->ShowWindow(SW_HIDE);
  }
  return TRUE;
}

void CVexAnnoTextSet::OnSetFont() {
  UpdateData(TRUE);
  CFontDialog chooser(&m_font, CF_SCREENFONTS | CF_PRINTERFONTS | CF_EFFECTS | CF_LIMITSIZE, nullptr, this);
  chooser.m_cf.iPointSize = m_nFontSize;
  chooser.m_cf.rgbColors = m_textColor;
  chooser.m_cf.nSizeMin = 8;
  chooser.m_cf.nSizeMax = 72;
  if (chooser.DoModal() == IDOK) {
    // The chooser has written the font into m_font.
    m_nFontSize = chooser.GetSize();
    m_textColor = chooser.GetColor();
    UpdateFontDescription();
  }
  UpdateData(FALSE);
}

void CVexAnnoTextSet::OnBackgroundColor() {
  UpdateData(TRUE);
  CColorDialog chooser(m_bkColor, 0, this);
  if (chooser.DoModal() == IDOK) {
    m_bkColor = chooser.GetColor();
    UpdateFontDescription();
  }
  UpdateData(FALSE);
}

void CVexAnnoTextSet::OnFillCheck() {
  UpdateData(TRUE);
  m_nFill = m_nFillCheck;
  UpdateFontDescription();
  UpdateData(FALSE);
}
