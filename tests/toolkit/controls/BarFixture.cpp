#include "BarFixture.h"

#include <cstdlib>

#include "SettleWindows.h"
#include "display/Png.h"
#include "TestEnv.h"

#include "toolkit_test_ids.h"

namespace toolkit_test {

BEGIN_MESSAGE_MAP(CStatusLine, CStatic)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CBarTestFrame, CFrameWnd)
  ON_COMMAND_RANGE(ID_TEST_CMD_A, ID_TEST_CMD_G, OnCommandRange)
  ON_UPDATE_COMMAND_UI(ID_TEST_CMD_A, OnUpdateA)
  ON_UPDATE_COMMAND_UI(ID_TEST_CMD_B, OnUpdateB)
  ON_UPDATE_COMMAND_UI(ID_TEST_CMD_C, OnUpdateC)
END_MESSAGE_MAP()

void BarTest::SetUp() {
  ToolkitTest::SetUp();
  plat::clock::UseVirtual(true);
  frame = new CBarTestFrame;  // deletes itself with its window
  ASSERT_TRUE(frame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 80, 740, 560)));
  app.m_pMainWnd = frame;
  ASSERT_TRUE(view.CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame,
                            AFX_IDW_PANE_FIRST));
  // The frame shows prompts in its own windows only (a permanent window object).
  ASSERT_TRUE(statusWnd.Create("", WS_CHILD, CRect(0, 0, 10, 10), frame, AFX_IDW_STATUS_BAR));
  status = statusWnd.m_hWnd;
  frame->EnableDocking(CBRS_ALIGN_ANY);
  frame->SetActiveWindow();
  Settle();
}

void BarTest::TearDown() {
  // Not the main window any more: its end must not post the quit that would stop the
  // next test's message handling.
  app.m_pMainWnd = nullptr;
  if (frame && frame->m_hWnd) frame->DestroyWindow();
  Settle();
  MSG quit;
  ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // a test that ended its main window
  plat::clock::UseVirtual(false);
  ToolkitTest::TearDown();
}

void BarTest::Settle() { testenv::SettleWindows(); }

void BarTest::Idle() {
  Settle();
  app.OnIdle(0);
  Settle();
}

void BarTest::Elapse(int milliseconds) {
  plat::clock::Advance(static_cast<int64_t>(milliseconds) * 1000);
  Settle();
}

std::string BarTest::StatusText() const {
  char text[256] = {};
  ::GetWindowTextA(status, text, sizeof text);
  return text;
}

COLORREF BarTest::ScreenPixel(CPoint screen) {
  HDC dc = ::GetDC(nullptr);
  COLORREF c = ::GetPixel(dc, screen.x, screen.y);
  ::ReleaseDC(nullptr, dc);
  return c;
}

CPoint BarTest::OnScreen(const CWnd& wnd, CPoint client) {
  wnd.ClientToScreen(&client);
  return client;
}

SECCustomToolBar* BarTest::MakeToolBar(UINT resource, DWORD exStyle, UINT id, DWORD style) {
  auto* bar = new SECCustomToolBar;
  bar->m_bAutoDelete = TRUE;  // goes with its window
  if (!bar->CreateEx(exStyle, frame, style, id, "Tools")) return nullptr;
  if (resource && !bar->LoadToolBar(resource)) {
    bar->DestroyWindow();
    return nullptr;
  }
  bar->EnableDocking(CBRS_ALIGN_ANY);
  frame->DockControlBar(bar);
  frame->RecalcLayout();
  Settle();
  return bar;
}

CRect BarTest::ButtonOnScreen(const SECCustomToolBar& bar, int index) {
  CRect r;
  bar.GetItemRect(index, &r);
  bar.ClientToScreen(&r);
  return r;
}

void BarTest::Screenshot(const std::string& name, CWnd* also) const {
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
  std::string path = (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
  CRect r;
  frame->GetWindowRect(&r);
  if (also) {
    also->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    CRect other;
    also->GetWindowRect(&other);
    r.UnionRect(&r, &other);
  }
  EXPECT_TRUE(plat::display::SavePng(path, &r)) << path;
}

CRect BarTest::ViewRect() const {
  CRect r;
  view.GetWindowRect(&r);
  frame->ScreenToClient(&r);
  return r;
}

}  // namespace toolkit_test
