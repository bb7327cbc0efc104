// SECCalendar: a window that shows one month as a title with navigation buttons, a row
// of weekday names and six weeks of day boxes. The user selects a day with the mouse or
// the keyboard, moves through months and years, and may highlight days. The owner hears
// of it through posted messages (WM_USER+512 to +515).
//
// SECPopupCalendar is the same calendar as a popup sized to its content, which closes
// itself and reports the chosen day to its owner.
#pragma once
#include <afxdisp.h>
#include <afxwin.h>

#include "SECCalTitle.h"
#include "SECPanel.h"

// Calendar styles.
#define SEC_CS_RELEASECLOSE 0x00000100     // releasing the mouse inside, or a double click, closes with OK
#define SEC_CS_SELECTOUTOFMONTH 0x00000200  // out-of-month days stay selectable, in place
#define SEC_CS_SELECTABLE 0x00004000
#define SEC_CS_HIGHLIGHTABLE 0x00008000
#define SEC_CS_FITFONTS 0x00010000
#define SEC_CS_SIZETOCONTENT 0x00020000
#define SEC_CS_SELECTCLOSE 0x00040000  // selecting a day closes with OK
#define SEC_CS_MONTHBUTTONS 0x00080000
#define SEC_CS_YEARBUTTONS 0x00100000
#define SEC_CS_KEYBOARD 0x00200000
#define SEC_CS_FIXEDMONTH 0x00400000  // once created, the month cannot change
#define SEC_CS_RESIZABLE 0x00800000
#define SEC_CS_DRAGSELECT 0x01000000  // a click always selects and starts a drag

// Messages to the owner.
#define SEC_CALN_SELECT (WM_USER + 512)     // wParam 1 selected / 0 deselected, lParam the day box
#define SEC_CALN_HIGHLIGHT (WM_USER + 513)  // wParam 1 / 0, lParam the day box
#define SEC_CALN_OK (WM_USER + 514)         // a day was chosen
#define SEC_CALN_CANCEL (WM_USER + 515)

class SECCalendar : public CWnd {
  DECLARE_DYNCREATE(SECCalendar)
 public:
  enum { DayBoxes = 42 };
  enum { CloseOK = 1, CloseCancel = 2 };

  SECCalendar();
  ~SECCalendar() override;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL NextDay(BOOL bMoveSelection);
  virtual BOOL PrevDay(BOOL bMoveSelection);
  virtual BOOL NextWeek(BOOL bMoveSelection);
  virtual BOOL PrevWeek(BOOL bMoveSelection);
  virtual BOOL NextMonth(BOOL bMoveSelection);
  virtual BOOL PrevMonth(BOOL bMoveSelection);
  virtual BOOL NextYear(BOOL bMoveSelection);
  virtual BOOL PrevYear(BOOL bMoveSelection);
  virtual BOOL MoveSelectionBySeconds(LONG nSeconds);
  virtual BOOL MoveSelection(const COleDateTimeSpan& span);
  virtual BOOL MoveFocusBySeconds(LONG nSeconds);
  virtual BOOL MoveFocus(const COleDateTimeSpan& span);
  virtual BOOL HighlightDate(int nYear, int nMonth, int nDay, BOOL bOn = TRUE);
  virtual BOOL HighlightDate(const COleDateTime& date, BOOL bOn = TRUE);
  virtual BOOL SelectDate(int nYear, int nMonth, int nDay, BOOL bSelect = TRUE);
  virtual BOOL SelectDate(const COleDateTime& date, BOOL bSelect = TRUE);
  virtual BOOL ToggleSelect(int nYear, int nMonth, int nDay);
  virtual BOOL ToggleSelect(const COleDateTime& date);
  virtual BOOL ToggleHighlight(int nYear, int nMonth, int nDay);
  virtual BOOL ToggleHighlight(const COleDateTime& date);
  virtual COLORREF SetHighlightColour(int nYear, int nMonth, int nDay, COLORREF colour);
  virtual COLORREF SetHighlightColour(const COleDateTime& date, COLORREF colour);
  virtual BOOL IsValidDate(int nYear, int nMonth, int nDay) const;
  virtual void UpdateColours();
  virtual COleDateTime NormalizeDate(const COleDateTime& date) const;
  virtual void Beep();
  virtual UINT GetClassStyle() const;
  virtual void InitFonts();
  virtual void FillDayBoxes();

  // Shows the month of `date`; refused with a beep for an invalid month, or once created
  // under SEC_CS_FIXEDMONTH.
  BOOL SetDate(const COleDateTime& date, BOOL bRedraw = TRUE);
  const COleDateTime& GetDate() const { return m_dtReference; }
  const COleDateTime& GetFocusDate() const { return m_dtFocus; }
  void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  DWORD GetStyle() const { return m_dwStyle; }
  void SetInMonthStyle(DWORD dwStyle) { m_dwInMonthStyle = dwStyle; }
  DWORD GetInMonthStyle() const { return m_dwInMonthStyle; }
  void SetOutOfMonthStyle(DWORD dwStyle) { m_dwOutOfMonthStyle = dwStyle; }
  DWORD GetOutOfMonthStyle() const { return m_dwOutOfMonthStyle; }
  // The previous mode; anything but CloseOK means CloseCancel.
  int SetCloseMode(int nMode);
  int GetBevelWidth() const { return m_nBevelWidth; }

  SECDayBox* GetSelectedDayBox() const { return m_pSelectedDayBox; }
  // The selected date; its status is invalid when nothing is selected.
  COleDateTime GetSelectedDate() const;
  SECDayBox& GetDayBox(int nIndex) { return m_dayBoxes[nIndex]; }
  SECCalTitle& GetTitle() { return m_title; }
  SECDayBar& GetDayBar() { return m_dayBar; }
  CFont* GetTitleFont() { return &m_fontTitle; }
  CFont* GetDayBarFont() { return &m_fontDayBar; }
  CFont* GetDayFont() { return &m_fontDays; }
  BOOL IsCreated() const { return m_bCreated; }
  // The size of the content: title, day bar and six rows of day boxes.
  CSize CalcContentSize(CDC* pDC);

 protected:
  void Layout();
  void FitFonts();
  void Close(BOOL bOK);
  void PostToOwner(UINT message, WPARAM wParam, LPARAM lParam);
  SECDayBox* BoxAt(CPoint point);
  SECDayBox* BoxOf(const COleDateTime& date);
  BOOL InShownMonth(const COleDateTime& date) const;
  BOOL ShiftedMonthValid(const COleDateTime& base, const COleDateTimeSpan& span) const;
  BOOL StepTo(const COleDateTime& target, BOOL bMoveSelection);
  BOOL MoveBy(const COleDateTimeSpan& span, BOOL bMoveSelection);
  void ReselectAnchor();

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnCancelMode();
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnSysColorChange();
  afx_msg void OnPrevMonth();
  afx_msg void OnNextMonth();
  afx_msg void OnPrevYear();
  afx_msg void OnNextYear();
  afx_msg LRESULT OnSelfOK(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelfCancel(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  SECDayBar m_dayBar;
  SECCalTitle m_title;
  int m_nBevelWidth = 2;
  CWnd* m_pNotifyWnd = nullptr;
  COleDateTime m_dtReference;
  COleDateTime m_dtSelected;
  COleDateTime* m_pSelectedDate = nullptr;  // &m_dtSelected while a day is selected
  COleDateTime m_dtFocus;
  SECDayBox m_dayBoxes[DayBoxes];
  SECDayBox* m_pSelectedDayBox = nullptr;
  int m_nCloseMode = CloseCancel;
  int m_bDragging = 0;
  int m_bAnchorValid = 0;
  COleDateTime m_dtAnchor;
  CList<COleDateTime, const COleDateTime&> m_highlights;  // ascending, no duplicates
  LOGFONT m_lfTitle{};
  LOGFONT m_lfDayBar{};
  LOGFONT m_lfDays{};
  CFont m_fontTitle;
  CFont m_fontDayBar;
  CFont m_fontDays;
  COLORREF m_clrDays = 0;
  COLORREF m_clrGrey = 0;
  COLORREF m_clrDayBar = 0;
  COLORREF m_clrTitle = 0;
  DWORD m_dwOutOfMonthStyle = 0x101;
  DWORD m_dwInMonthStyle = 0x1000017F;
  DWORD m_dwStyle = 0x39C000;
  int m_bCreated = 0;
  int m_bBoxPressed = 0;  // the button went down on a day box
};

class SECPopupCalendar : public SECCalendar {
  DECLARE_DYNCREATE(SECPopupCalendar)
 public:
  SECPopupCalendar();
  ~SECPopupCalendar() override;

  UINT GetClassStyle() const override;
  // Opens below `ownerRect` (style bit 0x1) or beside it, inside the work area.
  virtual BOOL CreatePopup(DWORD dwStyle, const RECT& ownerRect, CWnd* pOwner);

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  DECLARE_MESSAGE_MAP()
};
