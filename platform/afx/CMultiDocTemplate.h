// CMultiDocTemplate: a document template for an MDI frame. It keeps several documents
// open at once, each shown in MDI child frames that share one menu and one accelerator
// table, loaded once with the template; new documents are titled "Name1", "Name2", ...
#pragma once
#include "AfxCollections.h"
#include "CDocTemplate.h"

class CMultiDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CMultiDocTemplate)
 public:
  CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                    CRuntimeClass* pViewClass);
  ~CMultiDocTemplate() override;

  // Loads the document strings, the shared menu and the shared accelerators.
  void LoadTemplate() override;
  CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  POSITION GetFirstDocPosition() const override;
  CDocument* GetNextDoc(POSITION& rPos) const override;
  void SetDefaultTitle(CDocument* pDocument) override;

  HMENU m_hMenuShared = nullptr;    // owned; every child frame of the template shows it
  HACCEL m_hAccelTable = nullptr;   // owned
  CPtrList m_docList;               // the open documents, oldest first
  UINT m_nUntitledCount = 0;        // untitled documents made so far
};
