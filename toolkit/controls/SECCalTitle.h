// SECCalTitle: the calendar's title panel, the month and year with the buttons that step
// a year back ("<<"), a month back ("<"), a month on (">") and a year on (">>").
#pragma once
#include "SECPanel.h"

class SECCalTitle : public SECPanel {
  DECLARE_DYNCREATE(SECCalTitle)
 public:
  enum { PrevYear = 0, PrevMonth = 1, NextMonth = 2, NextYear = 3 };

  // Also makes the buttons that the behaviour word asks for (month pair 0x80000, year
  // pair 0x100000), hidden children of the calendar until the title is placed.
  BOOL Create(const RECT& rect, SECCalendar* pCalendar, DWORD dwWindowStyle, UINT nID, BOOL bSelected,
              BOOL bHighlighted, DWORD dwDrawStyle, DWORD dwBehaviour, int nBevelWidth);

  BOOL Draw(CDC* pDC) override;
  // The previous rectangle; the buttons move with the title.
  virtual CRect SetRect(const CRect& rect);
  // "<month> <year>", the month named by the locale.
  virtual void SetDate(const COleDateTime& date);

  CSize GetSize(CDC* pDC, const LOGFONT* plf = nullptr);
  void FitFont(CDC* pDC, LOGFONT& lf);

  CButton& GetButton(int nIndex) { return m_buttons[nIndex]; }
  BOOL ShowsYearButtons() const { return m_bYearButtons; }
  BOOL ShowsMonthButtons() const { return m_bMonthButtons; }

 protected:
  void PlaceButtons();

  CButton m_buttons[4];
  int m_bYearButtons = 1;
  int m_bMonthButtons = 1;
};
