// The framework's synchronization objects over the Win32 waits, and CSingleLock, which
// holds one of them for a scope.
#pragma once
#include "AfxCoreTypes.h"
#include "LastError.h"
#include "WinSync.h"

class CSyncObject : public CObject {
  DECLARE_DYNAMIC(CSyncObject)

 public:
  explicit CSyncObject(LPCTSTR pstrName);
  ~CSyncObject() override;

  operator HANDLE() const { return m_hObject; }

  // TRUE once the object is ours; FALSE on time-out. A mutex left by a thread that ended
  // is ours too.
  virtual BOOL Lock(DWORD dwTimeout = INFINITE);
  virtual BOOL Unlock() = 0;
  virtual BOOL Unlock(LONG lCount, LONG* lpPrevCount = nullptr) { return TRUE; }

  HANDLE m_hObject = nullptr;
};

class CCriticalSection : public CSyncObject {
  DECLARE_DYNAMIC(CCriticalSection)

 public:
  CCriticalSection();
  ~CCriticalSection() override;

  operator CRITICAL_SECTION*() { return &m_sect; }

  BOOL Lock();
  // A finite time-out is honoured by trying until it runs out.
  BOOL Lock(DWORD dwTimeout) override;
  BOOL Unlock() override;

  CRITICAL_SECTION m_sect;
};

class CEvent : public CSyncObject {
  DECLARE_DYNAMIC(CEvent)

 public:
  // Throws CResourceException when the event cannot be made.
  explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCTSTR lpszName = nullptr,
                  LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);

  BOOL SetEvent() { return ::SetEvent(m_hObject); }
  BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
  BOOL Unlock() override { return TRUE; }
};

class CMutex : public CSyncObject {
  DECLARE_DYNAMIC(CMutex)

 public:
  // Throws CResourceException when the mutex cannot be made; a named one may already
  // exist (GetLastError() then answers ERROR_ALREADY_EXISTS).
  explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);

  BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

class CSingleLock {
 public:
  explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
  ~CSingleLock() { Unlock(); }
  CSingleLock(const CSingleLock&) = delete;
  CSingleLock& operator=(const CSingleLock&) = delete;

  // A lock already held is not taken twice (one Unlock must free it).
  BOOL Lock(DWORD dwTimeOut = INFINITE);
  BOOL Unlock();
  BOOL Unlock(LONG lCount, LONG* lPrevCount = nullptr);
  BOOL IsLocked() const { return m_bAcquired; }

 protected:
  CSyncObject* m_pObject;
  HANDLE m_hObject;
  BOOL m_bAcquired = FALSE;
};
