// CVexFileOutput: rebuilding the thumbnails of the save folder.
#include <io.h>

#include <string>
#include <vector>

#include "binding/CLead.h"
#include "control/VexDoc.h"
#include "control/VexThumbnailMakeDlg.h"
#include "pipeline/VexCommentField.h"
#include "pipeline/output/VexFileOutput.h"
#include "ui/MainFrame.h"

namespace {

constexpr UINT kRebuildingText = 62483;  // "サムネイル作成中"

struct Listed {
  CString name;
  time_t created;
};

// The pictures of `folder` with the extension `extension`, exactly: a pattern "*.tif"
// also finds "x.tiff" (through its short name), which its own extension lists.
void ListPictures(const CString& folder, LPCSTR extension, std::vector<Listed>* out) {
  CString pattern;
  pattern.Format("%s\\*.%s", static_cast<LPCSTR>(folder), extension);
  _finddata_t found;
  const intptr_t handle = _findfirst(pattern, &found);
  if (handle == -1) return;
  do {
    if (found.attrib & _A_SUBDIR) continue;
    const CString name = found.name;
    const int dot = name.ReverseFind('.');
    if (dot < 0 || name.Mid(dot + 1).CompareNoCase(extension) != 0) continue;
    out->push_back(Listed{name, found.time_create});
  } while (_findnext(handle, &found) == 0);
  _findclose(handle);
}

// -1 when nothing is at `path`.
time_t CreationTime(const CString& path) {
  _finddata_t found;
  const intptr_t handle = _findfirst(path, &found);
  if (handle == -1) return -1;
  _findclose(handle);
  return found.time_create;
}

void ShowProgress(CVexThumbnailMakeDlg& dialog, int counter, int count) {
  CString text, caption;
  text.LoadString(kRebuildingText);
  caption.Format("%s(%d/%d)", static_cast<LPCSTR>(text), counter, count);
  dialog.SetWindowText(caption);
}

}  // namespace

std::unique_lock<std::mutex> CVexFileOutput::LockForUi() {
  std::unique_lock<std::mutex> lock(m_controlLock, std::try_to_lock);
  while (!lock.owns_lock()) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(1);
    lock.try_lock();
  }
  return lock;
}

void CVexFileOutput::RebuildThumbnails() {
  CMainFrame* frame = CMainFrame::Get();
  if (frame) frame->EnableFrame(FALSE);
  CVexDoc* doc = GetDocument();
  CString folder = doc->GetSaveWorkName();
  if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == '\\') folder = folder.Left(folder.GetLength() - 1);

  std::vector<Listed> pictures;
  for (LPCSTR extension : {"jpg", "jpeg", "bmp", "tif", "tiff"}) ListPictures(folder, extension, &pictures);
  const int count = static_cast<int>(pictures.size());
  if (count > 0) {
    std::unique_lock<std::mutex> hold = LockForUi();
    // The rebuild passes every picture's title through the document: the shown
    // picture's title comes back afterwards.
    const CString title = doc->GetImageTitle();
    CVexThumbnailMakeDlg progress;
    const BOOL shown = progress.Create(CVexThumbnailMakeDlg::IDD, frame);
    if (shown) {
      progress.ShowWindow(SW_SHOW);
      progress.m_progress.SetRange32(1, count);
      progress.m_progress.SetPos(2);
      ShowProgress(progress, 1, count);
    }
    int counter = 1;
    for (const Listed& picture : pictures) {
      CString path;
      path.Format("%s\\%s", static_cast<LPCSTR>(folder), static_cast<LPCSTR>(picture.name));
      RebuildThumbnail(path, picture.created);
      ++counter;
      if (shown) {
        progress.m_progress.SetPos(counter);
        ShowProgress(progress, counter, count);
      }
    }
    if (shown) progress.DestroyWindow();
    doc->SetImageTitle(title);
  }
  if (frame) {
    frame->BroadcastUpdate(0x20000, 0);
    frame->EnableFrame(TRUE);
  }
}

void CVexFileOutput::RebuildThumbnail(const CString& picture, time_t created) {
  CLead* lead = m_control.Lead();
  if (!lead) return;
  CVexDoc* doc = GetDocument();
  ThumbnailPath(picture);
  if (CreationTime(m_strThumbnailPath) == created) return;  // current

  lead->SetFlag20(FALSE);
  const short loaded = lead->LoadFile(picture, 0, 0, -1);
  lead->SetFlag20(TRUE);
  if (loaded != 0 || lead->ReadFileInfo(picture, 0) != 0) return;
  const int fileWidth = static_cast<int>(lead->GetFileWidth());
  const int fileHeight = static_cast<int>(lead->GetFileHeight());
  const short format = lead->GetFileFormat();
  const int w = static_cast<int>(lead->GetImageWidth());
  const int h = static_cast<int>(lead->GetImageHeight());
  const int factor = h < w ? w / 100 : h / 80;
  if (factor < 1) return;
  if (lead->ResizeImage(static_cast<float>(w / factor), static_cast<float>(h / factor), 2) != 0) return;

  vexcomment::SavedFields own;
  CString title;
  if (format == 98 || format == 3) {
    if (!ReadComments(picture, &own)) {
      title.Format("[][%dx%d]", fileWidth, fileHeight);
      doc->SetImageTitle(title);
    }
  } else {
    title.Format("[][%dx%3d]", fileWidth, fileHeight);
    doc->SetImageTitle(title);
  }
  WriteComments(&own);
  ThumbnailPath(picture);
  CreateFolderFor(m_strThumbnailPath);
  if (lead->SaveFile(m_strThumbnailPath, 98, 24, 6, 0) == 0) CopyFileTimes(m_strThumbnailPath, picture);
}

int CVexFileOutput::ReadComments(const CString& picture, vexcomment::SavedFields* fields) {
  CLead* lead = m_control.Lead();
  if (!lead) return 0;
  vexcomment::SavedFields local;
  vexcomment::SavedFields& read = fields ? *fields : local;
  if (!read.Read(*lead, picture, fields == nullptr)) return 0;
  GetDocument()->SetImageTitle(read.Title());
  return 1;
}
