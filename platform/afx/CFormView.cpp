#include "afxwin.h"

#include "CFormView.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

BEGIN_MESSAGE_MAP(CFormView, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext) {
  LPCDLGTEMPLATE lpTemplate = plat::afx::FindDialogTemplate(AfxGetResourceHandle(), m_lpszTemplateName);
  if (!lpTemplate) {
    PostNcDestroy();  // views own themselves: a view that is never made goes now
    return FALSE;
  }
  m_pCreateContext = pContext;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), lpTemplate, SafeHwndOf(pParentWnd), &AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  m_pCreateContext = nullptr;
  if (!hWnd) return FALSE;
  // The template gives the style; the caller decides about the border.
  ModifyStyle(WS_BORDER | WS_CAPTION, dwStyle & WS_BORDER);
  SetDlgCtrlID(static_cast<int>(nID));
  CRect templateRect;
  GetWindowRect(&templateRect);
  m_totalDev = templateRect.Size();
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (dwStyle & WS_VISIBLE) ShowWindow(SW_NORMAL);
  return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpcs) {
  CREATESTRUCT cs = *lpcs;
  cs.lpCreateParams = m_pCreateContext;
  return CView::OnCreate(&cs);
}

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);
  CView::OnInitialUpdate();
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
  if (CView::PreTranslateMessage(pMsg)) return TRUE;
  // Tab and arrow keys move between the form's controls.
  bool keyOrMouse = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                    (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  if (!keyOrMouse || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))) return FALSE;
  return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CFormView::ResizeParentToFit(BOOL bShrinkOnly) {
  CFrameWnd* frame = GetParentFrame();
  if (!frame) return;
  CRect client;
  GetClientRect(&client);
  CSize wanted = m_totalDev;
  if (bShrinkOnly) {
    wanted.cx = std::min<LONG>(wanted.cx, client.Width());
    wanted.cy = std::min<LONG>(wanted.cy, client.Height());
  }
  CRect frameRect;
  frame->GetWindowRect(&frameRect);
  frame->SetWindowPos(nullptr, 0, 0, frameRect.Width() + wanted.cx - client.Width(),
                      frameRect.Height() + wanted.cy - client.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
}
