// SECDockableFrame: a document frame that lives docked in a control bar of the main MDI
// frame, or floats with that bar. Towards the main SECMDIFrameWnd it stands in for an MDI
// child: a click or an activation makes it the main frame's active docked frame, and it
// gives the main window its menu. Its caption carries the caption-button filters.
#pragma once
#include "SECFrameWnd.h"
#include "SECMsgFilter.h"

class SECMDIFrameWnd;

class SECDockableFrame : public SECFrameWnd {
  DECLARE_DYNCREATE(SECDockableFrame)
 public:
  SECDockableFrame();
  ~SECDockableFrame() override;

  // Whether the bar that holds the frame floats.
  virtual BOOL IsFloating();
  // Bit 0 switches the caption handling on; bits 1, 2 and 3 suppress the caption buttons,
  // the caption double click and the context menu.
  virtual void EnableCaptionButtons(DWORD dwFlags);

  BOOL DestroyWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void UpdateDockedFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;

  // The control bar that holds the frame, or null.
  CControlBar* GetHoldingBar() const;
  // The main frame this frame answers to: its parent frame when that is the library's MDI
  // frame, else the application's main window when that is one; null otherwise.
  SECMDIFrameWnd* GetMainFrame() const;
  SECMsgFilter* GetMsgFilter() const { return m_pMsgFilter; }

  HMENU m_hMenuOwn = nullptr;  // the template's dockable-frame menu (the template owns it)
  SECMsgFilter* m_pMsgFilter;  // owned
  SECMsgFilter::DescriptorTable m_descriptors;

 protected:
  // Offers the message to the filters; bit 0 of the answer: handled. The frame may be gone
  // afterwards (a move made another frame of its document).
  LRESULT OfferToFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult = nullptr);
  // Offered to the filters, and to the default procedure only when they did not take it.
  LRESULT FilterOrDefault(UINT message, WPARAM wParam, LPARAM lParam);
  void ActivateInMainFrame();

  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg LRESULT OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcRButtonDownMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcRButtonUpMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcRButtonDblClkMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLButtonUpMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMouseMoveMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcActivateMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcPaintMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetTextMsg(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  afx_msg UINT OnNcHitTest(CPoint point);
  DECLARE_MESSAGE_MAP()
};
