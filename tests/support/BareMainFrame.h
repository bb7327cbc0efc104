// The main frame class without its composition: no fixed geometry, panes, bars or
// pipeline objects, and enabled from the start, for tests that put their own panes and
// stages into it (the frame's services are the real ones).
#pragma once
#include <afxwin.h>

#include "ui/MainFrame.h"

class BareMainFrame : public CMainFrame {
 public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override { return CFrameWnd::PreCreateWindow(cs); }
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override {
    if (pContext) m_pBareDocument = pContext->m_pCurrentDoc;
    return TRUE;
  }
  CDocument* GetActiveDocument() override { return m_pBareDocument ? m_pBareDocument : CMainFrame::GetActiveDocument(); }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    ArmEnableGuard();  // as after the first live frame
    return 0;
  }
  DECLARE_MESSAGE_MAP()

 private:
  CDocument* m_pBareDocument = nullptr;
};

// The message map written out inline: the header is included by several test files.
inline const AFX_MSGMAP* BareMainFrame::GetMessageMap() const { return GetThisMessageMap(); }
inline const AFX_MSGMAP* BareMainFrame::GetThisMessageMap() {
  using ThisClass [[maybe_unused]] = BareMainFrame;
  typedef CMainFrame TheBaseClass;
  static const AFX_MSGMAP_ENTRY _messageEntries[] = {
  ON_WM_CREATE()
END_MESSAGE_MAP()
