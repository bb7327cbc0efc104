#include "afxwin.h"
#include "CPreviewView.h"

#include <algorithm>
#include <string>

#include "AfxPrintIds.h"
#include "choosers/StockDialogIds.h"
#include "choosers/StockDialogs.h"

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
  ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
  ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnPreviewNext)
  ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPreviewPrev)
  ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr int kMargin = 8;  // grey around the paper, pixels

// The button bar is a child dialog; its buttons command the preview view.
INT_PTR CALLBACK BarProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) return FALSE;
  if (msg == WM_COMMAND) {
    ::SendMessageA(::GetParent(bar), WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

CPreviewView::CPreviewView() = default;
CPreviewView::~CPreviewView() = default;

BOOL CPreviewView::StartPreview(CView* pPrintView) {
  CFrameWnd* frame = pPrintView ? pPrintView->GetParentFrame() : nullptr;
  if (!frame) return FALSE;
  auto info = std::make_unique<CPrintInfo>();
  info->m_bPreview = TRUE;
  if (!pPrintView->OnPreparePrinting(info.get())) return FALSE;
  auto dc = std::make_unique<CPreviewDC>();
  if (!dc->Open(info->m_pPD->m_pd.hDC)) return FALSE;
  m_pPrintView = pPrintView;
  m_pFrame = frame;
  m_pPreviewInfo = std::move(info);
  m_pPreviewDC = std::move(dc);
  m_nCurrentPage = std::max(m_pPreviewInfo->GetFromPage(), m_pPreviewInfo->GetMinPage());
  pPrintView->OnBeginPrinting(m_pPreviewDC.get(), m_pPreviewInfo.get());

  // The preview takes the frame's client area: its children step aside, the pane's id included.
  for (HWND child = ::GetWindow(frame->GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (::IsWindowVisible(child)) m_hidden.push_back(child);
  for (HWND child : m_hidden) ::ShowWindow(child, SW_HIDE);
  if (HWND pane = ::GetDlgItem(frame->GetSafeHwnd(), AFX_IDW_PANE_FIRST)) {
    m_hOrigPane = pane;
    ::SetWindowLongA(pane, GWL_ID, AFX_IDW_PANE_SAVE);
  }
  CRect client;
  frame->GetClientRect(&client);
  m_pOrigView = frame->GetActiveView();
  if (!Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, frame, AFX_IDW_PANE_FIRST, nullptr)) {
    // Nothing to show on: the frame gets its contents back.
    if (m_hOrigPane) ::SetWindowLongA(m_hOrigPane, GWL_ID, AFX_IDW_PANE_FIRST);
    for (HWND child : m_hidden) ::ShowWindow(child, SW_SHOW);
    pPrintView->OnEndPrinting(m_pPreviewDC.get(), m_pPreviewInfo.get());
    return FALSE;
  }
  LPCDLGTEMPLATE bar = plat::afx::FindDialogTemplate(plat::choosers::StockModule(), MAKEINTRESOURCEA(IDD_PREVIEW_BAR));
  if (bar) m_hBar = ::CreateDialogIndirectParamA(plat::choosers::StockModule(), bar, m_hWnd, BarProc, 0);
  if (m_hBar) {
    RECT bar;
    ::GetWindowRect(m_hBar, &bar);
    ::MoveWindow(m_hBar, 0, 0, client.Width(), bar.bottom - bar.top, FALSE);
    ::ShowWindow(m_hBar, SW_SHOW);
  }
  frame->SetActiveView(this);
  frame->OnSetPreviewMode(TRUE, nullptr);
  frame->RecalcLayout();
  UpdateBar();
  return TRUE;
}

void CPreviewView::EndPreview() {
  CFrameWnd* frame = m_pFrame;
  if (m_hOrigPane && ::IsWindow(m_hOrigPane)) ::SetWindowLongA(m_hOrigPane, GWL_ID, AFX_IDW_PANE_FIRST);
  for (HWND child : m_hidden)
    if (::IsWindow(child)) ::ShowWindow(child, SW_SHOW);
  CView* orig = m_pOrigView;
  bool origAlive = orig && ::IsWindow(orig->GetSafeHwnd());
  DestroyWindow();  // deletes this object
  if (frame) {
    frame->SetActiveView(origAlive ? orig : nullptr);
    frame->OnSetPreviewMode(FALSE, nullptr);
    frame->RecalcLayout();
  }
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView* pView) {
  OnEndPrinting(pDC, pInfo);
  pView->EndPreview();
}

void CView::OnFilePrintPreview() {
  auto preview = std::make_unique<CPreviewView>();
  if (preview->StartPreview(this)) (void)preview.release();  // the window owns it now
}

CRect CPreviewView::GetPageRect() const {
  CRect client;
  GetClientRect(&client);
  if (m_hBar) {
    RECT bar;
    ::GetWindowRect(m_hBar, &bar);
    client.top += bar.bottom - bar.top;
  }
  client.DeflateRect(kMargin, kMargin);
  HDC printer = m_pPreviewDC ? m_pPreviewDC->m_hAttribDC : nullptr;
  int paperW = printer ? ::GetDeviceCaps(printer, PHYSICALWIDTH) : 0;
  int paperH = printer ? ::GetDeviceCaps(printer, PHYSICALHEIGHT) : 0;
  if (paperW <= 0 || paperH <= 0 || client.Width() <= 0 || client.Height() <= 0) return CRect(0, 0, 0, 0);
  // As large as fits, keeping the paper's shape.
  int w = client.Width(), h = static_cast<int>(static_cast<long long>(w) * paperH / paperW);
  if (h > client.Height()) {
    h = client.Height();
    w = static_cast<int>(static_cast<long long>(h) * paperW / paperH);
  }
  int x = client.left + (client.Width() - w) / 2, y = client.top + (client.Height() - h) / 2;
  return CRect(x, y, x + w, y + h);
}

BOOL CPreviewView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw covers everything

void CPreviewView::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  HBRUSH grey = ::CreateSolidBrush(::GetSysColor(COLOR_APPWORKSPACE));
  ::FillRect(pDC->m_hDC, &client, grey);
  ::DeleteObject(grey);
  CRect paper = GetPageRect();
  if (paper.IsRectEmpty() || !m_pPrintView) return;
  CRect shadow = paper;
  shadow.OffsetRect(3, 3);
  ::FillRect(pDC->m_hDC, &shadow, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::FillRect(pDC->m_hDC, &paper, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));

  // The printable area inside the paper, at the paper's scale.
  HDC printer = m_pPreviewDC->m_hAttribDC;
  double scale = static_cast<double>(paper.Width()) / ::GetDeviceCaps(printer, PHYSICALWIDTH);
  CSize page = m_pPreviewDC->GetPageSize();
  int left = paper.left + static_cast<int>(::GetDeviceCaps(printer, PHYSICALOFFSETX) * scale);
  int top = paper.top + static_cast<int>(::GetDeviceCaps(printer, PHYSICALOFFSETY) * scale);
  CRect printable(left, top, left + static_cast<int>(page.cx * scale), top + static_cast<int>(page.cy * scale));
  m_pPreviewDC->SetScreenSize(printable.Size());

  CPrintInfo& info = *m_pPreviewInfo;
  m_pPreviewDC->ClearPage();
  info.m_nCurPage = m_nCurrentPage;
  m_pPrintView->OnPrepareDC(m_pPreviewDC.get(), &info);
  info.m_rectDraw.SetRect(0, 0, page.cx, page.cy);
  m_pPreviewDC->DPtoLP(&info.m_rectDraw);
  m_pPrintView->OnPrint(m_pPreviewDC.get(), &info);
  m_pPreviewDC->ShowPage(pDC->m_hDC, printable);
}

void CPreviewView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_hBar) {
    RECT bar;
    ::GetWindowRect(m_hBar, &bar);
    ::MoveWindow(m_hBar, 0, 0, cx, bar.bottom - bar.top, TRUE);
  }
  Invalidate(FALSE);
}

void CPreviewView::ShowPage(UINT nPage) {
  m_nCurrentPage = nPage;
  UpdateBar();
  Invalidate(FALSE);
}

void CPreviewView::UpdateBar() {
  if (!m_hBar || !m_pPreviewInfo) return;
  UINT first = m_pPreviewInfo->GetMinPage(), last = m_pPreviewInfo->GetMaxPage();
  bool known = last != 0xFFFF;
  ::EnableWindow(::GetDlgItem(m_hBar, AFX_ID_PREVIEW_NEXT), known && m_nCurrentPage < last);
  ::EnableWindow(::GetDlgItem(m_hBar, AFX_ID_PREVIEW_PREV), m_nCurrentPage > first);
  CString text;
  if (known) text.Format(plat::choosers::StockString(IDS_PREVIEW_PAGE).c_str(), m_nCurrentPage, last);
  else text.Format(plat::choosers::StockString(IDS_PRINT_PAGE).c_str(), m_nCurrentPage);
  ::SetDlgItemTextA(m_hBar, AFX_ID_PREVIEW_NUMPAGE, text);
}

void CPreviewView::OnPreviewNext() {
  UINT last = m_pPreviewInfo->GetMaxPage();
  if (last != 0xFFFF && m_nCurrentPage < last) ShowPage(m_nCurrentPage + 1);
}

void CPreviewView::OnPreviewPrev() {
  if (m_nCurrentPage > m_pPreviewInfo->GetMinPage()) ShowPage(m_nCurrentPage - 1);
}

void CPreviewView::OnPreviewClose() {
  m_pPrintView->OnEndPrintPreview(m_pPreviewDC.get(), m_pPreviewInfo.get(), POINT{0, 0}, this);
}

void CPreviewView::OnPreviewPrint() {
  OnPreviewClose();  // this object is gone from here on
  if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_COMMAND, ID_FILE_PRINT);
}
