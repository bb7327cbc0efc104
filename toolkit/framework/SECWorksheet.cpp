#include "SECWorksheet.h"

#include "SECWorkbook.h"

IMPLEMENT_DYNCREATE(SECWorksheet, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECWorksheet, SECMDIChildWnd)
  ON_WM_DESTROY()
  ON_WM_SHOWWINDOW()
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

SECWorksheet::~SECWorksheet() {
  if (m_hIcon) ::DestroyIcon(m_hIcon);
}

SECWorkbook* SECWorksheet::GetWorkbook() const { return dynamic_cast<SECWorkbook*>(GetMDIFrame()); }

BOOL SECWorksheet::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  if (!SECMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  if (SECWorkbook* workbook = GetWorkbook()) {
    workbook->AddSheet(this);
    const auto icon = static_cast<HICON>(
        ::LoadImage(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON), MAKEINTRESOURCE(nIDResource),
                    IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (icon) workbook->SetSheetIcon(this, icon, TRUE);
  }
  return TRUE;
}

void SECWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle) {
  SECMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
  if (SECWorkbook* workbook = GetWorkbook()) workbook->InvalidateTab(this);
}

void SECWorksheet::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
  SECMDIChildWnd::OnUpdateFrameMenu(bActivate, pActivateWnd, hMenuAlt);
  SECWorkbook* workbook = GetWorkbook();
  if (!workbook || m_hMenuShared || !workbook->m_hWndMDIClient) return;
  // Without a menu nothing passed WM_MDISETMENU, which is what redraws the active tab:
  // the client is told so that it does (in menu-bar mode, and for an activated sheet
  // that has no menu at all).
  if (workbook->m_pMenuBar || (bActivate && !hMenuAlt))
    ::SendMessageA(workbook->m_hWndMDIClient, WM_SECWORKBOOK_NOSHEETMENU, static_cast<WPARAM>(-1), static_cast<LPARAM>(-1));
}

void SECWorksheet::OnShowWindow(BOOL bShow, UINT nStatus) {
  Default();
  if (SECWorkbook* workbook = GetWorkbook()) workbook->InvalidateTab(this, TRUE);
}

void SECWorksheet::OnSysCommand(UINT nID, LPARAM lParam) { CFrameWnd::OnSysCommand(nID, lParam); }

void SECWorksheet::OnDestroy() {
  if (SECWorkbook* workbook = GetWorkbook()) workbook->RemoveSheet(this);
  SECMDIChildWnd::OnDestroy();
  if (m_hIcon) {
    ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
  }
}
