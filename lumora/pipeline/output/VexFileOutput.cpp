#include "VexFileOutput.h"

#include <direct.h>
#include <io.h>

#include <algorithm>

#include "binding/CLead.h"
#include "control/PathParts.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexPathlistControl.h"
#include "controls/SECFileSystem.h"
#include "pipeline/VexCommentField.h"
#include "pipeline/output/VexDisplayOutput.h"

IMPLEMENT_DYNCREATE(CVexFileOutput, CVexImageOutput)

BEGIN_MESSAGE_MAP(CVexFileOutput, CVexImageOutput)
ON_MESSAGE(CVexFileOutput::kReportLater, OnReportLater)
END_MESSAGE_MAP()

namespace {

// The room a saved picture may take beyond its pixels: header, fields, thumbnail.
constexpr ULONGLONG kEncodingSlack = 50000;

HDC ToDc(LONG value) { return reinterpret_cast<HDC>(static_cast<INT_PTR>(value)); }

}  // namespace

int CVexFileOutput::SetDisplayOutput(int selector, CVexDisplayOutput* display) {
  (selector == 1 ? m_pFirstDisplay : m_pSecondDisplay) = display;
  return 1;
}

int CVexFileOutput::Output(SHORT) {
  CLead* lead = m_control.Lead();
  if (!lead) return 0;
  std::lock_guard<std::mutex> hold(m_controlLock);
  CVexDoc* doc = GetDocument();
  const LONG bitmap = m_pBufferControl ? m_pBufferControl->GetSecondBitmap() : 0;
  if (bitmap != 0) {
    lead->SetValue146(0);
    lead->SetFlag272(FALSE);
    lead->SetBitmap(bitmap);
    BurnOverlays();
  }
  m_strSavePath = doc->GetSavePath();
  m_nSaveFormat = doc->GetSaveFormat();
  m_nSaveBits = doc->GetSaveBits();
  m_nSaveQuality = doc->GetSaveQuality();
  CreateFolderFor(m_strSavePath);
  if (!SavePicture()) return 0;
  MakeThumbnail();
  return 1;
}

// The picture becomes private to the control only when something is drawn into it.
void CVexFileOutput::BurnOverlays() {
  CVexDoc* doc = GetDocument();
  const SHORT code = doc->GetSaveOverlayCode();
  if (code < 0 || code > 3) {
    Report(803, 1);  // saved as it is
    return;
  }
  CVexDisplayOutput* still = doc->IsLiveWindowLeft() ? m_pSecondDisplay : m_pFirstDisplay;
  if (code == 0 || !still) return;
  CLead* lead = m_control.Lead();
  const LONG dc = lead->GetImageDC();
  if (dc == 0) return;
  if (code & 1) still->BurnAnnotations(ToDc(dc));
  if (code & 2) still->BurnScaleOverlay(ToDc(dc));
  lead->ReleaseImageDC();
}

int CVexFileOutput::Fail(LONG detail) {
  GetDocument()->SetLastError(kErrorType, detail, 1);
  return 0;
}

int CVexFileOutput::SavePicture() {
  CVexDoc* doc = GetDocument();
  CLead* lead = m_control.Lead();
  if (!lead) return 0;
  if (m_strSavePath.GetLength() > kLongestPath) return Fail(1);

  const SHORT state = doc->GetImageState();
  if (state >= 1 && state <= 4) {
    const CString name = SECFileSystem().GetFileName(m_strSavePath);
    const LONG width = static_cast<LONG>(lead->GetImageWidth());
    const LONG height = static_cast<LONG>(lead->GetImageHeight());
    // The state word records that a fresh shot has been written.
    if (state == 1) doc->SetFileOutputState(1);
    doc->SetImageSizeText(width, height);
    if (state <= 2) doc->BuildImageComment(name);
    else doc->BuildShortImageComment(name);
    WriteComments();
  }
  doc->SetSaveWorkName(SECFileSystem().GetPath(m_strSavePath));
  doc->ClearLastError();

  short result = kNoRoom;
  const CString root = m_strSavePath.GetLength() >= 2 && m_strSavePath[1] == ':' ? m_strSavePath.Left(2) + "\\" : CString();
  ULARGE_INTEGER free{};
  if (::GetDiskFreeSpaceExA(root.IsEmpty() ? nullptr : static_cast<LPCSTR>(root), &free, nullptr, nullptr)) {
    if (free.QuadPart >= kRoomyDisk) {
      result = static_cast<short>(WriteFile());
    } else {
      // The old file of the same name makes room when it is replaced.
      ULONGLONG available = free.QuadPart;
      if (CVexDoc::FileExists(m_strSavePath) && lead->ReadFileInfo(m_strSavePath, 0) == 0)
        available += static_cast<ULONG>(std::max<LONG>(lead->GetFileValue44(), 0));
      const ULONGLONG estimate = static_cast<ULONGLONG>(std::max<LONG>(doc->GetImageByteSize(), 0)) + kEncodingSlack;
      // Without memory to learn the real size, the estimate has to do.
      ULONGLONG encoded = estimate;
      if (HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(estimate))) {
        LONG handle = static_cast<LONG>(reinterpret_cast<INT_PTR>(block));
        LONG size = 0;
        lead->SaveToMemory(&handle, static_cast<short>(m_nSaveFormat), static_cast<short>(m_nSaveBits),
                           static_cast<short>(m_nSaveQuality), &size);
        ::GlobalFree(block);
        encoded = static_cast<ULONGLONG>(std::max<LONG>(size, 0));
      }
      if (encoded < available) result = static_cast<short>(WriteFile());
    }
  }
  if (result == 0) return 1;
  switch (result) {
    case 20008: return Fail(1);
    case 20005: return Fail(2);
    case 20002: return Fail(3);
    case kNoRoom: return Fail(4);
    case 20009: return Fail(5);
    default: return Fail(6);
  }
}

int CVexFileOutput::WriteFile() {
  CLead* lead = m_control.Lead();
  short bits = static_cast<short>(m_nSaveBits);
  if (IsGrey()) {
    lead->Grayscale(8);
    bits = 8;
  }
  return lead->SaveFile(m_strSavePath, static_cast<short>(m_nSaveFormat), bits, static_cast<short>(m_nSaveQuality), 0);
}

// The control draws its picture, 1:1, into a strip of rows at a time, so the check reads
// every pixel without a copy of the whole picture (the image DC would make one).
int CVexFileOutput::IsGrey() {
  CLead* lead = m_control.Lead();
  if (!lead) return 0;
  const int width = static_cast<int>(lead->GetImageWidth());
  const int height = static_cast<int>(lead->GetImageHeight());
  if (width <= 0 || height <= 0) return 0;
  if (lead->GetBitsPerPixel() == 8) return 1;  // the control's 8-bit pictures are grey

  constexpr int kStripRows = 32;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -kStripRows;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP strip = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = strip ? ::CreateCompatibleDC(nullptr) : nullptr;
  if (!dc) {
    if (strip) ::DeleteObject(strip);
    return 0;
  }
  HGDIOBJ previous = ::SelectObject(dc, strip);
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
  int grey = 1;
  for (int top = 0; top < height && grey; top += kStripRows) {
    if (lead->RenderToDC(static_cast<LONG>(reinterpret_cast<INT_PTR>(dc)), 0.0f, static_cast<float>(-top),
                         static_cast<float>(width), static_cast<float>(height)) != 0) {
      grey = 0;
      break;
    }
    const int rows = std::min(kStripRows, height - top);
    for (int r = 0; r < rows && grey; ++r) {
      const BYTE* p = static_cast<const BYTE*>(bits) + r * stride;
      for (int x = 0; x < width; ++x, p += 3) {
        if (p[0] != p[1] || p[1] != p[2]) {
          grey = 0;
          break;
        }
      }
    }
  }
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(strip);
  return grey;
}

void CVexFileOutput::WriteComments(const vexcomment::SavedFields* own) {
  using namespace vexcomment;
  CLead* lead = m_control.Lead();
  if (!lead) return;
  CVexDoc* doc = GetDocument();
  const COleVariant empty;
  lead->SetFlag20(FALSE);
  for (short id = 0; id < kFieldCount; ++id) lead->SetFileField(id, empty);
  lead->SetFlag20(TRUE);

  // A rebuilt thumbnail carries its picture's own dates, exposure and subtitle.
  auto put = [&](short id, const COleVariant& fromDocument) {
    lead->SetFileField(id, own && own->Has(id) ? own->Get(id) : static_cast<const VARIANT&>(fromDocument));
  };
  put(kOriginalDateField, COleVariant(doc->GetOriginalDateTime()));
  lead->SetFileField(39, empty);
  put(kDigitizedDateField, COleVariant(doc->GetDigitizedDateTime()));
  lead->SetFileField(40, empty);
  put(kExposureField, EncodeExposure(doc->GetExposureTimeNumerator(), doc->GetExposureTimeDenominator()));
  lead->SetFileField(kTitleField, EncodeText(doc->GetImageTitle()));
  put(kSubtitleField, EncodeText(doc->GetImageSubtitle()));
}

int CVexFileOutput::MakeThumbnail() {
  CLead* lead = m_control.Lead();
  if (!lead) return 0;
  const int w = static_cast<int>(lead->GetImageWidth());
  const int h = static_cast<int>(lead->GetImageHeight());
  int width = w, height = h;
  // Landscape pictures get 100 pixels across, the others 80 down; narrow ones stay whole.
  if (w > 99) {
    const double g = h < w ? w / 100.0 : h / 80.0;
    width = static_cast<int>(w / g);
    height = static_cast<int>(h / g);
  }
  if (lead->ResizeImage(static_cast<float>(width), static_cast<float>(height), 2) != 0) return 0;
  ThumbnailPath(m_strSavePath);
  CreateFolderFor(m_strThumbnailPath);
  WriteComments();
  const short saved = lead->SaveFile(m_strThumbnailPath, 98, 24, 6, 0);
  GetDocument()->SetLastSavedFile(SECFileSystem().GetPath(m_strThumbnailPath));
  // An old thumbnail left by a failed save keeps its own times, so a rebuild sees it
  // as stale and remakes it.
  if (saved != 0) return 0;
  CopyFileTimes(m_strThumbnailPath, m_strSavePath);
  return 1;
}

CString CVexFileOutput::ThumbnailPath(const CString& picture) {
  m_strThumbnailFolder = SplitPath(picture).folder + "s\\";
  m_strThumbnailPath = m_strThumbnailFolder + CVexPathlistControl::ThumbnailNameOf(picture);
  GetDocument()->SetLastSavedFile(m_strThumbnailFolder);
  return m_strThumbnailPath;
}

// The thumbnail's creation time is how a rebuild knows it belongs to this picture.
void CVexFileOutput::CopyFileTimes(const CString& thumbnail, const CString& picture) {
  CFileStatus own, source;
  if (!CFile::GetStatus(thumbnail, own) || !CFile::GetStatus(picture, source)) return;
  own.m_ctime = source.m_ctime;
  own.m_mtime = source.m_mtime;
  try {
    CFile::SetStatus(thumbnail, own);
  } catch (CException* e) {
    e->Delete();  // the thumbnail stands with its own times
  }
}

BOOL CVexFileOutput::FolderExists(const CString& folder) {
  if (folder.IsEmpty()) return FALSE;
  CString device;
  const TCHAR last = folder[folder.GetLength() - 1];
  device.Format(last == '\\' ? "%sNUL" : "%s\\NUL", static_cast<LPCSTR>(folder));
  _finddata_t found;
  const intptr_t handle = _findfirst(device, &found);
  if (handle == -1) return FALSE;
  _findclose(handle);
  return TRUE;
}

int CVexFileOutput::MakeFolders(const CString& folder) {
  for (int at = folder.Find('\\'); at >= 0; at = folder.Find('\\', at + 1)) {
    const CString part = folder.Left(at);
    if (!part.IsEmpty() && !FolderExists(part)) _mkdir(part);
  }
  return FolderExists(folder) || _mkdir(folder) == 0 ? 1 : 0;
}

int CVexFileOutput::CreateFolderFor(const CString& path) {
  if (path.IsEmpty()) return 0;
  return MakeFolders(SplitPath(path).folder);
}

void CVexFileOutput::Report(int type, int detail) {
  if (!m_pErrorControl) return;
  if (m_hWnd && ::GetWindowThreadProcessId(m_hWnd, nullptr) != ::GetCurrentThreadId()) {
    PostMessage(kReportLater, static_cast<WPARAM>(type), static_cast<LPARAM>(detail));
    return;
  }
  m_pErrorControl->ReportError(type, detail);
}

LRESULT CVexFileOutput::OnReportLater(WPARAM type, LPARAM detail) {
  if (m_pErrorControl) m_pErrorControl->ReportError(static_cast<int>(type), static_cast<int>(detail));
  return 0;
}
