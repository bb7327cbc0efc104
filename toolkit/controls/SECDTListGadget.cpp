#include "SECDTListGadget.h"

#include <algorithm>
#include <cctype>

#include "SECAuxData.h"
#include "SECDateTimeCtrl.h"

IMPLEMENT_DYNCREATE(SECDTListGadget, SECDTGadget)

namespace {

constexpr UINT kPrefixTime = 2000;
constexpr int kPlaceholderRun = 80;

// Length of the UTF-8 character that `lead` begins; 0 for a continuation byte.
int CharLength(BYTE lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC0) return 0;
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

BYTE Lower(BYTE b) { return b < 0x80 ? static_cast<BYTE>(std::tolower(b)) : b; }

// Byte comparison without regard to ASCII case.
BOOL StartsWith(const CString& name, const CString& prefix) {
  if (name.GetLength() < prefix.GetLength()) return FALSE;
  for (int i = 0; i < prefix.GetLength(); ++i)
    if (Lower(static_cast<BYTE>(name[i])) != Lower(static_cast<BYTE>(prefix[i]))) return FALSE;
  return TRUE;
}

}  // namespace

void SECDTListGadget::Initialise(SECDateTimeCtrl* pCtrl, const CStringArray& names, int nIndex, int nID) {
  SECDTGadget::Initialise(pCtrl, nID);
  m_names.RemoveAll();
  for (INT_PTR i = 0; i < names.GetSize(); ++i) m_names.Add(names[i]);
  m_nValue = nIndex;
}

void SECDTListGadget::GetText(CString& text) const {
  text = m_nValue >= 0 && m_nValue < GetCount() ? m_names[m_nValue] : CString();
}

void SECDTListGadget::CalcSize(CDC& dc) {
  CSize largest(0, 0);
  for (INT_PTR i = 0; i < m_names.GetSize(); ++i) {
    const CSize size = TextExtent(dc, m_names[i]);
    largest.cx = std::max(largest.cx, size.cx);
    largest.cy = std::max(largest.cy, size.cy);
  }
  m_rect.SetRect(0, 0, largest.cx, largest.cy);
}

void SECDTListGadget::Draw(CDC& dc) {
  const COLORREF text = m_bActive ? secData.clrHighlightText : m_pCtrl->GetTextColour();
  const COLORREF back = m_bActive ? secData.clrHighlight : m_pCtrl->GetBkColour();
  dc.FillSolidRect(&m_rect, back);
  dc.SetTextColor(text);
  dc.SetBkColor(back);
  if (m_nStyle & IsEmpty) {
    // A run of placeholders, centred and cut off by the field's edges.
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(&m_rect);
    CRect wide = m_rect;
    wide.InflateRect(4096, 0);
    DrawTextIn(dc, CString(m_pCtrl->GetPlaceholder(), kPlaceholderRun), wide, DT_CENTER);
    dc.RestoreDC(saved);
    return;
  }
  CString shown;
  GetText(shown);
  DrawTextIn(dc, shown, m_rect, DT_CENTER);
}

BOOL SECDTListGadget::SetActive(BOOL bActive) {
  EndPrefix();
  return SECDTGadget::SetActive(bActive);
}

void SECDTListGadget::OnKeyDown(UINT nChar) {
  switch (nChar) {
    case VK_HOME: EndPrefix(); Notify(CodeFirst, 0); break;
    case VK_END: EndPrefix(); Notify(CodeLast, 0); break;
    case VK_UP:
    case VK_ADD: EndPrefix(); Notify(CodeStepUp, 0); break;
    case VK_DOWN:
    case VK_SUBTRACT: EndPrefix(); Notify(CodeStepDown, 0); break;
    default: break;
  }
}

void SECDTListGadget::OnChar(UINT nChar) {
  const BYTE b = static_cast<BYTE>(nChar);
  // Collect a whole character first.
  if (m_nPending && CharLength(b) != 0) m_nPending = 0;  // a new character before the last was whole
  if (!m_nPending && CharLength(b) == 0) return;         // a stray continuation byte
  CString typed;
  const int need = CharLength(m_nPending ? m_pending[0] : b);
  if (m_nPending + 1 < need) {
    m_pending[m_nPending++] = b;
    return;
  }
  for (int i = 0; i < m_nPending; ++i) typed += static_cast<char>(m_pending[i]);
  typed += static_cast<char>(b);
  m_nPending = 0;

  if (m_strPrefix.IsEmpty()) {
    if (FindMatch(typed, m_nValue + 1) >= 0) {
      m_strPrefix = typed;
      StartTimer(kPrefixTime);
      m_bTimer = 1;
    } else {
      ::MessageBeep(static_cast<UINT>(-1));
    }
    return;
  }
  int found;
  if (CharLength(static_cast<BYTE>(m_strPrefix[0])) == m_strPrefix.GetLength() && StartsWith(m_strPrefix, typed) &&
      typed.GetLength() == m_strPrefix.GetLength()) {
    found = FindMatch(m_strPrefix, m_nValue + 1);  // the same initial again: the next name with it
  } else {
    m_strPrefix += typed;
    found = FindMatch(m_strPrefix, m_nValue);
  }
  if (found >= 0) {
    StartTimer(kPrefixTime);
    m_bTimer = 1;
  } else {
    StopTimer();
    m_bTimer = 0;
    ::MessageBeep(static_cast<UINT>(-1));
    m_strPrefix.Empty();
  }
}

void SECDTListGadget::OnTimer() { EndPrefix(); }

void SECDTListGadget::EndPrefix() {
  if (m_bTimer) StopTimer();
  m_bTimer = 0;
  m_strPrefix.Empty();
  m_nPending = 0;
}

int SECDTListGadget::FindMatch(const CString& prefix, int nStart) {
  const int count = GetCount();
  if (nStart < 0 || nStart >= count) nStart = 0;
  for (int i = 0; i < count; ++i) {
    const int index = (nStart + i) % count;
    if (StartsWith(m_names[index], prefix) && Notify(CodeTest, index)) {
      Notify(CodeSet, index);
      return index;
    }
  }
  return -1;
}
