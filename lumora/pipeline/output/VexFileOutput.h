// CVexFileOutput: the output stage that writes the still picture to its file. It burns
// the chosen overlays in, makes the missing folders, fills the comment fields, checks
// that the disk has room, saves, and writes the picture's thumbnail (a small JPEG with
// the same comments and times) into the sub-folder "s" beside it. It also rebuilds the
// thumbnails of the save folder.
//
// Output runs on the capture or the save thread, the rebuild on the user-interface
// thread; both use the one hidden control, so each holds m_controlLock while it does.
#pragma once
#include <mutex>

#include "pipeline/VexImageOutput.h"
#include "pipeline/VexStageControl.h"

class CLead;
class CVexDisplayOutput;
namespace vexcomment {
class SavedFields;
}

class CVexFileOutput : public CVexImageOutput {
  DECLARE_DYNCREATE(CVexFileOutput)
 public:
  enum : LONG { kErrorType = 420, kUpdateFlag = 0x2000, kLongestPath = 254 };
  // Below this many free bytes the picture is encoded once in memory to learn its size.
  static constexpr ULONGLONG kRoomyDisk = 40000000;
  // The result of a save that found too little room (or could not learn how much).
  enum : short { kNoRoom = 20114 };
  // A report made on another thread, posted to this view: wParam type, lParam detail.
  enum : UINT { kReportLater = WM_USER + 420 };

  CVexFileOutput() = default;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  CLead* GetImagingControl() const { return m_control.Lead(); }
  // Selector 1 registers the first display, any other value the second.
  int SetDisplayOutput(int selector, CVexDisplayOutput* display);
  // The file output keeps no settings.
  virtual void OnSettingsChanged(LONG flag) {}

  int Output(SHORT slot) override;
  // Remakes the thumbnails of every picture in the save folder (user-interface thread).
  void RebuildThumbnails();

  // ---- the steps, shared by saving and the rebuild
  int SavePicture();
  int IsGrey();
  // `own`: the picture's own fields, which a rebuilt thumbnail carries where it has them.
  void WriteComments(const vexcomment::SavedFields* own = nullptr);
  int MakeThumbnail();
  CString ThumbnailPath(const CString& picture);
  static void CopyFileTimes(const CString& thumbnail, const CString& picture);
  static BOOL FolderExists(const CString& folder);
  static int MakeFolders(const CString& folder);
  static int CreateFolderFor(const CString& path);
  // The title from the picture's fields (all five must be there); `fields` gets whatever
  // the file has.
  int ReadComments(const CString& picture, vexcomment::SavedFields* fields = nullptr);
  void RebuildThumbnail(const CString& picture, time_t created);

  const CString& GetThumbnailPath() const { return m_strThumbnailPath; }
  const CString& GetThumbnailFolder() const { return m_strThumbnailFolder; }

 protected:
  afx_msg LRESULT OnReportLater(WPARAM type, LPARAM detail);
  DECLARE_MESSAGE_MAP()

 private:
  // Reports at once on the user-interface thread; from a worker the report is posted to
  // this view, so a save never waits on a message box.
  void Report(int type, int detail);
  void BurnOverlays();
  int Fail(LONG detail);
  int WriteFile();
  // The rebuild's half of the lock: it keeps the window answering while a save finishes.
  std::unique_lock<std::mutex> LockForUi();

  CVexStageControl m_control;
  CString m_strThumbnailPath;
  CString m_strThumbnailFolder;
  CString m_strSavePath;
  int m_nSaveFormat = 6;
  int m_nSaveBits = 1;
  int m_nSaveQuality = 2;
  CVexDisplayOutput* m_pFirstDisplay = nullptr;
  CVexDisplayOutput* m_pSecondDisplay = nullptr;
  std::mutex m_controlLock;
};
