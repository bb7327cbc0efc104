#include "afxwin.h"

#include "CSplitterWnd.h"

#include <algorithm>
#include <climits>
#include <memory>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CANCELMODE()
  ON_WM_PAINT()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {
constexpr int kBorder2 = 2;  // the sunken edge a nested splitter or edged pane brings

// Gives each row (or column) its ideal size while room lasts; the last one takes the
// rest. Panes below their minimum are hidden and their room goes to the one before.
template <class Info>
void LayoutRowCol(std::vector<Info>& infos, int nSize, int nSizeSplitter) {
  int nMax = static_cast<int>(infos.size());
  if (nSize < 0) nSize = 0;
  for (int i = 0; i < nMax - 1; ++i) {
    if (infos[i].nIdealSize < infos[i].nMinSize) infos[i].nIdealSize = 0;
    infos[i].nCurSize = infos[i].nIdealSize;
  }
  infos[nMax - 1].nCurSize = INT_MAX;
  for (int i = 0; i < nMax; ++i) {
    Info& info = infos[i];
    if (nSize == 0) {
      info.nCurSize = 0;
      continue;
    }
    if (nSize < info.nMinSize && i != 0) {
      info.nCurSize = 0;
      infos[i - 1].nCurSize += nSize + kBorder2;
      nSize = 0;
    } else if (info.nCurSize == 0) {
      // too small to show
    } else if (nSize < info.nCurSize) {
      info.nCurSize = nSize;
      nSize = 0;
    } else {
      nSize -= info.nCurSize;
    }
    if (i != nMax - 1) {
      if (nSize > nSizeSplitter) {
        nSize -= nSizeSplitter;
      } else {
        info.nCurSize += nSize;
        if (info.nCurSize > nSizeSplitter - kBorder2) info.nCurSize -= nSizeSplitter - kBorder2;
        nSize = 0;
      }
    }
  }
}
}  // namespace

CSplitterWnd::CSplitterWnd() : m_cxBorder(2), m_cyBorder(2), m_cxSplitterGap(7), m_cySplitterGap(7) {}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16 || !pParentWnd) return FALSE;
  m_nRows = nRows;
  m_nCols = nCols;
  m_rowInfo.assign(static_cast<size_t>(nRows), CRowColInfo{});
  m_colInfo.assign(static_cast<size_t>(nCols), CRowColInfo{});
  return CreateEx(0, nullptr, nullptr, dwStyle | WS_CHILD, 0, 0, 0, 0, pParentWnd->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext) {
  if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols || GetPane(row, col)) return FALSE;
  m_colInfo[static_cast<size_t>(col)].nIdealSize = sizeInit.cx;
  m_rowInfo[static_cast<size_t>(row)].nIdealSize = sizeInit.cy;
  std::unique_ptr<CObject> object(pViewClass ? pViewClass->CreateObject() : nullptr);
  auto* pane = dynamic_cast<CWnd*>(object.get());
  if (!pane) return FALSE;
  object.release();  // a pane deletes itself with its window, even when creation fails
  // The splitter draws the panes' borders itself.
  DWORD style = AFX_WS_DEFAULT_VIEW & ~WS_BORDER;
  CRect rect(CPoint(0, 0), sizeInit);
  if (!pane->Create(nullptr, nullptr, style, rect, this, static_cast<UINT>(IdFromRowCol(row, col)), pContext))
    return FALSE;
  if (m_hWnd && IsWindowVisible()) RecalcLayout();
  return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const { GetInfo(m_rowInfo, row, cyCur, cyMin); }
void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) { SetInfo(m_rowInfo, row, cyIdeal, cyMin); }
void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const { GetInfo(m_colInfo, col, cxCur, cxMin); }
void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) { SetInfo(m_colInfo, col, cxIdeal, cxMin); }

void CSplitterWnd::GetInfo(const std::vector<CRowColInfo>& infos, int i, int& cur, int& min) {
  const CRowColInfo& info = infos.at(static_cast<size_t>(i));
  cur = info.nCurSize;
  min = info.nMinSize;
}

void CSplitterWnd::SetInfo(std::vector<CRowColInfo>& infos, int i, int ideal, int min) {
  CRowColInfo& info = infos.at(static_cast<size_t>(i));
  info.nIdealSize = ideal;
  info.nMinSize = min;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const { return GetDlgItem(IdFromRowCol(row, col)); }

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) {
  if (!pWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  int id = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  int row = id / 16, col = id % 16;
  if (id < 0 || row >= m_nRows || col >= m_nCols) return FALSE;
  if (pRow) *pRow = row;
  if (pCol) *pCol = col;
  return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pane = nullptr;
  if (CFrameWnd* frame = GetParentFrame()) pane = frame->GetActiveView();
  if (!pane) pane = GetFocus();
  return IsChildPane(pane, pRow, pCol) ? pane : nullptr;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
  CWnd* pane = pWnd ? pWnd : GetPane(row, col);
  if (!pane) return;
  CFrameWnd* frame = GetParentFrame();
  if (frame && pane->IsKindOf(RUNTIME_CLASS(CView)))
    frame->SetActiveView(static_cast<CView*>(pane));
  else
    pane->SetFocus();
}

void CSplitterWnd::GetInsideRect(CRect& rect) const {
  GetClientRect(&rect);
  rect.InflateRect(-m_cxBorder, -m_cyBorder);
}

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || m_nRows == 0) return;
  CRect client;
  GetClientRect(&client);
  client.InflateRect(-m_cxBorder, -m_cyBorder);
  CRect inside;
  GetInsideRect(inside);
  LayoutRowCol(m_colInfo, inside.Width(), m_cxSplitterGap);
  LayoutRowCol(m_rowInfo, inside.Height(), m_cySplitterGap);
  AFX_SIZEPARENTPARAMS layout{};
  layout.hDWP = ::BeginDeferWindowPos((m_nRows + 1) * (m_nCols + 1));
  int x = client.left;
  for (int col = 0; col < m_nCols; ++col) {
    int cx = m_colInfo[static_cast<size_t>(col)].nCurSize;
    int y = client.top;
    for (int row = 0; row < m_nRows; ++row) {
      int cy = m_rowInfo[static_cast<size_t>(row)].nCurSize;
      if (CWnd* pane = GetPane(row, col)) {
        CRect rect(x, y, x + cx, y + cy);
        // Nested splitters and edged panes draw their edge in the gap.
        if ((pane->GetExStyle() & WS_EX_CLIENTEDGE) || pane->IsKindOf(RUNTIME_CLASS(CSplitterWnd)))
          rect.InflateRect(kBorder2, kBorder2);
        AfxRepositionWindow(&layout, pane->m_hWnd, &rect);
      }
      y += cy + m_cySplitterGap;
    }
    x += cx + m_cxSplitterGap;
  }
  ::EndDeferWindowPos(layout.hDWP);
  Invalidate();
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) RecalcLayout();
  CWnd::OnSize(nType, cx, cy);
}

int CSplitterWnd::HitTest(CPoint pt) const {
  CRect inside;
  GetInsideRect(inside);
  int x = inside.left;
  for (int col = 0; col + 1 < m_nCols; ++col) {
    x += m_colInfo[static_cast<size_t>(col)].nCurSize;
    if (pt.x >= x && pt.x < x + m_cxSplitterGap) return vSplitterBar1 + col;
    x += m_cxSplitterGap;
  }
  int y = inside.top;
  for (int row = 0; row + 1 < m_nRows; ++row) {
    y += m_rowInfo[static_cast<size_t>(row)].nCurSize;
    if (pt.y >= y && pt.y < y + m_cySplitterGap) return hSplitterBar1 + row;
    y += m_cySplitterGap;
  }
  return noHit;
}

void CSplitterWnd::StartTracking(int ht) {
  if (ht == noHit) return;
  m_htTrack = ht;
  m_bTracking = TRUE;
  SetCapture();
}

void CSplitterWnd::StopTracking(BOOL bAccept) {
  if (!m_bTracking) return;
  m_bTracking = FALSE;
  ::ReleaseCapture();
  if (bAccept) RecalcLayout();
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt) {
  if (!m_bTracking) StartTracking(HitTest(pt));
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt) {
  if (!m_bTracking) return;
  // The bar follows the mouse: the row or column before it takes the new size.
  CRect inside;
  GetInsideRect(inside);
  if (m_htTrack >= vSplitterBar1 && m_htTrack < hSplitterBar1) {
    int col = m_htTrack - vSplitterBar1;
    int start = inside.left;
    for (int c = 0; c < col; ++c) start += m_colInfo[static_cast<size_t>(c)].nCurSize + m_cxSplitterGap;
    m_colInfo[static_cast<size_t>(col)].nIdealSize = std::max(0, static_cast<int>(pt.x) - start);
  } else if (m_htTrack >= hSplitterBar1) {
    int row = m_htTrack - hSplitterBar1;
    int start = inside.top;
    for (int r = 0; r < row; ++r) start += m_rowInfo[static_cast<size_t>(r)].nCurSize + m_cySplitterGap;
    m_rowInfo[static_cast<size_t>(row)].nIdealSize = std::max(0, static_cast<int>(pt.y) - start);
  }
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  // Over a bar the cursor says which way the bar moves.
  if (nHitTest == HTCLIENT && pWnd == this) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    const int ht = m_bTracking ? m_htTrack : HitTest(pt);
    if (ht != noHit) {
      ::SetCursor(::LoadCursorA(nullptr, ht >= hSplitterBar1 ? IDC_SIZENS : IDC_SIZEWE));
      return TRUE;
    }
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}
void CSplitterWnd::OnCancelMode() { StopTracking(FALSE); }

void CSplitterWnd::OnPaint() {
  // The gaps are painted in the face colour with a sunken edge round each pane.
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  for (int col = 0; col < m_nCols; ++col)
    for (int row = 0; row < m_nRows; ++row)
      if (CWnd* pane = GetPane(row, col)) {
        CRect r;
        pane->GetWindowRect(&r);
        ScreenToClient(&r);
        r.InflateRect(kBorder2, kBorder2);
        dc.Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
      }
}
