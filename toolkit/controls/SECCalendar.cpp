#include "SECCalendar.h"

#include <algorithm>
#include <cstring>

#include "SECAuxData.h"
#include "SECResourceIds.h"

IMPLEMENT_DYNCREATE(SECCalendar, CWnd)
IMPLEMENT_DYNCREATE(SECPopupCalendar, SECCalendar)

BEGIN_MESSAGE_MAP(SECCalendar, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEMOVE()
  ON_WM_RBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_CANCELMODE()
  ON_WM_NCHITTEST()
  ON_WM_SYSCOLORCHANGE()
  ON_COMMAND(ID_SEC_CAL_PREVMONTH, OnPrevMonth)
  ON_COMMAND(ID_SEC_CAL_NEXTMONTH, OnNextMonth)
  ON_COMMAND(ID_SEC_CAL_PREVYEAR, OnPrevYear)
  ON_COMMAND(ID_SEC_CAL_NEXTYEAR, OnNextYear)
  ON_MESSAGE(SEC_CALN_OK, OnSelfOK)
  ON_MESSAGE(SEC_CALN_CANCEL, OnSelfCancel)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(SECPopupCalendar, SECCalendar)
  ON_WM_ACTIVATE()
END_MESSAGE_MAP()

namespace {

const COleDateTimeSpan kOneDay(1, 0, 0, 0);

// The calendar's grid, as fractions of the client width and height.
const double kColumns[] = {0, 0.143, 0.286, 0.429, 0.572, 0.715, 0.858, 1.0};
const double kRows[] = {0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1.0};
constexpr double kTitleBottom = 0.175;

LOGFONT SystemLogFont() {
  LOGFONT lf{};
  ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
  return lf;
}

// A day at noon with that year, month and day; invalid when the day does not exist.
COleDateTime Noon(int year, int month, int day) { return COleDateTime(year, month, day, 12, 0, 0); }

}  // namespace

SECCalendar::SECCalendar() : m_dtReference(Noon(1970, 1, 1)) {}

SECCalendar::~SECCalendar() {
  if (m_hWnd) DestroyWindow();
}

// ---- creation

BOOL SECCalendar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  secData.UpdateSysColors();
  UpdateColours();
  InitFonts();
  m_pNotifyWnd = pParentWnd;
  // A popup is never also a child.
  const DWORD windowStyle = dwStyle | WS_CLIPCHILDREN | ((dwStyle & WS_POPUP) ? 0 : WS_CHILD);
  LPCSTR lpszClass = AfxRegisterWndClass(GetClassStyle(), secData.hcurArrow);
  if (!CreateEx(0, lpszClass, "SECCalendar", windowStyle, rect, pParentWnd, (dwStyle & WS_POPUP) ? 0 : nID))
    return FALSE;

  if (m_dwStyle & SEC_CS_SIZETOCONTENT) {
    CClientDC dc(this);
    const CSize content = CalcContentSize(&dc);
    CRect window(0, 0, content.cx, content.cy);
    ::AdjustWindowRectEx(&window, CWnd::GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const CRect none(0, 0, 0, 0);
  for (SECDayBox& box : m_dayBoxes)
    box.Create(none, this, 0, 0, FALSE, FALSE, m_dwOutOfMonthStyle, m_dwStyle, m_nBevelWidth);
  const DWORD panelBehaviour = m_dwStyle & ~(SEC_CS_SELECTABLE | SEC_CS_HIGHLIGHTABLE);
  m_dayBar.Create(none, this, 0, 0, FALSE, FALSE, m_dwInMonthStyle, panelBehaviour, m_nBevelWidth);
  m_title.Create(none, this, 0, 0, FALSE, FALSE, m_dwInMonthStyle | SEC_PDS_CENTERTEXT, panelBehaviour,
                 m_nBevelWidth);

  if (m_dtReference.m_dt == 0) m_dtReference = NormalizeDate(COleDateTime::GetCurrentTime());
  SetDate(m_dtReference, FALSE);
  Layout();
  if (m_dwStyle & SEC_CS_FITFONTS) FitFonts();
  m_title.SetTextColour(m_clrTitle);
  m_dayBar.SetTextColour(m_clrDayBar);
  m_title.SetGreyColour(m_clrGrey);
  m_dayBar.SetGreyColour(m_clrGrey);
  for (SECDayBox& box : m_dayBoxes) {
    box.SetTextColour(m_clrDays);
    box.SetGreyColour(m_clrGrey);
  }
  m_bCreated = 1;
  UpdateWindow();
  SetFocus();
  return TRUE;
}

UINT SECCalendar::GetClassStyle() const { return CS_DBLCLKS; }

void SECCalendar::UpdateColours() {
  m_clrDays = ::GetSysColor(COLOR_WINDOWTEXT);
  m_clrGrey = ::GetSysColor(COLOR_GRAYTEXT);
  m_clrDayBar = ::GetSysColor(COLOR_BTNTEXT);
  m_clrTitle = ::GetSysColor(COLOR_CAPTIONTEXT);
}

void SECCalendar::InitFonts() {
  const LOGFONT system = SystemLogFont();
  m_lfTitle = m_lfDayBar = m_lfDays = system;
  m_fontTitle.DeleteObject();
  m_fontDayBar.DeleteObject();
  m_fontDays.DeleteObject();
  m_fontTitle.CreateFontIndirect(&m_lfTitle);
  m_fontDayBar.CreateFontIndirect(&m_lfDayBar);
  m_fontDays.CreateFontIndirect(&m_lfDays);
  // The records as the fitting step starts from them.
  for (LOGFONT* lf : {&m_lfTitle, &m_lfDayBar, &m_lfDays}) {
    std::strncpy(lf->lfFaceName, "Arial", LF_FACESIZE - 1);
    lf->lfQuality = DRAFT_QUALITY;
  }
  m_lfTitle.lfHeight *= 2;
  m_lfTitle.lfWidth *= 2;
  m_lfTitle.lfOutPrecision = OUT_CHARACTER_PRECIS;
  m_lfTitle.lfPitchAndFamily = VARIABLE_PITCH;
  m_lfDayBar.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  m_lfDays.lfOutPrecision = OUT_TT_ONLY_PRECIS;
}

void SECCalendar::FitFonts() {
  const LOGFONT system = SystemLogFont();
  for (LOGFONT* lf : {&m_lfTitle, &m_lfDayBar, &m_lfDays}) {
    lf->lfHeight = system.lfHeight;
    lf->lfWidth = system.lfWidth;
  }
  CClientDC dc(this);
  m_title.FitFont(&dc, m_lfTitle);
  m_dayBar.FitFont(&dc, m_lfDayBar);
  m_dayBoxes[0].FitFont(&dc, m_lfDays);
  m_fontTitle.DeleteObject();
  m_fontDayBar.DeleteObject();
  m_fontDays.DeleteObject();
  m_fontTitle.CreateFontIndirect(&m_lfTitle);
  m_fontDayBar.CreateFontIndirect(&m_lfDayBar);
  m_fontDays.CreateFontIndirect(&m_lfDays);
}

CSize SECCalendar::CalcContentSize(CDC* pDC) {
  if (!m_fontDays.GetSafeHandle()) InitFonts();
  if (!m_title.IsCreated()) {
    // Measured before the window exists (a popup sizes itself first): the panels take
    // the styles they will be created with.
    const CRect none(0, 0, 0, 0);
    const DWORD panelBehaviour = m_dwStyle & ~(SEC_CS_SELECTABLE | SEC_CS_HIGHLIGHTABLE);
    m_dayBoxes[0].Create(none, this, 0, 0, FALSE, FALSE, m_dwOutOfMonthStyle, m_dwStyle, m_nBevelWidth);
    m_dayBar.Create(none, this, 0, 0, FALSE, FALSE, m_dwInMonthStyle, panelBehaviour, m_nBevelWidth);
    m_title.Create(none, this, 0, 0, FALSE, FALSE, m_dwInMonthStyle | SEC_PDS_CENTERTEXT, panelBehaviour,
                   m_nBevelWidth);
  }
  const CSize title = m_title.GetSize(pDC);
  const CSize dayBar = m_dayBar.GetSize(pDC);
  const CSize day = m_dayBoxes[0].GetSize(pDC);
  return CSize(std::max({title.cx, dayBar.cx, 7 * day.cx}), dayBar.cy + title.cy + 6 * day.cy);
}

void SECCalendar::Layout() {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  auto y = [h](double f) { return static_cast<int>(f * h); };
  auto x = [w](double f) { return static_cast<int>(f * w); };
  m_title.SetRect(CRect(0, 0, w - 1, y(kTitleBottom) - 1));
  m_dayBar.SetRect(CRect(0, y(kTitleBottom), w - 1, y(kRows[0]) - 1));
  for (int row = 0; row < 6; ++row)
    for (int column = 0; column < 7; ++column)
      m_dayBoxes[row * 7 + column].SetRect(
          CRect(x(kColumns[column]), y(kRows[row]), x(kColumns[column + 1]) - 1, y(kRows[row + 1]) - 1));
}

// ---- dates

BOOL SECCalendar::IsValidDate(int nYear, int nMonth, int) const {
  return (nYear > 100 || (nYear == 100 && nMonth > 1)) && (nYear < 9999 || (nYear == 9999 && nMonth < 12));
}

COleDateTime SECCalendar::NormalizeDate(const COleDateTime& date) const {
  if (date.GetStatus() != COleDateTime::valid) return date;
  return Noon(date.GetYear(), date.GetMonth(), date.GetDay());
}

void SECCalendar::Beep() { ::MessageBeep(MB_ICONEXCLAMATION); }

BOOL SECCalendar::SetDate(const COleDateTime& date, BOOL bRedraw) {
  const COleDateTime day = NormalizeDate(date);
  if ((m_bCreated && (m_dwStyle & SEC_CS_FIXEDMONTH)) || day.GetStatus() != COleDateTime::valid ||
      !IsValidDate(day.GetYear(), day.GetMonth(), day.GetDay())) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  m_dtReference = day;
  m_title.SetDate(m_dtReference);
  FillDayBoxes();
  if (bRedraw && m_hWnd) {
    Invalidate();
    UpdateWindow();
  }
  return TRUE;
}

void SECCalendar::FillDayBoxes() {
  m_dtFocus = m_dtReference;
  COleDateTime day = Noon(m_dtReference.GetYear(), m_dtReference.GetMonth(), 1);
  while (day.GetDayOfWeek() != m_dayBar.m_nFirstDay) day -= kOneDay;
  int firsts = 0;  // the boxes between the first day 1 met and the next are in the month
  for (SECDayBox& box : m_dayBoxes) {
    if (day.GetDay() == 1) ++firsts;
    const BOOL bInMonth = firsts == 1;
    box.SetOutOfMonth(FALSE);
    box.SetSelected(FALSE, FALSE);
    box.SetHighlighted(FALSE, FALSE);
    box.SetDate(day);
    box.SetDrawStyle(bInMonth ? m_dwInMonthStyle : m_dwOutOfMonthStyle);
    if (!bInMonth) box.SetOutOfMonth(TRUE);
    box.SetHighlighted(m_highlights.Find(day) != nullptr, FALSE);
    if (m_pSelectedDate && day == *m_pSelectedDate) {
      box.SetSelected(TRUE, FALSE);
      m_dtFocus = day;
      m_pSelectedDayBox = &box;
    }
    day += kOneDay;
  }
}

COleDateTime SECCalendar::GetSelectedDate() const {
  if (m_pSelectedDate) return *m_pSelectedDate;
  COleDateTime none;
  none.SetStatus(COleDateTime::invalid);
  return none;
}

int SECCalendar::SetCloseMode(int nMode) {
  const int old = m_nCloseMode;
  m_nCloseMode = nMode == CloseOK ? CloseOK : CloseCancel;
  return old;
}

SECDayBox* SECCalendar::BoxOf(const COleDateTime& date) {
  const COleDateTime day = NormalizeDate(date);
  for (SECDayBox& box : m_dayBoxes)
    if (box.HasDate() && box.GetDate() == day) return &box;
  return nullptr;
}

SECDayBox* SECCalendar::BoxAt(CPoint point) {
  for (SECDayBox& box : m_dayBoxes) {
    const CRect& r = box.GetRect();
    if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom) return &box;
  }
  return nullptr;
}

BOOL SECCalendar::InShownMonth(const COleDateTime& date) const {
  return date.GetYear() == m_dtReference.GetYear() && date.GetMonth() == m_dtReference.GetMonth();
}

// ---- selection and highlights

BOOL SECCalendar::SelectDate(int nYear, int nMonth, int nDay, BOOL bSelect) {
  return SelectDate(COleDateTime(nYear, nMonth, nDay, 12, 0, 0), bSelect);
}

BOOL SECCalendar::SelectDate(const COleDateTime& date, BOOL bSelect) {
  const COleDateTime day = NormalizeDate(date);
  if (day.GetStatus() != COleDateTime::valid || !IsValidDate(day.GetYear(), day.GetMonth(), day.GetDay()))
    return FALSE;
  if (bSelect) {
    m_dtSelected = day;
    m_dtFocus = day;
    m_pSelectedDate = &m_dtSelected;
  } else {
    m_pSelectedDate = nullptr;
  }
  for (SECDayBox& box : m_dayBoxes) {
    if (box.HasDate() && box.GetDate() == day) {
      box.SetSelected(bSelect, TRUE);
      m_pSelectedDayBox = &box;
      if (m_hWnd) PostToOwner(SEC_CALN_SELECT, bSelect ? 1 : 0, reinterpret_cast<LPARAM>(&box));
    } else if (box.IsSelected()) {
      box.SetSelected(FALSE, TRUE);
      if (m_hWnd) PostToOwner(SEC_CALN_SELECT, 0, reinterpret_cast<LPARAM>(&box));
    }
  }
  if (bSelect && (m_dwStyle & SEC_CS_SELECTCLOSE) && m_hWnd) Close(TRUE);
  if (m_hWnd) SetFocus();
  return TRUE;
}

BOOL SECCalendar::ToggleSelect(int nYear, int nMonth, int nDay) {
  return ToggleSelect(COleDateTime(nYear, nMonth, nDay, 12, 0, 0));
}

BOOL SECCalendar::ToggleSelect(const COleDateTime& date) {
  const SECDayBox* pBox = BoxOf(date);
  if (pBox && pBox->IsSelected()) {
    if (!SelectDate(date, FALSE)) return FALSE;
    // Selecting closes in SelectDate; a toggle that unselects closes here.
    if ((m_dwStyle & SEC_CS_SELECTCLOSE) && m_hWnd) Close(TRUE);
    return TRUE;
  }
  return SelectDate(date, TRUE);
}

BOOL SECCalendar::HighlightDate(int nYear, int nMonth, int nDay, BOOL bOn) {
  return HighlightDate(COleDateTime(nYear, nMonth, nDay, 12, 0, 0), bOn);
}

BOOL SECCalendar::HighlightDate(const COleDateTime& date, BOOL bOn) {
  const COleDateTime day = NormalizeDate(date);
  if (day.GetStatus() != COleDateTime::valid) return FALSE;
  if (SECDayBox* pBox = BoxOf(day); pBox && pBox->SetHighlighted(bOn, TRUE) && m_hWnd)
    PostToOwner(SEC_CALN_HIGHLIGHT, bOn ? 1 : 0, reinterpret_cast<LPARAM>(pBox));
  if (bOn) {
    // Ascending, each date once.
    POSITION pos = m_highlights.GetHeadPosition();
    while (pos && m_highlights.GetAt(pos) < day) m_highlights.GetNext(pos);
    if (!pos)
      m_highlights.AddTail(day);
    else if (m_highlights.GetAt(pos) != day)
      m_highlights.InsertBefore(pos, day);
  } else {
    while (POSITION pos = m_highlights.Find(day)) m_highlights.RemoveAt(pos);
  }
  return TRUE;
}

BOOL SECCalendar::ToggleHighlight(int nYear, int nMonth, int nDay) {
  return ToggleHighlight(COleDateTime(nYear, nMonth, nDay, 12, 0, 0));
}

BOOL SECCalendar::ToggleHighlight(const COleDateTime& date) {
  const SECDayBox* pBox = BoxOf(date);
  const BOOL bOn = pBox ? !pBox->IsHighlighted() : m_highlights.Find(NormalizeDate(date)) == nullptr;
  return HighlightDate(date, bOn);
}

COLORREF SECCalendar::SetHighlightColour(int nYear, int nMonth, int nDay, COLORREF colour) {
  return SetHighlightColour(COleDateTime(nYear, nMonth, nDay, 12, 0, 0), colour);
}

COLORREF SECCalendar::SetHighlightColour(const COleDateTime& date, COLORREF colour) {
  SECDayBox* pBox = BoxOf(date);
  if (!pBox) return RGB(255, 0, 0);
  const COLORREF old = pBox->GetRingColour();
  pBox->SetRingColour(colour);
  return old;
}

// ---- moving the focus and the selection

BOOL SECCalendar::ShiftedMonthValid(const COleDateTime& base, const COleDateTimeSpan& span) const {
  const LONG days = span.GetDays();
  int year = base.GetYear() + static_cast<int>(days / 365);
  int month = base.GetMonth() + static_cast<int>(days % 365 / 28);
  while (month > 12) {
    month -= 12;
    ++year;
  }
  while (month < 1) {
    month += 12;
    --year;
  }
  return IsValidDate(year, month, 1);
}

BOOL SECCalendar::MoveFocus(const COleDateTimeSpan& span) {
  if (!ShiftedMonthValid(m_dtReference, span)) {
    Beep();
    return FALSE;
  }
  return SetDate(m_dtReference + span, TRUE);
}

BOOL SECCalendar::MoveSelection(const COleDateTimeSpan& span) {
  if (!m_pSelectedDayBox) {
    Beep();
    return FALSE;
  }
  const COleDateTime base = m_pSelectedDayBox->GetDate();
  if (!ShiftedMonthValid(base, span)) {
    Beep();
    return FALSE;
  }
  const COleDateTime target = NormalizeDate(base + span);
  if (!InShownMonth(target) && !SetDate(target, TRUE)) return FALSE;
  return SelectDate(target, TRUE);
}

BOOL SECCalendar::MoveFocusBySeconds(LONG nSeconds) { return MoveFocus(COleDateTimeSpan(0, 0, 0, nSeconds)); }

BOOL SECCalendar::MoveSelectionBySeconds(LONG nSeconds) {
  return MoveSelection(COleDateTimeSpan(0, 0, 0, nSeconds));
}

BOOL SECCalendar::MoveBy(const COleDateTimeSpan& span, BOOL bMoveSelection) {
  return bMoveSelection ? MoveSelection(span) : MoveFocus(span);
}

BOOL SECCalendar::NextDay(BOOL bMoveSelection) { return MoveBy(COleDateTimeSpan(1, 0, 0, 0), bMoveSelection); }
BOOL SECCalendar::PrevDay(BOOL bMoveSelection) { return MoveBy(COleDateTimeSpan(-1, 0, 0, 0), bMoveSelection); }
BOOL SECCalendar::NextWeek(BOOL bMoveSelection) { return MoveBy(COleDateTimeSpan(7, 0, 0, 0), bMoveSelection); }
BOOL SECCalendar::PrevWeek(BOOL bMoveSelection) { return MoveBy(COleDateTimeSpan(-7, 0, 0, 0), bMoveSelection); }

// Month and year steps move from the base date (the selected day, or the shown month's
// reference date) to `target`, then select the selected box's date again.
BOOL SECCalendar::StepTo(const COleDateTime& target, BOOL bMoveSelection) {
  const COleDateTime base = bMoveSelection ? m_pSelectedDayBox->GetDate() : m_dtReference;
  if (m_hWnd) SetFocus();
  const BOOL ok = MoveBy(target - base, bMoveSelection);
  if (m_pSelectedDayBox) SelectDate(m_pSelectedDayBox->GetDate(), TRUE);
  return ok;
}

BOOL SECCalendar::NextMonth(BOOL bMoveSelection) {
  if (bMoveSelection && !m_pSelectedDayBox) {
    Beep();
    return FALSE;
  }
  const COleDateTime base = bMoveSelection ? m_pSelectedDayBox->GetDate() : m_dtReference;
  COleDateTime first = Noon(base.GetYear(), base.GetMonth(), 1) + COleDateTimeSpan(27, 0, 0, 0);
  while (first.GetDay() != 1) first += kOneDay;
  return StepTo(first, bMoveSelection);
}

BOOL SECCalendar::PrevMonth(BOOL bMoveSelection) {
  if (bMoveSelection && !m_pSelectedDayBox) {
    Beep();
    return FALSE;
  }
  const COleDateTime base = bMoveSelection ? m_pSelectedDayBox->GetDate() : m_dtReference;
  COleDateTime first = COleDateTime(base.GetYear(), base.GetMonth(), 1, 0, 0, 0) - COleDateTimeSpan(27, 0, 0, 0);
  while (first.GetDay() != 1) first -= kOneDay;
  return StepTo(first, bMoveSelection);
}

BOOL SECCalendar::NextYear(BOOL bMoveSelection) {
  if (bMoveSelection && !m_pSelectedDayBox) {
    Beep();
    return FALSE;
  }
  const COleDateTime base = bMoveSelection ? m_pSelectedDayBox->GetDate() : m_dtReference;
  if (base.GetYear() >= 9999) {
    Beep();
    return FALSE;
  }
  int day = base.GetDay();
  COleDateTime target;
  while ((target = Noon(base.GetYear() + 1, base.GetMonth(), day)).GetStatus() != COleDateTime::valid) --day;
  return StepTo(target, bMoveSelection);
}

BOOL SECCalendar::PrevYear(BOOL bMoveSelection) {
  if (bMoveSelection && !m_pSelectedDayBox) {
    Beep();
    return FALSE;
  }
  const COleDateTime base = bMoveSelection ? m_pSelectedDayBox->GetDate() : m_dtReference;
  if (!IsValidDate(base.GetYear() - 1, base.GetMonth(), base.GetDay())) {
    Beep();
    return FALSE;
  }
  int day = base.GetDay();
  COleDateTime target;
  while ((target = Noon(base.GetYear() - 1, base.GetMonth(), day)).GetStatus() != COleDateTime::valid) --day;
  return StepTo(target, bMoveSelection);
}

// ---- closing

void SECCalendar::PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pNotifyWnd && ::IsWindow(m_pNotifyWnd->GetSafeHwnd())) m_pNotifyWnd->PostMessage(message, wParam, lParam);
}

void SECCalendar::Close(BOOL bOK) {
  PostToOwner(bOK ? SEC_CALN_OK : SEC_CALN_CANCEL, 0, 0);
  if (m_hWnd) ShowWindow(SW_HIDE);
}

LRESULT SECCalendar::OnSelfOK(WPARAM, LPARAM) {
  Close(TRUE);
  return 0;
}

LRESULT SECCalendar::OnSelfCancel(WPARAM, LPARAM) {
  Close(FALSE);
  return 0;
}

// ---- painting

void SECCalendar::OnPaint() {
  CPaintDC dc(this);
  CFont* pOld = dc.SelectObject(&m_fontTitle);
  m_title.Draw(&dc);
  dc.SelectObject(&m_fontDayBar);
  m_dayBar.Draw(&dc);
  dc.SelectObject(&m_fontDays);
  for (SECDayBox& box : m_dayBoxes) {
    const CRect& r = box.GetRect();
    const CRect area(r.left, r.top, r.right + 1, r.bottom + 1);
    if (dc.RectVisible(&area)) box.Draw(&dc);
  }
  dc.SelectObject(pOld);
}

BOOL SECCalendar::OnEraseBkgnd(CDC*) { return TRUE; }  // the panels cover the client area

void SECCalendar::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (!m_bCreated) return;
  Layout();
  if (m_dwStyle & SEC_CS_FITFONTS) FitFonts();
  Invalidate();
}

void SECCalendar::OnSysColorChange() {
  secData.UpdateSysColors();
  UpdateColours();
  m_title.SetTextColour(m_clrTitle);
  m_dayBar.SetTextColour(m_clrDayBar);
  for (SECDayBox& box : m_dayBoxes) {
    box.SetTextColour(m_clrDays);
    box.SetGreyColour(m_clrGrey);
  }
  Invalidate();
}

// ---- keyboard

void SECCalendar::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (m_dwStyle & SEC_CS_KEYBOARD) {
    const BOOL bControl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (nChar) {
      case VK_ESCAPE:
      case VK_CANCEL: Close(FALSE); break;
      case VK_RETURN: Close(m_pSelectedDate != nullptr); break;
      case VK_SPACE: ToggleSelect(m_dtFocus); break;
      case VK_HOME: SelectDate(Noon(m_dtReference.GetYear(), m_dtReference.GetMonth(), 1), TRUE); break;
      case VK_END: {
        COleDateTime last = Noon(m_dtReference.GetYear(), m_dtReference.GetMonth(), 28) + COleDateTimeSpan(4, 0, 0, 0);
        while (!InShownMonth(last)) last -= kOneDay;
        SelectDate(last, TRUE);
        break;
      }
      case VK_LEFT:
      case VK_NUMPAD4: bControl ? PrevMonth(TRUE) : PrevDay(TRUE); break;
      case VK_RIGHT:
      case VK_NUMPAD6: bControl ? NextMonth(TRUE) : NextDay(TRUE); break;
      case VK_UP:
      case VK_NUMPAD8: bControl ? PrevYear(TRUE) : PrevWeek(TRUE); break;
      case VK_DOWN:
      case VK_NUMPAD2: bControl ? NextYear(TRUE) : NextWeek(TRUE); break;
      case VK_PRIOR: bControl ? PrevYear(TRUE) : PrevMonth(TRUE); break;
      case VK_NEXT: bControl ? NextYear(TRUE) : NextMonth(TRUE); break;
      default: break;
    }
  }
  Default();
}

// ---- mouse

void SECCalendar::OnLButtonDown(UINT, CPoint point) {
  SECDayBox* pBox = BoxAt(point);
  m_bBoxPressed = pBox != nullptr;
  if (!pBox) return;
  // The selection before the drag comes back when the drag ends outside.
  m_bAnchorValid = m_pSelectedDate && InShownMonth(*m_pSelectedDate);
  if (m_bAnchorValid) m_dtAnchor = *m_pSelectedDate;
  if (!pBox->OnClick()) return;
  if (m_pSelectedDate && (m_dwStyle & SEC_CS_DRAGSELECT)) {
    SetCapture();
    m_bDragging = 1;
  }
}

void SECCalendar::OnMouseMove(UINT, CPoint point) {
  if (!m_bDragging) return;
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    if (m_pSelectedDayBox && m_pSelectedDayBox->IsSelected()) SelectDate(m_pSelectedDayBox->GetDate(), FALSE);
    return;
  }
  if (SECDayBox* pBox = BoxAt(point); pBox && !pBox->IsSelected()) pBox->OnClick();
}

void SECCalendar::OnLButtonUp(UINT, CPoint point) {
  CRect client;
  GetClientRect(&client);
  const BOOL bInside = client.PtInRect(point);
  const BOOL bWasDragging = m_bDragging;
  const BOOL bPressed = m_bBoxPressed;
  m_bBoxPressed = 0;
  if (m_bDragging) {
    m_bDragging = 0;
    ReleaseCapture();
    if (!bInside) {
      ReselectAnchor();  // and the calendar stays open
      return;
    }
    if (SECDayBox* pBox = BoxAt(point)) pBox->OnClick();
  }
  if (bInside && (bWasDragging || bPressed) && (m_dwStyle & SEC_CS_RELEASECLOSE)) Close(TRUE);
}

void SECCalendar::ReselectAnchor() {
  if (m_bAnchorValid) SelectDate(m_dtAnchor, TRUE);
}

void SECCalendar::OnCancelMode() {
  if (m_bDragging) {
    m_bDragging = 0;
    ReleaseCapture();
    ReselectAnchor();
  }
  CWnd::OnCancelMode();
}

void SECCalendar::OnLButtonDblClk(UINT, CPoint point) {
  if (SECDayBox* pBox = BoxAt(point)) pBox->OnDoubleClick();
}

void SECCalendar::OnRButtonDown(UINT, CPoint point) {
  if (SECDayBox* pBox = BoxAt(point)) pBox->OnRightClick();
}

UINT SECCalendar::OnNcHitTest(CPoint point) {
  const UINT hit = CWnd::OnNcHitTest(point);
  if (!(m_dwStyle & SEC_CS_RESIZABLE) && hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return HTCLIENT;
  return hit;
}

void SECCalendar::OnPrevMonth() { PrevMonth(FALSE); }
void SECCalendar::OnNextMonth() { NextMonth(FALSE); }
void SECCalendar::OnPrevYear() { PrevYear(FALSE); }
void SECCalendar::OnNextYear() { NextYear(FALSE); }

// ---- the popup

SECPopupCalendar::SECPopupCalendar() {
  m_dwStyle = 0x39C100;
  m_dwInMonthStyle = 0x83;
  m_dwOutOfMonthStyle = 0x181;
  m_nCloseMode = CloseOK;
}

SECPopupCalendar::~SECPopupCalendar() {
  if (m_hWnd) DestroyWindow();
}

UINT SECPopupCalendar::GetClassStyle() const { return CS_DBLCLKS | CS_SAVEBITS; }

BOOL SECPopupCalendar::CreatePopup(DWORD dwStyle, const RECT& ownerRect, CWnd* pOwner) {
  m_dwStyle |= SEC_CS_SIZETOCONTENT;
  CSize content;
  {
    CClientDC dc(pOwner);
    content = CalcContentSize(&dc);
  }
  CRect window(0, 0, content.cx, content.cy);
  ::AdjustWindowRectEx(&window, dwStyle | WS_POPUP, FALSE, 0);
  const int width = window.Width();
  const int height = window.Height();
  CRect work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  CPoint at;
  if (dwStyle & 0x1) {
    // Below the owner, left-aligned; above it or right-aligned where the work area ends.
    at = CPoint(ownerRect.left, ownerRect.bottom);
    if (at.y + height > work.bottom) at.y = ownerRect.top - height;
    if (at.x + width > work.right) at.x = ownerRect.right - width;
  } else {
    at = CPoint(ownerRect.right, ownerRect.top);
    if (at.x + width > work.right) at.x = ownerRect.left - width;
  }
  if (!Create(dwStyle | WS_POPUP, CRect(at, CSize(width, height)), pOwner, 0)) return FALSE;
  SetFocus();
  return TRUE;
}

void SECPopupCalendar::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  SECCalendar::OnActivate(nState, pWndOther, bMinimized);
  // Hidden, it has already closed; its deactivation says nothing more.
  if (nState == WA_INACTIVE && IsWindowVisible()) Close(m_nCloseMode == CloseOK && m_pSelectedDate);
}
