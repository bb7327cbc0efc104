#include "SECDialogBar.h"

#include "SECControlBarInfo.h"

IMPLEMENT_SERIAL(SECDialogBar, SECControlBar, 0)

BEGIN_MESSAGE_MAP(SECDialogBar, SECControlBar)
  ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
END_MESSAGE_MAP()

SECDialogBar::SECDialogBar() = default;

SECDialogBar::~SECDialogBar() = default;

BOOL SECDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, DWORD dwStyle, DWORD dwExStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  m_dwExStyle = dwExStyle;
  CREATESTRUCT cs{};
  cs.lpszClass = _afxWndControlBar;
  cs.style = (dwStyle & ~CBRS_ALL) | WS_CHILD;
  cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
  cs.hInstance = AfxGetInstanceHandle();
  cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  if (!PreCreateWindow(cs)) return FALSE;
  if (IS_INTRESOURCE(lpszTemplateName)) {
    m_lpszTemplateName = lpszTemplateName;
  } else {
    m_strTemplateName = lpszTemplateName ? lpszTemplateName : "";
    m_lpszTemplateName = m_strTemplateName;
  }
  HINSTANCE module = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
  LPCDLGTEMPLATE dialog = plat::afx::FindDialogTemplate(module, m_lpszTemplateName);
  if (!dialog) return FALSE;
  m_lpszCreatingTemplate = m_lpszTemplateName;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(module, dialog, cs.hwndParent, &AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate() && !hWnd) {
    m_lpszCreatingTemplate = nullptr;
    return FALSE;
  }
  m_lpszCreatingTemplate = nullptr;
  if (!hWnd || m_hWnd != hWnd) return FALSE;
  SetDlgCtrlID(static_cast<int>(nID));
  CRect rect;
  GetWindowRect(&rect);
  m_sizeDefault = rect.Size();
  m_szHorz = m_szVert = m_szFloat = m_sizeDefault;
  ModifyStyle(WS_CAPTION, WS_CLIPSIBLINGS);
  if (!ExecuteDlgInit(m_lpszTemplateName)) return FALSE;
  RecordChildRects();
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                   ((cs.style & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  return TRUE;
}

BOOL SECDialogBar::SetOccDialogInfo(void* pOccDialogInfo) {
  m_pOccDialogInfo = pOccDialogInfo;
  return TRUE;
}

LRESULT SECDialogBar::OnInitDialog(WPARAM, LPARAM) {
  Default();
  // Controls named in the template were made with the dialog, through their window classes;
  // there is no stored control data to load into them.
  return TRUE;
}

void SECDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void SECDialogBar::GetBarInfoEx(SECControlBarInfo* pInfo) {
  if (IS_INTRESOURCE(m_lpszTemplateName))
    pInfo->m_nResourceID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(m_lpszTemplateName));
  SECControlBar::GetBarInfoEx(pInfo);
}
