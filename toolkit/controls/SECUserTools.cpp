#include "SECUserTools.h"

#include <afxwin.h>

#include "SECUserTool.h"

namespace {

// The least a stored tool takes: its class tag, two 32-bit numbers and four empty strings.
constexpr ULONGLONG kSmallestTool = 2 + 4 + 4 * 1 + 4;

// Reads the array's elements one by one into `read`. Only tools of this class are taken:
// any other class, a reference back to a tool read before or a null object is damage.
void ReadTools(CArchive& ar, CObArray& read) {
  DWORD count = ar.ReadCount();
  ar.CheckRemaining(count * kSmallestTool);  // a damaged count never reaches an allocation
  for (DWORD i = 0; i < count; ++i) {
    CObject* pObject = ar.ReadObject(RUNTIME_CLASS(SECUserTool));
    if (!pObject || pObject->GetRuntimeClass() != RUNTIME_CLASS(SECUserTool))
      AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
    for (int k = 0; k < read.GetSize(); ++k)
      if (read[k] == pObject) AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
    read.Add(pObject);
  }
}

}  // namespace

BOOL LoadUserTools(LPCSTR lpszPath, CObArray* pTools) {
  if (!lpszPath || !pTools) return FALSE;
  CFileStatus status;
  if (!CFile::GetStatus(lpszPath, status)) return FALSE;
  const int before = pTools->GetSize();
  // Tools are read aside and then appended whole, so the array never holds a gap.
  CObArray read;
  BOOL damaged = FALSE;
  try {
    CFile file;
    if (file.Open(lpszPath, CFile::modeRead | CFile::shareDenyNone)) {
      CArchive ar(&file, CArchive::load, 4096);
      ReadTools(ar, read);
      ar.Close();
      file.Close();
    }
  } catch (CException* e) {
    e->Delete();
    damaged = TRUE;
  }
  pTools->Append(read);
  return !damaged && pTools->GetSize() > before;
}

BOOL SaveUserTools(LPCSTR lpszPath, CObArray* pTools) {
  if (!lpszPath || !pTools) return FALSE;
  // Written beside the list and renamed over it when complete: a failed or full-disk
  // save leaves the old list as it was.
  CString temporary = CString(lpszPath) + ".~new";
  BOOL saved = FALSE;
  try {
    CFile file;
    CFileException error;
    if (file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
      CArchive ar(&file, CArchive::store, 4096);
      pTools->Serialize(ar);
      ar.Close();
      file.Flush();
      file.Close();
      saved = ::MoveFileEx(temporary, lpszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
  } catch (CException* e) {
    e->Delete();
  }
  if (!saved) ::DeleteFile(temporary);
  return saved;
}

void ClearUserTools(CObArray* pTools) {
  if (!pTools || pTools->GetSize() == 0) return;
  for (int i = 0; i < pTools->GetSize(); ++i) delete pTools->GetAt(i);
  pTools->SetSize(0);
}

BOOL FindMenuItem(CMenu* pMenu, UINT nId, UINT* pPosition) {
  if (!pMenu) return FALSE;
  const int count = static_cast<int>(pMenu->GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    if (pMenu->GetMenuItemID(i) == nId) {
      if (pPosition) *pPosition = static_cast<UINT>(i);
      return TRUE;
    }
  }
  return FALSE;
}

namespace {

bool IsSeparator(CMenu* pMenu, int position) {
  UINT state = pMenu->GetMenuState(static_cast<UINT>(position), MF_BYPOSITION);
  return state != static_cast<UINT>(-1) && (state & MF_SEPARATOR) != 0;
}

}  // namespace

BOOL AppendUserToolsToMenu(CMenu* pMenu, UINT nFirstId, CObArray* pTools) {
  if (!pMenu || !pMenu->GetSafeHmenu() || nFirstId == 0) return FALSE;
  const int items = static_cast<int>(pMenu->GetMenuItemCount());
  int pos = items - 1;
  UINT first = 0;
  if (FindMenuItem(pMenu, nFirstId, &first)) {
    for (int i = items - 1; i >= static_cast<int>(first); --i) pMenu->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
    pos = first == 0 ? 0 : static_cast<int>(first) - 1;
  }
  const int tools = pTools ? pTools->GetSize() : 0;
  int appended = 0;
  if (tools > 0) {
    // A popup with nothing else in it needs no separator above its tools.
    if (pMenu->GetMenuItemCount() > 0 && !IsSeparator(pMenu, pos)) pMenu->AppendMenu(MF_SEPARATOR);
    UINT id = nFirstId;
    for (int i = 0; i < tools; ++i) {
      auto* pTool = static_cast<SECUserTool*>(pTools->GetAt(i));
      if (pTool && pMenu->AppendMenu(MF_STRING, id, pTool->m_strMenuText)) {
        ++id;
        ++appended;
      }
    }
  } else if (pos > 0 && IsSeparator(pMenu, pos)) {
    pMenu->DeleteMenu(static_cast<UINT>(pos), MF_BYPOSITION);
  }
  return appended == tools;
}
