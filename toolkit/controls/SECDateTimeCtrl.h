// SECDateTimeCtrl: a child window that shows one date-time value as a row of fields
// (gadgets) built from a format string: numbers, name lists, literal text, and optionally
// a drop-down button that opens a month calendar and a spin. The user edits one field at
// a time with the keyboard, the mouse, the spin or the calendar; the parent hears of
// focus and changes through WM_COMMAND (EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE).
//
// The optional modes (fixed fields, auto-advance, Tab between fields, range validation
// with clamping, the partial-date mode) are off after construction; an owner switches
// them on by writing the public option fields below.
#pragma once
#include <memory>

#include <afxdisp.h>
#include <afxwin.h>

#include "SECDTGadget.h"

class SECCalendar;
class SECPopupCalendar;

// Window styles the control reads.
#define SEC_DTS_CALENDAR 0x0001     // drop-down button; F4 and Alt+Down open the calendar
#define SEC_DTS_UPDOWN 0x0002       // spin
#define SEC_DTS_Y2K_KEEP 0x0010     // a typed two-digit year keeps the value's century
#define SEC_DTS_Y2K_NEAREST 0x0020  // ... or takes the century nearest the value's year

class SECDateTimeCtrl : public CWnd {
  DECLARE_DYNAMIC(SECDateTimeCtrl)
 public:
  // Field kinds (gadget ids).
  enum {
    Hour12 = 1,
    Hour24 = 2,
    Minute = 4,
    Second = 8,
    AmPm = 16,
    Day = 32,
    DayName = 64,
    Month = 128,
    MonthName = 256,
    Year2 = 512,
    Year4 = 1024,
    ButtonId = 0x4000,
    SpinId = 0x8000,
    LiteralId = -1
  };
  // Format kinds.
  enum { TimeFormat = 0, ShortDate = 1, LongDate = 2, Custom = 3 };
  // Modification flags.
  enum { ModDate = 0x1, ModTime = 0x2, ModTyping = 0x4 };
  // Fixed-fields mask, by format letter.
  enum { FixYear = 0x01, FixMonth = 0x02, FixDay = 0x04, FixHour = 0x08, FixMinute = 0x10, FixSecond = 0x20 };
  // Range modes: what is compared with the limits.
  enum { NoRange = 0, TimeOfDay = 1, DateOnly = 2, DateAndTime = 3 };
  // Parts of the partial-date record's masks.
  enum { PartHour = 0x01, PartMinute = 0x02, PartSecond = 0x04, PartYear = 0x08, PartMonth = 0x10, PartDay = 0x20,
         PartDayOfWeek = 0x40 };

  // Decoded parts of a value.
  struct Parts {
    int second, minute, hour, day, month, year, dayOfWeek, dayOfYear;
  };

  // The partial-date record: parts that have no value yet show placeholders, and the
  // control takes a value once every shown part is filled.
  struct PartialDate {
    WORD wEmpty = 0;    // parts without a value
    WORD wPresent = 0;  // parts the format shows
    int bPartial = 0;
    int nHour = -1, nMinute = -1, nSecond = -1, nYear = -1, nMonth = -1, nDay = -1;
    int nDayOfWeek = -1;  // 1 = Sunday
  };

  // Owns its gadgets: deleting the array deletes them.
  class SECDTGadgetArray : public CObArray {
   public:
    ~SECDTGadgetArray() override { DeleteFrom(0); }
    SECDTGadget* GetGadget(int nIndex) const { return static_cast<SECDTGadget*>(GetAt(nIndex)); }
    void DeleteFrom(int nIndex);
  };

  SECDateTimeCtrl();
  ~SECDateTimeCtrl() override;

  BOOL Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // Takes the place of dialog item `nID`: its rectangle, its place in the Z order, its
  // help context and its id. FALSE when the item is missing or the window fails.
  BOOL CreateOverDlgItem(UINT nID, CWnd* pParentWnd, DWORD dwStyle, DWORD dwMoreStyle = WS_CHILD | WS_TABSTOP,
                         DWORD dwExStyle = 0);

  void SetFormat(LPCSTR lpszFormat);
  void GetFormat(CString& format) const;
  // FALSE (and the value kept) for an invalid value or one outside February 100 to
  // November 9999; sends no change notification.
  BOOL SetDateTime(const COleDateTime& datetime);
  const COleDateTime& GetDateTime() const { return m_datetime; }

  // Indexes outside the gadget array are ignored.
  void SetActiveGadget(int nIndex);
  int GetActiveGadget() const { return m_nActiveGadget; }
  void ScrollToGadget(int nIndex);

  // The range test alone, without clamping.
  BOOL IsValidDateTime(const COleDateTime& datetime) const;
  // Turns a filled partial-date record into the value.
  void CompletePartialDate();
  WORD CalcPresentFields() const;

  // ---- overridables
  virtual BOOL Validate(COleDateTime& datetime, int nClampLevel = 0);
  virtual BOOL OnChanging(const COleDateTime& newDateTime);
  virtual void OnChanged();
  virtual void ParseFormat();
  virtual int GetCentury(int nCurrentYear, int nTypedYear);
  virtual void LayoutGadgets();
  virtual void Draw(CDC& dc);
  virtual void PopupCalendar();
  virtual SECPopupCalendar* CreatePopupCalendar();
  virtual BOOL OnGadgetNotify(int nCode, int nID, int nData);
  virtual void Reset();
  virtual void AdjustMonthName(CString& name);
  virtual void AdjustDayName(CString& name);

  // ---- services for the gadgets
  void InvalidateGadget(SECDTGadget* pGadget, BOOL bUpdate);
  void CaptureGadget(SECDTGadget* pGadget, BOOL bCapture);
  COLORREF GetTextColour() const { return m_clrText; }
  COLORREF GetBkColour() const { return m_clrBk; }
  char GetPlaceholder() const { return m_cPlaceholder; }
  BOOL IsPartial() const { return m_partial.bPartial != 0; }

  int GetGadgetCount() const { return static_cast<int>(m_gadgets.GetSize()); }
  SECDTGadget* GetGadget(int nIndex) const;
  SECCalendar* GetPopupCalendar() const { return m_pPopupCalendar.get(); }
  int GetScrollOffset() const { return m_nScrollOffset; }
  int GetFixedGadgetCount() const { return m_nFixed; }

  // Decodes a day count; FALSE outside 100-01-01 to 9999-12-31 00:00.
  static BOOL DecodeDateTime(const COleDateTime& datetime, Parts& parts);

  // ---- option fields, written by the owner
  int m_nModified = 0;       // ModDate | ModTime | ModTyping
  int m_nFixedFields = 0;    // FixYear ...: those fields never take focus
  int m_bAutoAdvance = 0;    // a complete number moves on to the next field
  int m_bTabNavigation = 0;  // Tab and Shift+Tab move between the fields
  int m_bNotifyColours = 1;  // painting asks the parent for its colours
  COleDateTime m_datetime;
  COleDateTime m_dtMin;  // lower limit
  COleDateTime m_dtMax;  // upper limit
  int m_nRangeMode = NoRange;
  int m_nFormatKind = ShortDate;
  CString m_strCustomFormat;
  char m_cPlaceholder = '_';
  PartialDate m_partial;

  // Gadget classes; a subclass may point them at classes of its own.
  CRuntimeClass* m_pListClass;
  CRuntimeClass* m_pNumericClass;
  CRuntimeClass* m_pStaticClass;
  CRuntimeClass* m_pButtonClass;
  CRuntimeClass* m_pSpinClass;

 protected:
  // Field handlers: each returns whether the value was accepted.
  BOOL OnHour(int nCode, int nID, int nData);
  BOOL OnMinuteOrSecond(int nCode, int nID, int nData);
  BOOL OnAmPm(int nCode, int nID, int nData);
  BOOL OnDay(int nCode, int nID, int nData);
  BOOL OnMonth(int nCode, int nID, int nData);
  BOOL OnYear(int nCode, int nID, int nData);
  BOOL OnPartial(int nCode, int nID, int nData);
  // The common end of a handler: validate, test or apply, notify.
  BOOL Finish(COleDateTime& datetime, int nCode, int nClampLevel, int nModBit);
  // A date field's common end once typing has completed the date and left partial mode:
  // the completed value is lowered into range, validated and applied like a typed one.
  BOOL FinishDate(int nCode, int nID);

  // A valid value from February 100 to November 9999, the window every value keeps to.
  static BOOL InWindow(const COleDateTime& datetime);
  void Apply(const COleDateTime& datetime);
  void RefreshFields(int nMask);
  void RefreshPartialFields(int nMask);
  void Rebuild();
  void NextGadget();
  void PrevGadget();
  void ActivateGadget(int nIndex);
  int HitTest(CPoint point) const;
  int FirstField() const;
  void Notify(UINT nCode);
  void OnCalendarOK(const COleDateTime& chosen);
  void OnPartialCalendarOK(const COleDateTime& chosen);
  SECDTGadget* MakeGadget(CRuntimeClass* pClass);
  void AddNumeric(int nID, int nMin, int nMax, BOOL bZeroPad, int nFixBit);
  void AddList(int nID, const CStringArray& names, int nFixBit);
  void AddLiteral(const CString& text);
  int BuildText(LPSTR lpszBuffer, int nSize) const;
  BOOL IsPartShownEmpty(int nPart) const;
  int SystemYear() const;

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  afx_msg void OnDestroy();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCalendarResult(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCalendarCancel(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  HFONT m_hFont = nullptr;
  int m_nActiveGadget = 0;
  int m_nScrollOffset = 0;
  int m_nRightWidth = 0;
  int m_nFixed = 0;  // the button and the spin stand first in the array
  SECDTGadget* m_pCapturedGadget = nullptr;
  std::unique_ptr<SECCalendar> m_pPopupCalendar;
  int m_bPM = 0;
  COLORREF m_clrBk = 0;
  COLORREF m_clrText = 0;
  int m_nDisabledBk = COLOR_BTNFACE;
  int m_nDisabledText = COLOR_GRAYTEXT;
  UINT m_nButtonBitmap;
  SECDTGadgetArray m_gadgets;
};
