#include "SECPanel.h"

#include <algorithm>
#include <cstdlib>

#include "SECAuxData.h"
#include "SECCalendar.h"
#include "SECLocaleNames.h"

IMPLEMENT_DYNCREATE(SECPanel, CObject)
IMPLEMENT_DYNCREATE(SECDayBox, SECPanel)

namespace {

// Fitting stops doubling at this height even if the fonts kept growing.
constexpr LONG kLargestFitHeight = 4096;

// `value` times `factor`, at least one unit nearer to zero; 0 stays 0.
LONG Shrunk(LONG value, double factor) {
  if (value == 0) return 0;
  const LONG magnitude = std::labs(value);
  const LONG smaller = std::min(static_cast<LONG>(magnitude * factor), magnitude - 1);
  return value < 0 ? -smaller : smaller;
}

}  // namespace

SECPanel::SECPanel() : m_clrGrey(::GetSysColor(COLOR_GRAYTEXT)), m_clrText(::GetSysColor(COLOR_WINDOWTEXT)) {}

BOOL SECPanel::Create(const RECT& rect, SECCalendar* pCalendar, DWORD, UINT, BOOL bSelected, BOOL bHighlighted,
                      DWORD dwDrawStyle, DWORD dwBehaviour, int nBevelWidth) {
  m_rect = rect;
  m_pCal = pCalendar;
  m_bSelected = bSelected ? 1 : 0;
  m_bHighlighted = bHighlighted ? 1 : 0;
  m_dwDrawStyle = dwDrawStyle;
  m_dwBehaviour = dwBehaviour;
  m_nBevelWidth = nBevelWidth;
  m_bCreated = 1;
  ComputeInsets();
  return TRUE;
}

int SECPanel::BandTotal(DWORD dwStyle, int nBevelWidth, BOOL bSelected, BOOL bHighlighted) {
  int total = (dwStyle & (bSelected ? SEC_PDS_BORDERSELECTED : SEC_PDS_BORDERUNSELECTED)) ? 1 : 0;
  if (dwStyle & (bSelected ? SEC_PDS_BEVELSELECTED : SEC_PDS_BEVELUNSELECTED)) total += nBevelWidth;
  if (bHighlighted && (dwStyle & (bSelected ? SEC_PDS_RINGSELECTED : SEC_PDS_RINGUNSELECTED))) total += nBevelWidth;
  return total;
}

void SECPanel::ComputeInsets() {
  const DWORD style = m_dwDrawStyle;
  const DWORD border = m_bSelected ? SEC_PDS_BORDERSELECTED : SEC_PDS_BORDERUNSELECTED;
  const DWORD bevel = m_bSelected ? SEC_PDS_BEVELSELECTED : SEC_PDS_BEVELUNSELECTED;
  const DWORD ring = m_bSelected ? SEC_PDS_RINGSELECTED : SEC_PDS_RINGUNSELECTED;
  m_nBorderStart = 0;
  m_nBorderEnd = (style & border) ? 1 : 0;
  m_nBevelEnd = m_nBorderEnd + ((style & bevel) ? m_nBevelWidth : 0);
  m_nRingEnd = m_nBevelEnd + ((m_bHighlighted && (style & ring)) ? m_nBevelWidth : 0);
  m_bDirty = 0;
}

DWORD SECPanel::SetDrawStyle(DWORD dwStyle) {
  const DWORD old = m_dwDrawStyle;
  m_dwDrawStyle = dwStyle;
  m_bDirty = 1;
  return old;
}

DWORD SECPanel::SetBehaviour(DWORD dwBehaviour) {
  const DWORD old = m_dwBehaviour;
  m_dwBehaviour = dwBehaviour;
  m_bDirty = 1;
  return old;
}

int SECPanel::SetBevelWidth(int nWidth) {
  const int old = m_nBevelWidth;
  m_nBevelWidth = nWidth;
  m_bDirty = 1;
  return old;
}

COLORREF SECPanel::SetTextColour(COLORREF colour) {
  const COLORREF old = m_clrText;
  m_clrText = colour;
  return old;
}

CRect SECPanel::SetRect(const CRect& rect) {
  const CRect old = m_rect;
  m_rect = rect;
  return old;
}

BOOL SECPanel::SetSelected(BOOL bOn, BOOL bRedraw) {
  if (!(m_dwBehaviour & SEC_PBS_SELECTABLE)) return FALSE;
  m_bSelected = bOn ? 1 : 0;
  m_bDirty = 1;
  if (bRedraw && m_bCreated && m_pCal && m_pCal->GetSafeHwnd()) {
    CRect grown(m_rect.left - 1, m_rect.top - 1, m_rect.right + 2, m_rect.bottom + 2);
    m_pCal->InvalidateRect(&grown);
    m_pCal->UpdateWindow();
  }
  return TRUE;
}

BOOL SECPanel::SetHighlighted(BOOL bOn, BOOL bRedraw) {
  if (!(m_dwBehaviour & SEC_PBS_HIGHLIGHTABLE)) {
    m_bHighlighted = 0;
    m_bDirty = 1;
    return FALSE;
  }
  m_bHighlighted = bOn ? 1 : 0;
  m_bDirty = 1;
  if (bRedraw && m_bCreated && m_pCal && m_pCal->GetSafeHwnd()) {
    CRect grown(m_rect.left - 1, m_rect.top - 1, m_rect.right + 2, m_rect.bottom + 2);
    m_pCal->InvalidateRect(&grown);
    m_pCal->UpdateWindow();
  }
  return TRUE;
}

CRect SECPanel::GetInnerRect() {
  if (m_bDirty) ComputeInsets();
  CRect inner = m_rect;
  inner.DeflateRect(m_nRingEnd, m_nRingEnd);
  if (inner.Width() < 0 || inner.Height() < 0) inner.SetRectEmpty();
  return inner;
}

CRect SECPanel::InnerPaintRect() {
  if (m_bDirty) ComputeInsets();
  CRect inner = m_rect;
  inner.DeflateRect(m_nRingEnd, m_nRingEnd);
  if (inner.Width() < 0 || inner.Height() < 0) return CRect(0, 0, 0, 0);
  return CRect(inner.left, inner.top, inner.right + 1, inner.bottom + 1);
}

// ---- drawing

BOOL SECPanel::Draw(CDC* pDC) {
  if (m_bDirty) ComputeInsets();
  const COLORREF oldBk = pDC->SetBkColor(secData.clrBtnFace);
  const COLORREF oldText = pDC->SetTextColor(m_clrText);
  BOOL ok = DrawBorder(pDC);
  ok = DrawBevel(pDC) && ok;
  ok = DrawBackground(pDC) && ok;
  ok = DrawText(pDC) && ok;
  ok = DrawHighlight(pDC) && ok;
  pDC->SetBkColor(oldBk);
  pDC->SetTextColor(oldText);
  return ok;
}

void SECPanel::DrawBand(CDC* pDC, int nFrom, int nTo, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  if (nFrom == nTo) return;
  for (int inset = nFrom; inset <= nTo; ++inset) {
    CRect r = m_rect;
    r.DeflateRect(inset, inset);
    if (r.Width() < 0 || r.Height() < 0) break;
    pDC->Draw3dRect(r.left, r.top, r.Width() + 1, r.Height() + 1, clrTopLeft, clrBottomRight);
  }
}

BOOL SECPanel::DrawBorder(CDC* pDC) {
  DrawBand(pDC, m_nBorderStart, m_nBorderEnd, m_clrBorder, m_clrBorder);
  return TRUE;
}

BOOL SECPanel::DrawBevel(CDC* pDC) {
  if (m_bSelected)
    DrawBand(pDC, m_nBorderEnd, m_nBevelEnd, secData.clrBtnShadow, secData.clrBtnHilite);
  else
    DrawBand(pDC, m_nBorderEnd, m_nBevelEnd, secData.clrBtnHilite, secData.clrBtnShadow);
  return TRUE;
}

BOOL SECPanel::DrawHighlight(CDC* pDC) {
  DrawBand(pDC, m_nBevelEnd, m_nRingEnd, m_clrRing, m_clrRing);
  return TRUE;
}

// The bands are drawn through the background colour, so the button face is set again.
BOOL SECPanel::DrawBackground(CDC* pDC) {
  const CRect paint = InnerPaintRect();
  if (!paint.IsRectEmpty()) pDC->FillSolidRect(&paint, secData.clrBtnFace);
  pDC->SetBkColor(secData.clrBtnFace);
  return TRUE;
}

BOOL SECPanel::DrawText(CDC* pDC) {
  const CRect paint = InnerPaintRect();
  if (paint.IsRectEmpty()) return TRUE;
  UINT oldAlign;
  int x, y;
  if (m_dwDrawStyle & SEC_PDS_CENTERTEXT) {
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
    x = paint.left + paint.Width() / 2;
    y = paint.top + paint.Height() / 2 + tm.tmAscent / 2;
  } else {
    oldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    x = paint.left + paint.Width() / 10;
    y = paint.top + paint.Height() / 10;
  }
  pDC->ExtTextOut(x, y, ETO_OPAQUE | ETO_CLIPPED, &paint, m_strText, nullptr);
  pDC->SetTextAlign(oldAlign);
  return TRUE;
}

// ---- sizes and font fitting

CSize SECPanel::Measure(CDC* pDC, const LOGFONT* plf, CFont* pDefault, const std::function<CSize(CDC*)>& measure) {
  CFont made;
  CFont* pFont = pDefault;
  if (plf && made.CreateFontIndirect(plf)) pFont = &made;
  CFont* pOld = pFont && pFont->GetSafeHandle() ? pDC->SelectObject(pFont) : nullptr;
  const CSize size = measure(pDC);
  if (pOld) pDC->SelectObject(pOld);
  return size;
}

void SECPanel::FitFont(LOGFONT& lf, CSize room, double factor, const std::function<CSize(const LOGFONT&)>& size,
                       const std::function<bool(const LOGFONT&, CSize)>& canShrink) {
  if (room.cx <= 0 || room.cy <= 0) {
    lf.lfHeight = lf.lfWidth = 0;
    return;
  }
  CSize current = size(lf);
  // The fonts cannot grow for ever (the font system caps their size): doubling ends
  // when the measured size stops growing or the height bound is reached.
  while (current.cx < room.cx && current.cy < room.cy && std::labs(lf.lfHeight) < kLargestFitHeight) {
    LOGFONT bigger = lf;
    bigger.lfHeight *= 2;
    bigger.lfWidth *= 2;
    const CSize next = size(bigger);
    lf = bigger;
    if (next.cx <= current.cx && next.cy <= current.cy) {
      current = next;
      break;
    }
    current = next;
  }
  while ((current.cx > room.cx || current.cy > room.cy) && canShrink(lf, current)) {
    lf.lfHeight = Shrunk(lf.lfHeight, factor);
    lf.lfWidth = Shrunk(lf.lfWidth, factor);
    current = size(lf);
  }
}

// ---- day bar

BOOL SECDayBar::DrawText(CDC* pDC) {
  const CRect paint = InnerPaintRect();
  if (paint.IsRectEmpty()) return TRUE;
  static const double kColumns[] = {0, 0.143, 0.286, 0.429, 0.572, 0.715, 0.858, 1.0};
  const int width = paint.Width() - 1;
  TEXTMETRIC tm{};
  pDC->GetTextMetrics(&tm);
  const UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
  const COLORREF oldBk = pDC->SetBkColor(secData.clrBtnFace);
  const int y = paint.top + paint.Height() / 2 + tm.tmAscent / 2;
  for (int column = 1; column <= 7; ++column) {
    const CString name = GetColumnName(column);
    const CRect cell(paint.left + static_cast<int>(kColumns[column - 1] * width), paint.top,
                     paint.left + static_cast<int>(kColumns[column] * width), paint.bottom);
    if (name.IsEmpty() || cell.IsRectEmpty()) continue;
    pDC->ExtTextOut(cell.left + cell.Width() / 2, y, ETO_OPAQUE | ETO_CLIPPED, &cell, name, nullptr);
  }
  pDC->SetBkColor(oldBk);
  pDC->SetTextAlign(oldAlign);
  return TRUE;
}

CString SECDayBar::GetColumnName(int nColumn) const {
  // Column i shows weekday ((first + i - 2) mod 7) + 1 of the calendar's numbering,
  // 1 being Sunday, named as the locale names that day.
  const int weekday = (m_nFirstDay + nColumn - 2) % 7 + 1;
  return SECWeekdayName(weekday, (m_dwDrawStyle & SEC_PDS_LONGDAYS) != 0);
}

CSize SECDayBar::GetSize(CDC* pDC, const LOGFONT* plf) {
  const CString wednesday = SECWeekdayName(4, (m_dwDrawStyle & SEC_PDS_LONGDAYS) != 0);
  const CSize extent = Measure(pDC, plf, m_pCal ? m_pCal->GetDayBarFont() : nullptr,
                               [&](CDC* dc) { return dc->GetTextExtent(wednesday); });
  return CSize(7 * extent.cx, extent.cy);
}

void SECDayBar::FitFont(CDC* pDC, LOGFONT& lf) {
  SECPanel::FitFont(lf, RoomOf(), 0.9, [&](const LOGFONT& f) { return GetSize(pDC, &f); },
                    [](const LOGFONT&, CSize size) { return size.cx > 2 && size.cy > 2; });
}

// ---- day box

void SECDayBox::SetDate(const COleDateTime& date) {
  m_date = date;
  m_bHasDate = 1;
}

void SECDayBox::SetOutOfMonth(BOOL bOut) {
  m_bOutOfMonth = bOut ? 1 : 0;
  DWORD behaviour = m_dwBehaviour;
  if (bOut) {
    behaviour &= ~SEC_PBS_HIGHLIGHTABLE;
    if (!(behaviour & SEC_CS_SELECTOUTOFMONTH)) behaviour &= ~SEC_PBS_SELECTABLE;
  } else {
    behaviour |= SEC_PBS_SELECTABLE | SEC_PBS_HIGHLIGHTABLE;
  }
  SetBehaviour(behaviour);
}

BOOL SECDayBox::DrawText(CDC* pDC) {
  const CRect paint = InnerPaintRect();
  if (paint.IsRectEmpty() || !m_bHasDate) return TRUE;
  CString text;
  text.Format("%d", m_date.GetDay());
  const BOOL bGrey = m_bOutOfMonth && (m_dwDrawStyle & SEC_PDS_GREYOUTOFMONTH);
  const COLORREF oldText = pDC->SetTextColor(bGrey ? m_clrGrey : m_clrText);
  const UINT oldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
  CPoint at(paint.left + paint.Width() / 10, paint.top + paint.Height() / 10);
  if (m_dwDrawStyle & SEC_PDS_CENTERTEXT) {
    const CSize extent = pDC->GetTextExtent(text);
    at = CPoint(paint.left + (paint.Width() - extent.cx) / 2, paint.top + (paint.Height() - extent.cy) / 2);
  }
  pDC->ExtTextOut(at.x, at.y, ETO_OPAQUE | ETO_CLIPPED, &paint, text, nullptr);
  pDC->SetTextAlign(oldAlign);
  pDC->SetTextColor(oldText);
  return TRUE;
}

CSize SECDayBox::GetSize(CDC* pDC, const LOGFONT* plf) {
  const CSize extent = Measure(pDC, plf, m_pCal ? m_pCal->GetDayFont() : nullptr,
                               [](CDC* dc) { return dc->GetTextExtent(CString("88")); });
  double scale = 1.25;
  if (!(m_dwDrawStyle & SEC_PDS_CENTERTEXT)) scale *= 1.5;
  // The widest bands a box can show: selected or not, highlighted, in or out of the month.
  int bands = 0;
  if (m_pCal) {
    for (DWORD style : {m_pCal->GetInMonthStyle(), m_pCal->GetOutOfMonthStyle()})
      for (BOOL selected : {TRUE, FALSE})
        bands = std::max(bands, BandTotal(style, m_nBevelWidth, selected, TRUE));
  } else {
    bands = std::max(BandTotal(m_dwDrawStyle, m_nBevelWidth, TRUE, TRUE),
                     BandTotal(m_dwDrawStyle, m_nBevelWidth, FALSE, TRUE));
  }
  return CSize(std::max(static_cast<int>(extent.cx * scale), extent.cx + 2 * bands),
               std::max(static_cast<int>(extent.cy * scale), extent.cy + 2 * bands));
}

void SECDayBox::FitFont(CDC* pDC, LOGFONT& lf) {
  // Down to one unit: a height of 0 would ask for the default size instead.
  SECPanel::FitFont(lf, RoomOf(), 0.9, [&](const LOGFONT& f) { return GetSize(pDC, &f); },
                    [](const LOGFONT& f, CSize) { return std::labs(f.lfHeight) > 1; });
}

BOOL SECDayBox::OnClick() {
  // The date is taken first: showing another month gives this box another date.
  const COleDateTime date = m_date;
  if (m_bOutOfMonth && !(m_dwBehaviour & SEC_CS_SELECTOUTOFMONTH) && !m_pCal->SetDate(date, TRUE)) return FALSE;
  if (m_dwBehaviour & SEC_CS_DRAGSELECT) return m_pCal->SelectDate(date, TRUE);
  return m_pCal->ToggleSelect(date);
}

void SECDayBox::OnDoubleClick() {
  if (!m_bSelected) OnClick();
  if ((m_dwBehaviour & SEC_CS_RELEASECLOSE) && m_pCal->GetSafeHwnd()) m_pCal->PostMessage(SEC_CALN_OK);
}

void SECDayBox::OnRightClick() {
  const COleDateTime date = m_date;
  if (m_bOutOfMonth && !m_pCal->SetDate(date, TRUE)) return;
  m_pCal->ToggleHighlight(date);
}
