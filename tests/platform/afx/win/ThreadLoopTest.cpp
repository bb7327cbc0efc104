// User-interface threads, the pre-translation chain, modal state and the program's
// entry run in-process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"

namespace {

constexpr UINT WM_PING = WM_APP + 20;

class CPingThread : public CWinThread {
  DECLARE_DYNCREATE(CPingThread)
 public:
  static inline std::vector<std::string> seen;
  BOOL InitInstance() override {
    PostThreadMessage(WM_PING, 5, 0);
    return TRUE;
  }
  int ExitInstance() override {
    seen.push_back("exit");
    return 17;
  }

 protected:
  afx_msg void OnPing(WPARAM w, LPARAM) {
    seen.push_back("ping " + std::to_string(w));
    ::PostQuitMessage(0);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPingThread, CWinThread)
BEGIN_MESSAGE_MAP(CPingThread, CWinThread)
  ON_THREAD_MESSAGE(WM_PING, OnPing)
END_MESSAGE_MAP()

TEST(UiThread, RunsItsOwnLoopAndDispatchesThreadMessages) {
  CPingThread::seen.clear();
  CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CPingThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;  // kept to read its exit code
  std::unique_ptr<CWinThread> owned(thread);
  thread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, 17u);
  EXPECT_EQ(CPingThread::seen, (std::vector<std::string>{"ping 5", "exit"}));
}

TEST(UiThread, ClassesThatAreNoThreadsAreRefused) {
  EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWnd)), nullptr);
}

std::vector<std::string> g_walk;

class CFilterWnd : public CWnd {
 public:
  explicit CFilterWnd(const char* name, bool eat = false) : name_(name), eat_(eat) {}
  BOOL PreTranslateMessage(MSG*) override {
    g_walk.push_back(name_);
    return eat_;
  }

 private:
  const char* name_;
  bool eat_;
};

class CLoopApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    auto* frame = new CFrameWnd;  // deletes itself with its window
    if (!frame->Create(nullptr, "main")) return FALSE;
    m_pMainWnd = frame;
    frame->PostMessage(WM_CLOSE);
    return TRUE;
  }
  int ExitInstance() override { return 3; }
};

TEST(PreTranslate, WalksFromTheWindowThroughItsParentsThenTheMainWindow) {
  CWinApp app("t");
  CFilterWnd main("main"), child("child"), grandchild("grandchild"), popup("popup");
  ASSERT_TRUE(main.CreateEx(0, nullptr, "m", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
  ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &main, 1));
  ASSERT_TRUE(grandchild.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 5, 5), &child, 2));
  ASSERT_TRUE(popup.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  app.m_pMainWnd = &main;
  MSG msg{grandchild.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {}};
  EXPECT_FALSE(app.PreTranslateMessage(&msg));
  EXPECT_EQ(g_walk, (std::vector<std::string>{"grandchild", "child", "main"}));
  g_walk.clear();
  msg.hwnd = popup.m_hWnd;  // outside the main window's tree: the main window still gets a turn
  EXPECT_FALSE(app.PreTranslateMessage(&msg));
  EXPECT_EQ(g_walk, (std::vector<std::string>{"popup", "main"}));
  app.m_pMainWnd = nullptr;
}

TEST(ModalState, DisablesTheFramesWindowsAndRestoresThem) {
  auto* frame = new CFrameWnd;  // deletes itself with its window
  ASSERT_TRUE(frame->Create(nullptr, "f", WS_OVERLAPPEDWINDOW));
  CWnd owned, other;
  ASSERT_TRUE(owned.CreateEx(0, nullptr, "o", WS_POPUP, 0, 0, 10, 10, frame->m_hWnd, nullptr));
  ASSERT_TRUE(other.CreateEx(0, nullptr, "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  frame->BeginModalState();
  frame->BeginModalState();  // nests
  EXPECT_FALSE(frame->IsWindowEnabled());
  EXPECT_FALSE(owned.IsWindowEnabled());
  EXPECT_TRUE(other.IsWindowEnabled());
  frame->EndModalState();
  EXPECT_FALSE(frame->IsWindowEnabled());
  frame->EndModalState();
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_TRUE(owned.IsWindowEnabled());
  owned.DestroyWindow();
  frame->DestroyWindow();
}

TEST(WinMain, RunsTheApplicationObjectInProcess) {
  CLoopApp app;
  EXPECT_EQ(AfxWinMain(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL), 3);
  EXPECT_EQ(app.m_pMainWnd, nullptr);  // closed by the message it posted itself
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_STREQ(app.m_pszExeName, "Lumora");
}

}  // namespace
