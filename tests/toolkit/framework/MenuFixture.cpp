#include "MenuFixture.h"

#include <cstdlib>

#include "SettleWindows.h"
#include "Clock.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "controls/SECBmpMgr.h"
#include "display/Png.h"
#include "user/Driver.h"

namespace menu_test {

HINSTANCE TestModule() {
  static HMODULE module = plat::RegisterModule(plat::ModuleSpec{"MenuBarTest.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(module);
}

BEGIN_MESSAGE_MAP(TestFrame, SECFrameWnd)
  ON_COMMAND_RANGE(ID_MB_NEW, ID_MB_WIDE, OnCommandRange)
  ON_UPDATE_COMMAND_UI(ID_MB_SAVE, OnUpdateSave)
  ON_UPDATE_COMMAND_UI(ID_MB_OPEN, OnUpdateOpen)
  ON_UPDATE_COMMAND_UI(ID_MB_GRID, OnUpdateGrid)
  ON_UPDATE_COMMAND_UI(ID_MB_RULER, OnUpdateRuler)
  ON_WM_INITMENUPOPUP()
  ON_WM_ENTERIDLE()
  ON_WM_MEASUREITEM()
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

void MenuScript::LogPopup(CMenu* pMenu, BOOL bSysMenu) {
  log.push_back(bSysMenu ? std::string("popup system") : "popup " + std::to_string(pMenu->GetMenuItemID(0)));
}

void MenuScript::OnMenuIdle(UINT nWhy) {
  if (nWhy != MSGF_MENU) return;
  // One step a wait; a menu left open with nothing to do is closed, so no test hangs.
  if (!script.empty() && ++idles < 100) {
    auto step = std::move(script.front());
    script.pop_front();
    step();
  } else {
    ++escapes;
    plat::user::driver::PressKey(VK_ESCAPE);
  }
}

void TestFrame::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu) {
  LogPopup(pMenu, bSysMenu);
  SECFrameWnd::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
}

void TestFrame::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  SECFrameWnd::OnEnterIdle(nWhy, pWho);
  OnMenuIdle(nWhy);
}

void TestFrame::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpmis) { log.push_back("measure " + std::to_string(lpmis->itemID)); }

void TestFrame::OnSysCommand(UINT nID, LPARAM lParam) {
  log.push_back("syscommand " + std::to_string(nID & 0xFFF0));
  if ((nID & 0xFFF0) == SC_CLOSE) return;  // the tests close their frames themselves
  SECFrameWnd::OnSysCommand(nID, lParam);
}

void MenuTest::SetUp() {
  savedResources = AfxGetResourceHandle();
  AfxSetResourceHandle(TestModule());
  plat::clock::UseVirtual(true);
}

void MenuTest::TearDown() {
  app.m_pMainWnd = nullptr;
  if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  Settle();
  MSG quit;
  ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  plat::clock::UseVirtual(false);
  AfxSetResourceHandle(savedResources);
}

void MenuTest::MakeFrame(bool bitmapMenus, bool menuBar) {
  frame = new TestFrame;  // deletes itself with its window
  if (bitmapMenus) frame->EnableBitmapMenus(TRUE);
  if (menuBar) {
    bar = new SECMenuBar;
    bar->m_bAutoDelete = TRUE;
    frame->EnableMenuBar(bar);
  }
  ASSERT_TRUE(frame->LoadFrame(IDR_MB_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
  app.m_pMainWnd = frame;
  frame->EnableDocking(CBRS_ALIGN_ANY);
  if (menuBar) {
    ASSERT_TRUE(bar->CreateEx(CBRS_EX_COOL, frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC,
                              SECMenuBar::kMenuBarID, "Menu"));
    bar->SetMenu(IDR_MB_FRAME, frame->GetMenuBarMenu(IDR_MB_FRAME));
    ASSERT_TRUE(bar->SwitchMenu(IDR_MB_FRAME));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar);
  }
  frame->SetWindowPos(nullptr, 60, 40, 520, 360, SWP_NOZORDER);
  frame->ShowWindow(SW_SHOW);
  frame->SetActiveWindow();
  frame->SetFocus();
  frame->RecalcLayout();
  Settle();
}

HMENU MenuTest::Popup(int pos) const {
  HMENU menu = bar ? frame->GetMenuBarMenu(IDR_MB_FRAME) : ::GetMenu(frame->m_hWnd);
  return ::GetSubMenu(menu, pos);
}

void MenuTest::AddToolbarImages(SECBmpMgr* mgr) const { mgr->AddToolBar(MAKEINTRESOURCEA(IDR_MB_TOOLBAR)); }

void MenuTest::Settle() { testenv::SettleWindows(); }

void MenuTest::Idle() {
  Settle();
  app.OnIdle(0);
  Settle();
}

void MenuTest::Screenshot(const std::string& name, const CRect& area) const {
  const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
  std::string path = (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
  EXPECT_TRUE(plat::display::SavePng(path, &area)) << path;
}

}  // namespace menu_test
