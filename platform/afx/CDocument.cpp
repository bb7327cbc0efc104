#include "afxwin.h"
#include "CDocument.h"

#include <algorithm>
#include <vector>

#include "CDocTemplate.h"
#include "CFrameWnd.h"
#include "CView.h"
#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument() {
  // Views still attached no longer have a document.
  for (POSITION pos = m_viewList.GetHeadPosition(); pos;) static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
  m_viewList.RemoveAll();
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
  m_strTitle = lpszTitle;
  UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL) {
  m_strPathName = lpszPathName;
  // The title is the file's name.
  const char* name = lpszPathName;
  for (const char* p = lpszPathName; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  SetTitle(name);
}

void CDocument::AddView(CView* pView) {
  if (!pView || m_viewList.Find(pView)) return;
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  POSITION pos = m_viewList.Find(pView);
  if (!pos) return;
  m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

void CDocument::OnChangedViewList() {
  // A document whose last view went away closes (unless it keeps itself).
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CView* pView = GetNextView(pos);
    if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
  }
}

void CDocument::UpdateFrameCounts() {
  // A document shown in several frames numbers them ":1", ":2" ... in its titles.
  std::vector<CFrameWnd*> frames;
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CView* pView = GetNextView(pos);
    if (!pView->m_hWnd) continue;
    CFrameWnd* frame = pView->GetParentFrame();
    if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end()) frames.push_back(frame);
  }
  const bool numbered = frames.size() > 1;
  int n = 0;
  for (CFrameWnd* frame : frames) frame->m_nWindow = numbered ? ++n : 0;
  for (CFrameWnd* frame : frames) frame->OnUpdateFrameTitle(TRUE);
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName) {
  CFile file;
  CFileException fe;
  if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe)) return FALSE;
  DeleteContents();
  SetModifiedFlag(TRUE);  // modified while loading, in case it fails half way
  BOOL ok = FALSE;
  TRY {
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    ar.Close();
    ok = TRUE;
  }
  CATCH_ALL(e) {
    DeleteContents();  // nothing half-loaded stays
  }
  END_CATCH_ALL
  if (ok) SetModifiedFlag(FALSE);
  return ok;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName) {
  CFile file;
  CFileException fe;
  if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe)) return FALSE;
  BOOL ok = FALSE;
  TRY {
    CArchive ar(&file, CArchive::store);
    Serialize(ar);
    ar.Close();
    file.Close();
    ok = TRUE;
  }
  CATCH_ALL(e) {
  }
  END_CATCH_ALL
  if (ok) SetModifiedFlag(FALSE);
  return ok;
}

BOOL CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString prompt;
  prompt.Format("Save changes to %s?", static_cast<LPCSTR>(m_strTitle.IsEmpty() ? CString("Untitled") : m_strTitle));
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL)) {
    case IDCANCEL: return FALSE;
    case IDYES: return !m_strPathName.IsEmpty() && OnSaveDocument(m_strPathName);
    default: return TRUE;
  }
}

void CDocument::OnCloseDocument() {
  // Destroying the frames removes the views; keep this object until the end.
  BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.IsEmpty()) {
    CView* pView = static_cast<CView*>(m_viewList.GetHead());
    CFrameWnd* pFrame = pView->m_hWnd ? pView->GetParentFrame() : nullptr;
    if (pFrame) {
      PreCloseFrame(pFrame);
      pFrame->DestroyWindow();
    }
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView) RemoveView(pView);  // a view without a frame
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
