// CObject, the root of the framework's classes, and CRuntimeClass, the per-class
// record behind IsKindOf, dynamic creation and archive storage.
#pragma once
#include "AfxDebug.h"
#include "WinTypes.h"

class CObject;
class CArchive;

#define VERSIONABLE_SCHEMA (0x80000000u)

// One static record per class. It is an aggregate so that the records of all
// classes are built before any code runs.
struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  // 0xFFFF for classes that cannot be stored
  CObject* (*m_pfnCreateObject)();
  CRuntimeClass* m_pBaseClass;

  // A new object of the class, or NULL when it cannot be created dynamically.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // The registered class of that name, or NULL.
  static CRuntimeClass* FromName(LPCSTR lpszClassName);

  // Class references in archives: schema (WORD), name length (WORD), name.
  void Store(CArchive& ar) const;
  // Reads a class reference; NULL when the name is not a storable class.
  static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Registers a class for FromName and for loading from archives.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class CObject {
 public:
  static CRuntimeClass classCObject;
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const;

 protected:
  CObject() = default;

 public:
  // Objects of the framework are not copied implicitly.
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                 \
 public:                                            \
  static CRuntimeClass class##class_name;           \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)  \
  DECLARE_DYNCREATE(class_name)     \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, wSchema, pfnNew)                   \
  CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class class_name), wSchema, \
                                                 pfnNew, RUNTIME_CLASS(base_class_name)};            \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }         \
  static AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                       \
  CObject* class_name::CreateObject() { return new class_name; }              \
  AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                \
  CObject* class_name::CreateObject() { return new class_name; }                             \
  AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, wSchema, class_name::CreateObject) \
  [[maybe_unused]] CArchive& operator>>(CArchive& ar, class_name*& pOb) {                    \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                 \
    return ar;                                                                                \
  }

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
CObject* AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject);
#ifndef NDEBUG
#define STATIC_DOWNCAST(class_name, object) \
  (static_cast<class_name*>(AfxStaticDownCast(RUNTIME_CLASS(class_name), object)))
#else
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
#endif
#define DYNAMIC_DOWNCAST(class_name, object) \
  (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object)))

void AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine);
#ifndef NDEBUG
#define ASSERT_VALID(pOb) (AfxAssertValidObject(pOb, __FILE__, __LINE__))
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#else
#define ASSERT_VALID(pOb) ((void)0)
#define ASSERT_KINDOF(class_name, object) ((void)0)
#endif
