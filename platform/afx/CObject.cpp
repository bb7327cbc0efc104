#include "CObject.h"

#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Registered classes; function-local so registration from other static objects
// never sees it unbuilt.
struct ClassRegistry {
  std::mutex mutex;
  std::vector<CRuntimeClass*> classes;
};

ClassRegistry& Registry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr};
static AFX_CLASSINIT _init_CObject(RUNTIME_CLASS(CObject));

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
  ClassRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  registry.classes.push_back(pNewClass);
}

CObject* CRuntimeClass::CreateObject() const {
  if (m_pfnCreateObject == nullptr) return nullptr;
  return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
    if (p == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  ClassRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  for (CRuntimeClass* p : registry.classes) {
    if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
  }
  return nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

void CObject::AssertValid() const {}

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
  if (pObject != nullptr && pObject->IsKindOf(pClass)) return pObject;
  return nullptr;
}

CObject* AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject) {
  ASSERT(pObject == nullptr || pObject->IsKindOf(pClass));
  return pObject;
}

void AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine) {
  if (pOb == nullptr) {
    AfxAssertFailedLine(lpszFileName, nLine);
    return;
  }
  pOb->AssertValid();
}
