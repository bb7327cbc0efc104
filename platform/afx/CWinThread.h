// CWinThread: a thread with a message loop (user-interface thread) or a plain
// function (worker thread), started with AfxBeginThread.
#pragma once
#include "CCmdTarget.h"

class CWnd;

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread();
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
  }
  operator HANDLE() const { return m_hThread; }

  virtual BOOL InitInstance();
  virtual int Run();
  virtual int ExitInstance();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual CWnd* GetMainWnd();
  virtual void Delete();  // frees the object when m_bAutoDelete is set

  // Dispatches a message posted to the thread (no window) through the message map.
  BOOL DispatchThreadMessageEx(MSG* pMsg);

  CWnd* m_pMainWnd = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  BOOL m_bAutoDelete = TRUE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  MSG m_msgCur{};

  AFX_THREADPROC m_pfnThreadProc = nullptr;
  LPVOID m_pThreadParams = nullptr;

 protected:
  POINT m_ptCursorLast{-1, -1};  // last mouse position, to skip idle work for moves that move nothing
  UINT m_nMsgLast = 0;
  DECLARE_MESSAGE_MAP()

  friend struct ThreadStarter;
};

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = 0, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = 0, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
CWinThread* AfxGetThread();
BOOL AfxPumpMessage();
