#include "VexPrintType.h"

#include <afxdlgs.h>

#include "control/VexAppIcon.h"

BEGIN_MESSAGE_MAP(CVexPrintType, CDialog)
ON_WM_PAINT()
ON_BN_CLICKED(CVexPrintType::kSetFont, OnSetFont)
END_MESSAGE_MAP()

const CVexPrintType::tSquare CVexPrintType::kPictograms[13] = {
    {43, 120, 110},                                                    // one a page
    {268, 120, 50},  {268, 180, 50},                                   // two
    {43, 270, 50},   {103, 270, 50}, {43, 330, 50}, {103, 330, 50},    // four
    {218, 270, 40},  {263, 270, 40}, {308, 270, 40},                   // six
    {218, 330, 40},  {263, 330, 40}, {308, 330, 40}};

CVexPrintType::CVexPrintType(CWnd* pParent) : CDialog(IDD, pParent) {}

CString CVexPrintType::FaceLine(const LOGFONTA& font) {
  static const struct {
    BYTE charSet;
    LPCSTR format;
  } kSets[] = {{0, "%s [ANSI]"},     {1, "%s [DEFAULT]"},       {2, "%s [SYMBOL]"},   {77, "%s [MAC]"},
               {128, "%s [SHIFTJIS]"}, {129, "%s [HANGUL]"},  {134, "%s [GB2312]"}, {136, "%s [CHINESEBIG5]"},
               {161, "%s [GREEK]"},    {162, "%s [TURKISH]"}, {186, "%s [BALTIC]"}, {204, "%s [RUSSIAN]"},
               {238, "%s [EASTEUROPE]"}, {255, "%s [OEM]"}};
  CString line;
  for (const auto& set : kSets)
    if (set.charSet == font.lfCharSet) line.Format(set.format, font.lfFaceName);
  return line;
}

CString CVexPrintType::SizeLine(int fontSize) {
  CString line;
  line.Format("     Size  : %d points", fontSize / 10);
  return line;
}

// A weight between two hundreds reads as the lower one; past 900 it is still Heavy.
CString CVexPrintType::StyleLine(const LOGFONTA& font) {
  static const LPCSTR kWeights[10] = {
      "     Style : Dontcare", "     Style : Thin",     "     Style : Ultralight", "     Style : Light",
      "     Style : Regular",  "     Style : Medium",   "     Style : Demibold",   "     Style : Bold",
      "     Style : Ultrabold", "     Style : Heavy"};
  if (font.lfWeight < 0) return CString();
  const LONG step = font.lfWeight / 100 > 9 ? 9 : font.lfWeight / 100;
  CString line;
  line.Format(font.lfItalic ? "%s Italic" : "%s", kWeights[step]);
  return line;
}

void CVexPrintType::ShowFontDescription() {
  if (!m_hWnd) return;
  SetDlgItemText(kFontLine, FaceLine(m_font));
  SetDlgItemText(kSizeLine, SizeLine(m_nFontSize));
  SetDlgItemText(kStyleLine, StyleLine(m_font));
}

void CVexPrintType::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kSizeLine, m_sizeLine);
  DDX_Control(pDX, kStyleLine, m_styleLine);
  DDX_Control(pDX, kFontLine, m_fontLine);
  DDX_Check(pDX, kCaptionsCheck, m_bCaptions);
  DDX_Radio(pDX, kFirstLayout, m_nLayout);
}

BOOL CVexPrintType::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  ShowFontDescription();
  return TRUE;
}

void CVexPrintType::OnPaint() {
  CPaintDC dc(this);
  const HGDIOBJ pen = ::SelectObject(dc.m_hDC, ::GetStockObject(BLACK_PEN));
  const HGDIOBJ brush = ::SelectObject(dc.m_hDC, ::GetStockObject(WHITE_BRUSH));
  for (const tSquare& s : kPictograms) dc.Rectangle(s.x, s.y, s.x + s.side, s.y + s.side);
  ::SelectObject(dc.m_hDC, pen);
  ::SelectObject(dc.m_hDC, brush);
}

void CVexPrintType::OnSetFont() {
  UpdateData(TRUE);
  CFontDialog chooser(&m_font, CF_SCREENFONTS | CF_PRINTERFONTS | CF_EFFECTS, nullptr, this);
  chooser.m_cf.iPointSize = m_nFontSize;
  chooser.m_cf.rgbColors = m_color;
  chooser.m_cf.nSizeMin = 8;
  chooser.m_cf.nSizeMax = 72;
  if (chooser.DoModal() == IDOK) {
    // The chooser has written the font into m_font.
    m_nFontSize = chooser.GetSize();
    m_color = chooser.GetColor();
    ShowFontDescription();
  }
  UpdateData(FALSE);
}
