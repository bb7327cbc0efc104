// The view's print loop, with the printing-status window whose Cancel ends the job.
#include <string>

#include "afxdlgs.h"
#include "CPreviewView.h"
#include "choosers/StockDialogIds.h"
#include "choosers/StockDialogs.h"

namespace {

// Set by the status window's Cancel; read by the abort procedure between pages.
thread_local bool t_userAbort = false;

BOOL CALLBACK PumpWhilePrinting(HDC, int) {
  MSG msg;
  while (!t_userAbort && ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!AfxPumpMessage()) return FALSE;  // the program is quitting
  }
  return !t_userAbort;
}

class CPrintingStatus : public CDialog {
 public:
  explicit CPrintingStatus(CWnd* pParent) {
    LPCDLGTEMPLATE t = plat::afx::FindDialogTemplate(plat::choosers::StockModule(), MAKEINTRESOURCEA(IDD_PRINT_STATUS));
    if (t) CreateIndirect(t, pParent);
  }

 protected:
  void OnCancel() override { t_userAbort = true; }
};

void Report(CWnd* owner, UINT id) {
  std::string text = plat::choosers::StockString(id);
  ::MessageBoxA(owner ? owner->GetSafeHwnd() : nullptr, text.c_str(), "印刷", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo) {
  if (pInfo) pInfo->m_bContinuePrinting = pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1;
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
  CWinApp* app = AfxGetApp();
  CPrintDialog* pd = pInfo->m_pPD;
  if (pInfo->m_bPreview || pInfo->m_bDirect) {
    BOOL got = app ? app->GetPrinterDeviceDefaults(&pd->m_pd) : pd->GetDefaults();
    if (!got) {
      Report(this, IDS_NO_PRINTER);
      return FALSE;
    }
  } else {
    pd->m_pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());
    pd->m_pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
    int answer = app ? app->DoPrintDialog(pd) : pd->DoModal();
    if (answer != IDOK) return FALSE;
  }
  if (!pd->m_pd.hDC && !pd->CreatePrinterDC()) {
    Report(this, IDS_NO_PRINTER);
    return FALSE;
  }
  if (!pd->PrintRange()) {
    pd->m_pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());
    pd->m_pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
  }
  return TRUE;
}

void CView::OnFilePrint() {
  CPrintInfo info;
  if (!OnPreparePrinting(&info)) return;
  HDC hdc = info.m_pPD->m_pd.hDC;
  if (!hdc) return;

  CString title;
  if (CDocument* doc = GetDocument()) title = doc->GetTitle();
  else if (CFrameWnd* frame = GetParentFrame()) frame->GetWindowText(title);
  DOCINFOA docInfo{sizeof(DOCINFOA), title, nullptr, nullptr, 0};

  CDC dcPrint;
  dcPrint.Attach(hdc);
  dcPrint.m_bPrinting = TRUE;
  OnBeginPrinting(&dcPrint, &info);
  ::SetAbortProc(hdc, PumpWhilePrinting);

  // The program waits while it prints; only the status window answers.
  CWnd* main = AfxGetMainWnd();
  bool reenable = main && main->IsWindowEnabled();
  if (reenable) main->EnableWindow(FALSE);
  t_userAbort = false;
  CPrintingStatus status(this);
  if (status.GetSafeHwnd()) {
    status.SetDlgItemText(IDC_PRINT_DOCNAME, title);
    status.SetDlgItemText(IDC_PRINT_PRINTERNAME, info.m_pPD->GetDeviceName());
    status.ShowWindow(SW_SHOW);
    status.UpdateWindow();
  }

  bool failed = false, aborted = false;
  if (::StartDocA(hdc, &docInfo) <= 0) {
    failed = true;
  } else {
    UINT first = info.GetFromPage(), last = info.GetToPage();
    if (first < info.GetMinPage()) first = info.GetMinPage();
    if (last > info.GetMaxPage()) last = info.GetMaxPage();
    for (info.m_nCurPage = first; info.m_nCurPage <= last && info.m_nCurPage != 0; ++info.m_nCurPage) {
      OnPrepareDC(&dcPrint, &info);
      if (!info.m_bContinuePrinting) break;
      if (status.GetSafeHwnd()) {
        CString page;
        page.Format(plat::choosers::StockString(IDS_PRINT_PAGE).c_str(), info.m_nCurPage);
        status.SetDlgItemText(IDC_PRINT_PAGENUM, page);
      }
      info.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
      dcPrint.DPtoLP(&info.m_rectDraw);
      // SP_APPABORT: the view abandoned the job itself and has said why.
      if (int started = ::StartPage(hdc); started <= 0) {
        (started == SP_APPABORT ? aborted : failed) = true;
        break;
      }
      OnPrint(&dcPrint, &info);
      int ended = ::EndPage(hdc);
      if (t_userAbort || ended == SP_APPABORT || ended == SP_USERABORT) {
        aborted = true;
        break;
      }
      if (ended <= 0) {
        failed = true;
        break;
      }
    }
    if (failed || aborted) ::AbortDoc(hdc);
    else if (::EndDoc(hdc) <= 0) failed = true;
  }

  if (reenable) main->EnableWindow(TRUE);
  OnEndPrinting(&dcPrint, &info);
  if (status.GetSafeHwnd()) status.DestroyWindow();
  ::SetAbortProc(hdc, nullptr);
  dcPrint.Detach();
  if (failed) Report(this, IDS_PRINT_FAILED);
}
