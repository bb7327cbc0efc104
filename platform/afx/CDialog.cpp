#include "afxwin.h"

#include "CDialog.h"

#include "user/Dialog.h"
#include "user/Responder.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOKCommand)
  ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

LPCDLGTEMPLATE plat::afx::FindDialogTemplate(HINSTANCE hInst, LPCSTR name) {
  HRSRC res = ::FindResourceA(reinterpret_cast<HMODULE>(hInst), name, RT_DIALOG);
  // As the framework's resource search goes: past the resource module, the program's own.
  if (!res && hInst == AfxGetResourceHandle() && hInst != AfxGetInstanceHandle()) {
    hInst = AfxGetInstanceHandle();
    res = ::FindResourceA(reinterpret_cast<HMODULE>(hInst), name, RT_DIALOG);
  }
  if (!res) return nullptr;
  HGLOBAL data = ::LoadResource(reinterpret_cast<HMODULE>(hInst), res);
  return data ? static_cast<LPCDLGTEMPLATE>(::LockResource(data)) : nullptr;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
  return dialog ? dialog->OnInitDialog() : TRUE;
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_lpszTemplateName(lpszTemplateName) {
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate) {}

CDialog::~CDialog() {
  if (m_hWnd) DestroyWindow();  // a modeless dialog going out of scope
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  if (!lpDialogTemplate) return FALSE;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, SafeHwndOf(pParentWnd), &AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
  return CreateIndirect(plat::afx::FindDialogTemplate(AfxGetResourceHandle(), lpszTemplateName), pParentWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  // A modeless dialog without a parent belongs to the main window.
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  return CreateDlgIndirect(lpDialogTemplate, pParentWnd, AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  return CreateIndirect(static_cast<LPCDLGTEMPLATE>(::LockResource(hDialogTemplate)), pParentWnd);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return TRUE;
}

int CDialog::DoModal() {
  HINSTANCE hInst = AfxGetResourceHandle();
  LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate;
  if (!lpTemplate && m_hDialogTemplate) lpTemplate = static_cast<LPCDLGTEMPLATE>(::LockResource(m_hDialogTemplate));
  if (!lpTemplate && m_lpszTemplateName) lpTemplate = plat::afx::FindDialogTemplate(hInst, m_lpszTemplateName);
  // A test may make the creation fail, as a shortage of resources would.
  if (!lpTemplate || plat::user::responder::TakeFailure()) return -1;

  // The owner (the top-level window of the parent, or the main window) waits disabled,
  // with the top of its owner chain.
  plat::afx::ModalOwner modalOwner(m_pParentWnd);
  HWND hWndOwner = modalOwner.Hwnd();
  CWnd* owner = hWndOwner ? FromHandle(hWndOwner) : nullptr;
  BOOL enableOwner = FALSE;
  if (hWndOwner && ::IsWindowEnabled(hWndOwner)) {
    ::EnableWindow(hWndOwner, FALSE);
    enableOwner = TRUE;
  }
  m_nModalResult = -1;
  m_bContinueModal = TRUE;  // EndDialog in OnInitDialog must end the dialog before its loop
  if (CreateDlgIndirect(lpTemplate, owner, hInst)) {
    if (m_bContinueModal) AnswerScript();
    if (m_bContinueModal) RunModalLoop();
  }
  m_bContinueModal = FALSE;
  // The owners come back before the dialog goes, so the activation returns to them.
  if (enableOwner) ::EnableWindow(hWndOwner, TRUE);
  modalOwner.Release();
  if (m_hWnd) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  if (hWndOwner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndOwner);
  if (m_hWnd) DestroyWindow();
  return m_nModalResult;
}

// Records the dialog for tests and lets a scripted answer act on it, on the dialog as
// the user would see it (or the script for unscripted dialogs).
void CDialog::AnswerScript() {
  namespace responder = plat::user::responder;
  responder::Shown shown;
  shown.hwnd = m_hWnd;
  CString caption;
  GetWindowText(caption);
  shown.caption = static_cast<LPCSTR>(caption);
  bool scripted = responder::HasScript();
  if (scripted) {
    ShowWindow(SW_SHOWNORMAL);
    UpdateWindow();
  }
  responder::Record(shown);
  if (scripted)
    responder::Run(shown);
  else
    responder::RunUnscripted(shown);
  TakeEndFromDialogManager();
}

// A script (or any code) may end the dialog with the plain EndDialog on its handle.
void CDialog::TakeEndFromDialogManager() {
  if (!m_bContinueModal) return;
  if (!m_hWnd) {
    m_bContinueModal = FALSE;
    return;
  }
  auto state = plat::user::FindDialogState(m_hWnd);
  if (state && state->ended) {
    m_nModalResult = static_cast<int>(state->result);
    m_bContinueModal = FALSE;
  }
}

int CDialog::RunModalLoop() {
  BOOL idle = TRUE;
  LONG idleCount = 0;
  BOOL showOnIdle = !(GetStyle() & WS_VISIBLE);
  HWND hWndParent = ::GetParent(m_hWnd);
  MSG msg{};
  CWinThread* thread = AfxGetThread();
  for (;;) {
    while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (showOnIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        showOnIdle = FALSE;
      }
      if (hWndParent && idleCount == 0 && !(GetStyle() & DS_NOIDLEMSG))
        ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
      if (!SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) idle = FALSE;
    }
    do {
      if (!AfxPumpMessage()) {
        AfxPostQuitMessage(0);  // the quit belongs to the outer loop
        m_bContinueModal = FALSE;
        return -1;
      }
      TakeEndFromDialogManager();
      if (!m_bContinueModal) return m_nModalResult;
      const MSG& cur = thread ? thread->m_msgCur : msg;
      if (cur.message != WM_PAINT && cur.message != WM_SYSTIMER && cur.message != WM_MOUSEMOVE) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

void CDialog::EndDialog(int nResult) {
  if (m_bContinueModal) {
    m_nModalResult = nResult;
    m_bContinueModal = FALSE;
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop up
  }
  ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
  if (!ExecuteDlgInit(m_lpszTemplateName)) {
    EndDialog(-1);
    return FALSE;
  }
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;  // the dialog manager gives the first control the focus
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;  // the user was told; the dialog stays
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (!m_hWnd) return FALSE;
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;  // tooltips see the mouse first
  bool keyOrMouse = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                    (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  if (!keyOrMouse) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return ::IsDialogMessageA(m_hWnd, pMsg);
}
