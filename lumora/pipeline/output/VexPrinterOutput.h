// CVexPrinterOutput: the output stage that previews and prints through the framework's
// print loop: the shown picture alone on a page, or the pictures ticked in the thumbnail
// strip 1, 2, 4 or 6 to a page, each optionally with two caption lines under it. Every
// picture is loaded into the stage's own hidden control before it is drawn. All of it
// runs on the user-interface thread.
#pragma once
#include <memory>

#include "pipeline/VexImageOutput.h"
#include "pipeline/VexStageControl.h"

class CLead;
class CPreviewDC;
class CVexPrintNowDlg;

class CVexPrinterOutput : public CVexImageOutput {
  DECLARE_DYNCREATE(CVexPrinterOutput)
 public:
  enum : LONG { kErrorType = 430, kUpdateFlag = 0x4000 };
  enum PrintType { kPreviewCurrent = 0, kPrintCurrent = 1, kPreviewList = 2, kPrintList = 3 };
  // One picture's place on the page, in printer pixels: the cell's origin and size, and
  // the size the picture is drawn at (its origin centred in the cell).
  struct tCell {
    CPoint origin;
    CSize cell;
    CSize drawn;
  };

  CVexPrinterOutput();
  ~CVexPrinterOutput() override;

  BOOL CreateImagingControl(const RECT* rect) override;
  CLead* GetImagingControl() const { return m_control.Lead(); }
  // The printer output keeps no settings: the document holds them.
  virtual void OnSettingsChanged(LONG flag) {}

  int Output(SHORT slot) override;
  void Print(int type);
  int SetPrintType(int type) {
    m_nPrintType = type;
    return 1;
  }
  void SetShowSetup(int show) { m_bShowPrintType = show; }
  // The print-type dialog on the document's print settings; 1 after OK.
  int RunPrintTypeDialog();

  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

  // ---- drawing a page
  void PrintCurrentImage(CDC* pDC);
  void PrintListPage(CDC* pDC, CPrintInfo* pInfo);
  // The thumbnail beside a listed picture, which a preview shows in its place.
  static CString FindThumbnailPath(const CString& name);
  void DrawCell(CDC* pDC, int column, int row, const CString& captionSource);
  void RedrawPreviewCell(CDC* pDC, int column, int row, const CString& captionSource);
  // FALSE for a picture without width or height.
  BOOL GetCellRect(CDC* pDC, int column, int row, tCell* cell);
  static void CenterInCell(tCell* cell);
  void DrawPreviewCell(CPreviewDC* pDC, int column, int row, const CString& captionSource);
  void DrawPreviewCellAgain(CPreviewDC* pDC, int column, int row, const CString& captionSource);
  void DrawPrinterCell(CDC* pDC, int column, int row, const CString& captionSource);
  void DrawCaptions(CDC* pDC, const CString& source, const tCell& cell);
  // The picture's file title (its short name's when the title is 20 characters or
  // more), and the second bracketed part of its comment.
  void CaptionLines(const CString& source, CString* line1, CString* line2);

  // ---- what the current or last print was set up with
  int GetImagesPerPage() const { return m_nImagesPerPage; }
  int GetCaptions() const { return m_bCaptions; }
  int GetColumns() const { return m_nColumns; }
  int GetRows() const { return m_nRows; }
  int IsDirect() const { return m_bDirect; }
  int GetAutoPrint() const { return m_bAutoPrint; }
  const LOGFONTA& GetCaptionFont() const { return m_captionFont; }
  int GetCaptionFontSize() const { return m_nCaptionFontSize; }
  CVexPrintNowDlg* GetProgressDialog() const { return m_pProgress.get(); }

 private:
  void TakeDocumentLayout();
  void SetLayout(int imagesPerPage);
  void Refuse(UINT text);
  void Report(int type, int detail);

  CVexStageControl m_control;
  int m_bControlCreated = 0;
  int m_bCaptions = 0;
  int m_nLastPageDrawn = 0;
  int m_nImageCounter = 0;
  int m_nRows = 1;
  int m_nColumns = 1;
  int m_nImagesPerPage = 1;
  std::unique_ptr<CVexPrintNowDlg> m_pProgress;
  int m_bShowPrintType = 0;
  int m_bDirect = 0;
  int m_nPrintType = -1;
  int m_bAutoPrint = 0;
  HWND m_hFocusWindow = nullptr;
  LOGFONTA m_captionFont{};
  int m_nCaptionFontSize = 0;
  // Set when a page could not be rendered and the job was abandoned: the page's other
  // cells are not drawn (each would fail and say so again).
  bool m_bJobAborted = false;
};
