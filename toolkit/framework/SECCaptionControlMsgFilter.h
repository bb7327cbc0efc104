// SECCaptionControlMsgFilter: one button in the frame's caption. It draws itself, tracks the
// mouse while pressed (the frame holds the capture), and turns a click into its action: the
// five standard ones post their system command with the point. A button with a hold
// interval acts differently when held down that long; SECCaptionControlMsgFilterTimer is the
// invisible child window whose timer measures the hold.
#pragma once
#include "SECCaptionMsgFilter.h"

class SECCaptionControlMsgFilterTimer;

class SECCaptionControlMsgFilter : public SECCaptionMsgFilter {
  DECLARE_DYNCREATE(SECCaptionControlMsgFilter)
 public:
  // The standard ids, which are also the DrawFrameControl caption states.
  enum : UINT { idClose = 0, idMinimize = 1, idMaximize = 2, idRestore = 3, idHelp = 4, kMaxControlID = 4095 };
  // Actions: a left click, a right click, the button held down.
  enum : int { actionClick = 0, actionRightClick = 1, actionHold = 2 };

  SECCaptionControlMsgFilter(CFrameWnd* pFrame, UINT nID, UINT nDrawType = DFC_CAPTION, UINT nDrawState = 0,
                             int nHoldInterval = -1);
  ~SECCaptionControlMsgFilter() override;
  SECMsgFilter* Clone() const override;
  void SetID(UINT nID) override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  virtual void Draw();
  virtual BOOL HitTest(CPoint screen) const;
  virtual void OnPress(int x, int y);
  virtual void OnRelease(int x, int y);
  virtual void OnHold(int x, int y);
  virtual void OnTrackMove(int x, int y);
  virtual void DoAction(int nAction, int x, int y);
  virtual BOOL GetActionMessage(int nAction, int x, int y, HWND* pWnd, UINT* pMessage, WPARAM* pWParam,
                                LPARAM* pLParam);
  virtual void BeginTracking(BOOL bPushed, BOOL bRedraw);
  virtual void EndTracking(BOOL bClearPushed, BOOL bRedraw);
  virtual void StopTimer();
  virtual void StartTimer(int x, int y);
  virtual BOOL IsVisible(BOOL* pDisabled);

  static BOOL IsValidControlID(UINT nID) { return nID <= kMaxControlID; }
  BOOL IsTracking() const { return m_bTracking; }
  BOOL IsPushed() const { return (m_nDrawState & DFCS_PUSHED) != 0; }
  // The hold timer window while one runs (owned).
  SECCaptionControlMsgFilterTimer* GetTimer() const { return m_pTimer; }

  CRect m_rectButton;  // window coordinates of the frame
  UINT m_nDrawType;
  UINT m_nDrawState;   // low bits: the id
  BOOL m_bTracking = FALSE;
  int m_nHoldInterval;  // milliseconds, -1 none
  SECCaptionControlMsgFilterTimer* m_pTimer = nullptr;

 protected:
  SECCaptionControlMsgFilter();
  SECCaptionControlMsgFilter(const SECCaptionControlMsgFilter& other);
  void SetPushed(BOOL bPushed);
  // The frame's window DC for drawing into the caption (released by the caller).
  CWnd* FrameWnd() const;
};

class SECCaptionControlMsgFilterTimer : public CWnd {
  DECLARE_DYNAMIC(SECCaptionControlMsgFilterTimer)
 public:
  // Creates the window (an invisible child of the frame) and its timer; null when either
  // cannot be made.
  static SECCaptionControlMsgFilterTimer* Start(SECCaptionControlMsgFilter* pOwner, CWnd* pFrame, int nInterval,
                                                int x, int y);
  // The owner lets go: the window goes now, or, while its own timer message is being
  // handled, once that handling has returned.
  void Discard();

  SECCaptionControlMsgFilter* m_pOwner;
  int m_nInterval;
  BOOL m_bTimerSet = FALSE;
  BOOL m_bFired = FALSE;
  int m_x, m_y;

 protected:
  SECCaptionControlMsgFilterTimer(SECCaptionControlMsgFilter* pOwner, int nInterval, int x, int y)
      : m_pOwner(pOwner), m_nInterval(nInterval), m_x(x), m_y(y) {}
  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnDiscard(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bInTimer = FALSE;    // its WM_TIMER handling is on the stack
  BOOL m_bDiscarded = FALSE;  // no owner any more: goes when it may
  BOOL m_bGone = FALSE;       // the window was destroyed during that handling
};
