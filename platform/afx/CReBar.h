// CReBar: a control bar around the rebar control; every bar added to it is a band.
#pragma once
#include "CControlBar.h"
#include "WinCommBars.h"

class CReBar : public CControlBar {
  DECLARE_DYNAMIC(CReBar)
 public:
  CReBar();

  BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
              UINT nID = 0xE804 /* AFX_IDW_REBAR */);
  // Adds `pBar` (a child of the rebar) as a new band sized to the bar.
  BOOL AddBar(CWnd* pBar, LPCSTR pszText = nullptr, DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
  int GetBandCount() const { return static_cast<int>(const_cast<CReBar*>(this)->DefWindowProc(RB_GETBANDCOUNT, 0, 0)); }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
