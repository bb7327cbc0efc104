// CDialog: a window made from a dialog template, modal (DoModal) or modeless (Create).
#pragma once
#include "CWnd.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog() = default;
  explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Modeless
  virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr);
  // Modal: runs until EndDialog and answers its code; -1 when the dialog cannot be made.
  // A test's scripted answer (user/Responder.h) acts on the dialog once it is up.
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
  virtual int DoModal();
  void EndDialog(int nResult);

  void NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
  void PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
  void GotoDlgCtrl(CWnd* pWndCtrl) { SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(SafeHwndOf(pWndCtrl)), 1); }
  void SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }
  DWORD GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }

  virtual BOOL OnInitDialog();
  virtual void OnSetFont(CFont* pFont) {}
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL ContinueModal() const { return m_bContinueModal; }

  CWnd* m_pParentWnd = nullptr;
  LPCSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  HGLOBAL m_hDialogTemplate = nullptr;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  // Creates the window from a template in memory; the object is attached from the
  // dialog's first message on.
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
  int RunModalLoop();
  void AnswerScript();
  void TakeEndFromDialogManager();
  afx_msg void OnOKCommand() { OnOK(); }
  afx_msg void OnCancelCommand() { OnCancel(); }

  int m_nModalResult = -1;
  BOOL m_bContinueModal = FALSE;
  DECLARE_MESSAGE_MAP()
};

// The dialog procedure of every framework dialog: it runs OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace plat::afx {
// One modal run's owner as CWnd::GetSafeOwner chooses it, and the top of its owner chain,
// disabled for the run and enabled again by Release or at the end of the scope.
class ModalOwner {
 public:
  explicit ModalOwner(CWnd* pParent) : m_hWnd(CWnd::SafeHwndOf(CWnd::GetSafeOwner(pParent, &m_hWndTop))) {}
  ~ModalOwner() { Release(); }
  ModalOwner(const ModalOwner&) = delete;
  ModalOwner& operator=(const ModalOwner&) = delete;
  HWND Hwnd() const { return m_hWnd; }
  void Release() {
    if (m_hWndTop) ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = nullptr;
  }

 private:
  HWND m_hWndTop = nullptr;
  HWND m_hWnd = nullptr;
};

// The dialog template named `name` in the resource module, or null.
LPCDLGTEMPLATE FindDialogTemplate(HINSTANCE hInst, LPCSTR name);
}  // namespace plat::afx
