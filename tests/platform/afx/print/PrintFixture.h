// A frame with a view that prints numbered pages: page n has a black square whose place
// tells the page apart (in printer pixels: at (400 (n - 1), 600 (n - 1)), 400 wide).
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "afxwin.h"
#include "user/Responder.h"

namespace printing {

namespace responder = plat::user::responder;

inline CRect SquareOf(UINT page) {
  int x = 400 * static_cast<int>(page - 1), y = 600 * static_cast<int>(page - 1);
  return CRect(x, y, x + 400, y + 400);
}

class CPageView : public CView {
 public:
  UINT pages = 3;           // 0: the view does not know its last page
  BOOL direct = FALSE;
  UINT cancelAtPage = 0;    // presses Cancel in the status window while this page prints
  UINT abandonAtPage = 0;   // abandons the job itself (AbortDoc) while this page prints
  std::vector<std::string> calls;
  CRect rectDraw;
  std::string statusDoc, statusPrinter;
  BOOL mainEnabledWhilePrinting = TRUE;

  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
    calls.push_back(pInfo->m_bPreview ? "prepare preview" : "prepare");
    if (pages) pInfo->SetMaxPage(pages);
    pInfo->m_bDirect = direct;
    return DoPreparePrinting(pInfo);
  }
  void OnBeginPrinting(CDC* pDC, CPrintInfo*) override {
    calls.push_back(pDC->IsPrinting() ? "begin" : "begin (not printing?)");
  }
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override {
    CView::OnPrepareDC(pDC, pInfo);
    if (!pInfo || pInfo->m_bPreview) return;
    // As a view that shows its own progress does: the status window is the active one.
    if (!pInfo->m_lpUserData) pInfo->m_lpUserData = ::GetActiveWindow();
  }
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
    calls.push_back((pInfo->m_bPreview ? "preview " : "print ") + std::to_string(pInfo->m_nCurPage));
    rectDraw = pInfo->m_rectDraw;
    CRect square = SquareOf(pInfo->m_nCurPage);
    pDC->FillSolidRect(&square, RGB(0, 0, 0));
    if (pInfo->m_bPreview) return;
    HWND status = static_cast<HWND>(pInfo->m_lpUserData);
    char text[128] = {};
    ::GetDlgItemTextA(status, 202, text, sizeof text);
    statusDoc = text;
    ::GetDlgItemTextA(status, 203, text, sizeof text);
    statusPrinter = text;
    mainEnabledWhilePrinting = AfxGetMainWnd()->IsWindowEnabled();
    if (pInfo->m_nCurPage == cancelAtPage) ::PostMessageA(status, WM_COMMAND, IDCANCEL, 0);
    if (pInfo->m_nCurPage == abandonAtPage) ::AbortDoc(pDC->m_hDC);
  }
  void OnEndPrinting(CDC*, CPrintInfo* pInfo) override {
    calls.push_back(pInfo->m_bPreview ? "end preview" : "end");
  }
};

class CPrintFrame : public CFrameWnd {
 public:
  int printCommands = 0;

 protected:
  afx_msg void OnPrintCommand() { ++printCommands; }
  DECLARE_MESSAGE_MAP()
};

class PrintFixture : public ::testing::Test {
 protected:
  static CWinApp& App() {
    static CWinApp app("PrintTest");
    return app;
  }
  void SetUp() override {
    responder::Reset();
    frame = new CPrintFrame;  // deletes itself with its window
    ASSERT_TRUE(frame->Create(nullptr, "Specimen", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
    App().m_pMainWnd = frame;
    view = new CPageView;  // likewise
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->SetActiveView(view);
    frame->RecalcLayout();
  }
  void TearDown() override {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    App().m_pMainWnd = nullptr;
    responder::Reset();
  }
  // Answers the next print dialog: the built-in printer, and pages from-to (0: all).
  static void ChoosePages(int from, int to) {
    responder::Push([from, to](const responder::Shown& shown) {
      HWND d = shown.hwnd;
      auto i = SendDlgItemMessageA(d, PRINT_PRINTER, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>("Lumora PDF"));
      SendDlgItemMessageA(d, PRINT_PRINTER, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      if (from) {
        CheckRadioButton(d, PRINT_ALL, PRINT_PAGES, PRINT_PAGES);
        SetDlgItemInt(d, PRINT_FROM, static_cast<UINT>(from), FALSE);
        SetDlgItemInt(d, PRINT_TO, static_cast<UINT>(to), FALSE);
      }
      SendMessageA(d, WM_COMMAND, IDOK, 0);
      return 0;
    });
  }
  CPrintFrame* frame = nullptr;
  CPageView* view = nullptr;
};

}  // namespace printing
