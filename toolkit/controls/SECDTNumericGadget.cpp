#include "SECDTNumericGadget.h"

#include "SECAuxData.h"
#include "SECDateTimeCtrl.h"

IMPLEMENT_DYNCREATE(SECDTNumericGadget, SECDTGadget)

void SECDTNumericGadget::Initialise(SECDateTimeCtrl* pCtrl, int nMin, int nMax, int nValue, BOOL bZeroPad, int nID) {
  SECDTGadget::Initialise(pCtrl, nID);
  m_nMin = nMin;
  m_nMax = nMax;
  m_nValue = nValue;
  m_bZeroPad = bZeroPad ? 1 : 0;
  m_nWidth = nMax <= 9 ? 1 : nMax < 100 ? 2 : nMax < 1000 ? 3 : 4;
}

CString SECDTNumericGadget::Format(int nValue) const {
  CString format = "%d";
  if (m_bZeroPad) format.Format("%%0%dd", m_nWidth);
  CString text;
  text.Format(format, nValue);
  return text;
}

void SECDTNumericGadget::GetText(CString& text) const { text = Format(IsTyping() ? m_nTyped : m_nValue); }

void SECDTNumericGadget::CalcSize(CDC& dc) {
  const CSize size = TextExtent(dc, CString("00000").Left(m_nWidth));
  m_rect.SetRect(0, 0, size.cx, size.cy);
}

void SECDTNumericGadget::Draw(CDC& dc) {
  const COLORREF text = m_bActive ? secData.clrHighlightText : m_pCtrl->GetTextColour();
  const COLORREF back = m_bActive ? secData.clrHighlight : m_pCtrl->GetBkColour();
  dc.FillSolidRect(&m_rect, back);
  dc.SetTextColor(text);
  dc.SetBkColor(back);
  CString shown;
  if ((m_nStyle & IsEmpty) && !IsTyping())
    shown = CString(m_pCtrl->GetPlaceholder(), m_nWidth);
  else
    GetText(shown);
  DrawTextIn(dc, shown, m_rect, DT_CENTER);
}

BOOL SECDTNumericGadget::SetActive(BOOL bActive) {
  if (IsTyping()) Commit();
  return SECDTGadget::SetActive(bActive);
}

void SECDTNumericGadget::OnKeyDown(UINT nChar) {
  const BOOL bDigit = (nChar >= 0x30 && nChar <= 0x39) || (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9);
  if (IsTyping() && !bDigit && !Commit()) return;
  switch (nChar) {
    case VK_HOME: Notify(CodeFirst, 0); break;
    case VK_END: Notify(CodeLast, 0); break;
    case VK_UP:
    case VK_ADD: Notify(CodeStepUp, 0); break;
    case VK_DOWN:
    case VK_SUBTRACT: Notify(CodeStepDown, 0); break;
    default: break;
  }
}

void SECDTNumericGadget::OnChar(UINT nChar) {
  if (nChar >= '0' && nChar <= '9') {
    const int digit = static_cast<int>(nChar - '0');
    if (!IsTyping()) {
      Notify(CodeTyping, 1);
      m_nTyped = digit;
    } else {
      m_nTyped = m_nTyped * 10 + digit;  // a leading zero leaves 0
    }
    ++m_nTypedDigits;
    if (m_nTypedDigits >= m_nWidth && Commit()) Notify(CodeComplete, 0);
    Invalidate(TRUE);
  } else if (IsTyping()) {
    ::MessageBeep(static_cast<UINT>(-1));
    m_nTypedDigits = 0;
    Invalidate(TRUE);
    Notify(CodeTyping, 0);
  }
}

void SECDTNumericGadget::OnCancelMode() {
  if (IsTyping()) Commit();
}

BOOL SECDTNumericGadget::Commit() {
  m_nTypedDigits = 0;
  BOOL bResult;
  if (Notify(CodeTest, m_nTyped)) {
    m_nValue = m_nTyped;
    Notify(CodeSet, m_nTyped);
    bResult = TRUE;
  } else {
    ::MessageBeep(static_cast<UINT>(-1));
    Invalidate(TRUE);
    bResult = FALSE;
  }
  Notify(CodeTyping, 0);
  return bResult;
}
