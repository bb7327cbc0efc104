// CVexPrinterOutput: the pictures of a page, where each goes, and its captions.
#include <cstdlib>

#include "CPreviewDC.h"
#include "binding/CLead.h"
#include "control/PathParts.h"
#include "control/VexDoc.h"
#include "pipeline/VexCommentField.h"
#include "pipeline/VexPixelAccess.h"
#include "pipeline/output/VexPrinterOutput.h"

namespace {

constexpr UINT kCaption = 62476;        // "Printer Output"
constexpr UINT kRenderFailed = 62495;   // "印刷に失敗しました。\n印刷を中止します。"
// A caption title this long prints as the picture's short name.
constexpr int kLongTitle = 20;
// The printer is given a moment before each picture.
constexpr DWORD kCellWait = 1000;
// The control's numbered slot that keeps the full picture while a preview resamples it.
constexpr short kKeepSlot = 15;

CString Text(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

LONG DcValue(HDC dc) { return static_cast<LONG>(reinterpret_cast<INT_PTR>(dc)); }

// Characters, not bytes: a UTF-8 character counts once.
int Characters(const CString& text) {
  int n = 0;
  for (int i = 0; i < text.GetLength(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++n;
  return n;
}

CString FileTitle(const CString& path) {
  char title[MAX_PATH] = {};
  return ::GetFileTitleA(path, title, sizeof title) == 0 ? CString(title) : CString();
}

}  // namespace

void CVexPrinterOutput::PrintCurrentImage(CDC* pDC) { DrawCell(pDC, 1, 1, CString()); }

void CVexPrinterOutput::PrintListPage(CDC* pDC, CPrintInfo* pInfo) {
  CVexDoc* doc = GetDocument();
  CLead* lead = m_control.Lead();
  if (!lead) return;
  const int page = static_cast<int>(pInfo->m_nCurPage);
  const int listed = doc->CountSelectedImages();
  const bool preview = pInfo->m_bPreview != FALSE;
  m_nImageCounter = (page - 1) * m_nImagesPerPage;
  // The list is walked from the entry fetched last: start it where this page begins.
  if (page > 1) doc->GetSelectedImagePath(m_nImageCounter, 1);
  for (int row = 1; row <= m_nRows; ++row) {
    for (int column = 1; column <= m_nColumns; ++column) {
      if (++m_nImageCounter > listed || m_bJobAborted) {
        m_nLastPageDrawn = page;
        return;
      }
      const CString name = doc->GetSelectedImagePath(m_nImageCounter, 0);
      if (name.IsEmpty()) continue;
      const CString source = preview ? FindThumbnailPath(name) : name;
      if (page != m_nLastPageDrawn) {
        lead->SetValue146(0);
        if (lead->LoadFile(source, 0, 0, -1) == 0) DrawCell(pDC, column, row, name);
      } else if (m_nImagesPerPage == 1) {
        DrawCell(pDC, column, row, name);
      } else {
        lead->SetValue146(0);
        if (lead->LoadFile(source, 0, 0, -1) == 0) RedrawPreviewCell(pDC, column, row, name);
      }
    }
  }
  m_nLastPageDrawn = page;
}

CString CVexPrinterOutput::FindThumbnailPath(const CString& name) {
  const PathParts parts = SplitPath(name);
  // The extension's first letter after the dot marks the picture's kind.
  const CString title = parts.base + (parts.extension.GetLength() > 1 ? parts.extension.Mid(1, 1) : CString());
  for (LPCSTR extension : {".bmp", ".jpg", ".tif"}) {
    const CString candidate = parts.folder + "s\\" + title + extension;
    if (PathExists(candidate)) return candidate;
  }
  return name;
}

void CVexPrinterOutput::DrawCell(CDC* pDC, int column, int row, const CString& captionSource) {
  ::Sleep(kCellWait);
  if (auto* preview = dynamic_cast<CPreviewDC*>(pDC)) DrawPreviewCell(preview, column, row, captionSource);
  else DrawPrinterCell(pDC, column, row, captionSource);
}

void CVexPrinterOutput::RedrawPreviewCell(CDC* pDC, int column, int row, const CString& captionSource) {
  if (auto* preview = dynamic_cast<CPreviewDC*>(pDC)) DrawPreviewCellAgain(preview, column, row, captionSource);
}

BOOL CVexPrinterOutput::GetCellRect(CDC* pDC, int column, int row, tCell* cell) {
  CLead* lead = m_control.Lead();
  if (!lead || m_nColumns <= 0 || m_nRows <= 0) return FALSE;
  const LONGLONG pictureWidth = static_cast<LONGLONG>(lead->GetImageWidth());
  const LONGLONG pictureHeight = static_cast<LONGLONG>(lead->GetImageHeight());
  if (pictureWidth <= 0 || pictureHeight <= 0) return FALSE;
  int width = pDC->GetDeviceCaps(HORZRES) / m_nColumns;
  int height = pDC->GetDeviceCaps(VERTRES) / m_nRows;
  if (m_nColumns * m_nRows > 1 || m_bCaptions) {
    // A margin of a tenth around a cell of four fifths, room for the captions.
    cell->origin = CPoint((column - 1) * width + static_cast<int>(width * 0.1f),
                          (row - 1) * height + static_cast<int>(height * 0.1f));
    width = static_cast<int>(width * 0.8f);
    height = static_cast<int>(height * 0.8f);
  } else {
    cell->origin = CPoint((column - 1) * width, (row - 1) * height);
  }
  cell->cell = CSize(width, height);
  if (width * pictureHeight / pictureWidth >= height)
    cell->drawn = CSize(static_cast<int>(height * pictureWidth / pictureHeight), height);
  else
    cell->drawn = CSize(width, static_cast<int>(width * pictureHeight / pictureWidth));
  CenterInCell(cell);
  return TRUE;
}

void CVexPrinterOutput::CenterInCell(tCell* cell) {
  cell->origin.x += std::abs(cell->cell.cx - cell->drawn.cx) / 2;
  cell->origin.y += std::abs(cell->cell.cy - cell->drawn.cy) / 2;
}

// The picture is resampled to the size it has on the screen, as a picture of its own:
// the control keeps the full picture, which the printer gets when the preview prints.
void CVexPrinterOutput::DrawPreviewCell(CPreviewDC* pDC, int column, int row, const CString& captionSource) {
  CLead* lead = m_control.Lead();
  tCell cell;
  if (!lead || !GetCellRect(pDC, column, row, &cell)) return;
  CPoint screen(cell.drawn.cx, cell.drawn.cy);
  pDC->PrinterDPtoScreenDP(&screen);
  const LONG full = lead->GetBitmap();
  lead->SetImageSlot(kKeepSlot, full);
  const bool resampled = screen.x > 0 && screen.y > 0 &&
                         lead->ResizeImage(static_cast<float>(screen.x), static_cast<float>(screen.y), 2) == 0;
  const int width = static_cast<int>(lead->GetImageWidth());
  const int height = static_cast<int>(lead->GetImageHeight());
  {
    CVexPixelAccess picture(lead);
    switch (picture.Open(false, false)) {
      case CVexPixelAccess::kOk:
        if (!pDC->StretchBlt(cell.origin.x, cell.origin.y, cell.drawn.cx, cell.drawn.cy, &picture.Dc(), 0, 0, width,
                             height, SRCCOPY))
          Report(kErrorType, 3);
        picture.Close();
        break;
      case CVexPixelAccess::kNoImageDC: Report(kErrorType, 1); break;
      default: Report(kErrorType, 2); break;
    }
  }
  if (resampled) {
    lead->SetValue146(0);
    lead->SetBitmap(full);
  }
  lead->SetImageSlot(kKeepSlot, 0);
  if (m_bCaptions) DrawCaptions(pDC, captionSource, cell);
}

void CVexPrinterOutput::DrawPreviewCellAgain(CPreviewDC* pDC, int column, int row, const CString& captionSource) {
  CLead* lead = m_control.Lead();
  tCell cell;
  if (!lead || !GetCellRect(pDC, column, row, &cell)) return;
  const int width = static_cast<int>(lead->GetImageWidth());
  const int height = static_cast<int>(lead->GetImageHeight());
  CVexPixelAccess picture(lead);
  if (picture.Open(false, false) == CVexPixelAccess::kOk) {
    pDC->StretchBlt(cell.origin.x, cell.origin.y, cell.drawn.cx, cell.drawn.cy, &picture.Dc(), 0, 0, width, height,
                    SRCCOPY);
    picture.Close();
  }
  if (m_bCaptions) DrawCaptions(pDC, captionSource, cell);
}

void CVexPrinterOutput::DrawPrinterCell(CDC* pDC, int column, int row, const CString& captionSource) {
  CLead* lead = m_control.Lead();
  tCell cell;
  if (!lead || !GetCellRect(pDC, column, row, &cell)) return;
  if (lead->RenderToDC(DcValue(pDC->m_hDC), static_cast<float>(cell.origin.x), static_cast<float>(cell.origin.y),
                       static_cast<float>(cell.drawn.cx), static_cast<float>(cell.drawn.cy)) != 0) {
    ::MessageBoxA(m_hWnd, Text(kRenderFailed), Text(kCaption), MB_OK | MB_ICONERROR);
    ::AbortDoc(pDC->m_hDC);
    m_bJobAborted = true;
  }
  if (m_bCaptions) DrawCaptions(pDC, captionSource, cell);
}

void CVexPrinterOutput::CaptionLines(const CString& source, CString* line1, CString* line2) {
  *line1 = FileTitle(source);
  if (Characters(*line1) >= kLongTitle) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(source, shortPath, sizeof shortPath);
    if (length > 0 && length < sizeof shortPath) *line1 = FileTitle(shortPath);
  }
  line2->Empty();
  if (CLead* lead = m_control.Lead()) {
    VARIANT field = lead->ReadFileField(source, 0, vexcomment::kTitleField);
    *line2 = vexcomment::SecondPart(vexcomment::DecodeTitle(field));
    ::VariantClear(&field);
  }
}

void CVexPrinterOutput::DrawCaptions(CDC* pDC, const CString& source, const tCell& cell) {
  CString line1, line2;
  CaptionLines(source, &line1, &line2);
  CFont font;
  font.CreateFontIndirect(&m_captionFont);
  CFont* previous = pDC->SelectObject(&font);
  const CSize size1 = pDC->GetTextExtent(line1);
  pDC->TextOut(cell.origin.x + cell.drawn.cx / 2 - size1.cx / 2, cell.origin.y + cell.drawn.cy, line1);
  const CSize size2 = pDC->GetTextExtent(line2);
  pDC->TextOut(cell.origin.x + cell.drawn.cx / 2 - size2.cx / 2, cell.origin.y + cell.drawn.cy + 20 + size2.cy,
               line2);
  pDC->SelectObject(previous);
}
