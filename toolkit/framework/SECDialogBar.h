// SECDialogBar: a control bar built from a dialog template. Its size is the dialog's,
// in every docking state; its controls are updated from the frame's command handlers.
#pragma once
#include "controls/SECControlBar.h"

class SECDialogBar : public SECControlBar {
  DECLARE_SERIAL(SECDialogBar)
 public:
  SECDialogBar();
  ~SECDialogBar() override;

  // The bar from template `lpszTemplateName` (found in the resource chain); FALSE when
  // the window cannot be prepared or made, or its initialisation data fails.
  virtual BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, DWORD dwStyle, DWORD dwExStyle, UINT nID);
  BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, DWORD dwStyle, DWORD dwExStyle, UINT nID) {
    return Create(pParentWnd, MAKEINTRESOURCE(nIDTemplate), dwStyle, dwExStyle, nID);
  }
  // OLE control data for the dialog's controls. Kept only: controls named in the template
  // are made with the dialog itself, and none here has stored data to load.
  virtual BOOL SetOccDialogInfo(void* pOccDialogInfo);
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void GetBarInfoEx(SECControlBarInfo* pInfo) override;

  CSize m_sizeDefault;
  LPCSTR m_lpszTemplateName = nullptr;  // an id (MAKEINTRESOURCE) or a name we own a copy of
  void* m_pOccDialogInfo = nullptr;
  LPCSTR m_lpszCreatingTemplate = nullptr;  // while the window is made

 protected:
  afx_msg LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CString m_strTemplateName;  // the name behind a named template
};
