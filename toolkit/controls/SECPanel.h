// Calendar panels: light non-window objects that own a rectangle of the calendar window,
// a text and drawing options, and paint themselves with nested 3-D bands (a border, a
// bevel, a highlight ring). SECDayBar shows the weekday names, SECDayBox one day of the
// month grid; the title is SECCalTitle.
//
// A panel's rectangle includes its right and bottom pixel: the calendar lays its panels
// out edge to edge, each ending one pixel before the next begins.
#pragma once
#include <functional>

#include <afxdisp.h>
#include <afxwin.h>

class SECCalendar;

// Draw styles.
#define SEC_PDS_BEVELSELECTED 0x02
#define SEC_PDS_BEVELUNSELECTED 0x04
#define SEC_PDS_BORDERSELECTED 0x08
#define SEC_PDS_BORDERUNSELECTED 0x10
#define SEC_PDS_RINGSELECTED 0x20    // highlight ring when selected and highlighted
#define SEC_PDS_RINGUNSELECTED 0x40  // ... when not selected and highlighted
#define SEC_PDS_CENTERTEXT 0x80
#define SEC_PDS_GREYOUTOFMONTH 0x100
#define SEC_PDS_LONGMONTHS 0x10000000  // the title's month names in full
#define SEC_PDS_LONGDAYS 0x20000000    // the day bar's names in full

// Behaviour bits.
#define SEC_PBS_SELECTABLE 0x4000
#define SEC_PBS_HIGHLIGHTABLE 0x8000

class SECPanel : public CObject {
  DECLARE_DYNCREATE(SECPanel)
 public:
  SECPanel();

  BOOL Create(const RECT& rect, SECCalendar* pCalendar, DWORD dwWindowStyle, UINT nID, BOOL bSelected,
              BOOL bHighlighted, DWORD dwDrawStyle, DWORD dwBehaviour, int nBevelWidth);

  virtual BOOL DrawHighlight(CDC* pDC);
  // Border, bevel, background, text and ring, in that order; TRUE when all five drew.
  virtual BOOL Draw(CDC* pDC);
  virtual BOOL DrawBevel(CDC* pDC);
  virtual BOOL DrawBorder(CDC* pDC);
  virtual BOOL DrawBackground(CDC* pDC);
  virtual BOOL DrawText(CDC* pDC);

  // The previous value; the bands are computed again before the next drawing.
  DWORD SetDrawStyle(DWORD dwStyle);
  DWORD SetBehaviour(DWORD dwBehaviour);
  int SetBevelWidth(int nWidth);
  DWORD GetDrawStyle() const { return m_dwDrawStyle; }
  DWORD GetBehaviour() const { return m_dwBehaviour; }
  COLORREF SetTextColour(COLORREF colour);
  void SetGreyColour(COLORREF colour) { m_clrGrey = colour; }
  void SetRingColour(COLORREF colour) { m_clrRing = colour; }
  COLORREF GetRingColour() const { return m_clrRing; }

  // FALSE when the behaviour does not allow it: a selection stays as it was, a highlight
  // is cleared.
  BOOL SetSelected(BOOL bOn, BOOL bRedraw);
  BOOL SetHighlighted(BOOL bOn, BOOL bRedraw);
  BOOL IsSelected() const { return m_bSelected; }
  BOOL IsHighlighted() const { return m_bHighlighted; }

  const CRect& GetRect() const { return m_rect; }
  CRect SetRect(const CRect& rect);
  void SetText(LPCSTR lpszText) { m_strText = lpszText; }
  const CString& GetText() const { return m_strText; }
  BOOL IsCreated() const { return m_bCreated; }

  // The rectangle inside every band; empty when the bands leave no room.
  CRect GetInnerRect();
  // The bands at each side of a panel with `dwStyle` in the given state.
  static int BandTotal(DWORD dwStyle, int nBevelWidth, BOOL bSelected, BOOL bHighlighted);

 protected:
  void ComputeInsets();
  // 3-D rectangles at every inset from `nFrom` to `nTo`; nothing when they are equal.
  void DrawBand(CDC* pDC, int nFrom, int nTo, COLORREF clrTopLeft, COLORREF clrBottomRight);
  // The inner rectangle as a GDI rectangle (right and bottom exclusive).
  CRect InnerPaintRect();
  // Grows `lf` by doubling while the panel's size for it stays inside `room`, then shrinks
  // it by `factor` (at least one unit a step) while the size exceeds `room` and
  // `canShrink` allows. The doubling also stops when the measured size no longer grows.
  static void FitFont(LOGFONT& lf, CSize room, double factor, const std::function<CSize(const LOGFONT&)>& size,
                      const std::function<bool(const LOGFONT&, CSize)>& canShrink);
  // Selects `plf` made into a font, or else `pDefault`, measures, and restores the DC.
  static CSize Measure(CDC* pDC, const LOGFONT* plf, CFont* pDefault, const std::function<CSize(CDC*)>& measure);
  CSize RoomOf() const { return CSize(m_rect.Width() + 1, m_rect.Height() + 1); }

  COLORREF m_clrGrey;
  SECCalendar* m_pCal = nullptr;
  DWORD m_dwBehaviour = SEC_PBS_SELECTABLE | SEC_PBS_HIGHLIGHTABLE;
  DWORD m_dwDrawStyle = 0x17F;
  CString m_strText;
  CRect m_rect;
  int m_nBevelWidth = 3;
  int m_bSelected = 0;
  int m_bHighlighted = 0;
  COLORREF m_clrBorder = RGB(0, 0, 0);
  COLORREF m_clrRing = RGB(255, 0, 0);
  COLORREF m_clrText;
  int m_bDirty = 1;
  int m_bCreated = 0;
  int m_nBorderStart = 0;
  int m_nBorderEnd = 0;
  int m_nBevelEnd = 0;
  int m_nRingEnd = 0;
};

// The seven weekday names over the grid.
class SECDayBar : public SECPanel {
 public:
  BOOL DrawText(CDC* pDC) override;
  // Seven times the width, and the height, of Wednesday's name.
  CSize GetSize(CDC* pDC, const LOGFONT* plf = nullptr);
  void FitFont(CDC* pDC, LOGFONT& lf);
  // The name over column 1 to 7.
  CString GetColumnName(int nColumn) const;

  int m_nFirstDay = 1;  // 1 = Sunday
};

// One day of the month grid.
class SECDayBox : public SECPanel {
  DECLARE_DYNCREATE(SECDayBox)
 public:
  BOOL DrawText(CDC* pDC) override;
  CSize GetSize(CDC* pDC, const LOGFONT* plf = nullptr);
  void FitFont(CDC* pDC, LOGFONT& lf);

  void SetDate(const COleDateTime& date);
  const COleDateTime& GetDate() const { return m_date; }
  BOOL HasDate() const { return m_bHasDate; }
  // Out of the month, a box can neither be highlighted nor, unless the calendar lets
  // out-of-month days be chosen, selected.
  void SetOutOfMonth(BOOL bOut);
  BOOL IsOutOfMonth() const { return m_bOutOfMonth; }

  // What the mouse does to the box (the calendar calls these with the box under it).
  BOOL OnClick();
  void OnDoubleClick();
  void OnRightClick();

 protected:
  COleDateTime m_date;
  int m_bOutOfMonth = 0;
  int m_bHasDate = 0;
};
