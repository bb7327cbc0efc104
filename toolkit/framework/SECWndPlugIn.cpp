#include "SECWndPlugIn.h"

IMPLEMENT_DYNAMIC(SECWndPlugIn, CWnd)

SECWndPlugIn::~SECWndPlugIn() {
  // The handle is the host's: the window must never go with the plug-in.
  m_hWnd = nullptr;
  *m_pPlugInAlive = false;
}

BOOL SECWndPlugIn::PlugInTo(CWnd* pWnd) {
  if (!pWnd || !pWnd->m_hWnd) return FALSE;
  m_hWnd = pWnd->m_hWnd;
  m_bPluggedIn = TRUE;
  return TRUE;
}

void SECWndPlugIn::UnPlug() {
  m_bPluggedIn = FALSE;
  m_hWnd = nullptr;
}

void SECWndPlugIn::SetResult(LRESULT lResult) {
  m_bResultGiven = TRUE;
  m_lResult = lResult;
}

BOOL SECWndPlugIn::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (!m_bPluggedIn) return FALSE;
  m_bHandled = FALSE;
  m_bPassToDefault = FALSE;
  auto alive = m_pPlugInAlive;
  BOOL result = CWnd::OnWndMsg(message, wParam, lParam, pResult);
  if (!*alive) return result;
  if (m_bResultGiven) {
    m_bResultGiven = FALSE;
    if (pResult) *pResult = m_lResult;
  }
  return result;
}

BOOL SECWndPlugIn::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!m_bPluggedIn) return FALSE;
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT SECWndPlugIn::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_bPluggedIn || !m_bPassToDefault) return 0;
  return CWnd::DefWindowProc(message, wParam, lParam);
}
