// The application: command routing through frame, view, document and application;
// command-update handlers on idle; the message loop with worker threads; the
// profile; a single-document start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "afxwin.h"

namespace {

std::vector<std::string> g_handled;

constexpr UINT ID_ONLY_VIEW = 1001, ID_ONLY_DOC = 1002, ID_ONLY_FRAME = 1003, ID_ONLY_APP = 1004, ID_VIEW_AND_DOC = 1005,
               ID_DOC_AND_APP = 1006, ID_NOBODY = 1007, ID_DISABLED = 1008, ID_CHECKED = 1009;
constexpr UINT WM_WORKER_DONE = WM_APP + 7;

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
 protected:
  afx_msg void OnOnlyDoc() { g_handled.push_back("doc"); }
  afx_msg void OnViewAndDoc() { g_handled.push_back("doc"); }
  afx_msg void OnDocAndApp() { g_handled.push_back("doc"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND(ID_ONLY_DOC, OnOnlyDoc)
  ON_COMMAND(ID_VIEW_AND_DOC, OnViewAndDoc)
  ON_COMMAND(ID_DOC_AND_APP, OnDocAndApp)
END_MESSAGE_MAP()

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)
 public:
  void OnDraw(CDC*) override {}
  int initialUpdates = 0;
  void OnInitialUpdate() override { ++initialUpdates; }
  void OnUpdate(CView* pSender, LPARAM lHint, CObject*) override {
    updates.push_back(lHint);
    lastSender = pSender;
  }
  std::vector<LPARAM> updates;
  CView* lastSender = nullptr;

 protected:
  afx_msg void OnOnlyView() { g_handled.push_back("view"); }
  afx_msg void OnViewAndDoc() { g_handled.push_back("view"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
  ON_COMMAND(ID_ONLY_VIEW, OnOnlyView)
  ON_COMMAND(ID_VIEW_AND_DOC, OnViewAndDoc)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)
 public:
  BOOL disabled = TRUE;
  std::atomic<int> workersDone{0};

 protected:
  afx_msg void OnOnlyFrame() { g_handled.push_back("frame"); }
  afx_msg void OnDisabled() { g_handled.push_back("disabled ran"); }
  afx_msg void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(!disabled); }
  afx_msg void OnUpdateChecked(CCmdUI* ui) {
    ui->SetCheck(1);
    ui->SetText("checked");
  }
  afx_msg LRESULT OnWorkerDone(WPARAM w, LPARAM) {
    g_handled.push_back("worker " + std::to_string(w));
    if (++workersDone == 3) DestroyWindow();  // the main window going ends the loop
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
  ON_COMMAND(ID_ONLY_FRAME, OnOnlyFrame)
  ON_COMMAND(ID_DISABLED, OnDisabled)
  ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
  ON_UPDATE_COMMAND_UI(ID_CHECKED, OnUpdateChecked)
  ON_MESSAGE(WM_WORKER_DONE, OnWorkerDone)
END_MESSAGE_MAP()

// A bar-like child that asks its frame for its items' state when the thread is idle.
class CItemBar : public CWnd {
 public:
  CWnd items[3];
  UINT ids[3] = {ID_DISABLED, ID_CHECKED, ID_NOBODY};

 protected:
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    for (int i = 0; i < 3; ++i) {
      CCmdUI ui;
      ui.m_nID = ids[i];
      ui.m_pOther = &items[i];
      ui.DoUpdate(GetParentFrame(), TRUE);
    }
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CItemBar, CWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Test") {}
  int idleCalls = 0;
  HANDLE idled = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);  // set once the loop first idles
  ~CTestApp() override { ::CloseHandle(idled); }
  BOOL OnIdle(LONG lCount) override {
    ++idleCalls;
    ::SetEvent(idled);
    return CWinApp::OnIdle(lCount);
  }

 protected:
  afx_msg void OnOnlyApp() { g_handled.push_back("app"); }
  afx_msg void OnDocAndApp() { g_handled.push_back("app"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_ONLY_APP, OnOnlyApp)
  ON_COMMAND(ID_DOC_AND_APP, OnDocAndApp)
END_MESSAGE_MAP()

class AppFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    g_handled.clear();
    app.SetStartupInfo(nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    app.AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                              RUNTIME_CLASS(CTestView)));
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    ASSERT_TRUE(app.ProcessShellCommand(info));
    frame = static_cast<CTestFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
  }
  void TearDown() override {
    if (app.m_pMainWnd) app.m_pMainWnd->DestroyWindow();
  }
  CTestApp app;
  CTestFrame* frame = nullptr;
};

TEST_F(AppFrame, ShellCommandMakesDocumentFrameAndActiveView) {
  auto* view = static_cast<CTestView*>(frame->GetActiveView());
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CTestView)));
  CDocument* doc = frame->GetActiveDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(doc->IsKindOf(RUNTIME_CLASS(CTestDoc)));
  EXPECT_EQ(view->GetDocument(), doc);
  EXPECT_EQ(view->initialUpdates, 1);
  EXPECT_TRUE(frame->IsWindowVisible());
  EXPECT_EQ(view->GetParentFrame(), frame);
  // The view fills the client area.
  CRect client, pane;
  frame->GetClientRect(&client);
  view->GetWindowRect(&pane);
  frame->ScreenToClient(&pane);
  EXPECT_EQ(pane, client);
}

// Hidden views made with an id belong to the document as the frame's view does.
TEST_F(AppFrame, DocumentUpdatesItsOtherViewsAndForgetsDestroyedOnes) {
  auto* shown = static_cast<CTestView*>(frame->GetActiveView());
  CDocument* doc = frame->GetActiveDocument();
  CCreateContext context;
  context.m_pCurrentDoc = doc;
  CTestView* hidden[2];
  for (int i = 0; i < 2; ++i) {
    hidden[i] = new CTestView;  // deletes itself with its window
    ASSERT_TRUE(hidden[i]->Create(nullptr, "", WS_CHILD, CRect(0, 0, 1, 1), frame, 300 + i, &context));
    EXPECT_EQ(hidden[i]->GetDocument(), doc);
  }
  std::vector<CView*> order;
  for (POSITION pos = doc->GetFirstViewPosition(); pos;) order.push_back(doc->GetNextView(pos));
  EXPECT_EQ(order, (std::vector<CView*>{shown, hidden[0], hidden[1]}));

  doc->UpdateAllViews(hidden[0], 7);
  EXPECT_EQ(shown->updates, (std::vector<LPARAM>{7}));
  EXPECT_EQ(shown->lastSender, hidden[0]);
  EXPECT_TRUE(hidden[0]->updates.empty());  // the sender already knows
  EXPECT_EQ(hidden[1]->updates, (std::vector<LPARAM>{7}));

  hidden[0]->DestroyWindow();
  order.clear();
  for (POSITION pos = doc->GetFirstViewPosition(); pos;) order.push_back(doc->GetNextView(pos));
  EXPECT_EQ(order, (std::vector<CView*>{shown, hidden[1]}));
  doc->UpdateAllViews(nullptr, 8);
  EXPECT_EQ(hidden[1]->updates, (std::vector<LPARAM>{7, 8}));
}

TEST_F(AppFrame, WaitCursorNestsAndGivesTheCursorBack) {
  HCURSOR arrow = app.LoadStandardCursor(IDC_ARROW), wait = app.LoadStandardCursor(IDC_WAIT);
  ASSERT_NE(wait, nullptr);
  ASSERT_NE(wait, arrow);
  ::SetCursor(arrow);
  frame->BeginWaitCursor();
  EXPECT_EQ(::GetCursor(), wait);
  frame->BeginWaitCursor();  // a nested wait
  frame->EndWaitCursor();
  EXPECT_EQ(::GetCursor(), wait);
  ::SetCursor(arrow);  // as a message box would leave it
  frame->RestoreWaitCursor();
  EXPECT_EQ(::GetCursor(), wait);
  frame->EndWaitCursor();
  EXPECT_EQ(::GetCursor(), arrow);
}

TEST_F(AppFrame, CommandsRouteViewDocumentFrameApplication) {
  struct Case {
    UINT id;
    const char* first;
  };
  const Case cases[] = {{ID_ONLY_VIEW, "view"},    {ID_ONLY_DOC, "doc"},      {ID_ONLY_FRAME, "frame"},
                        {ID_ONLY_APP, "app"},      {ID_VIEW_AND_DOC, "view"}, {ID_DOC_AND_APP, "doc"},
                        {ID_NOBODY, nullptr}};
  for (const Case& c : cases) {
    g_handled.clear();
    frame->SendMessage(WM_COMMAND, c.id, 0);
    if (c.first) {
      ASSERT_EQ(g_handled.size(), 1u) << c.id;
      EXPECT_EQ(g_handled[0], c.first) << c.id;
    } else {
      EXPECT_TRUE(g_handled.empty());
    }
  }
}

TEST_F(AppFrame, DisabledCommandIsNotCarriedOut) {
  frame->SendMessage(WM_COMMAND, ID_DISABLED, 0);
  EXPECT_TRUE(g_handled.empty());
  frame->disabled = FALSE;
  frame->SendMessage(WM_COMMAND, ID_DISABLED, 0);
  EXPECT_EQ(g_handled, (std::vector<std::string>{"disabled ran"}));
}

TEST_F(AppFrame, IdleTimeUpdatesBarItemsAndDisablesThoseWithoutHandler) {
  auto* bar = new CItemBar;  // a child of the frame: destroyed with it, deleted here after
  std::unique_ptr<CItemBar> owner(bar);
  ASSERT_TRUE(bar->Create(nullptr, "bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), frame, 0xE810));
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(bar->items[i].Create(nullptr, "item", WS_CHILD | WS_VISIBLE, CRect(i * 20, 0, i * 20 + 20, 20), bar, 10 + i));
  app.OnIdle(0);
  EXPECT_FALSE(bar->items[0].IsWindowEnabled());  // its handler disables it
  CString text;
  bar->items[1].GetWindowText(text);
  EXPECT_EQ(text, "checked");
  // Its update handler leaves the state alone and no command handler exists: disabled.
  EXPECT_FALSE(bar->items[1].IsWindowEnabled());
  EXPECT_FALSE(bar->items[2].IsWindowEnabled());  // no handler anywhere
  frame->disabled = FALSE;
  app.OnIdle(0);
  EXPECT_TRUE(bar->items[0].IsWindowEnabled());
  bar->DestroyWindow();
}

TEST_F(AppFrame, DelayedLayoutHappensOnIdle) {
  CWnd* view = frame->GetActiveView();
  frame->m_rectBorder = CRect(0, 10, 0, 0);  // room at the top, as a bar would take
  frame->DelayRecalcLayout();
  CRect before;
  view->GetWindowRect(&before);
  frame->ScreenToClient(&before);
  EXPECT_EQ(before.top, 0);
  app.OnIdle(0);
  CRect after;
  view->GetWindowRect(&after);
  frame->ScreenToClient(&after);
  EXPECT_EQ(after.top, 10);
}

TEST_F(AppFrame, WorkerThreadsPostToTheLoopWhichEndsWithTheMainWindow) {
  static HWND target;
  static HANDLE idled;
  target = frame->m_hWnd;
  idled = app.idled;
  for (int i = 1; i <= 3; ++i) {
    CWinThread* t = AfxBeginThread(
        [](LPVOID p) -> UINT {
          ::WaitForSingleObject(idled, INFINITE);  // the loop is running and idle
          ::PostMessageA(target, WM_WORKER_DONE, reinterpret_cast<WPARAM>(p), 0);
          return 0;
        },
        reinterpret_cast<LPVOID>(static_cast<INT_PTR>(i)));
    ASSERT_NE(t, nullptr);
  }
  int code = app.Run();
  EXPECT_EQ(code, 0);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  std::sort(g_handled.begin(), g_handled.end());
  EXPECT_EQ(g_handled, (std::vector<std::string>{"worker 1", "worker 2", "worker 3"}));
  EXPECT_GT(app.idleCalls, 0);
}

TEST_F(AppFrame, ClosingTheMainFrameClosesTheDocument) {
  HWND h = frame->m_hWnd;
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  POSITION pos = app.GetFirstDocTemplatePosition();
  CDocTemplate* t = app.GetNextDocTemplate(pos);
  EXPECT_EQ(t->GetFirstDocPosition(), nullptr);
}

TEST_F(AppFrame, TheExitCommandClosesTheMainFrame) {
  HWND h = frame->m_hWnd;
  frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(AppProfile, ValuesRoundTripInTheIniBesideTheProgram) {
  CTestApp app;
  app.SetStartupInfo(nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  CString ini = app.m_pszProfileName;
  CString ext = ini.Right(4);
  ext.MakeUpper();
  EXPECT_EQ(ext, ".INI");
  EXPECT_EQ(ini.Find("C:\\"), 0);
  EXPECT_TRUE(app.WriteProfileInt("S", "n", -12));
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("S", "n", 0)), -12);
  EXPECT_TRUE(app.WriteProfileString("S", "t", "テキスト"));
  EXPECT_EQ(app.GetProfileString("S", "t"), "テキスト");
  EXPECT_EQ(app.GetProfileString("S", "missing", "dflt"), "dflt");
  BYTE data[] = {0x00, 0x7F, 0xA5, 0xFF};
  EXPECT_TRUE(app.WriteProfileBinary("S", "b", data, sizeof data));
  LPBYTE read = nullptr;
  UINT n = 0;
  ASSERT_TRUE(app.GetProfileBinary("S", "b", &read, &n));
  std::unique_ptr<BYTE[]> owned(read);
  ASSERT_EQ(n, 4u);
  EXPECT_EQ(std::vector<BYTE>(read, read + n), std::vector<BYTE>(data, data + 4));
}

TEST(AppProfile, DamagedBinaryValuesReadAsNothing) {
  CTestApp app;
  app.SetStartupInfo(nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  for (const char* bad : {"ABC", "AZ", "ab", ""}) {
    app.WriteProfileString("S", "b", bad);
    LPBYTE read = reinterpret_cast<LPBYTE>(1);
    UINT n = 99;
    EXPECT_FALSE(app.GetProfileBinary("S", "b", &read, &n)) << bad;
    EXPECT_EQ(read, nullptr);
    EXPECT_EQ(n, 0u);
  }
}

TEST(AppCommandLine, ArgumentsFillTheCommandLineInfo) {
  struct Case {
    const char* line;
    int command;
    const char* file;
  };
  const Case cases[] = {{"", CCommandLineInfo::FileNew, ""},
                        {"pic.vex", CCommandLineInfo::FileOpen, "pic.vex"},
                        {"\"C:\\My Pictures\\a b.vex\"", CCommandLineInfo::FileOpen, "C:\\My Pictures\\a b.vex"},
                        {"/p file.vex", CCommandLineInfo::FilePrint, "file.vex"}};
  for (const Case& c : cases) {
    CTestApp app;
    app.SetStartupInfo(nullptr, const_cast<LPSTR>(c.line), SW_SHOWNORMAL);
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, c.command) << c.line;
    EXPECT_EQ(info.m_strFileName, c.file) << c.line;
  }
}

}  // namespace
