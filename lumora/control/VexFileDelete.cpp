#include "VexFileDelete.h"

#include "PathParts.h"
#include "VexDoc.h"
#include "VexErrorControl.h"
#include "VexFileDeleteDialog.h"
#include "ui/MainFrame.h"

IMPLEMENT_DYNCREATE(CVexFileDelete, CView)

namespace {
constexpr int kLongestPath = 254;
constexpr DWORD kThumbnailUpdate = 0x100000;

void EnableMain(BOOL on) {
  if (CMainFrame* frame = CMainFrame::Get()) frame->EnableFrame(on);
}
}  // namespace

void CVexFileDelete::Report(int type, int detail) {
  if (m_pErrors) m_pErrors->ReportError(type, detail);
}

int CVexFileDelete::SetDeletePath(const CString& path) {
  if (path.IsEmpty()) {
    ::MessageBoxA(m_hWnd, "DletePath didn't input", "Lumora Error", MB_ICONERROR);
    return 0;
  }
  m_strDeletePath = path;
  return 1;
}

int CVexFileDelete::DeleteFile() {
  CFile file;
  if (file.Open(m_strDeletePath, CFile::modeRead)) {
    file.Close();
    bool removed = true;
    TRY { CFile::Remove(m_strDeletePath); }
    CATCH(CFileException, e) { removed = false; }
    END_CATCH
    if (removed) return 1;
  }
  Report(700, 1);
  return 0;
}

CString CVexFileDelete::ThumbnailPathOf(const CString& picturePath) {
  if (picturePath.GetLength() >= MAX_PATH) return CString();
  const PathParts parts = SplitPath(picturePath);
  if (parts.extension.GetLength() < 2) return CString();
  // The letter keeps the case the picture's extension was written in.
  CString thumbnail;
  thumbnail.Format("%ss\\%s%c.jpg", (LPCSTR)parts.folder, (LPCSTR)parts.base, parts.extension[1]);
  return CVexDoc::FileExists(thumbnail) ? thumbnail : CString();
}

void CVexFileDelete::DeletePicture(const CString& path) {
  if (!SetDeletePath(path) || !DeleteFile()) return;
  // A picture whose thumbnail has already gone leaves the list all the same.
  const CString thumbnail = ThumbnailPathOf(path);
  if (!thumbnail.IsEmpty() && SetDeletePath(thumbnail)) DeleteFile();
  m_pDoc->MarkListCursorForDrop();
}

void CVexFileDelete::DeleteSelectedFiles() {
  if (!m_pDoc) return;
  EnableMain(FALSE);
  const int n = m_pDoc->CountSelectedImages();
  if (n == 0) {
    EnableMain(TRUE);
    return;
  }
  bool stop = false;
  for (int i = 1; i <= n && !stop; ++i) {
    const CString path = m_pDoc->GetSelectedImagePath(i, 0);
    if (path.GetLength() > kLongestPath) {
      Report(700, 2);
      EnableMain(TRUE);
      return;
    }
    if (path.IsEmpty()) continue;  // the picture has gone meanwhile
    CVexFileDeleteDialog dlg;
    dlg.SetPath(path);
    switch (dlg.DoModal()) {
      case CVexFileDeleteDialog::kDelete:
        DeletePicture(path);
        break;
      case CVexFileDeleteDialog::kDeleteAll:
        for (int k = i; k <= n; ++k) {
          const CString next = m_pDoc->GetSelectedImagePath(k, 1);
          // The same limit as for a picture asked about one at a time.
          if (next.GetLength() > kLongestPath) {
            Report(700, 2);
            EnableMain(TRUE);
            return;
          }
          if (!next.IsEmpty()) DeletePicture(next);
        }
        stop = true;
        break;
      case CVexFileDeleteDialog::kSkip:
        break;
      case CVexFileDeleteDialog::kStop:
        stop = true;
        break;
      default:
        Report(710, 1);
        break;
    }
  }
  if (CMainFrame* frame = CMainFrame::Get()) frame->BroadcastUpdate(kThumbnailUpdate, 0);
  EnableMain(TRUE);
}
