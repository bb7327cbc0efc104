// CVexDoc: the folder list's document-side operations.
#include "VexDoc.h"

#include <string>

CString CVexDoc::GetSelectedImagePath(int n, int restart) {
  if (n == -1) return CString();
  if (restart == 1) {
    CString path = m_pathList.NextSelectedPicture(1);
    for (int i = 1; i < n; ++i) path = m_pathList.NextSelectedPicture(0);
    return path;
  }
  return m_pathList.NextSelectedPicture(n == 1 ? 1 : 0);
}

int CVexDoc::AddSavedFile() {
  const CString& path = m_strNextSavePath;
  if (m_pathList.IndexOfPicture(path) >= 0) return m_pathList.GetCount();
  std::string text = (LPCSTR)path;
  if (text.size() >= MAX_PATH) return m_pathList.GetCount();
  char drive[MAX_PATH], dir[MAX_PATH], base[MAX_PATH], ext[MAX_PATH];
  _splitpath(text.c_str(), drive, dir, base, ext);
  const CString pictureFolder = CString(drive) + dir;
  // The list shows "<folder>\s"; the picture belongs to it when it lies in <folder>.
  CString listFolder = m_pathList.GetFolder();
  const int n = listFolder.GetLength();
  if (n > 0 && listFolder[n - 1] == '\\') listFolder = listFolder.Left(n - 1);
  if (listFolder.GetLength() < 2 || listFolder.Right(2).CompareNoCase("\\s") != 0) return m_pathList.GetCount();
  if (listFolder.Left(listFolder.GetLength() - 1).CompareNoCase(pictureFolder) != 0) return m_pathList.GetCount();
  return m_pathList.AddSavedFile(path);
}
