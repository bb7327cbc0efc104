#include "afxwin.h"
#include "CWinThread.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "CWinApp.h"
#include "CFrameWnd.h"
#include "CWnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

using plat::afx::Thread;

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
  if (m_hThread && m_nThreadID != ::GetCurrentThreadId()) ::CloseHandle(m_hThread);
  auto& ts = Thread();
  if (ts.pThread == this) ts.pThread = nullptr;
}

struct ThreadStarter {
  static DWORD WINAPI Entry(LPVOID param) {
    auto* pThread = static_cast<CWinThread*>(param);
    Thread().pThread = pThread;
    UINT code = 0;
    if (pThread->m_pfnThreadProc) {
      code = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    } else if (!pThread->InitInstance()) {
      if (pThread->m_pMainWnd) pThread->m_pMainWnd->DestroyWindow();
      code = static_cast<UINT>(pThread->ExitInstance());
    } else {
      code = static_cast<UINT>(pThread->Run());
    }
    plat::afx::DeleteTempMaps();
    Thread().pThread = nullptr;
    pThread->Delete();
    return code;
  }
};

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  // Started suspended so the object knows its handle and id before the thread can
  // run (and, for auto-deleting threads, end and free it).
  DWORD id = 0;
  m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &ThreadStarter::Entry, this,
                             dwCreateFlags | CREATE_SUSPENDED, &id);
  if (!m_hThread) return FALSE;
  m_nThreadID = id;
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
  return TRUE;
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CWinThread::InitInstance() { return FALSE; }  // user-interface threads override it

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

CWnd* CWinThread::GetMainWnd() {
  if (m_pActiveWnd) return m_pActiveWnd;  // a server in place
  return m_pMainWnd;
}

int CWinThread::Run() {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  for (;;) {
    // Idle work while the queue is empty, until OnIdle says there is no more.
    while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessageA(&m_msgCur, nullptr, 0, 0)) return FALSE;
  if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageA(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    // A move to where the mouse already was changes nothing worth updating.
    if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y && pMsg->message == m_nMsgLast) return FALSE;
    m_ptCursorLast = pMsg->pt;
    m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* pMainWnd = m_pMainWnd;
    if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
      AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    // Every other frame of the thread too (floating bars' frames among them), with the
    // show or hide that waits for this moment.
    std::vector<CFrameWnd*> frames = CFrameWnd::ThreadFrames();
    for (CFrameWnd* frame : frames) {
      const auto& live = CFrameWnd::ThreadFrames();
      if (std::find(live.begin(), live.end(), frame) == live.end()) continue;  // gone meanwhile
      if (!frame->m_hWnd || frame == pMainWnd) continue;
      if (frame->m_nShowDelay == SW_HIDE) frame->ShowWindow(SW_HIDE);
      if (frame->IsWindowVisible() || frame->m_nShowDelay >= 0) {
        AfxCallWndProc(frame, frame->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
        frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
      }
      if (frame->m_nShowDelay > SW_HIDE) frame->ShowWindow(frame->m_nShowDelay);
      frame->m_nShowDelay = -1;
    }
  } else {
    plat::afx::DeleteTempMaps();
  }
  return lCount < 0;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(pMsg->message);
  if (!entry) return FALSE;
  plat::afx::MsgCall call;
  call.message = pMsg->message;
  call.wParam = pMsg->wParam;
  call.lParam = pMsg->lParam;
  return DispatchEntry(*entry, call);
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd && DispatchThreadMessageEx(pMsg)) return TRUE;
  CWnd* pMainWnd = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(CWnd::SafeHwndOf(pMainWnd), pMsg)) return TRUE;
  // Windows outside the main window's tree (modeless popups) still get the main
  // window's accelerators.
  if (pMainWnd && pMainWnd->m_hWnd) {
    CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
    if (pWnd && pWnd->GetTopLevelParent() != pMainWnd) return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

CWinThread* AfxGetThread() {
  if (CWinThread* t = Thread().pThread) return t;
  CWinApp* app = AfxGetApp();
  return app && app->m_nThreadID == ::GetCurrentThreadId() ? app : nullptr;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  auto thread = std::make_unique<CWinThread>(pfnThreadProc, pParam);
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) return nullptr;
  thread->SetThreadPriority(nPriority);
  CWinThread* p = thread.release();  // from here the thread owns itself (m_bAutoDelete)
  if (!(dwCreateFlags & CREATE_SUSPENDED)) p->ResumeThread();
  return p;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  std::unique_ptr<CObject> object(pThreadClass ? pThreadClass->CreateObject() : nullptr);
  auto* thread = dynamic_cast<CWinThread*>(object.get());
  if (!thread) return nullptr;
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) return nullptr;
  thread->SetThreadPriority(nPriority);
  object.release();
  if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
  CWinThread* pThread = Thread().pThread;
  plat::afx::DeleteTempMaps();
  Thread().pThread = nullptr;
  if (pThread && bDelete) pThread->Delete();
  ::ExitThread(nExitCode);
}

BOOL AfxPumpMessage() {
  CWinThread* pThread = AfxGetThread();
  if (pThread) return pThread->PumpMessage();
  // A thread without its object still lets its windows see their messages first, so
  // dialogs keep their keyboard handling.
  MSG msg;
  if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
  if (msg.message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(nullptr, &msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}
