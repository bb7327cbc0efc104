// SECFrameBase: what the class library's two main frames (SECFrameWnd over the framework
// frame, SECMDIFrameWnd over the MDI frame) share, written once over either base: the
// menu plug-in's first look at messages, the close guard while the toolbars are
// customised, the layout, print-preview and idle steps, the commands they absorb, and
// the members these read. Runs on the window's thread, as the frames do.
#pragma once
#include <afxext.h>

#include "SECFrameSteps.h"

class SECControlBarManager;
class SECDockState;
class SECWndPlugIn;

template <class Base>
class SECFrameBase : public Base {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    return sec_frame::WindowProc(Parts(), message, wParam, lParam,
                                 [&] { return Base::WindowProc(message, wParam, lParam); });
  }
  BOOL PreTranslateMessage(MSG* pMsg) override {
    return sec_frame::PreTranslate(Parts(), pMsg) || Base::PreTranslateMessage(pMsg);
  }
  void RecalcLayout(BOOL bNotify = TRUE) override {
    Base::RecalcLayout(bNotify);
    sec_frame::AfterLayout(*this, m_rectLastClient);
  }
  void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override {
    Base::OnSetPreviewMode(bPreview, pState);
    sec_frame::AfterPreviewMode(*this, bPreview);
  }
  virtual void OnIdleLayout(UINT nWhy, CWnd* pWho) { sec_frame::IdleLayout(*this, m_pControlBarManager, nWhy); }
  // The saved arrangement of the bars; bars made from saved records are the frame's.
  virtual void LoadBarState(LPCSTR lpszProfileName) {
    sec_frame::LoadBarState(*this, m_pControlBarManager, m_listBarInfo, lpszProfileName);
  }
  virtual void SaveBarState(LPCSTR lpszProfileName) {
    sec_frame::SaveBarState(*this, m_pControlBarManager, lpszProfileName);
  }
  virtual void SetDockState(SECDockState& state) { sec_frame::SetDockState(*this, state); }
  virtual void GetDockState(SECDockState& state) { sec_frame::GetDockState(*this, state); }
  virtual SECControlBarManager* GetManager() const { return m_pControlBarManager; }
  virtual void SetManager(SECControlBarManager* pManager) { m_pControlBarManager = pManager; }

  // The toolbar manager customises: the frame takes no clicks or closing meanwhile.
  BOOL InCustomiseMode() const { return sec_frame::InCustomiseMode(m_pControlBarManager); }
  SECWndPlugIn* GetMenuPlugIn() const { return m_pMenuPlugIn; }
  BOOL IsCustomCaptionEnabled() const { return m_bCustomCaption; }
  // 0 left, 1 centred, any other value right-aligned.
  void SetTitleAlignment(int nAlignment) { m_nTitleAlignment = nAlignment; }
  int GetTitleAlignment() const { return m_nTitleAlignment; }

  CRect m_rectLastClient{0, 0, 0, 0};
  SECControlBarManager* m_pControlBarManager = nullptr;  // not owned
  SECWndPlugIn* m_pMenuPlugIn = nullptr;                 // owned by the frame
  BOOL m_bBitmapMenus = FALSE;
  int m_nTitleAlignment = 0;
  BOOL m_bCustomCaption = FALSE;
  BOOL m_bCaptionActive = FALSE;
  CPtrList m_listBarInfo{10};  // bars made from saved records (owned), deleted with the frame

 protected:
  // While the toolbars are customised the frame stays inactive and takes no clicks.
  afx_msg void OnEnable(BOOL bEnable) {
    if (InCustomiseMode()) this->m_nFlags &= ~WF_STAYACTIVE;
    Base::OnEnable(bEnable);
  }
  afx_msg UINT OnNcHitTest(CPoint point) {
    if (InCustomiseMode()) return static_cast<UINT>(HTERROR);
    return Base::OnNcHitTest(point);
  }
  afx_msg void OnEmptyCommand() {}
  afx_msg void OnUpdateEmptyCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
  afx_msg void OnAbsorbedCommand(UINT) {}
  afx_msg void OnUpdateAbsorbed(CCmdUI*) {}

 private:
  sec_frame::FrameParts Parts() { return {*this, m_pMenuPlugIn, m_pControlBarManager, m_bBitmapMenus}; }
};
