// SECToolbarListDialog: the "Toolbars" dialog. While it is up the frame is in
// customise mode: buttons are dragged between the bars and the list follows what
// happens to them. "C&ustomize..." and a successful "&New..." end it with 43099 for the
// caller to open the customise sheet; "&Close" keeps the frame-wide settings as the
// check boxes say, Cancel leaves them as they were last applied.
#pragma once
#include <afxwin.h>

#include "SECToolbarListHandler.h"

class SECToolBarManager;

class SECToolbarListDialog : public CDialog {
 public:
  explicit SECToolbarListDialog(SECToolBarManager* pManager, CWnd* pParent = nullptr);

  // The dialog's copies of the frame-wide settings, bound to their check boxes.
  BOOL m_bToolTips = TRUE;
  BOOL m_bCoolLook = FALSE;
  BOOL m_bLargeButtons = FALSE;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override { End(IDOK); }
  void OnCancel() override { End(IDCANCEL); }
  // Leaves customise mode and the listeners, applies the settings unless cancelled, and
  // ends the dialog with `nCode`.
  void End(int nCode);
  void ApplySettings();

  afx_msg void OnSelChange() { m_handler.ShowSelection(); }
  afx_msg void OnCheckChange() { m_handler.ShowOrHide(); }
  afx_msg void OnNameKillFocus() { m_handler.Rename(); }
  afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam) { return m_handler.OnBarNotify(wParam, lParam); }
  afx_msg void OnNew();
  afx_msg void OnCustomize();
  afx_msg void OnReset() { m_handler.ResetOrDelete(); }
  afx_msg void OnToolTips();
  afx_msg void OnStyleCheck() { ApplySettings(); }
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // Customise mode, the focus, the listener and the no-drop area end with the dialog.
  void LeaveCustomising();
  SECToolbarListHandler m_handler;
  SECToolBarManager* m_pManager;
  BOOL m_bEnded = FALSE;
};
