// Frames made from resources: title, menu and accelerators from one id; menu items
// updated by the command-update handlers when their popup opens; prompts of commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "afxwin.h"
#include "frame_ids.h"

namespace {

std::vector<std::string> g_ran;

HINSTANCE Resources() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"FrameRes.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(m);
}

class CMenuFrame : public CFrameWnd {
 public:
  BOOL zoomed = TRUE;

 protected:
  afx_msg void OnOpen() { g_ran.push_back("open"); }
  afx_msg void OnSave() { g_ran.push_back("save"); }
  afx_msg void OnZoom() { g_ran.push_back("zoom"); }
  afx_msg void OnSubFirst() {}
  afx_msg void OnUpdateSave(CCmdUI* ui) { ui->Enable(FALSE); }
  afx_msg void OnUpdateZoom(CCmdUI* ui) {
    ui->SetCheck(zoomed);
    ui->SetText(zoomed ? "Zoomed" : "Zoom");
  }
  afx_msg void OnUpdateSubFirst(CCmdUI* ui) { ui->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuFrame, CFrameWnd)
  ON_COMMAND(ID_OPEN, OnOpen)
  ON_COMMAND(ID_SAVE, OnSave)
  ON_COMMAND(ID_ZOOM, OnZoom)
  ON_COMMAND(ID_SUB_FIRST, OnSubFirst)
  ON_UPDATE_COMMAND_UI(ID_SAVE, OnUpdateSave)
  ON_UPDATE_COMMAND_UI(ID_ZOOM, OnUpdateZoom)
  ON_UPDATE_COMMAND_UI(ID_SUB_FIRST, OnUpdateSubFirst)
END_MESSAGE_MAP()

class MenuFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ran.clear();
    AfxSetResourceHandle(Resources());
    frame = new CMenuFrame;  // deletes itself with its window
    ASSERT_TRUE(frame->LoadFrame(IDR_FRAME, WS_OVERLAPPEDWINDOW));
  }
  void TearDown() override {
    if (::IsWindow(hwnd())) frame->DestroyWindow();
    AfxSetResourceHandle(nullptr);
  }
  HWND hwnd() const { return frame->m_hWnd; }
  CMenuFrame* frame = nullptr;
};

TEST_F(MenuFrame, LoadFrameTakesTitleMenuAndAcceleratorsFromTheResource) {
  CString title;
  frame->GetWindowText(title);
  EXPECT_EQ(title, "顕微鏡");
  ASSERT_NE(frame->GetMenu(), nullptr);
  EXPECT_EQ(frame->GetMenu()->GetMenuItemCount(), 1u);
  EXPECT_NE(frame->m_hAccelTable, nullptr);
  CRect rect;
  frame->GetWindowRect(&rect);
  EXPECT_GT(rect.Width(), 100);  // the default placement, not an empty window
  EXPECT_GT(rect.Height(), 100);
  MSG msg{hwnd(), WM_KEYDOWN, VK_F5, 0, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&msg));
  EXPECT_EQ(g_ran, (std::vector<std::string>{"zoom"}));
}

TEST_F(MenuFrame, MissingResourceFailsTheFrame) {
  auto* other = new CMenuFrame;  // deleted by the framework when creation fails
  EXPECT_FALSE(other->Create(nullptr, "x", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, MAKEINTRESOURCEA(999)));
}

TEST_F(MenuFrame, OpeningAPopupUpdatesItsItems) {
  CMenu* file = frame->GetMenu()->GetSubMenu(0);
  ASSERT_NE(file, nullptr);
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->m_hMenu), 0);
  struct Case {
    UINT id;
    UINT expected;  // state bits that must be set
    UINT absent;    // state bits that must be clear
  };
  const Case cases[] = {
      {ID_OPEN, 0, MF_GRAYED | MF_CHECKED},     // a handler, no update: enabled
      {ID_SAVE, MF_GRAYED, 0},                  // its update handler disables it
      {ID_ZOOM, MF_CHECKED, MF_GRAYED},         // checked by its handler
      {ID_NOHANDLER, MF_GRAYED, 0},             // no handler at all
  };
  for (const Case& c : cases) {
    UINT state = file->GetMenuState(c.id, MF_BYCOMMAND);
    EXPECT_EQ(state & c.expected, c.expected) << c.id;
    EXPECT_EQ(state & c.absent, 0u) << c.id;
  }
  CString text;
  file->GetMenuString(ID_ZOOM, text, MF_BYCOMMAND);
  EXPECT_EQ(text, "Zoomed");
  // A popup item is never disabled by its first command's handler.
  EXPECT_EQ(file->GetMenuState(5, MF_BYPOSITION) & MF_GRAYED, 0u);

  frame->zoomed = FALSE;
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->m_hMenu), 0);
  EXPECT_EQ(file->GetMenuState(ID_ZOOM, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(MenuFrame, CommandPromptIsTheStringBeforeItsTip) {
  CString prompt;
  frame->GetMessageString(ID_OPEN, prompt);
  EXPECT_EQ(prompt, "Opens a picture");
  frame->GetMessageString(ID_SAVE, prompt);  // no string: no prompt
  EXPECT_EQ(prompt, "");
}

TEST_F(MenuFrame, MessageBoxesTakeTheirTextFromTheResource) {
  static std::string seen;
  plat::afx::SetMessageBoxHook([](HWND, LPCSTR text, LPCSTR, UINT) -> int {
    seen = text;
    return IDNO;
  });
  EXPECT_EQ(AfxMessageBox(IDS_PROMPT, MB_YESNO), IDNO);
  EXPECT_EQ(seen, "Really?");
  plat::afx::SetMessageBoxHook(nullptr);
}

}  // namespace
