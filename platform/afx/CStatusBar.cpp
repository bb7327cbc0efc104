#include "afxwin.h"

#include "CStatusBar.h"

#include <algorithm>
#include <cstring>

#include "WinCommBars.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(SB_SETTEXTA, OnSbSetText)
END_MESSAGE_MAP()

namespace {
constexpr UINT kTextTypes = SBPS_NOBORDERS | SBPS_POPOUT | SBPS_OWNERDRAW;
constexpr int kTextMargin = 3;  // the control's edge and the air beside the text, each side

// The pane update at idle time: enable, check (a raised pane) and text.
class CStatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    auto* bar = static_cast<CStatusBar*>(m_pOther);
    const UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
    bar->SetPaneStyle(static_cast<int>(m_nIndex), bOn ? style & ~SBPS_DISABLED : style | SBPS_DISABLED);
  }
  void SetCheck(int nCheck) override {
    auto* bar = static_cast<CStatusBar*>(m_pOther);
    const UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
    bar->SetPaneStyle(static_cast<int>(m_nIndex), nCheck ? style | SBPS_POPOUT : style & ~SBPS_POPOUT);
  }
  void SetText(LPCSTR lpszText) override {
    static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
  }
};
}  // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  // The bar's layout places the control; it must not place itself along its parent.
  const DWORD style = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  CRect rect;
  rect.SetRectEmpty();
  return CWnd::Create(STATUSCLASSNAMEA, nullptr, style, rect, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (!lpIDArray || nIDCount < 1 || nIDCount > 255) return FALSE;
  m_panes.assign(static_cast<size_t>(nIDCount), Pane{});
  CClientDC dc(this);
  // Measured in the font the control draws with: without one of its own, the default
  // user-interface font (not the system font a new DC starts with).
  CFont* font = GetFont();
  HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font ? font->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
  BOOL ok = TRUE;
  for (int i = 0; i < nIDCount; ++i) {
    Pane& p = m_panes[static_cast<size_t>(i)];
    p.nID = lpIDArray[i];
    if (p.nID != 0) {
      if (!p.strText.LoadString(p.nID)) ok = FALSE;
      p.cxText = dc.GetTextExtent(p.strText).cx;
    } else {
      // A pane without an indicator is reached by index; the first one stretches.
      p.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
      if (i == 0) p.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
    }
  }
  ::SelectObject(dc.GetSafeHdc(), old);
  UpdateAllPanes(TRUE, TRUE);
  return ok;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i].nID == nIDFind) return static_cast<int>(i);
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!lpRect) return;
  *lpRect = RECT{0, 0, 0, 0};
  const_cast<CStatusBar*>(this)->SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  const Pane& p = m_panes[static_cast<size_t>(nIndex)];
  nID = p.nID;
  nStyle = p.nStyle;
  cxWidth = p.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  Pane& p = m_panes[static_cast<size_t>(nIndex)];
  const bool textChanged = (p.nStyle ^ nStyle) & (kTextTypes | SBPS_DISABLED);
  p.nID = nID;
  p.nStyle = nStyle;
  p.cxText = cxWidth;
  UpdateAllPanes(TRUE, FALSE);
  if (textChanged) SendPaneText(nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  Pane& p = m_panes[static_cast<size_t>(nIndex)];
  if (p.nStyle == nStyle) return;
  const bool rects = (p.nStyle ^ nStyle) & SBPS_STRETCH;
  p.nStyle = nStyle;
  if (rects) UpdateAllPanes(TRUE, FALSE);
  SendPaneText(nIndex);
}

CString CStatusBar::GetPaneText(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
  if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
  Pane& p = m_panes[static_cast<size_t>(nIndex)];
  const CString text = lpszNewText ? lpszNewText : "";
  if (p.strText == text) return TRUE;
  p.strText = text;
  if (bUpdate) SendPaneText(nIndex);
  return TRUE;
}

void CStatusBar::SendPaneText(int nIndex) {
  if (!GetSafeHwnd()) return;
  const Pane& p = m_panes[static_cast<size_t>(nIndex)];
  // A disabled pane shows no text.
  LPCSTR text = (p.nStyle & SBPS_DISABLED) ? "" : static_cast<LPCSTR>(p.strText);
  CWnd::DefWindowProc(SB_SETTEXTA, static_cast<WPARAM>(nIndex) | (p.nStyle & kTextTypes),
                      reinterpret_cast<LPARAM>(text));
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (!GetSafeHwnd() || m_panes.empty()) return;
  if (bUpdateRects) {
    CRect client;
    GetClientRect(&client);
    int borders[3] = {0, 0, 0};
    CWnd::DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int gap = borders[2];
    int fixed = borders[0], stretchy = 0;
    for (const Pane& p : m_panes) {
      fixed += p.cxText + 2 * kTextMargin + gap;
      if (p.nStyle & SBPS_STRETCH) ++stretchy;
    }
    const int extra = std::max(0, static_cast<int>(client.Width()) - fixed);
    std::vector<int> rights;
    int right = borders[0];
    for (const Pane& p : m_panes) {
      right += p.cxText + 2 * kTextMargin;
      if ((p.nStyle & SBPS_STRETCH) && stretchy) right += extra / stretchy;
      rights.push_back(right);
      right += gap;
    }
    CWnd::DefWindowProc(SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  }
  if (bUpdateText)
    for (int i = 0; i < GetCount(); ++i) SendPaneText(i);
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CClientDC dc(nullptr);
  CFont* font = GetFont();
  // Without a font of its own the control draws with the default user-interface font.
  HGDIOBJ face = font ? font->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT);
  HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), face);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  ::SelectObject(dc.GetSafeHdc(), old);
  // The characters (the font's leading above them is left out, as the user interface
  // fonts the bar was made for have none), their edge and air, and the bar's borders.
  const int characters = static_cast<int>(tm.tmHeight - tm.tmInternalLeading);
  const int height = characters + 2 + 2 + 2 * 2;
  return CSize(bStretch ? 32767 : 0, height);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = m_panes[state.m_nIndex].nID;
    if (state.m_nID == 0) continue;
    // The bar's own handlers first, then its owner's route; a pane is never disabled for
    // want of a handler: its text stays as it was set.
    if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
    state.DoUpdate(pTarget, FALSE);
  }
}

void CStatusBar::OnPaint() {
  // The control paints its panes itself.
  Default();
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  Default();
  UpdateAllPanes(TRUE, FALSE);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  // The frame's prompts and idle message go to the first pane.
  if (m_panes.empty()) return Default();
  return SetPaneText(0, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  const CString text = GetPaneText(0);
  auto* out = reinterpret_cast<LPSTR>(lParam);
  if (!out || wParam == 0) return 0;
  const size_t n = std::min(static_cast<size_t>(text.GetLength()), static_cast<size_t>(wParam) - 1);
  std::memcpy(out, static_cast<LPCSTR>(text), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) { return GetPaneText(0).GetLength(); }

LRESULT CStatusBar::OnSbSetText(WPARAM wParam, LPARAM lParam) {
  // A pane written through the control keeps its text in the bar too, so that a later
  // layout does not put the old one back.
  const int index = LOBYTE(wParam);
  if (index < GetCount() && !(wParam & SBT_OWNERDRAW)) {
    Pane& p = m_panes[static_cast<size_t>(index)];
    p.strText = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  }
  return Default();
}
