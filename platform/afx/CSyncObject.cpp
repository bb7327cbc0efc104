#include "CSyncObject.h"

#include "CException.h"
#include "Clock.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)

CSyncObject::CSyncObject(LPCTSTR) {}

CSyncObject::~CSyncObject() {
  if (m_hObject != nullptr) CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
  DWORD result = WaitForSingleObject(m_hObject, dwTimeout);
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

CCriticalSection::CCriticalSection() : CSyncObject(nullptr) { InitializeCriticalSection(&m_sect); }

CCriticalSection::~CCriticalSection() { DeleteCriticalSection(&m_sect); }

BOOL CCriticalSection::Lock() {
  EnterCriticalSection(&m_sect);
  return TRUE;
}

BOOL CCriticalSection::Lock(DWORD dwTimeout) {
  if (dwTimeout == INFINITE) return Lock();
  const int64_t deadline = plat::clock::NowMicros() + static_cast<int64_t>(dwTimeout) * 1000;
  while (!TryEnterCriticalSection(&m_sect)) {
    if (plat::clock::NowMicros() >= deadline) return FALSE;
    plat::clock::SleepMicros(1000);
  }
  return TRUE;
}

BOOL CCriticalSection::Unlock() {
  LeaveCriticalSection(&m_sect);
  return TRUE;
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCTSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName) {
  m_hObject = CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
  if (m_hObject == nullptr) AfxThrowResourceException();
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCTSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) : CSyncObject(lpszName) {
  m_hObject = CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName);
  if (m_hObject == nullptr) AfxThrowResourceException();
}

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : m_pObject(pObject), m_hObject(pObject ? pObject->m_hObject : nullptr) {
  if (bInitialLock) Lock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut) {
  if (m_bAcquired) return TRUE;
  m_bAcquired = m_pObject->Lock(dwTimeOut);
  return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
  if (m_bAcquired) m_bAcquired = !m_pObject->Unlock();
  return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LONG* lPrevCount) {
  if (m_bAcquired) m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
  return !m_bAcquired;
}
