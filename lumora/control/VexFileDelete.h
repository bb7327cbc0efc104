// CVexFileDelete: deletes the pictures chosen in the thumbnail strip, one confirmation
// at a time, each with its thumbnail, and marks their entries for the folder list.
// A hidden view owned by the main frame: its operations are plain members.
#pragma once
#include <afxwin.h>

#include "pipeline/VexStageLinks.h"

class CVexDoc;
class CVexErrorControl;

class CVexFileDelete : public CView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexFileDelete)
 public:
  CVexFileDelete() = default;

  void SetDocument(CVexDoc* doc) { m_pDoc = doc; }
  CVexDoc* GetDocument() const { return m_pDoc; }
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrors = errors; }

  // 0 (after telling the user) for an empty path.
  int SetDeletePath(const CString& path);
  // 1 when the file could be read and was removed; otherwise error 700:1 and 0.
  int DeleteFile();
  // The thumbnail of a picture when it exists, else empty.
  static CString ThumbnailPathOf(const CString& picturePath);
  void DeleteSelectedFiles();
  virtual void OnSettingsChanged(DWORD) {}

 protected:
  void OnDraw(CDC*) override {}

 private:
  // Deletes one picture and then its thumbnail; the entry is marked once the picture
  // is gone.
  void DeletePicture(const CString& path);
  void Report(int type, int detail);

  CVexDoc* m_pDoc = nullptr;
  CVexErrorControl* m_pErrors = nullptr;
  CString m_strDeletePath;
};
