// SECWndPlugIn: a window object that borrows its host window's handle, so that its own
// message map sees the host's messages before the host does. A handler that wants the
// host not to see a message sets m_bHandled; one that answers it sets a result.
#pragma once
#include <memory>

#include <afxwin.h>

class SECWndPlugIn : public CWnd {
  DECLARE_DYNAMIC(SECWndPlugIn)
 public:
  SECWndPlugIn() = default;
  ~SECWndPlugIn() override;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void SetResult(LRESULT lResult);
  // Takes the host's handle; a null host is ignored.
  virtual BOOL PlugInTo(CWnd* pWnd);
  virtual void UnPlug();

  BOOL m_bHandled = FALSE;
  BOOL m_bPassToDefault = FALSE;
  BOOL m_bResultGiven = FALSE;
  LRESULT m_lResult = 0;
  BOOL m_bPluggedIn = FALSE;

 private:
  // False once the plug-in is gone: a handler may have run a modal loop in which the host
  // (and the plug-in with it) was destroyed.
  std::shared_ptr<bool> m_pPlugInAlive = std::make_shared<bool>(true);
};
