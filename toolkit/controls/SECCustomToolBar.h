// SECCustomToolBar: the class library's toolbar. It owns its buttons (SECStdBtn), draws
// them itself, lays them out in rows (wrapped and balanced when docked on a side or
// floating), tracks the pressed and the hot button, posts a button's command to its
// owner, updates the buttons through command-UI routing, and is filled from a toolbar
// resource, a list of ids, the standard toolbar messages or a saved bar record.
#pragma once
#include <memory>
#include <vector>

#include "SECControlBar.h"
#include "SECStdBtn.h"

class SECBmpMgr;
class SECBtnDrawContext;

class SECCustomToolBar : public SECControlBar {
  DECLARE_DYNCREATE(SECCustomToolBar)
 public:
  // The buttons, owned: deleted through their virtual destructors.
  class SECBtnArray : public CPtrArray {
   public:
    SECBtnArray() = default;
    virtual ~SECBtnArray() = default;
    SECStdBtn* At(INT_PTR i) const { return static_cast<SECStdBtn*>(GetAt(i)); }
  };

  // One entry of a button-class table: the class, the command, the initial style and
  // data for the button's Init; a null class ends the table.
  struct ButtonClassEntry {
    const SECButtonClass* pClass;
    UINT nID;
    UINT nStyle;
    const UINT* pData;
  };

  // A row of the wrapped layout.
  struct RowInfo {
    int nLast = -1;          // index of the row's last button
    BOOL bSeparator = FALSE; // the row ends in a separator
    int cx = 0, cy = 0;
  };

  SECCustomToolBar();
  ~SECCustomToolBar() override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle = nullptr);
  BOOL CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = nullptr) override;

  BOOL LoadToolBar(UINT nIDResource);
  BOOL LoadToolBar(LPCSTR lpszResourceName);
  virtual BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
  virtual BOOL RemoveButton(int nIndex, BOOL bNoRecalc = FALSE);
  virtual void InsertButton(int nIndex, UINT nID, BOOL bSeparator = FALSE, BOOL bNoRecalc = FALSE);
  virtual void RemoveAllButtons();
  virtual SECStdBtn* CreateButton(UINT nID, SECCustomToolBar* pOwnerBar = nullptr);
  virtual SECStdBtn* CreateSeparator(SECCustomToolBar* pOwnerBar = nullptr);
  virtual int GetImageIndex(UINT nID, HBITMAP* pBitmap = nullptr);
  virtual void SetButtonSize(int cx, int cy);
  void SetBitmapManager(SECBmpMgr* pMgr);
  SECBmpMgr* GetBitmapManager() const { return m_pBmpMgr; }

  int GetButtonCount() const { return static_cast<int>(m_btns.GetSize()); }
  SECStdBtn* GetButton(int nIndex) const { return m_btns.At(nIndex); }
  UINT GetButtonStyle(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  virtual int HitTest(CPoint point, LPRECT lpRect = nullptr) const;
  virtual void InvalidateButton(int nIndex);
  virtual void UpdateButton(int nIndex);

  virtual BOOL IsCoolLook() const { return (m_dwExStyle & CBRS_EX_COOL) != 0; }
  // The font of menu buttons' labels; none here (they take the bar's font).
  virtual HFONT GetMenuFont() const { return nullptr; }
  // Drops popup `nSubMenu` of menu resource `nIDMenu` under `pBtn` and lets its owner
  // carry out the chosen command; the button is released when the menu closes.
  virtual void DropMenu(UINT nIDMenu, int nSubMenu, SECStdBtn* pBtn);
  virtual HFONT GetFont() const { return m_hFont; }
  virtual HFONT GetButtonFont() const { return m_hFont; }
  virtual BOOL IsCopyModifierDown() const { return ::GetKeyState(VK_CONTROL) < 0; }
  virtual BOOL AcceptsDrop() const { return TRUE; }
  virtual int GetImageWidth() const;
  virtual int GetImageHeight() const;
  virtual int GetButtonWidth() const { return GetImageWidth() + 7; }
  virtual int GetButtonHeight() const { return GetImageHeight() + 7; }
  virtual int GetSeparatorWidth() const { return (GetImageWidth() + 8) / 3; }
  virtual int GetSeparatorHeight() const { return GetButtonHeight(); }

  // Keyboard-focus buttons (kinds 3 and 4).
  virtual void SetFocusButton(SECStdBtn* pBtn, int nValue1, int nValue2);
  virtual void ActivateFocusButton(int nIndex);
  virtual void SetKeyboardFocus(int nIndex);
  virtual void SetKeyboardFocusAt(CPoint point);
  virtual void KillKeyboardFocus();
  virtual BOOL HasKeyboardFocus() const { return m_bKeyboardFocus; }
  virtual int GetFirstFocusButton() const;
  virtual int GetLastFocusButton() const;
  virtual int GetFirstKindThreeButton() const;
  virtual int GetNextFocusButton(BOOL bForward) const;
  virtual BOOL FilterFocusMouseMessage(const MSG* pMsg);
  virtual void ClearFocusButton();

  // Customising (with a toolbar manager).
  virtual void SetConfigFocus(CWnd* pWnd);
  virtual void SelectButton(int nIndex, BOOL bRedraw = TRUE);
  virtual void ClearSelection(BOOL bRedraw = TRUE);
  // The selected button's index, or -1.
  int GetSelection() const;
  void NotifyManager(int nCode);
  // Drags button `nIndex` from `point` (client coordinates) to another place, another
  // bar, free screen space (a new user toolbar) or off every bar. FALSE only when the
  // move emptied this bar, which is then gone.
  virtual BOOL DragButton(int nIndex, CPoint point);
  // Puts the command of `pBtn` (a button of any bar) into this bar where `dropRect`
  // (client coordinates) lies. FALSE only when a move emptied the source, which is gone.
  virtual BOOL DropButton(CRect dropRect, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoRecalc = FALSE);
  // The toolbar a drop rectangle (screen) lands on, or null.
  SECCustomToolBar* FindDropTarget(const CRect& rect) const;

  // Layout.
  virtual int WrapButtons(int nWidth, std::vector<RowInfo>& rows);
  virtual CSize CalcWrappedSize(int nLength, BOOL bVertical, std::vector<RowInfo>& rows);
  virtual void BalanceRows(std::vector<RowInfo>& rows);
  virtual CSize CalcLayout(int nLength, DWORD dwMode);
  virtual void StretchToParent(AFX_SIZEPARENTPARAMS* lpLayout);
  virtual void UpdateRebarBand(CReBar* pReBar, CSize size);
  // The docking state the bar shows: 1 top or bottom, 2 left or right, 3 floating, 0 none.
  int CurrentPlacementMode() const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void DelayShow(BOOL bShow) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  void DoPaint(CDC* pDC) override;
  void DrawBorders(CDC* pDC, CRect& rect) override;
  void GetInsideRect(CRect& rect) override { SECControlBar::GetInsideRect(rect); }
  int AdjustForGripper(CRect& rect, BOOL bHorz) override;
  void OnGetBarInfoEx(SECControlBarInfo* pInfo) override;
  void OnSetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

  // Raised while a button's command is posted or its drop-down is told (process-wide).
  static BOOL s_bPostingCommand;
  // Raised while a button is dragged to another place (process-wide).
  static BOOL s_bDraggingButton;

  SECBmpMgr* m_pBmpMgr = nullptr;  // one reference held
  int m_nRowGap = 8;
  int m_nPressed = -1;
  int m_nHot = -1;
  int m_nFocus = -1;
  CWnd* m_pCustomiseFocus = nullptr;
  std::unique_ptr<SECBtnDrawContext> m_pDrawContext;
  DWORD m_dwOrientation = 0;
  BOOL m_bFloatDirty = TRUE;
  BOOL m_bHorzDirty = TRUE;
  BOOL m_bVertDirty = TRUE;
  CSize m_szHorzLayout;
  CSize m_szVertLayout;
  CSize m_szFloatLayout;
  DWORD m_dwCustomiseFlags = 0;
  HFONT m_hFont = nullptr;
  const ButtonClassEntry* m_pButtonClasses = nullptr;
  std::unique_ptr<ButtonClassEntry[]> m_pDefaultClasses;  // owned
  BOOL m_bKeyboardFocus = FALSE;
  int m_nMaxBtnWidth = 0;
  int m_nMaxMenuBtnWidth = 0;  // the widest menu button
  SECBtnArray m_btns;
  BOOL m_bDelayHide = FALSE;  // a hide posted as "WM_NODELAYHIDE" is under way
  // The docking state the buttons were last placed for: 1 top or bottom, 2 left or
  // right, 3 floating, 0 not yet.
  int m_nPlacedMode = 0;

  // Refreshes the hot button under the cursor (or the focus button); optionally at once.
  void UpdateHotButton(BOOL bImmediate = FALSE);

 protected:
  void SetHotButton(int nIndex, BOOL bImmediate);
  CWnd* NotifyTarget() const;
  // Places the buttons row by row from the inside top-left (the row-break bits mark
  // the rows).
  void PlaceButtons(CPoint origin);
  // The height of the frame's left or right dock bar: the length of a bar docked there.
  int SideDockLength();
  void DeleteButton(int nIndex);

  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSysColorChange();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnNoDelayHide(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddButtons(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The registered message a toolbar posts itself to hide its floating frame at once.
UINT SECNoDelayHideMessage();

// Timer of the hot button: re-checks the mouse so the highlight leaves with it.
#define SEC_TIMER_HOT 0xE002
