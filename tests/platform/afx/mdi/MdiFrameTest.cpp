// The framework's MDI frames: documents of a multi-document template in child frames
// with the template's shared menu and accelerators, numbered frames of one document,
// titles, help and border space.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "afxwin.h"
#include "mdi_ids.h"
#include "user/Driver.h"

namespace {

std::vector<std::string> g_log;

HINSTANCE Resources() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"MdiRes.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(m);
}

class CPictureDoc : public CDocument {
  DECLARE_DYNCREATE(CPictureDoc)
 protected:
  afx_msg void OnPictureOnly() { g_log.push_back("picture only: " + std::string(GetTitle())); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPictureDoc, CDocument)
BEGIN_MESSAGE_MAP(CPictureDoc, CDocument)
  ON_COMMAND(ID_PICTURE_ONLY, OnPictureOnly)
END_MESSAGE_MAP()

class CPictureView : public CView {
  DECLARE_DYNCREATE(CPictureView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPictureView, CView)

class CViewerFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CViewerFrame)
 protected:
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID) {
    g_log.push_back(std::string("activate app ") + (bActive ? "on " : "off ") + std::to_string(dwThreadID));
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CViewerFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(CViewerFrame, CMDIFrameWnd)
  ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

std::string TextOf(HWND h) {
  char text[128] = {};
  ::GetWindowTextA(h, text, sizeof text);
  return text;
}

class MdiFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    saved = AfxGetResourceHandle();
    AfxSetResourceHandle(Resources());
    tmpl = new CMultiDocTemplate(IDR_PICTURE, RUNTIME_CLASS(CPictureDoc), RUNTIME_CLASS(CMDIChildWnd),
                                 RUNTIME_CLASS(CPictureView));
    app.AddDocTemplate(tmpl);
    frame = new CViewerFrame;  // deletes itself with its window
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->SetActiveWindow();
    Settle();
  }
  void TearDown() override {
    if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
    Settle();
    AfxSetResourceHandle(saved);
  }
  void Settle() { plat::user::driver::WaitIdle(); }
  std::string Title() const { return TextOf(frame->m_hWnd); }
  std::vector<std::string> WindowList() const {
    std::vector<std::string> out;
    HMENU popup = frame->GetWindowMenuPopup(::GetMenu(frame->m_hWnd));
    for (int i = 0, n = popup ? ::GetMenuItemCount(popup) : 0; i < n; ++i) {
      UINT id = ::GetMenuItemID(popup, i);
      if (id < AFX_IDM_FIRST_MDICHILD) continue;
      char text[64] = {};
      ::GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      bool checked = ::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
      out.push_back(std::string(text) + (checked ? " *" : ""));
    }
    return out;
  }

  CWinApp app{"MdiFrameTest"};
  CMultiDocTemplate* tmpl = nullptr;  // the application's
  CViewerFrame* frame = nullptr;
  HINSTANCE saved = nullptr;
};

TEST_F(MdiFrame, DocumentsOfATemplateShareItsMenuAndAccelerators) {
  ASSERT_NE(tmpl->m_hMenuShared, nullptr);
  ASSERT_NE(tmpl->m_hAccelTable, nullptr);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), frame->m_hMenuDefault);
  EXPECT_EQ(Title(), "Viewer");

  app.OnFileNew();
  app.OnFileNew();
  Settle();
  std::vector<std::string> titles;
  for (POSITION pos = tmpl->GetFirstDocPosition(); pos;) titles.push_back(std::string(tmpl->GetNextDoc(pos)->GetTitle()));
  EXPECT_EQ(titles, (std::vector<std::string>{"Picture1", "Picture2"}));
  CMDIChildWnd* active = frame->MDIGetActive();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active->m_hMenuShared, tmpl->m_hMenuShared);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), tmpl->m_hMenuShared);
  EXPECT_EQ(TextOf(active->m_hWnd), "Picture2");
  EXPECT_EQ(Title(), "Viewer - Picture2");
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"&1 Picture1", "&2 Picture2 *"}));

  // The shared accelerators reach the active document.
  MSG key{active->m_hWnd, WM_KEYDOWN, VK_F7, 0, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&key));
  EXPECT_EQ(g_log, (std::vector<std::string>{"picture only: Picture2"}));

  // Maximised, the child's title joins the frame's in brackets.
  frame->MDIMaximize(active);
  frame->OnUpdateFrameTitle(TRUE);
  EXPECT_EQ(Title(), "Viewer - [Picture2]");

  // With the last document gone the frame's own menu comes back.
  app.CloseAllDocuments(FALSE);
  Settle();
  EXPECT_EQ(frame->MDIGetActive(), nullptr);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), frame->m_hMenuDefault);
  EXPECT_EQ(::GetMenuItemCount(frame->m_hMenuDefault), 1);
}

TEST_F(MdiFrame, MaximisingOrRestoringAChildRetitlesTheFrame) {
  app.OnFileNew();
  Settle();
  CMDIChildWnd* active = frame->MDIGetActive();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(Title(), "Viewer - Picture1");
  // The frame's own title drops the document while the child shows it in brackets.
  frame->MDIMaximize(active);
  Settle();
  EXPECT_EQ(Title(), "Viewer - [Picture1]");
  frame->MDIRestore(active);
  Settle();
  EXPECT_EQ(Title(), "Viewer - Picture1");
}

TEST_F(MdiFrame, ASecondFrameOfOneDocumentNumbersBoth) {
  app.OnFileNew();
  Settle();
  CMDIChildWnd* first = frame->MDIGetActive();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(TextOf(first->m_hWnd), "Picture1");
  frame->SendMessage(WM_COMMAND, ID_WINDOW_NEW);
  Settle();
  CMDIChildWnd* second = frame->MDIGetActive();
  ASSERT_NE(second, first);
  EXPECT_EQ(second->GetActiveDocument(), first->GetActiveDocument());
  EXPECT_EQ(TextOf(first->m_hWnd), "Picture1:1");
  EXPECT_EQ(TextOf(second->m_hWnd), "Picture1:2");
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"&1 Picture1:1", "&2 Picture1:2 *"}));
  // One frame left: no number.
  second->SendMessage(WM_CLOSE);
  Settle();
  EXPECT_EQ(TextOf(first->m_hWnd), "Picture1");
  EXPECT_EQ(frame->MDIGetActive(), first);
}

TEST_F(MdiFrame, HelpAndActivationMessagesReachTheirHandlers) {
  const size_t before = app.HelpRequests().size();
  frame->SendMessage(WM_COMMANDHELP, 0, 0);
  ASSERT_EQ(app.HelpRequests().size(), before + 1);
  EXPECT_EQ(app.HelpRequests().back().data, static_cast<DWORD_PTR>(HID_BASE_RESOURCE + IDR_MAINFRAME));
  EXPECT_EQ(app.HelpRequests().back().command, static_cast<UINT>(HELP_CONTEXT));
  frame->SendMessage(WM_ACTIVATEAPP, TRUE, 7);
  EXPECT_EQ(g_log, (std::vector<std::string>{"activate app on 7"}));
}

TEST_F(MdiFrame, BorderSpaceTakenMovesTheClientAndCanBeGivenBack) {
  CRect before;
  ::GetWindowRect(frame->m_hWndMDIClient, &before);
  CRect room;
  EXPECT_TRUE(frame->NegotiateBorderSpace(CFrameWnd::borderGet, &room));
  EXPECT_EQ(room.Width(), before.Width());
  CRect border(0, 12, 0, 0);
  EXPECT_TRUE(frame->NegotiateBorderSpace(CFrameWnd::borderRequest, &border));
  EXPECT_TRUE(frame->NegotiateBorderSpace(CFrameWnd::borderSet, &border));
  CRect after;
  ::GetWindowRect(frame->m_hWndMDIClient, &after);
  EXPECT_EQ(after.top, before.top + 12);
  EXPECT_TRUE(frame->NegotiateBorderSpace(CFrameWnd::borderSet, nullptr));
  ::GetWindowRect(frame->m_hWndMDIClient, &after);
  EXPECT_EQ(after.top, before.top);
}

}  // namespace
