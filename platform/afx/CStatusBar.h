// CStatusBar: the frame's status line, a control bar over the common status bar control.
// Its panes come from indicator ids (the width of each id's string), show prompts in
// pane 0, and are updated at idle time through their command-update handlers.
#pragma once
#include <vector>

#include "CControlBar.h"
#include "CString.h"

#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_OWNERDRAW 0x1000
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar() = default;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  int GetCount() const { return static_cast<int>(m_panes.size()); }
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

 protected:
  struct Pane {
    UINT nID = 0;
    UINT nStyle = 0;
    int cxText = 0;
    CString strText;
  };
  // Places the panes in the control (rectangles) and hands it their texts.
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
  void SendPaneText(int nIndex);

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM, LPARAM);
  afx_msg LRESULT OnSbSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<Pane> m_panes;
};
