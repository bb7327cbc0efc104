// The control's window: creation, the format and its gadgets, layout, painting and input.
// The field handlers and the calendar are in SECDateTimeFields.cpp, the partial-date
// mode in SECDateTimePartial.cpp.
#include "SECDateTimeCtrl.h"

#include <algorithm>
#include <cstring>

#include "SECAuxData.h"
#include "SECCalendar.h"
#include "SECDTButtonGadget.h"
#include "SECDTListGadget.h"
#include "SECDTNumericGadget.h"
#include "SECDTSpinGadget.h"
#include "SECLocaleNames.h"
#include "SECResourceIds.h"

IMPLEMENT_DYNAMIC(SECDateTimeCtrl, CWnd)

BEGIN_MESSAGE_MAP(SECDateTimeCtrl, CWnd)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETFONT, OnSetFont)
  ON_MESSAGE(WM_GETFONT, OnGetFont)
  ON_WM_ENABLE()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SETTINGCHANGE()
  ON_WM_DESTROY()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
  ON_WM_CHAR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CANCELMODE()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(SEC_CALN_OK, OnCalendarResult)
  ON_MESSAGE(SEC_CALN_CANCEL, OnCalendarCancel)
END_MESSAGE_MAP()

namespace {

// The limits of every value, set once at start-up: 100-01-01 00:00 and 9999-12-31 00:00.
const COleDateTime kLowerLimit(-657434.0);
const COleDateTime kUpperLimit(2958465.0);

constexpr int kTextLengthBuffer = 1024;

// Bytes of `text` that fit `room` bytes without cutting a UTF-8 character.
int CutAtCharacter(const CString& text, int room) {
  int n = std::min(text.GetLength(), std::max(room, 0));
  while (n > 0 && n < text.GetLength() && (static_cast<BYTE>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

// The first character of a name, whole.
CString FirstCharacter(const CString& name) {
  if (name.IsEmpty()) return name;
  const BYTE lead = static_cast<BYTE>(name[0]);
  const int n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  return name.Left(n);
}

}  // namespace

void SECDateTimeCtrl::SECDTGadgetArray::DeleteFrom(int nIndex) {
  for (int i = static_cast<int>(GetSize()) - 1; i >= nIndex; --i) {
    delete GetAt(i);
    RemoveAt(i);
  }
}

SECDateTimeCtrl::SECDateTimeCtrl()
    : m_pListClass(RUNTIME_CLASS(SECDTListGadget)),
      m_pNumericClass(RUNTIME_CLASS(SECDTNumericGadget)),
      m_pStaticClass(RUNTIME_CLASS(SECDTStaticGadget)),
      m_pButtonClass(RUNTIME_CLASS(SECDTButtonGadget)),
      m_pSpinClass(RUNTIME_CLASS(SECDTSpinGadget)),
      m_nButtonBitmap(IDB_SEC_DTDROPDOWN) {
  m_datetime = COleDateTime::GetCurrentTime();
  m_dtMin = kLowerLimit;
  m_dtMax = kUpperLimit;
}

SECDateTimeCtrl::~SECDateTimeCtrl() {
  // The window goes first, while the whole object still answers its messages.
  if (m_hWnd) DestroyWindow();
  SECDateTimeCtrl::Reset();
  m_gadgets.DeleteFrom(0);
}

// ---- creation

BOOL SECDateTimeCtrl::Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_gadgets.DeleteFrom(0);
  m_nFixed = 0;
  secData.UpdateSysColors();
  LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, secData.hcurArrow);
  if (!CreateEx(dwExStyle, lpszClass, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID)) return FALSE;

  CFont* pFont = pParentWnd ? pParentWnd->GetFont() : nullptr;
  m_hFont = pFont ? static_cast<HFONT>(pFont->GetSafeHandle()) : nullptr;
  if (!m_hFont) m_hFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));

  if (dwStyle & SEC_DTS_CALENDAR) {
    if (auto* pButton = DYNAMIC_DOWNCAST(SECDTButtonGadget, MakeGadget(m_pButtonClass))) {
      pButton->Initialise(this, m_nButtonBitmap, ButtonId);  // a missing bitmap leaves a blank button
      pButton->SetStyle(pButton->GetStyle() | SECDTGadget::IsFixed);
      m_gadgets.Add(pButton);
    }
  }
  if (dwStyle & SEC_DTS_UPDOWN) {
    if (SECDTGadget* pSpin = MakeGadget(m_pSpinClass)) {
      pSpin->Initialise(this, SpinId);
      pSpin->SetStyle(pSpin->GetStyle() | SECDTGadget::IsFixed);
      m_gadgets.Add(pSpin);
    }
  }
  m_nFixed = GetGadgetCount();
  m_nActiveGadget = m_nFixed;
  ParseFormat();
  m_nActiveGadget = FirstField();
  LayoutGadgets();
  return TRUE;
}

BOOL SECDateTimeCtrl::CreateOverDlgItem(UINT nID, CWnd* pParentWnd, DWORD dwStyle, DWORD dwMoreStyle,
                                        DWORD dwExStyle) {
  HWND hItem = pParentWnd ? ::GetDlgItem(pParentWnd->GetSafeHwnd(), static_cast<int>(nID)) : nullptr;
  if (!hItem) return FALSE;
  if (!Create(dwExStyle, dwStyle | dwMoreStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  CRect rect;
  ::GetWindowRect(hItem, &rect);
  pParentWnd->ScreenToClient(&rect);
  SetWindowPos(CWnd::FromHandle(hItem), rect.left, rect.top, rect.Width(), rect.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOREDRAW);
  SetWindowContextHelpId(::GetWindowContextHelpId(hItem));
  ::DestroyWindow(hItem);
  return TRUE;
}

SECDTGadget* SECDateTimeCtrl::MakeGadget(CRuntimeClass* pClass) {
  if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(SECDTGadget))) return nullptr;
  return static_cast<SECDTGadget*>(pClass->CreateObject());
}

SECDTGadget* SECDateTimeCtrl::GetGadget(int nIndex) const {
  return nIndex >= 0 && nIndex < GetGadgetCount() ? m_gadgets.GetGadget(nIndex) : nullptr;
}

// ---- format

void SECDateTimeCtrl::SetFormat(LPCSTR lpszFormat) {
  m_strCustomFormat = lpszFormat ? lpszFormat : "";
  m_nFormatKind = Custom;
  Rebuild();
}

void SECDateTimeCtrl::GetFormat(CString& format) const {
  switch (m_nFormatKind) {
    case Custom: format = m_strCustomFormat; break;
    case TimeFormat: format = SECLocaleText(LOCALE_STIMEFORMAT); break;
    case LongDate: format = SECLocaleText(LOCALE_SLONGDATE); break;
    default: format = SECLocaleText(LOCALE_SSHORTDATE); break;
  }
}

void SECDateTimeCtrl::AddLiteral(const CString& text) {
  if (text.IsEmpty()) return;
  if (auto* pGadget = DYNAMIC_DOWNCAST(SECDTStaticGadget, MakeGadget(m_pStaticClass))) {
    pGadget->Initialise(this, text, LiteralId);
    m_gadgets.Add(pGadget);
  }
}

void SECDateTimeCtrl::AddNumeric(int nID, int nMin, int nMax, BOOL bZeroPad, int nFixBit) {
  auto* pGadget = DYNAMIC_DOWNCAST(SECDTNumericGadget, MakeGadget(m_pNumericClass));
  if (!pGadget) return;
  pGadget->Initialise(this, nMin, nMax, nMin, bZeroPad, nID);
  if (m_nFixedFields & nFixBit) pGadget->SetStyle(pGadget->GetStyle() & ~SECDTGadget::WantFocus);
  m_gadgets.Add(pGadget);
}

void SECDateTimeCtrl::AddList(int nID, const CStringArray& names, int nFixBit) {
  auto* pGadget = DYNAMIC_DOWNCAST(SECDTListGadget, MakeGadget(m_pListClass));
  if (!pGadget) return;
  pGadget->Initialise(this, names, 0, nID);
  if (m_nFixedFields & nFixBit) pGadget->SetStyle(pGadget->GetStyle() & ~SECDTGadget::WantFocus);
  m_gadgets.Add(pGadget);
}

void SECDateTimeCtrl::ParseFormat() {
  CString format;
  GetFormat(format);
  CString literal;
  auto flush = [&] {
    AddLiteral(literal);
    literal.Empty();
  };
  const int length = format.GetLength();
  int i = 0;
  while (i < length) {
    const char c = format[i];
    if (c == '\'' || c == '"') {
      int end = format.Find(c, i + 1);
      if (end < 0) end = length;
      flush();
      AddLiteral(format.Mid(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    int most = 0;
    switch (c) {
      case 'h': case 'H': case 'm': case 's': case 't': case 'g': most = 2; break;
      case 'd': case 'M': case 'y': most = 4; break;
      default: break;
    }
    if (!most) {
      const int n = std::max(FirstCharacter(format.Mid(i)).GetLength(), 1);
      literal += format.Mid(i, n);
      i += n;
      continue;
    }
    int count = 1;
    while (count < most && i + count < length && format[i + count] == c) ++count;
    i += count;
    if (c == 'g') continue;  // the era shows nothing
    flush();
    const BOOL pad = count == 2;
    switch (c) {
      case 'h': AddNumeric(Hour12, 1, 12, pad, FixHour); break;
      case 'H': AddNumeric(Hour24, 0, 23, pad, FixHour); break;
      case 'm': AddNumeric(Minute, 0, 59, pad, FixMinute); break;
      case 's': AddNumeric(Second, 0, 59, pad, FixSecond); break;
      case 't': {
        CStringArray names;
        for (LCTYPE type : {LOCALE_S1159, LOCALE_S2359})
          names.Add(count == 1 ? FirstCharacter(SECLocaleText(type)) : SECLocaleText(type));
        AddList(AmPm, names, FixHour);
        break;
      }
      case 'd':
        if (count <= 2) {
          AddNumeric(Day, 1, 31, pad, FixDay);
        } else {
          CStringArray names;
          for (int day = 1; day <= 7; ++day) {  // Sunday first
            CString name = SECWeekdayName(day, count == 4);
            AdjustDayName(name);
            names.Add(name);
          }
          AddList(DayName, names, FixDay);
        }
        break;
      case 'M':
        if (count <= 2) {
          AddNumeric(Month, 1, 12, pad, FixMonth);
        } else {
          CStringArray names;
          for (int month = 1; month <= 12; ++month) {
            CString name = SECMonthName(month, count == 4);
            AdjustMonthName(name);
            names.Add(name);
          }
          AddList(MonthName, names, FixMonth);
        }
        break;
      case 'y':
        if (count <= 2)
          AddNumeric(Year2, 0, 99, pad, FixYear);
        else
          AddNumeric(Year4, 0, 9999, FALSE, FixYear);
        break;
      default: break;
    }
  }
  flush();
  if (m_partial.bPartial) m_partial.wPresent = CalcPresentFields();
  RefreshFields(0xFFFF);
}

void SECDateTimeCtrl::AdjustMonthName(CString&) {}
void SECDateTimeCtrl::AdjustDayName(CString&) {}

int SECDateTimeCtrl::FirstField() const {
  for (int i = m_nFixed; i < GetGadgetCount(); ++i)
    if (GetGadget(i)->TakesFocus()) return i;
  return 0;
}

void SECDateTimeCtrl::Rebuild() {
  if (!m_hWnd) return;
  const int remembered = m_nActiveGadget;
  Reset();
  m_gadgets.DeleteFrom(m_nFixed);
  ParseFormat();
  LayoutGadgets();
  const SECDTGadget* pKept = GetGadget(remembered);
  m_nActiveGadget = pKept && remembered >= m_nFixed && pKept->TakesFocus() ? remembered : FirstField();
  if (::GetFocus() == m_hWnd)
    if (SECDTGadget* pActive = GetGadget(m_nActiveGadget)) pActive->SetActive(TRUE);
  Invalidate();
}

void SECDateTimeCtrl::Reset() {
  // The gadget that holds the capture lets go (a held spin stops its timer too).
  if (m_pCapturedGadget) m_pCapturedGadget->OnCancelMode();
  if (m_pCapturedGadget) {
    m_pCapturedGadget = nullptr;
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  }
  m_pPopupCalendar.reset();
  m_nActiveGadget = 0;
  m_nScrollOffset = 0;
}

// ---- value

BOOL SECDateTimeCtrl::DecodeDateTime(const COleDateTime& datetime, Parts& parts) {
  if (datetime.m_dt < kLowerLimit.m_dt || datetime.m_dt > kUpperLimit.m_dt) return FALSE;
  const COleDateTime value(datetime.m_dt);
  parts.year = value.GetYear();
  if (parts.year == AFX_OLE_DATETIME_ERROR) return FALSE;
  parts.month = value.GetMonth();
  parts.day = value.GetDay();
  parts.hour = value.GetHour();
  parts.minute = value.GetMinute();
  parts.second = value.GetSecond();
  parts.dayOfWeek = value.GetDayOfWeek();
  parts.dayOfYear = value.GetDayOfYear();
  return TRUE;
}

BOOL SECDateTimeCtrl::InWindow(const COleDateTime& datetime) {
  Parts p;
  if (datetime.GetStatus() != COleDateTime::valid || !DecodeDateTime(datetime, p)) return FALSE;
  return (p.year > 100 || (p.year == 100 && p.month > 1)) && (p.year < 9999 || (p.year == 9999 && p.month < 12));
}

void SECDateTimeCtrl::Apply(const COleDateTime& datetime) {
  Parts before, after;
  int mask = 0xFFFF;
  if (DecodeDateTime(m_datetime, before) && DecodeDateTime(datetime, after)) {
    mask = 0;
    if (before.hour != after.hour) mask |= Hour12 | Hour24 | AmPm;
    if (before.minute != after.minute) mask |= Minute;
    if (before.second != after.second) mask |= Second;
    if (before.dayOfWeek != after.dayOfWeek) mask |= DayName;
    if (before.day != after.day) mask |= Day;
    if (before.month != after.month) mask |= Month | MonthName;
    if (before.year != after.year) mask |= Year2 | Year4;
  }
  m_datetime = datetime;
  RefreshFields(mask);
}

void SECDateTimeCtrl::RefreshFields(int nMask) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return;
  if (m_partial.bPartial) {
    RefreshPartialFields(nMask);
    return;
  }
  for (int i = 0; i < GetGadgetCount(); ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    const int id = pGadget->GetID();
    if (id <= 0 || id > Year4 || !(id & nMask)) continue;
    int value = 0;
    switch (id) {
      case Hour12: value = p.hour % 12 == 0 ? 12 : p.hour % 12; m_bPM = p.hour > 11; break;
      case Hour24: value = p.hour; m_bPM = p.hour > 11; break;
      case Minute: value = p.minute; break;
      case Second: value = p.second; break;
      case AmPm: value = p.hour >= 12 ? 1 : 0; break;
      case Day: value = p.day; break;
      case DayName: value = p.dayOfWeek - 1; break;
      case Month: value = p.month; break;
      case MonthName: value = p.month - 1; break;
      case Year2: value = p.year % 100; break;
      case Year4: value = p.year; break;
      default: break;
    }
    pGadget->SetValue(value);
    pGadget->SetStyle(pGadget->GetStyle() & ~SECDTGadget::IsEmpty);
    InvalidateGadget(pGadget, FALSE);
  }
}

BOOL SECDateTimeCtrl::SetDateTime(const COleDateTime& datetime) {
  if (!InWindow(datetime)) return FALSE;
  const BOOL bWasPartial = m_partial.bPartial;
  m_partial.bPartial = 0;
  if (!m_hWnd) {
    m_datetime = datetime;
  } else if (bWasPartial) {
    m_datetime = datetime;
    RefreshFields(0xFFFF);
  } else {
    Apply(datetime);
  }
  return TRUE;
}

// ---- layout, scrolling, hit testing

void SECDateTimeCtrl::LayoutGadgets() {
  if (!m_hWnd) return;
  CClientDC dc(this);
  HGDIOBJ hOldFont = dc.SelectObject(m_hFont);
  CRect client;
  GetClientRect(&client);
  int x = 1;
  int right = client.right;
  m_nRightWidth = 0;
  for (int i = 0; i < GetGadgetCount(); ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    pGadget->CalcSize(dc);
    const CRect size = pGadget->GetRect();
    // A full-height gadget runs from the 1-pixel offset down to the client's bottom.
    const int height = size.bottom == -1 ? std::max(client.Height() - 1, 0) : size.Height();
    const int width = size.Width();
    CRect placed;
    if (pGadget->IsFixedGadget()) {
      placed.SetRect(right - width, 1, right, 1 + height);
      right -= width;
      m_nRightWidth += width;
    } else {
      placed.SetRect(x, 1, x + width, 1 + height);
      x += width;
    }
    pGadget->SetRect(placed);
  }
  dc.SelectObject(hOldFont);
}

void SECDateTimeCtrl::ScrollToGadget(int nIndex) {
  SECDTGadget* pGadget = GetGadget(nIndex);
  if (!pGadget || !m_hWnd) return;
  if (!pGadget->IsFixedGadget()) {
    CRect band;
    GetClientRect(&band);
    band.DeflateRect(1, 0, 1 + m_nRightWidth, 0);
    band.OffsetRect(m_nScrollOffset, 0);
    const CRect& rect = pGadget->GetRect();
    // The offset keeps the 1-pixel margin, so the first field scrolls back to offset 0.
    if (rect.left < band.left) {
      m_nScrollOffset = rect.left - 1;
    } else if (rect.right > band.right) {
      const int offset = m_nScrollOffset + rect.right - band.right;
      m_nScrollOffset = rect.left - 1 < offset ? rect.left - 1 : offset;
    }
  }
  Invalidate(FALSE);
}

int SECDateTimeCtrl::HitTest(CPoint point) const {
  for (int i = 0; i < m_nFixed; ++i) {
    const SECDTGadget* pGadget = GetGadget(i);
    if ((pGadget->TakesFocus() || pGadget->TakesMouse()) && pGadget->GetRect().PtInRect(point)) return i;
  }
  int last = -1;
  for (int i = m_nFixed; i < GetGadgetCount(); ++i) {
    const SECDTGadget* pGadget = GetGadget(i);
    if (!pGadget->TakesFocus() && !pGadget->TakesMouse()) continue;
    if (pGadget->GetRect().right >= point.x + m_nScrollOffset) return i;
    last = i;
  }
  if (last >= 0) return last;
  return m_nFixed < GetGadgetCount() ? m_nFixed : -1;
}

void SECDateTimeCtrl::SetActiveGadget(int nIndex) {
  if (!GetGadget(nIndex)) return;
  ActivateGadget(nIndex);
}

void SECDateTimeCtrl::ActivateGadget(int nIndex) {
  const BOOL bFocus = m_hWnd && ::GetFocus() == m_hWnd;
  // Leaving a field commits what was typed into it, with or without the focus.
  if (SECDTGadget* pOld = GetGadget(m_nActiveGadget); pOld && nIndex != m_nActiveGadget) pOld->SetActive(FALSE);
  m_nActiveGadget = nIndex;
  if (SECDTGadget* pNew = GetGadget(nIndex); pNew && bFocus) pNew->SetActive(TRUE);
  ScrollToGadget(nIndex);
}

void SECDateTimeCtrl::NextGadget() {
  for (int i = m_nActiveGadget + 1; i < GetGadgetCount(); ++i)
    if (GetGadget(i)->TakesFocus()) {
      ActivateGadget(i);
      return;
    }
}

void SECDateTimeCtrl::PrevGadget() {
  for (int i = m_nActiveGadget - 1; i >= 0; --i)
    if (GetGadget(i)->TakesFocus()) {
      ActivateGadget(i);
      return;
    }
}

void SECDateTimeCtrl::InvalidateGadget(SECDTGadget* pGadget, BOOL bUpdate) {
  if (!m_hWnd || !pGadget) return;
  CRect rect = pGadget->GetRect();
  if (!pGadget->IsFixedGadget()) rect.OffsetRect(-m_nScrollOffset, 0);
  InvalidateRect(&rect, TRUE);
  if (bUpdate) UpdateWindow();
}

void SECDateTimeCtrl::CaptureGadget(SECDTGadget* pGadget, BOOL bCapture) {
  if (!m_hWnd) return;
  if (bCapture) {
    SetCapture();
    m_pCapturedGadget = pGadget;
  } else if (m_pCapturedGadget == pGadget) {
    m_pCapturedGadget = nullptr;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  }
}

// ---- painting

void SECDateTimeCtrl::OnPaint() {
  CPaintDC dc(this);
  const BOOL bEnabled = IsWindowEnabled();
  m_clrBk = bEnabled ? secData.clrWindow : ::GetSysColor(m_nDisabledBk);
  m_clrText = bEnabled ? secData.clrWindowText : ::GetSysColor(m_nDisabledText);
  HWND hParent = ::GetParent(m_hWnd);
  if (m_bNotifyColours && hParent) {
    dc.SetBkColor(m_clrBk);
    dc.SetTextColor(m_clrText);
    ::SendMessageA(hParent, bEnabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                   reinterpret_cast<LPARAM>(m_hWnd));
    m_clrBk = dc.GetBkColor();
    m_clrText = dc.GetTextColor();
  }
  CRect clip;
  dc.GetClipBox(&clip);
  CRect client;
  GetClientRect(&client);
  CDC memDC;
  CBitmap bitmap;
  if (memDC.CreateCompatibleDC(&dc) && bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height())) {
    CBitmap* pOld = memDC.SelectObject(&bitmap);
    memDC.IntersectClipRect(&clip);
    Draw(memDC);
    dc.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memDC, clip.left, clip.top, SRCCOPY);
    memDC.SelectObject(pOld);
  } else {
    Draw(dc);
  }
}

void SECDateTimeCtrl::Draw(CDC& dc) {
  CRect clip;
  dc.GetClipBox(&clip);
  dc.FillSolidRect(&clip, m_clrBk);
  HGDIOBJ hOldFont = dc.SelectObject(m_hFont);
  for (int i = 0; i < m_nFixed; ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    if (!dc.RectVisible(&pGadget->GetRect())) continue;
    pGadget->Draw(dc);
    // The scrolling fields never paint over a fixed gadget.
    CRgn region;
    region.CreateRectRgnIndirect(&pGadget->GetRect());
    dc.SelectClipRgn(&region, RGN_XOR);
  }
  const CPoint oldOrigin = dc.OffsetViewportOrg(-m_nScrollOffset, 0);
  for (int i = m_nFixed; i < GetGadgetCount(); ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    if (dc.RectVisible(&pGadget->GetRect())) pGadget->Draw(dc);
  }
  dc.SetViewportOrg(oldOrigin);
  dc.SelectObject(hOldFont);
}

// The own border of WS_EX_CLIENTEDGE before Windows 4, which knows no such style.
void SECDateTimeCtrl::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if ((GetExStyle() & WS_EX_CLIENTEDGE) && !secData.bWin4) {
    ::InflateRect(&lpncsp->rgrc[0], -2, -2);
    return;
  }
  CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
}

void SECDateTimeCtrl::OnNcPaint() {
  if (!(GetExStyle() & WS_EX_CLIENTEDGE) || secData.bWin4) {
    CWnd::OnNcPaint();
    return;
  }
  CWindowDC dc(this);
  CRect rect;
  GetWindowRect(&rect);
  rect.OffsetRect(-rect.left, -rect.top);
  dc.Draw3dRect(&rect, secData.clrBtnShadow, secData.clrBtnHilite);
  rect.DeflateRect(1, 1);
  dc.Draw3dRect(&rect, secData.clrWindowFrame, secData.clrBtnFace);
}

// ---- other window messages

void SECDateTimeCtrl::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  LayoutGadgets();
  Invalidate();
}

LRESULT SECDateTimeCtrl::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  if (!m_hFont) m_hFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
  LayoutGadgets();
  Invalidate();
  return 0;
}

LRESULT SECDateTimeCtrl::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }

void SECDateTimeCtrl::OnEnable(BOOL) { Invalidate(); }

void SECDateTimeCtrl::OnSysColorChange() {
  secData.UpdateSysColors();
  for (int i = 0; i < GetGadgetCount(); ++i) GetGadget(i)->OnSysColorChange();
  Default();
}

void SECDateTimeCtrl::OnSettingChange(UINT, LPCSTR) { Rebuild(); }

void SECDateTimeCtrl::OnDestroy() {
  Reset();
  CWnd::OnDestroy();
}

// ---- keyboard

UINT SECDateTimeCtrl::OnGetDlgCode() {
  return m_bTabNavigation ? DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS : DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void SECDateTimeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!GetGadgetCount()) {
    Default();
    return;
  }
  if (nChar == VK_LEFT) {
    PrevGadget();
  } else if (nChar == VK_RIGHT) {
    NextGadget();
  } else if (nChar == VK_F4 && (GetStyle() & SEC_DTS_CALENDAR)) {
    PopupCalendar();
  } else if (nChar == VK_TAB && m_bTabNavigation) {
    const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const int before = m_nActiveGadget;
    bShift ? PrevGadget() : NextGadget();
    if (m_nActiveGadget == before) {
      HWND hParent = ::GetParent(m_hWnd);
      HWND hNext = hParent ? ::GetNextDlgTabItem(hParent, m_hWnd, bShift) : nullptr;
      if (hNext && ::IsWindow(hNext)) ::SetFocus(hNext);
    }
  } else if (SECDTGadget* pActive = GetGadget(m_nActiveGadget)) {
    pActive->OnKeyDown(nChar);
  }
}

void SECDateTimeCtrl::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_DOWN && (GetStyle() & SEC_DTS_CALENDAR)) {
    PopupCalendar();
    return;
  }
  Default();
}

void SECDateTimeCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!GetGadgetCount()) {
    Default();
    return;
  }
  if (m_bTabNavigation && nChar == '\t') return;
  // A typed separator moves on to the field after it.
  if (const SECDTGadget* pNext = GetGadget(m_nActiveGadget + 1); pNext && pNext->GetID() == LiteralId) {
    CString text;
    pNext->GetText(text);
    text.TrimLeft();
    text.TrimRight();
    if ((text.IsEmpty() && nChar == ' ') || (text.GetLength() == 1 && static_cast<BYTE>(text[0]) == nChar)) {
      NextGadget();
      return;
    }
  }
  if (SECDTGadget* pActive = GetGadget(m_nActiveGadget)) pActive->OnChar(nChar);
}

// ---- mouse

void SECDateTimeCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  const int hit = HitTest(point);
  SECDTGadget* pGadget = GetGadget(hit);
  if (!pGadget) return;
  if (::GetFocus() != m_hWnd) {
    if (pGadget->TakesFocus()) {
      m_nActiveGadget = hit;
      ScrollToGadget(hit);
    }
    SetFocus();
  } else if (hit != m_nActiveGadget && pGadget->TakesFocus()) {
    ActivateGadget(hit);
  }
  if (pGadget->TakesMouse()) {
    if (!pGadget->IsFixedGadget()) point.x += m_nScrollOffset;
    pGadget->OnLButtonDown(nFlags, point);
  }
}

void SECDateTimeCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_pCapturedGadget) {
    Default();
    return;
  }
  if (!m_pCapturedGadget->IsFixedGadget()) point.x += m_nScrollOffset;
  m_pCapturedGadget->OnLButtonUp(nFlags, point);
}

void SECDateTimeCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_pCapturedGadget) {
    Default();
    return;
  }
  if (!m_pCapturedGadget->IsFixedGadget()) point.x += m_nScrollOffset;
  m_pCapturedGadget->OnMouseMove(nFlags, point);
}

void SECDateTimeCtrl::OnCancelMode() {
  if (!m_pCapturedGadget) {
    Default();
    return;
  }
  m_pCapturedGadget->OnCancelMode();
}

// ---- focus and notifications

void SECDateTimeCtrl::Notify(UINT nCode) {
  HWND hParent = ::GetParent(m_hWnd);
  if (!hParent || (GetExStyle() & WS_EX_NOPARENTNOTIFY)) return;
  ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

void SECDateTimeCtrl::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  Notify(EN_SETFOCUS);
  if (m_bTabNavigation && (::GetKeyState(VK_TAB) & 0x8000)) {
    // Tabbed into: the first field, or the last one coming back with Shift+Tab.
    int target = -1;
    if (::GetKeyState(VK_SHIFT) & 0x8000) {
      for (int i = GetGadgetCount() - 1; i >= m_nFixed && target < 0; --i)
        if (GetGadget(i)->TakesFocus()) target = i;
    } else {
      for (int i = m_nFixed; i < GetGadgetCount() && target < 0; ++i)
        if (GetGadget(i)->TakesFocus()) target = i;
    }
    if (target < 0) return;
    m_nActiveGadget = target;
    GetGadget(target)->SetActive(TRUE);
    ScrollToGadget(target);
    return;
  }
  if (SECDTGadget* pActive = GetGadget(m_nActiveGadget)) pActive->SetActive(TRUE);
}

void SECDateTimeCtrl::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  if (SECDTGadget* pActive = GetGadget(m_nActiveGadget)) pActive->SetActive(FALSE);
  Notify(EN_KILLFOCUS);
}

void SECDateTimeCtrl::OnChanged() { Notify(EN_CHANGE); }

BOOL SECDateTimeCtrl::OnChanging(const COleDateTime&) { return TRUE; }

// ---- text

int SECDateTimeCtrl::BuildText(LPSTR lpszBuffer, int nSize) const {
  if (!lpszBuffer || nSize <= 0) return 0;
  CString all;
  for (int i = 0; i < GetGadgetCount(); ++i) {
    CString text;
    GetGadget(i)->GetText(text);
    all += text;
  }
  const int n = CutAtCharacter(all, nSize - 1);
  std::memcpy(lpszBuffer, static_cast<LPCSTR>(all), static_cast<size_t>(n));
  lpszBuffer[n] = '\0';
  return n;
}

LRESULT SECDateTimeCtrl::OnGetText(WPARAM wParam, LPARAM lParam) {
  const int size = static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF));
  auto* buffer = reinterpret_cast<LPSTR>(lParam);
  if (m_datetime.GetStatus() != COleDateTime::valid) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  return BuildText(buffer, size);
}

LRESULT SECDateTimeCtrl::OnGetTextLength(WPARAM, LPARAM) {
  if (m_datetime.GetStatus() != COleDateTime::valid) return 0;
  char buffer[kTextLengthBuffer];
  return BuildText(buffer, kTextLengthBuffer);
}
