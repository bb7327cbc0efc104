// What the menu bar and bitmap menu tests share: a library frame made from a menu
// resource (with bitmap menus or a menu bar), command handlers that record what ran,
// update handlers that disable, check and dot items, and a script the frame runs each
// time an open menu waits for input, so a test can look and press keys inside it.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <afxext.h>

#include "framework/SECFrameWnd.h"
#include "framework/SECMenuBar.h"
#include "menu_test_ids.h"

namespace menu_test {

HINSTANCE TestModule();

// What a test frame records and runs while its menus are open; both the single-document
// and the MDI test frames carry it.
struct MenuScript {
  std::vector<std::string> log;  // "command N", "popup N" (the popup's first id), "measure N"
  std::deque<std::function<void()>> script;
  int idles = 0;
  int escapes = 0;  // menus the fixture had to close

  void LogPopup(CMenu* pMenu, BOOL bSysMenu);
  // One step of the script each time an open menu waits; Escape when there is none left.
  void OnMenuIdle(UINT nWhy);
};

class TestFrame : public SECFrameWnd, public MenuScript {
 public:
  BOOL saveEnabled = FALSE;
  BOOL renameOpen = FALSE;  // the update handler of "Open" changes its text
  CFrameWnd* activeChild = nullptr;  // stands for an active MDI child

  CFrameWnd* GetActiveFrame() override { return activeChild ? activeChild : this; }

 protected:
  afx_msg void OnCommandRange(UINT nID) { log.push_back("command " + std::to_string(nID)); }
  afx_msg void OnUpdateSave(CCmdUI* ui) { ui->Enable(saveEnabled); }
  afx_msg void OnUpdateOpen(CCmdUI* ui) {
    if (renameOpen) ui->SetText("&Open Again");
  }
  afx_msg void OnUpdateGrid(CCmdUI* ui) { ui->SetRadio(TRUE); }
  afx_msg void OnUpdateRuler(CCmdUI* ui) { ui->SetCheck(1); }
  afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpmis);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class MenuTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A frame from IDR_MB_FRAME; `menuBar` puts a menu bar (made and docked on top) in
  // place of the window menu.
  void MakeFrame(bool bitmapMenus, bool menuBar);
  void Settle();
  void Idle();
  void Screenshot(const std::string& name, const CRect& area) const;
  // The popup of the frame's menu at `pos` (the menu bar's menu in menu-bar mode).
  HMENU Popup(int pos) const;
  // The tests' own toolbar images, registered with a bitmap manager.
  void AddToolbarImages(class SECBmpMgr* mgr) const;

  CWinApp app{"MenuBarTest"};
  TestFrame* frame = nullptr;
  SECMenuBar* bar = nullptr;
  HINSTANCE savedResources = nullptr;
};

}  // namespace menu_test
