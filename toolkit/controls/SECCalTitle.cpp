#include "SECCalTitle.h"

#include <cstdlib>

#include "SECCalendar.h"
#include "SECLocaleNames.h"
#include "SECResourceIds.h"

IMPLEMENT_DYNCREATE(SECCalTitle, SECPanel)

namespace {

struct ButtonSpec {
  const char* text;
  UINT id;
  DWORD pair;  // the behaviour bit that asks for it
};
const ButtonSpec kButtons[] = {
    {"<<", ID_SEC_CAL_PREVYEAR, SEC_CS_YEARBUTTONS},
    {"<", ID_SEC_CAL_PREVMONTH, SEC_CS_MONTHBUTTONS},
    {">", ID_SEC_CAL_NEXTMONTH, SEC_CS_MONTHBUTTONS},
    {">>", ID_SEC_CAL_NEXTYEAR, SEC_CS_YEARBUTTONS},
};

}  // namespace

BOOL SECCalTitle::Create(const RECT& rect, SECCalendar* pCalendar, DWORD dwWindowStyle, UINT nID, BOOL bSelected,
                         BOOL bHighlighted, DWORD dwDrawStyle, DWORD dwBehaviour, int nBevelWidth) {
  SECPanel::Create(rect, pCalendar, dwWindowStyle, nID, bSelected, bHighlighted, dwDrawStyle, dwBehaviour,
                   nBevelWidth);
  m_bYearButtons = (dwBehaviour & SEC_CS_YEARBUTTONS) ? 1 : 0;
  m_bMonthButtons = (dwBehaviour & SEC_CS_MONTHBUTTONS) ? 1 : 0;
  for (int i = 0; i < 4; ++i) {
    if (!(dwBehaviour & kButtons[i].pair) || m_buttons[i].GetSafeHwnd()) continue;
    if (!m_buttons[i].Create(kButtons[i].text, WS_CHILD, CRect(0, 0, 1, 1), pCalendar, kButtons[i].id)) {
      (kButtons[i].pair == SEC_CS_YEARBUTTONS ? m_bYearButtons : m_bMonthButtons) = 0;
    }
  }
  PlaceButtons();
  return TRUE;
}

CRect SECCalTitle::SetRect(const CRect& rect) {
  const CRect old = SECPanel::SetRect(rect);
  PlaceButtons();
  return old;
}

void SECCalTitle::PlaceButtons() {
  const CRect inner = GetInnerRect();
  const int w = inner.Width();
  const int h = inner.Height();
  const int top = inner.top + h / 5;
  const int bottom = inner.bottom - h / 5;
  // Fractions of the width (in 200ths) from the left edge, and from the right edge.
  auto fromLeft = [&](int a, int b) { return CRect(inner.left + a * w / 200, top, inner.left + b * w / 200, bottom); };
  auto fromRight = [&](int a, int b) {
    return CRect(inner.right - a * w / 200, top, inner.right - b * w / 200, bottom);
  };
  CRect place[4];
  if (m_bYearButtons && m_bMonthButtons) {
    place[PrevYear] = fromLeft(10, 30);
    place[PrevMonth] = fromLeft(30, 50);
    place[NextMonth] = fromRight(50, 30);
    place[NextYear] = fromRight(30, 10);
  } else {
    place[PrevYear] = place[PrevMonth] = fromLeft(10, 30);
    place[NextMonth] = place[NextYear] = fromRight(30, 10);
  }
  for (int i = 0; i < 4; ++i) {
    if (!m_buttons[i].GetSafeHwnd()) continue;
    const BOOL bShown = (i == PrevYear || i == NextYear) ? m_bYearButtons : m_bMonthButtons;
    m_buttons[i].MoveWindow(&place[i], FALSE);
    m_buttons[i].ShowWindow(bShown ? SW_SHOW : SW_HIDE);
  }
}

void SECCalTitle::SetDate(const COleDateTime& date) {
  CString text;
  text.Format("%s %d", static_cast<LPCSTR>(SECMonthName(date.GetMonth(), (m_dwDrawStyle & SEC_PDS_LONGMONTHS) != 0)),
              date.GetYear());
  SetText(text);
}

BOOL SECCalTitle::Draw(CDC* pDC) {
  const BOOL ok = SECPanel::Draw(pDC);
  for (int i = 0; i < 4; ++i) {
    const BOOL bShown = (i == PrevYear || i == NextYear) ? m_bYearButtons : m_bMonthButtons;
    if (!bShown || !m_buttons[i].GetSafeHwnd()) continue;
    m_buttons[i].SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_pCal->GetTitleFont()->GetSafeHandle()), TRUE);
    m_buttons[i].RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  }
  return ok;
}

CSize SECCalTitle::GetSize(CDC* pDC, const LOGFONT* plf) {
  const CString sample = (m_dwDrawStyle & SEC_PDS_LONGMONTHS) ? "September, 2000" : "Sep, 2000";
  const CSize extent = Measure(pDC, plf, m_pCal ? m_pCal->GetTitleFont() : nullptr,
                               [&](CDC* dc) { return dc->GetTextExtent(sample); });
  const double across = (m_bYearButtons || m_bMonthButtons) ? 2.2 : 1.2;
  return CSize(static_cast<int>(extent.cx * across), static_cast<int>(extent.cy * 1.2));
}

void SECCalTitle::FitFont(CDC* pDC, LOGFONT& lf) {
  SECPanel::FitFont(lf, RoomOf(), 0.95, [&](const LOGFONT& f) { return GetSize(pDC, &f); },
                    [](const LOGFONT& f, CSize) {
                      return std::labs(f.lfHeight) > 1 && (f.lfWidth == 0 || std::labs(f.lfWidth) > 1);
                    });
}
