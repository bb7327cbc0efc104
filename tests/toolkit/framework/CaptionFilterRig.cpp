#include "CaptionFilterRig.h"

#include "Clock.h"

#include "framework/SECCaptionMsgFilter.h"
#include "framework/SECFilterTables.h"
#include "framework/ScxMsgFilter.h"
#include "user/Driver.h"

namespace framework_test {

IMPLEMENT_DYNCREATE(RigDoc, CDocument)
IMPLEMENT_DYNCREATE(OtherDoc, CDocument)
IMPLEMENT_DYNCREATE(RigView, CView)
IMPLEMENT_DYNCREATE(OtherView, CView)
IMPLEMENT_DYNCREATE(FilterFrame, SECDockableFrame)

void FilterFrame::EnableCaptionButtons(DWORD flags, BOOL standardOff) {
  SECDockableFrame::EnableCaptionButtons(flags);
  if (auto* list = dynamic_cast<SECCaptionControlListMsgFilter*>(m_pMsgFilter->FindFilter(sec_filters::idCaptionList)))
    list->ApplyDescriptorsAll(list->m_descriptors, !standardOff);
}

BOOL FilterFrame::PreCreateWindow(CREATESTRUCT& cs) {
  const DWORD asked = cs.dwExStyle;
  if (!SECDockableFrame::PreCreateWindow(cs)) return FALSE;
  if (!(asked & WS_EX_TOOLWINDOW)) cs.dwExStyle &= ~WS_EX_TOOLWINDOW;
  return TRUE;
}

LRESULT FilterFrameMessage(HWND self, SECMsgFilter* filter, UINT message, WPARAM wParam, LPARAM lParam,
                           const std::function<LRESULT()>& base, bool ownButtons) {
  if (message == nsSysCommandEx::GetSysCommandExMessage()) {
    LRESULT result = 0;
    filter->FilterMessage(message, wParam, lParam, &result);
    return result;
  }
  switch (message) {
    case WM_NCHITTEST: {
      // The caption's buttons are the filters': the frame's own button places are caption.
      if (!ownButtons) break;
      const LRESULT hit = base();
      return hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP ? HTCAPTION : hit;
    }
    case WM_SYSCOMMAND:
      if (ownButtons && ((wParam & 0xFFF0) == SC_CLOSE || (wParam & 0xFFF0) == SC_MINIMIZE || (wParam & 0xFFF0) == SC_MAXIMIZE ||
          (wParam & 0xFFF0) == SC_RESTORE || (wParam & 0xFFF0) == SC_CONTEXTHELP)) {
        FilterFrame::sysCommands.push_back(std::to_string(wParam & 0xFFF0) + " " + std::to_string(GET_X_LPARAM(lParam)) +
                                           "," + std::to_string(GET_Y_LPARAM(lParam)));
        return 0;
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: {
      LRESULT result = 0;
      if (filter->FilterMessage(message, wParam, lParam, &result) & SECMsgFilter::kHandled) return 0;
      if (!::IsWindow(self)) return 0;
      break;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT: {
      const LRESULT answer = base();
      LRESULT result = 0;
      if (::IsWindow(self)) filter->FilterMessage(message, wParam, lParam, &result);
      return answer;
    }
    default:
      break;
  }
  return base();
}

LRESULT FilterFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The frame offers its messages to its filters itself; the frame's own button places
  // answer as caption, and their commands are recorded.
  switch (message) {
    case WM_NCHITTEST: {
      const LRESULT hit = SECDockableFrame::WindowProc(message, wParam, lParam);
      return hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP ? HTCAPTION : hit;
    }
    case WM_SYSCOMMAND: {
      const UINT command = static_cast<UINT>(wParam & 0xFFF0);
      if (command == SC_CLOSE || command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE ||
          command == SC_CONTEXTHELP) {
        sysCommands.push_back(std::to_string(command) + " " + std::to_string(GET_X_LPARAM(lParam)) + "," +
                              std::to_string(GET_Y_LPARAM(lParam)));
        return 0;
      }
      break;
    }
    default:
      break;
  }
  return SECDockableFrame::WindowProc(message, wParam, lParam);
}

SECMsgFilter* FilterOf(const CFrameWnd* frame, UINT id) {
  SECMsgFilter* root = SECMsgFilter::RootOf(frame);
  return root ? root->FindFilter(id, nullptr, -1) : nullptr;
}

// ---- the template

RecordingTemplate::RecordingTemplate(CRuntimeClass* pDocClass, CRuntimeClass* pViewClass, UINT nIDResource,
                                     LPCSTR lpszName)
    : SECMultiDocTemplate(nIDResource, pDocClass, RUNTIME_CLASS(FilterFrame), pViewClass, RUNTIME_CLASS(FilterFrame)) {
  m_strDocStrings = CString("\nDoc\nDoc\n\n\nRig.Id\n") + lpszName;
}

int RecordingTemplate::GetDockedFramePlace(CFrameWnd*) {
  calls.push_back("place");
  return dockedPlace;
}

CFrameWnd* RecordingTemplate::ConvertFrame(CFrameWnd* pFrame) {
  calls.push_back("convert");
  return onConvert ? onConvert(pFrame) : nullptr;
}

CFrameWnd* RecordingTemplate::DockFrame(CFrameWnd*, UINT nDockBarID, const SECDockPos* pPos,
                                        const SECMDIFrameWnd::SizePair* pSize) {
  calls.push_back("dock " + std::to_string(nDockBarID) + " " + std::to_string(pPos->nRow) + "," +
                  std::to_string(pPos->nCol) + "," + std::to_string(pPos->dwFlags) + " " +
                  std::to_string(pSize->second));
  return nullptr;
}

// ---- watching the caption menu

MenuWatch::MenuWatch() {
  current = this;
  hook = ::SetWindowsHookExA(WH_MSGFILTER, Proc, nullptr, ::GetCurrentThreadId());
  // A thread timer so that the loop has a message to handle once the menu shows.
  tick = ::SetTimer(nullptr, 0, 50, nullptr);
}

MenuWatch::~MenuWatch() {
  ::UnhookWindowsHookEx(hook);
  ::KillTimer(nullptr, tick);
  current = nullptr;
}

LRESULT CALLBACK MenuWatch::Proc(int code, WPARAM wParam, LPARAM lParam) {
  MenuWatch* w = current;
  HWND shown = ::FindWindowA("#32768", nullptr);
  if (code != MSGF_MENU || !w || w->seen || !shown) return ::CallNextHookEx(nullptr, code, wParam, lParam);
  w->seen = true;
  ::GetWindowRect(shown, &w->popup);
  auto menu = reinterpret_cast<HMENU>(::SendMessageA(shown, MN_GETHMENU, 0, 0));
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    w->top.push_back(std::string(text) + ((::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) ? "+" : ""));
  }
  w->dockedLeftChecked = ::GetMenuState(::GetSubMenu(menu, 4), 6, MF_BYCOMMAND) & MF_CHECKED;
  w->restoredChecked = ::GetMenuState(::GetSubMenu(menu, 5), 4, MF_BYCOMMAND) & MF_CHECKED;
  w->windowThere = w->watchWindow && ::IsWindow(w->watchWindow);
  if (w->keys == "\x1b")
    plat::user::driver::PressKey(VK_ESCAPE);
  else
    plat::user::driver::TypeText(w->keys);
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---- the fixture

void CaptionFilterTest::SetUp() {
  FrameworkTest::SetUp();
  FilterFrame::sysCommands.clear();
  tmpl = new RecordingTemplate;
  app.AddDocTemplate(tmpl);
}

void CaptionFilterTest::TearDown() {
  if (::IsWindow(docWnd)) ::DestroyWindow(docWnd);
  Settle();
  FrameworkTest::TearDown();
}

FilterFrame* CaptionFilterTest::NewDocFrame(RecordingTemplate* t, DWORD style, DWORD exStyle, CRect rect) {
  POSITION first = t->GetFirstDocPosition();
  CDocument* document = first ? t->GetNextDoc(first) : nullptr;
  if (!document) {
    document = static_cast<CDocument*>(t->m_pDocClass->CreateObject());
    t->AddDocument(document);  // the template keeps it
  }
  auto* f = new FilterFrame;   // deletes itself with its window
  if (!f->Create(nullptr, "Document", style, rect, nullptr, nullptr, exStyle)) return nullptr;
  CCreateContext context;
  context.m_pCurrentDoc = document;
  context.m_pNewViewClass = t->m_pViewClass;
  context.m_pNewDocTemplate = t;
  auto* view = dynamic_cast<CView*>(f->CreateView(&context));
  if (!view) return nullptr;
  f->SetActiveView(view);
  f->RecalcLayout();
  f->EnableCaptionButtons(1, FALSE);
  f->SetActiveWindow();
  Settle();
  docWnd = f->m_hWnd;
  return f;
}

CRect CaptionFilterTest::OnScreen(FilterFrame* f, const CRect& inWindow) {
  CRect window;
  f->GetWindowRect(&window);
  CRect r = inWindow;
  r.OffsetRect(window.left, window.top);
  return r;
}

void CaptionFilterTest::RightClickForMenu(CPoint at, MenuWatch& watch) {
  plat::clock::Advance(1'000'000);
  tmpl->calls.clear();
  plat::user::driver::Click(at.x, at.y, 1);
  Settle();
  EXPECT_TRUE(watch.seen);
}

std::vector<COLORREF> CaptionFilterTest::Pixels(const CRect& screen) {
  std::vector<COLORREF> out;
  HDC dc = ::GetDC(nullptr);
  for (int y = screen.top; y < screen.bottom; ++y)
    for (int x = screen.left; x < screen.right; ++x) out.push_back(::GetPixel(dc, x, y));
  ::ReleaseDC(nullptr, dc);
  return out;
}

}  // namespace framework_test
