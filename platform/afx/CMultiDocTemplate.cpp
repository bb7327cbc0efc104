#include "afxwin.h"
#include "CMultiDocTemplate.h"

#include "CDocument.h"
#include "CFrameWnd.h"
#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
  // Documents still open at exit go with their template.
  while (!m_docList.IsEmpty()) {
    auto* doc = static_cast<CDocument*>(m_docList.RemoveHead());
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
  if (m_hMenuShared) ::DestroyMenu(m_hMenuShared);
  if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::LoadTemplate() {
  CDocTemplate::LoadTemplate();
  HINSTANCE hInst = AfxGetResourceHandle();
  if (!m_hMenuShared) m_hMenuShared = plat::afx::LoadFrameMenu(hInst, m_nIDResource);
  if (!m_hAccelTable) m_hAccelTable = plat::afx::LoadFrameAccelerators(hInst, m_nIDResource);
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (POSITION pos = m_docList.Find(pDoc)) m_docList.RemoveAt(pos);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const {
  return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString name;
  if (!GetDocString(name, docName) || name.IsEmpty()) {
    if (!AfxLoadString(AFX_IDS_UNTITLED, name)) name = "Untitled";
  }
  CString title;
  title.Format("%s%u", static_cast<LPCSTR>(name), m_nUntitledCount + 1);
  pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* doc = CreateNewDocument();
  if (!doc) return nullptr;
  // The document exists before its frame; it must outlive a failed frame.
  BOOL autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = FALSE;
  CFrameWnd* frame = CreateNewFrame(doc, nullptr);
  doc->m_bAutoDelete = autoDelete;
  if (!frame) {
    delete doc;
    return nullptr;
  }
  if (!lpszPathName) {
    SetDefaultTitle(doc);
    if (!bMakeVisible) doc->m_bEmbedded = TRUE;
    if (!doc->OnNewDocument()) {
      frame->DestroyWindow();
      return nullptr;
    }
    ++m_nUntitledCount;  // counted only once the document stands
  } else {
    if (!doc->OnOpenDocument(lpszPathName)) {
      frame->DestroyWindow();
      return nullptr;
    }
    doc->SetPathName(lpszPathName);
  }
  InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}
