// SECToolbarListPage: the "Toolbars" list as a page of a customise sheet. It works as
// the dialog does, but its check boxes take effect at once and a style change is told
// to the sheet's other pages ("WM_TOOLBARSTYLECHANGING": 2 cool look, 1 large buttons).
#pragma once
#include <afxdlgs.h>

#include "SECToolbarListHandler.h"

class SECToolBarManager;

class SECToolbarListPage : public CPropertyPage {
 public:
  explicit SECToolbarListPage(SECToolBarManager* pManager = nullptr);
  void SetManager(SECToolBarManager* pManager) { m_pManager = pManager; }

 protected:
  BOOL OnInitDialog() override;
  // Sends "WM_TOOLBARSTYLECHANGING" with `nWhat` to every other page of the sheet.
  void BroadcastStyleChange(WPARAM nWhat);

  afx_msg void OnSelChange() { m_handler.ShowSelection(); }
  afx_msg void OnCheckChange() { m_handler.ShowOrHide(); }
  afx_msg void OnNameKillFocus() { m_handler.Rename(); }
  afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam) { return m_handler.OnBarNotify(wParam, lParam); }
  afx_msg void OnNew() { m_handler.NewToolBar(); }
  afx_msg void OnReset() { m_handler.ResetOrDelete(); }
  afx_msg void OnToolTips();
  afx_msg void OnCoolLook();
  afx_msg void OnLargeButtons();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  SECToolbarListHandler m_handler;
  SECToolBarManager* m_pManager;
};
