#include "VexPrinterOutput.h"

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexPrintNowDlg.h"
#include "pipeline/output/VexPrintType.h"
#include "ui/MainFrame.h"

IMPLEMENT_DYNCREATE(CVexPrinterOutput, CVexImageOutput)

namespace {

constexpr UINT kCaption = 62476;     // "Printer Output"
constexpr UINT kPrinting = 62482;    // "印刷中"
constexpr UINT kCancelText = 62484;  // "ｷｬﾝｾﾙ"
// Nothing to print, by print type.
constexpr UINT kRefusals[4] = {62477, 62478, 62479, 62480};
// The framework's printing-status window: the document's and the printer's names.
constexpr int kStatusDocument = 202;
constexpr int kStatusPrinter = 203;

CString Text(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

CString ItemText(HWND window, int item) {
  char text[MAX_PATH] = {};
  ::GetDlgItemTextA(window, item, text, sizeof text);
  return text;
}

}  // namespace

CVexPrinterOutput::CVexPrinterOutput() = default;
CVexPrinterOutput::~CVexPrinterOutput() = default;

BOOL CVexPrinterOutput::CreateImagingControl(const RECT* rect) {
  m_bControlCreated = m_control.Create(rect, this) ? 1 : 0;
  return m_bControlCreated;
}

int CVexPrinterOutput::Output(SHORT slot) {
  CLead* lead = m_control.Lead();
  if (!m_bControlCreated || !lead) return 0;
  lead->SetValue146(0);
  lead->SetFlag272(FALSE);
  lead->SetBitmap(m_pBufferControl ? m_pBufferControl->GetBuffer(slot) : 0);
  CVexDoc* doc = GetDocument();
  m_bAutoPrint = doc->GetShootState() == 1 && doc->GetAutoPrint() == 1 ? 1 : 0;
  if (m_bAutoPrint) {
    Print(kPrintCurrent);
    return 1;
  }
  if (m_nPrintType < kPreviewCurrent || m_nPrintType > kPrintList) return 0;
  Print(m_nPrintType);
  return 1;
}

void CVexPrinterOutput::Print(int type) {
  CLead* lead = m_control.Lead();
  if (!m_bControlCreated || !lead || type < kPreviewCurrent || type > kPrintList) return;
  if (type == kPreviewCurrent || type == kPrintCurrent) {
    if (lead->GetBitmap() == 0) return Refuse(kRefusals[type]);
    m_bDirect = 1;
    if (type == kPreviewCurrent) OnFilePrintPreview();
    else OnFilePrint();
    return;
  }
  if (GetDocument()->CountSelectedImages() <= 0) return Refuse(kRefusals[type]);
  m_bDirect = 0;
  // The layout is the document's, as the print-type dialog last left it.
  TakeDocumentLayout();
  if (m_bShowPrintType == 1 && !RunPrintTypeDialog()) return;
  if (type == kPreviewList) OnFilePrintPreview();
  else OnFilePrint();
}

void CVexPrinterOutput::Refuse(UINT text) {
  ::MessageBoxA(m_hWnd, Text(text), Text(kCaption), MB_OK | MB_ICONERROR);
}

void CVexPrinterOutput::Report(int type, int detail) {
  if (m_pErrorControl) m_pErrorControl->ReportError(type, detail);
}

void CVexPrinterOutput::TakeDocumentLayout() {
  CVexDoc* doc = GetDocument();
  SetLayout(doc->GetPrintLayoutType());
  m_bCaptions = doc->GetPrintLayoutTitle() == 1 ? 1 : 0;
  m_captionFont = doc->GetPrintTitleFont();
  m_nCaptionFontSize = doc->GetPrintFontSize();
}

// Images per page and the columns x rows they fill; another count prints one a page.
void CVexPrinterOutput::SetLayout(int imagesPerPage) {
  switch (imagesPerPage) {
    case 2: m_nImagesPerPage = 2, m_nColumns = 1, m_nRows = 2; break;
    case 4: m_nImagesPerPage = 4, m_nColumns = 2, m_nRows = 2; break;
    case 6: m_nImagesPerPage = 6, m_nColumns = 3, m_nRows = 2; break;
    default: m_nImagesPerPage = 1, m_nColumns = 1, m_nRows = 1; break;
  }
}

int CVexPrinterOutput::RunPrintTypeDialog() {
  TakeDocumentLayout();
  CVexPrintType dialog(this);
  dialog.m_nLayout = m_nImagesPerPage == 2 ? 1 : m_nImagesPerPage == 4 ? 2 : m_nImagesPerPage == 6 ? 3 : 0;
  dialog.m_bCaptions = m_bCaptions;
  dialog.m_font = m_captionFont;
  dialog.m_nFontSize = m_nCaptionFontSize;
  const INT_PTR answer = dialog.DoModal();
  if (answer == -1) {
    Report(432, 1);
    return 0;
  }
  if (answer != IDOK) return 0;
  static constexpr int kPerPage[4] = {1, 2, 4, 6};
  SetLayout(dialog.m_nLayout >= 0 && dialog.m_nLayout <= 3 ? kPerPage[dialog.m_nLayout] : 1);
  m_bCaptions = dialog.m_bCaptions ? 1 : 0;
  m_captionFont = dialog.m_font;
  m_nCaptionFontSize = dialog.m_nFontSize;
  CVexDoc* doc = GetDocument();
  doc->SetPrintLayoutType(m_nImagesPerPage);
  doc->SetPrintLayoutTitle(static_cast<DWORD>(m_bCaptions));
  doc->SetPrintTitleFont(m_captionFont);
  doc->SetPrintFontSize(m_nCaptionFontSize);
  return 1;
}

BOOL CVexPrinterOutput::OnPreparePrinting(CPrintInfo* pInfo) {
  CLead* lead = m_control.Lead();
  if (m_bDirect) {
    if (!lead || lead->GetBitmap() == 0) return FALSE;
    m_nImagesPerPage = 1;
    m_bCaptions = 0;
    m_nColumns = m_nRows = 1;
    pInfo->SetMinPage(1);
    pInfo->SetMaxPage(1);
    pInfo->m_bDirect = TRUE;
  } else {
    m_nLastPageDrawn = 0;
    SetLayout(m_nImagesPerPage);
    const int listed = GetDocument()->CountSelectedImages();
    if (listed <= 0) return FALSE;
    pInfo->SetMinPage(1);
    pInfo->SetMaxPage(static_cast<UINT>((listed - 1) / m_nImagesPerPage + 1));
  }
  return DoPreparePrinting(pInfo);
}

void CVexPrinterOutput::OnBeginPrinting(CDC*, CPrintInfo*) {
  if (CMainFrame* frame = CMainFrame::Get()) frame->SetDirectClose(1);
  m_nImageCounter = 0;
  m_bJobAborted = false;
}

void CVexPrinterOutput::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CVexImageOutput::OnPrepareDC(pDC, pInfo);
  GetDocument()->ClearLastError();
  if (!pInfo || pInfo->m_bPreview) return;
  if (!pInfo->m_lpUserData) {
    // The framework's printing-status window is the active one: the progress dialog
    // shows its texts and takes its place, and its Cancel ends the job through it.
    HWND status = ::GetActiveWindow();
    pInfo->m_lpUserData = status;
    ::ShowWindow(status, SW_HIDE);
    if (!m_pProgress) {
      auto progress = std::make_unique<CVexPrintNowDlg>(this, CWnd::FromHandle(status));
      if (progress->m_hWnd) m_pProgress = std::move(progress);
      else Report(431, 1);
    }
    if (m_pProgress) {
      m_hFocusWindow = ::GetFocus();
      m_pProgress->BeginCapture();
      m_pProgress->ShowWindow(SW_SHOW);
      m_pProgress->SetDlgItemText(1113, Text(kPrinting));
      m_pProgress->SetDlgItemText(1110, ItemText(status, kStatusDocument));
      m_pProgress->SetDlgItemText(1111, ItemText(status, kStatusPrinter));
      m_pProgress->SetDlgItemText(IDCANCEL, Text(kCancelText));
    }
  }
  if (m_pProgress) {
    CString page;
    page.Format("Page %d of %d", static_cast<int>(pInfo->m_nCurPage), static_cast<int>(pInfo->GetMaxPage()));
    m_pProgress->SetDlgItemText(1112, page);
  }
}

void CVexPrinterOutput::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  if (m_bDirect) PrintCurrentImage(pDC);
  else PrintListPage(pDC, pInfo);
}

void CVexPrinterOutput::OnEndPrinting(CDC*, CPrintInfo*) {
  if (m_pProgress) {
    m_pProgress->EndCapture(m_hFocusWindow && ::IsWindow(m_hFocusWindow) ? CWnd::FromHandle(m_hFocusWindow) : nullptr);
    m_pProgress->DestroyWindow();
    m_pProgress.reset();
  }
  m_hFocusWindow = nullptr;
  if (CMainFrame* frame = CMainFrame::Get()) frame->SetDirectClose(0);
}
