#include "SECWorkbook.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "SECWorkbookClient.h"
#include "SECWorksheet.h"
#include "SECControlBarWorksheet.h"

IMPLEMENT_DYNCREATE(SECWorkbook, SECMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECWorkbook, SECMDIFrameWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_SECWORKBOOK_ACTIVETAB, OnActiveTab)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
END_MESSAGE_MAP()

namespace {
// The room ShowTabs leaves left, above and right of the client for the frame drawn 5
// pixels around it.
constexpr int kFrameMargin = 6;
}  // namespace

SECWorkbook::SECWorkbook() {
  m_pControlBarChildClass = RUNTIME_CLASS(SECControlBarWorksheet);
}

SECWorkbook::~SECWorkbook() {
  delete m_pToolTip;
  delete m_pWorkbookClient;
}

SECWorksheet* SECWorkbook::GetSheet(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetSheetCount()) return nullptr;
  return static_cast<SECWorksheet*>(m_arrSheets.GetAt(nIndex));
}

CRect SECWorkbook::ClientRect() const {
  CRect r;
  if (!m_hWndMDIClient) return r;
  ::GetWindowRect(m_hWndMDIClient, &r);
  ScreenToClient(&r);
  return r;
}

void SECWorkbook::GetClientMarginRect(LPRECT lpRect) {
  CRect r = ClientRect();
  if (m_pWorkbookClient) {
    r.left -= m_pWorkbookClient->m_nLeftMargin;
    r.top -= m_pWorkbookClient->m_nTopMargin;
    r.right += m_pWorkbookClient->m_nRightMargin;
    r.bottom += m_pWorkbookClient->m_nBottomMargin;
  }
  *lpRect = r;
}

BOOL SECWorkbook::OnTabActivating(SECWorksheet*) { return TRUE; }

void SECWorkbook::InvalidateTab(SECWorksheet* pSheet, BOOL bToRightEdge) {
  if (!m_hWnd || !pSheet) return;
  CRect client;
  GetClientRect(&client);
  InvalidateRect(sec_workbook::TabArea(ClientRect(), VisiblePosition(pSheet), m_tabs, bToRightEdge ? client.right : 0),
                 TRUE);
}

void SECWorkbook::AddSheet(SECWorksheet* pSheet) {
  pSheet->m_nTabIndex = static_cast<int>(m_arrSheets.Add(pSheet));
  const int count = GetSheetCount();
  const int width = sec_workbook::TabWidth(ClientRect().Width(), count, m_nMaxTabWidth);
  if (width != m_tabs.width) {
    m_tabs.width = width;
    if (m_bTabsShown) InvalidateRect(sec_workbook::StripRect(ClientRect(), m_tabs), TRUE);
  } else if (m_bTabsShown) {
    if (count == 1) Invalidate(TRUE);
    else InvalidateTab(pSheet);
  }
  if (count == 1 && !m_pToolTip) {
    auto tip = std::make_unique<CToolTipCtrl>();
    if (tip->Create(this)) {
      tip->Activate(TRUE);
      m_pToolTip = tip.release();
      EnableToolTips(TRUE);
    }
  }
}

BOOL SECWorkbook::RemoveSheet(SECWorksheet* pSheet) {
  int index = -1;
  for (int i = 0; i < GetSheetCount(); ++i)
    if (m_arrSheets.GetAt(i) == pSheet) index = i;
  if (index < 0) return FALSE;
  // The area it leaves, worked out while it still counts among the tabs before it.
  CRect client;
  if (m_hWnd) GetClientRect(&client);
  const CRect area = sec_workbook::TabArea(ClientRect(), VisiblePosition(pSheet), m_tabs, client.right);
  m_arrSheets.RemoveAt(index);
  if (m_pWorkbookClient)
    for (int i = index; i < GetSheetCount(); ++i) GetSheet(i)->m_nTabIndex = i;
  const int count = GetSheetCount();
  const int width = count ? sec_workbook::TabWidth(ClientRect().Width(), count, m_nMaxTabWidth) : m_tabs.width;
  if (count && width != m_tabs.width) {
    m_tabs.width = width;
    if (m_bTabsShown && m_hWnd) InvalidateRect(sec_workbook::StripRect(ClientRect(), m_tabs), TRUE);
  } else if (m_bTabsShown && m_hWnd) {
    if (!count) Invalidate(TRUE);
    else InvalidateRect(area, TRUE);
  }
  return TRUE;
}

int SECWorkbook::VisiblePosition(SECWorksheet* pSheet) const {
  int hidden = 0;
  for (int i = 0; i < pSheet->m_nTabIndex && i < GetSheetCount(); ++i) {
    SECWorksheet* other = GetSheet(i);
    if (!other->m_hWnd || !(other->GetStyle() & WS_VISIBLE)) ++hidden;
  }
  return pSheet->m_nTabIndex - hidden;
}

void SECWorkbook::GetTabPolygon(SECWorksheet* pSheet, LPPOINT lpPoints, int& nPoints) {
  const BOOL raised = pSheet->m_bRaised || GetActiveFrame() == pSheet;
  sec_workbook::TabPolygon(ClientRect(), VisiblePosition(pSheet), raised, m_tabs, lpPoints);
  nPoints = sec_workbook::kTabPoints;
}

const CString& SECWorkbook::GetSheetLabel(SECWorksheet* pSheet) {
  CDocument* doc = pSheet->GetActiveDocument();
  if (doc) m_strLabel = doc->GetTitle();
  else pSheet->GetWindowText(m_strLabel);
  return m_strLabel;
}

void SECWorkbook::GetLabelRect(const POINT* lpPoints, int nIconWidth, LPRECT lpRect) {
  *lpRect = sec_workbook::LabelRect(lpPoints, nIconWidth);
}

BOOL SECWorkbook::LabelFits(SECWorksheet* pSheet) {
  POINT pts[sec_workbook::kTabPoints];
  int count = 0;
  GetTabPolygon(pSheet, pts, count);
  CRect label;
  GetLabelRect(pts, sec_workbook::kIconSize, &label);
  CClientDC dc(this);
  CFont* old = m_fontTab.GetSafeHandle() ? dc.SelectObject(&m_fontTab) : nullptr;
  const int width = dc.GetTextExtent(GetSheetLabel(pSheet)).cx;
  if (old) dc.SelectObject(old);
  return label.Width() >= width;
}

HICON SECWorkbook::GetSheetIcon(SECWorksheet* pSheet) { return m_bIconsShown ? pSheet->m_hIcon : nullptr; }

void SECWorkbook::SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw) {
  if (pSheet->m_hIcon && pSheet->m_hIcon != hIcon) ::DestroyIcon(pSheet->m_hIcon);
  pSheet->m_hIcon = hIcon;
  if (bRedraw) InvalidateTab(pSheet);
}

void SECWorkbook::DrawTab(CDC* pDC, SECWorksheet* pSheet) {
  POINT p[sec_workbook::kTabPoints];
  int count = 0;
  GetTabPolygon(pSheet, p, count);
  CBrush face(::GetSysColor(COLOR_BTNFACE));
  CBrush* oldBrush = pDC->SelectObject(&face);
  CPen* oldPen = pDC->SelectObject(&m_penFace);
  pDC->Polygon(p, count);
  pDC->SelectObject(&m_penHighlight);
  pDC->MoveTo(p[0]);
  pDC->LineTo(p[1]);
  // The lower-right outline, in the shadow 2 pixels in and in black 1 pixel in: points
  // of the lower edge move up, points of the right edge move left.
  for (int inset : {2, 1}) {
    pDC->SelectObject(inset == 2 ? &m_penShadow : &m_penBlack);
    pDC->MoveTo(p[1].x, p[1].y - inset);
    pDC->LineTo(p[2].x, p[2].y - inset);
    pDC->LineTo(p[3].x, p[3].y - inset);
    pDC->LineTo(p[4].x - inset, p[4].y);
    pDC->LineTo(p[5].x - inset, p[5].y);
  }
  pDC->SelectObject(oldPen);
  pDC->SelectObject(oldBrush);
}

void SECWorkbook::DrawTabAreaFrame(CDC* pDC) {
  CRect f = ClientRect();
  f.InflateRect(5, 5);
  CPen* old = pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(f.left + 1, f.bottom - 2);
  pDC->LineTo(f.right - 2, f.bottom - 2);
  pDC->LineTo(f.right - 2, f.top);
  pDC->SelectObject(&m_penHighlight);
  pDC->MoveTo(f.left, f.bottom - 1);
  pDC->LineTo(f.left, f.top);
  pDC->LineTo(f.right - 1, f.top);
  pDC->SelectObject(&m_penBlack);
  pDC->MoveTo(f.left, f.bottom - 1);
  pDC->LineTo(f.right - 1, f.bottom - 1);
  pDC->LineTo(f.right - 1, f.top - 1);
  CRect m;
  GetClientMarginRect(&m);
  pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(m.left, m.top);
  pDC->LineTo(m.right, m.top);
  pDC->SelectObject(&m_penHighlight);
  pDC->MoveTo(m.left, m.top + 1);
  pDC->LineTo(m.right, m.top + 1);
  pDC->SelectObject(old);
}

void SECWorkbook::DrawTabLabel(CDC* pDC, SECWorksheet* pSheet) {
  POINT p[sec_workbook::kTabPoints];
  int count = 0;
  GetTabPolygon(pSheet, p, count);
  const HICON icon = GetSheetIcon(pSheet);
  if (icon) ::DrawIconEx(pDC->GetSafeHdc(), p[2].x + 1, p[0].y + 4, icon, 16, 16, 0, nullptr, DI_NORMAL);
  CRect rect;
  GetLabelRect(p, m_bIconsShown ? sec_workbook::kIconSize : 0, &rect);
  const CString& label = GetSheetLabel(pSheet);
  if (label.IsEmpty()) return;
  CFont* old = m_fontTab.GetSafeHandle() ? pDC->SelectObject(&m_fontTab) : nullptr;
  const CString shown = sec_workbook::FitLabel(*pDC, label, rect.Width());
  pDC->DrawText(shown, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (old) pDC->SelectObject(old);
}

BOOL SECWorkbook::TabContains(SECWorksheet* pSheet, CPoint point) {
  POINT p[sec_workbook::kTabPoints];
  int count = 0;
  GetTabPolygon(pSheet, p, count);
  return sec_workbook::PtInTab(p, point);
}

INT_PTR SECWorkbook::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  auto* self = const_cast<SECWorkbook*>(this);
  if (!m_bTabsShown) return -1;
  for (int i = 0; i < GetSheetCount(); ++i) {
    SECWorksheet* sheet = GetSheet(i);
    // A hidden sheet has no tab: its place belongs to the next visible one.
    if (!sheet->m_hWnd || !(sheet->GetStyle() & WS_VISIBLE)) continue;
    if (!self->TabContains(sheet, point)) continue;
    if (self->LabelFits(sheet)) return -1;
    if (pTI) {
      POINT p[sec_workbook::kTabPoints];
      int count = 0;
      self->GetTabPolygon(sheet, p, count);
      CRect box(p[0].x, p[0].y, p[0].x, p[0].y);
      for (const POINT& pt : p) {
        box.left = std::min<int>(box.left, pt.x);
        box.top = std::min<int>(box.top, pt.y);
        box.right = std::max<int>(box.right, pt.x);
        box.bottom = std::max<int>(box.bottom, pt.y);
      }
      pTI->hwnd = m_hWnd;
      pTI->uId = static_cast<UINT_PTR>(i + 1);
      pTI->rect = box;
      pTI->lpszText = ::strdup(self->GetSheetLabel(sheet));
    }
    return i + 1;
  }
  return -1;
}

BOOL SECWorkbook::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
  if (!SECMDIFrameWnd::CreateClient(lpCreateStruct, pWindowMenu)) return FALSE;
  auto client = std::make_unique<SECWorkbookClient>();
  if (!client->SubclassWindow(m_hWndMDIClient)) return FALSE;
  m_pWorkbookClient = client.release();
  if (!m_fontTab.CreateStockObject(DEFAULT_GUI_FONT)) m_fontTab.CreateStockObject(ANSI_VAR_FONT);
  m_penHighlight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  m_penFace.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

void SECWorkbook::RecalcLayout(BOOL bNotify) {
  SECMDIFrameWnd::RecalcLayout(bNotify);
  if (!m_bTabsShown || !m_hWnd) return;
  CRect area;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &area);
  if (area == m_rectLastLayout) return;
  if (GetSheetCount()) m_tabs.width = sec_workbook::TabWidth(ClientRect().Width(), GetSheetCount(), m_nMaxTabWidth);
  Invalidate(TRUE);
  m_rectLastLayout = area;
}

CMDIChildWnd* SECWorkbook::CreateControlBarMDIChild(DWORD dwStyle, CControlBar* pBar) {
  CMDIChildWnd* child = SECMDIFrameWnd::CreateControlBarMDIChild(dwStyle, pBar);
  auto* sheet = dynamic_cast<SECWorksheet*>(child);
  if (sheet && pBar && pBar->m_hWnd) {
    // The bar keeps its own icon; the sheet owns a copy.
    const auto icon = reinterpret_cast<HICON>(pBar->SendMessage(WM_GETICON, ICON_SMALL));
    SetSheetIcon(sheet, icon ? ::CopyIcon(icon) : nullptr, TRUE);
  }
  return child;
}

void SECWorkbook::ShowTabs(BOOL bShow) {
  m_bTabsShown = bShow;
  if (m_pWorkbookClient) {
    const int strip = m_tabs.height + m_tabs.activeExtraHeight + 10;
    if (bShow) m_pWorkbookClient->SetMargins(kFrameMargin, kFrameMargin, kFrameMargin, strip);
    else m_pWorkbookClient->SetMargins(0, 0, 0, 0);
  }
  m_rectLastLayout.SetRectEmpty();
  if (m_hWnd) {
    RecalcLayout();
    if (GetSheetCount()) m_tabs.width = sec_workbook::TabWidth(ClientRect().Width(), GetSheetCount(), m_nMaxTabWidth);
    Invalidate(TRUE);
  }
}

BOOL SECWorkbook::OnEraseBkgnd(CDC* pDC) {
  pDC->ExcludeClipRect(ClientRect());
  CRect area;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &area);
  if (area.IsRectEmpty()) return TRUE;
  if (m_bTabsShown) {
    CRect margin;
    GetClientMarginRect(&margin);
    pDC->FillSolidRect(margin, ::GetSysColor(COLOR_BTNFACE));
    InvalidateRect(nullptr, FALSE);
  } else {
    pDC->FillSolidRect(area, ::GetSysColor(COLOR_BTNFACE));
  }
  // Lines toward bars below and right of the area (not where the area meets the window's edge).
  CRect client;
  GetClientRect(&client);
  const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  if (area.bottom != client.bottom) {
    pDC->FillSolidRect(area.left, area.bottom - 1, area.Width(), 1, highlight);
    pDC->FillSolidRect(area.left, area.bottom - 2, area.Width(), 1, shadow);
  }
  if (area.right != client.right) {
    pDC->FillSolidRect(area.right - 1, area.top, 1, area.Height(), highlight);
    pDC->FillSolidRect(area.right - 2, area.top, 1, area.Height(), shadow);
  }
  return TRUE;
}

void SECWorkbook::OnPaint() {
  CPaintDC dc(this);
  if (!m_bTabsShown || !m_hWndMDIClient) return;
  CRect inner;
  ::GetClientRect(m_hWndMDIClient, &inner);
  if (inner.IsRectEmpty()) return;
  dc.SetBkMode(TRANSPARENT);
  for (int i = 0; i < GetSheetCount(); ++i) {
    SECWorksheet* sheet = GetSheet(i);
    if (!sheet->m_hWnd || !(sheet->GetStyle() & WS_VISIBLE)) continue;
    DrawTab(&dc, sheet);
    DrawTabLabel(&dc, sheet);
  }
  DrawTabAreaFrame(&dc);
  auto* active = dynamic_cast<SECWorksheet*>(GetActiveFrame());
  if (active && active != static_cast<CFrameWnd*>(this) && active->m_hWnd && (active->GetStyle() & WS_VISIBLE)) {
    DrawTab(&dc, active);
    DrawTabLabel(&dc, active);
  }
  if (m_bRepaintOnClientChange) {
    // The same rectangle the layout compares, so that the two never undo each other.
    CRect area;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &area);
    if (area != m_rectLastLayout) {
      m_rectLastLayout = area;
      InvalidateRect(nullptr, FALSE);
    }
  }
}

void SECWorkbook::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bTabsShown) {
    CFrameWnd* active = GetActiveFrame();
    for (int i = 0; i < GetSheetCount(); ++i) {
      SECWorksheet* sheet = GetSheet(i);
      if (sheet == active || !sheet->m_hWnd || !(sheet->GetStyle() & WS_VISIBLE)) continue;
      if (!TabContains(sheet, point)) continue;
      if (OnTabActivating(sheet)) {
        sheet->m_bRaised = TRUE;
        UpdateWindow();
        sheet->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
      }
      break;
    }
  }
  Default();
}

void SECWorkbook::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bTabsShown)
    for (int i = 0; i < GetSheetCount(); ++i) GetSheet(i)->m_bRaised = FALSE;
  SECMDIFrameWnd::OnLButtonUp(nFlags, point);
}

void SECWorkbook::OnDestroy() {
  SECMDIFrameWnd::OnDestroy();
  if (m_pWorkbookClient) {
    if (m_pWorkbookClient->m_hWnd) m_pWorkbookClient->UnsubclassWindow();
    delete m_pWorkbookClient;
    m_pWorkbookClient = nullptr;
  }
}

LRESULT SECWorkbook::OnActiveTab(WPARAM, LPARAM) {
  if (m_nLastActiveTab < GetSheetCount()) InvalidateTab(GetSheet(m_nLastActiveTab));
  CFrameWnd* active = GetActiveFrame();
  auto* sheet = dynamic_cast<SECWorksheet*>(active);
  if (sheet && sheet->m_nTabIndex < GetSheetCount() && GetSheet(sheet->m_nTabIndex) == sheet) {
    InvalidateTab(sheet);
    m_nLastActiveTab = sheet->m_nTabIndex;
  } else {
    m_nLastActiveTab = GetSheetCount();
  }
  if (!active || !(active->GetStyle() & WS_MAXIMIZE)) UpdateWindow();
  return 0;
}
