#include "afxwin.h"
#include "CDocTemplate.h"

#include <memory>

#include "CDocument.h"
#include "CFrameWnd.h"
#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) AfxLoadString(m_nIDResource, m_strDocStrings);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
  return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

CDocument* CDocTemplate::CreateNewDocument() {
  std::unique_ptr<CObject> object(m_pDocClass ? m_pDocClass->CreateObject() : nullptr);
  auto* doc = dynamic_cast<CDocument*>(object.get());
  if (!doc) return nullptr;
  object.release();  // the template's list and the document's own close own it from here
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  std::unique_ptr<CObject> object(m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr);
  auto* frame = dynamic_cast<CFrameWnd*>(object.get());
  if (!frame) return nullptr;
  object.release();  // a frame deletes itself when its window goes, even a failed one
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }
void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

void CDocTemplate::CloseAllDocuments(BOOL) {
  for (POSITION pos = GetFirstDocPosition(); pos;) {
    CDocument* doc = GetNextDoc(pos);
    doc->OnCloseDocument();
  }
}

BOOL CDocTemplate::SaveAllModified() {
  for (POSITION pos = GetFirstDocPosition(); pos;)
    if (!GetNextDoc(pos)->SaveModified()) return FALSE;
  return TRUE;
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  // A document still open at exit goes with its template.
  if (m_pOnlyDoc) {
    CDocument* doc = m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc ? reinterpret_cast<POSITION>(static_cast<uintptr_t>(1)) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
  CDocument* doc = rPos ? m_pOnlyDoc : nullptr;
  rPos = nullptr;
  return doc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString name;
  if (!GetDocString(name, docName) || name.IsEmpty()) {
    if (!AfxLoadString(AFX_IDS_UNTITLED, name)) name = "Untitled";
  }
  pDocument->SetTitle(name);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* doc = nullptr;
  CFrameWnd* frame = nullptr;
  BOOL created = FALSE;
  if (m_pOnlyDoc) {
    doc = m_pOnlyDoc;
    if (!doc->SaveModified()) return nullptr;
    CWnd* main = AfxGetMainWnd();
    frame = main && main->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(main) : nullptr;
  } else {
    doc = CreateNewDocument();
    created = TRUE;
  }
  if (!doc) return nullptr;
  if (!frame) {
    // The document exists before its frame; it must outlive a failed frame.
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
      if (created) delete doc;
      return nullptr;
    }
  }
  if (!lpszPathName) {
    SetDefaultTitle(doc);
    if (!bMakeVisible) doc->m_bEmbedded = TRUE;
    if (!doc->OnNewDocument()) {
      if (created) frame->DestroyWindow();
      return nullptr;
    }
  } else {
    if (!doc->OnOpenDocument(lpszPathName)) {
      if (created) frame->DestroyWindow();
      return nullptr;
    }
    doc->SetPathName(lpszPathName);
  }
  CWinThread* thread = AfxGetThread();
  if (created && thread && !thread->m_pMainWnd) thread->m_pMainWnd = frame;
  InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}
