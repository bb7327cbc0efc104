#include "VexFileInput.h"

#include <memory>
#include <new>

#include "binding/CLead.h"
#include "control/PathParts.h"
#include "control/VexDoc.h"
#include "control/VexPathlistControl.h"
#include "pipeline/VexCommentField.h"

IMPLEMENT_DYNCREATE(CVexFileInput, CVexImageInput)

namespace {

// The imaging control holds no picture larger than 1 GiB of pixels. Memory is granted
// lazily here, so a trial allocation alone would let any claimed size pass.
constexpr LONG kLargestPicture = 1 << 30;

}  // namespace

int CVexFileInput::Fail(int detail) {
  GetDocument()->SetLastError(kErrorType, detail, 1);
  return 0;
}

int CVexFileInput::Input(SHORT slot) {
  m_strFileName = GetDocument()->GetLoadPath();
  if (!LoadPicture()) return 0;
  m_control.Store(m_pBufferControl, slot);
  return 1;
}

bool CVexFileInput::LoadPicture() {
  CVexDoc* doc = GetDocument();
  if (m_strFileName.GetLength() > kLongestName) return Fail(2);
  {
    CFile test;
    if (!test.Open(m_strFileName, CFile::modeRead | CFile::shareDenyNone)) return false;
  }
  CLead* lead = m_control.Lead();
  if (!lead) return false;
  if (lead->ReadFileInfo(m_strFileName, 0) != 0) return Fail(3);

  const LONG decoded = lead->GetFileValue45();
  if (decoded < 0 || decoded > kLargestPicture) return Fail(5);
  try {
    std::make_unique<char[]>(static_cast<size_t>(decoded));
  } catch (const std::bad_alloc&) {
    return Fail(5);
  }

  lead->ShowWindow(SW_HIDE);
  if (doc->GetThumbnailChoice() == 0) {
    m_strThumbnailName = SplitPath(m_strFileName).folder + "s\\" + CVexPathlistControl::ThumbnailNameOf(m_strFileName);
    if (lead->LoadFile(m_strThumbnailName, 0, 0, -1) == 0) ReadCommentFields(m_strThumbnailName);
  }

  switch (lead->LoadFile(m_strFileName, 0, 0, -1)) {
    case 0: break;
    case 2: return Fail(1);
    case 20008: return Fail(2);
    case 20014: return Fail(3);
    case 20009:
    case 20015: return Fail(4);
    default: return Fail(5);
  }
  if (!m_strFileName.IsEmpty()) {
    if (doc->GetThumbnailChoice() == 0)
      doc->SetImageSizeText(static_cast<LONG>(lead->GetImageWidth()), static_cast<LONG>(lead->GetImageHeight()));
    else
      UpdateImageInfo();
  }
  return true;
}

int CVexFileInput::UpdateImageInfo() { return ReadCommentFields(m_strFileName); }

int CVexFileInput::ReadCommentFields(const CString& path) {
  CLead* lead = m_control.Lead();
  if (!lead) return 0;
  vexcomment::SavedFields fields;
  if (!fields.Read(*lead, path, true)) return 0;
  GetDocument()->SetImageTitle(fields.Title());
  return 1;
}
