// CVexFileInput: the input stage that opens a saved picture (JPEG, BMP or TIFF) into an
// image slot. It checks the file before it loads it, and takes the picture's title back
// from the comment fields the file output stores in every picture and its thumbnail.
#pragma once
#include "pipeline/VexImageInput.h"
#include "pipeline/VexStageControl.h"

class CVexFileInput : public CVexImageInput {
  DECLARE_DYNCREATE(CVexFileInput)
 public:
  enum { kErrorType = 120, kUpdateFlag = 0x8, kLongestName = 254 };
  CVexFileInput() = default;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  // A file input keeps no settings.
  virtual void OnSettingsChanged(LONG flag) {}

  int Input(SHORT slot) override;
  // Takes the title from the picture file's own comment fields; 1 when all five are there.
  int UpdateImageInfo() override;

  const CString& GetFileName() const { return m_strFileName; }
  const CString& GetThumbnailName() const { return m_strThumbnailName; }
  CLead* GetImagingControl() const { return m_control.Lead(); }

 private:
  bool LoadPicture();
  int ReadCommentFields(const CString& path);
  int Fail(int detail);

  CVexStageControl m_control;
  CString m_strFileName;
  CString m_strThumbnailName;
};
