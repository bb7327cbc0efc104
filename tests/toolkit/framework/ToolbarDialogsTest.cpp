// The toolbar dialogs driven as a user would, through the test responder, on a frame
// with a toolbar manager, its standard toolbar, a second built-in toolbar, a menu bar and
// a floating user toolbar: the list and what it shows, showing and hiding, renaming,
// reset and delete, new toolbars, the frame-wide settings, the page's broadcast, the
// "New Toolbar" name; and screenshots of the three windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <afxdlgs.h>
#include <afxext.h>

#include "Clock.h"
#include "DialogDriver.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "controls/SECResourceIds.h"
#include "controls/SECToolBarManager.h"
#include "display/Png.h"
#include "framework/SECMenuBar.h"
#include "framework/SECNewToolBar.h"
#include "framework/SECToolbarListDialog.h"
#include "framework/SECToolbarListHandler.h"
#include "framework/SECToolbarListPage.h"
#include "toolbar_dialogs_ids.h"
#include "user/Driver.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;
namespace drv = plat::user::driver;
namespace dd = dialogdriver;

HINSTANCE TestModule() {
  static HMODULE module = plat::RegisterModule(plat::ModuleSpec{"ToolbarDialogs.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(module);
}

// A menu bar that counts its resets.
class CountingMenuBar : public SECMenuBar {
 public:
  int resets = 0;
  void ResetMenus() override { ++resets; }
};

// A page of the customise sheet that keeps what the toolbar page tells it.
class ListeningPage : public CPropertyPage {
 public:
  ListeningPage() : CPropertyPage(IDD_TD_OTHER_PAGE) {}
  std::vector<WPARAM> heard;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SECToolbarStyleChangingMessage()) heard.push_back(wParam);
    return CPropertyPage::WindowProc(message, wParam, lParam);
  }
};

constexpr UINT kStandard = AFX_IDW_TOOLBAR, kDrawing = 0xE806, kMine = 0xE820, kMenu = 0xE8FF;

class ToolbarDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    // The screenshots are drawn with the installed fonts when they are kept, from the first
    // window on (captions keep the font they were first drawn with).
    shots = std::getenv("LUMORA_DISPLAY_SHOTS") &&
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) == "Screenshots";
    if (shots) setenv("LUMORA_FONT", "", 1);
    responder::Reset();
    saved = AfxGetResourceHandle();
    AfxSetResourceHandle(TestModule());
    plat::clock::UseVirtual(true);
    frame = new CFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(frame->Create(nullptr, "Toolbars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 80, 740, 560)));
    app.m_pMainWnd = frame;
    ASSERT_TRUE(view.CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame,
                              AFX_IDW_PANE_FIRST));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    manager = std::make_unique<SECToolBarManager>(frame);
    menu = Docked(new CountingMenuBar, IDR_TD_MENU, kMenu, "Menu Bar");
    standard = Docked(new SECCustomToolBar, IDR_TD_STANDARD, kStandard, "Standard");
    drawing = Docked(new SECCustomToolBar, IDR_TD_DRAWING, kDrawing, "Drawing");
    ASSERT_TRUE(menu && standard && drawing);
    mine = manager->CreateUserToolBar("Mine");
    ASSERT_NE(mine, nullptr);
    mine->InsertButton(0, ID_TD_CMD_C);
    frame->FloatControlBar(mine, ViewCentre());
    Settle();
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;  // its end posts no quit to the next test
    if (frame && frame->m_hWnd) frame->DestroyWindow();
    Settle();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    manager.reset();
    plat::clock::UseVirtual(false);
    AfxSetResourceHandle(saved);
    responder::Reset();
    if (shots) setenv("LUMORA_FONT", "test", 1);
  }

  template <class Bar>
  Bar* Docked(Bar* bar, UINT resource, UINT id, const char* title) {
    bar->m_bAutoDelete = TRUE;
    bar->m_pManager = manager.get();
    bar->SetBitmapManager(manager->GetBmpMgr());
    if (!bar->CreateEx(CBRS_EX_COOL | CBRS_EX_GRIPPER, frame,
                       WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC, id, title)) {
      delete bar;
      return nullptr;
    }
    if (!bar->LoadToolBar(resource)) return nullptr;
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar);
    frame->RecalcLayout();
    return bar;
  }
  CPoint ViewCentre() const {
    CRect r;
    view.GetWindowRect(&r);
    return r.CenterPoint();
  }
  void Settle() { drv::WaitIdle(); }

  // Runs the "Toolbars" dialog with `script` acting on it (then cancelled if left open),
  // `nested` on each dialog it opens in turn; any further dialog fails the test.
  int RunList(std::function<void(HWND)> script, std::vector<std::function<void(HWND)>> nested = {}) {
    scriptsRun = 0;
    const int expected = 1 + static_cast<int>(nested.size());
    Push(std::move(script));
    for (auto& n : nested) Push(std::move(n));
    Guard();
    SECToolbarListDialog dialog(manager.get(), frame);
    const int result = static_cast<int>(dialog.DoModal());
    Settle();
    responder::Reset();  // the guards not needed
    EXPECT_EQ(scriptsRun, expected) << "a dialog the test acts on never came up";
    return result;
  }
  static inline int scriptsRun = 0;
  static void Push(std::function<void(HWND)> script) {
    responder::Push([script](const responder::Shown& s) {
      ++scriptsRun;
      script(s.hwnd);
      // Left open: cancelled as Escape does (the list dialog has no Cancel button).
      if (s.hwnd && ::IsWindow(s.hwnd)) ::SendMessageA(s.hwnd, WM_COMMAND, IDCANCEL, 0);
      return IDCANCEL;
    });
  }
  static void Guard() {
    for (int i = 0; i < 4; ++i)
      responder::Push([](const responder::Shown& s) {
        ADD_FAILURE() << "unexpected dialog \"" << s.caption << "\"";
        if (s.hwnd) ::EndDialog(s.hwnd, IDCANCEL);
        return IDCANCEL;
      });
  }

  // The list in a dialog or page, and its entries as (text, checked, id).
 public:
  struct Entry {
    std::string text;
    int check;
    UINT id;
    bool operator==(const Entry& o) const { return text == o.text && check == o.check && id == o.id; }
  };

 protected:
  static CCheckListBox* List(HWND window) {
    return dynamic_cast<CCheckListBox*>(CWnd::FromHandlePermanent(::GetDlgItem(window, IDC_SEC_TOOLBAR_LIST)));
  }
  static std::vector<Entry> Entries(HWND window) {
    std::vector<Entry> entries;
    CCheckListBox* list = List(window);
    if (!list) return entries;
    for (int i = 0; i < list->GetCount(); ++i) {
      CString text;
      list->GetText(i, text);
      entries.push_back({static_cast<LPCSTR>(text), list->GetCheck(i), static_cast<UINT>(list->GetItemData(i))});
    }
    return entries;
  }
  static void Select(HWND window, const std::string& name) { ASSERT_TRUE(dd::Select(window, IDC_SEC_TOOLBAR_LIST, name)); }
  // Clicks the check box of an entry, as the mouse does.
  static void ClickBox(HWND window, const std::string& name) {
    const int index = dd::Find(window, IDC_SEC_TOOLBAR_LIST, name);
    ASSERT_GE(index, 0) << name;
    HWND list = ::GetDlgItem(window, IDC_SEC_TOOLBAR_LIST);
    CRect item;
    ::SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const CPoint p = CCheckListBox::BoxRect(item).CenterPoint();
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    ::SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  }
  // Types a name into the name edit and leaves it.
  static void Rename(HWND window, const std::string& name) {
    HWND edit = ::GetDlgItem(window, IDC_SEC_TOOLBAR_NAME);
    ::SetFocus(edit);
    ::SetWindowTextA(edit, name.c_str());
    ::SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    ::SetFocus(::GetDlgItem(window, IDC_SEC_TOOLBAR_LIST));
  }
  static std::string Text(HWND window, int id) { return dd::Text(::GetDlgItem(window, id)); }
  static bool Enabled(HWND window, int id) { return ::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE; }
  static std::string Title(const CWnd* wnd) {
    CString t;
    wnd->GetWindowText(t);
    return static_cast<LPCSTR>(t);
  }
  static std::vector<UINT> Ids(const SECCustomToolBar* bar) {
    std::vector<UINT> ids;
    for (int i = 0; i < bar->GetButtonCount(); ++i) ids.push_back(bar->GetItemID(i));
    return ids;
  }
  static void Shot(HWND window, const std::string& name) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
    const std::string path = (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
    CRect r;
    ::GetWindowRect(window, &r);
    EXPECT_TRUE(plat::display::SavePng(path, &r)) << path;
  }

  CWinApp app{"ToolbarDialogs"};
  CFrameWnd* frame = nullptr;
  CWnd view;
  std::unique_ptr<SECToolBarManager> manager;
  CountingMenuBar* menu = nullptr;
  SECCustomToolBar* standard = nullptr;
  SECCustomToolBar* drawing = nullptr;
  SECCustomToolBar* mine = nullptr;
  HINSTANCE saved = nullptr;
  bool shots = false;
};

using Entries_t = std::vector<ToolbarDialogs::Entry>;
constexpr UINT A = ID_TD_CMD_A, B = ID_TD_CMD_B, C = ID_TD_CMD_C, D = ID_TD_CMD_D, E = ID_TD_CMD_E,
               F = ID_TD_CMD_F, G = ID_TD_CMD_G, H = ID_TD_CMD_H;

TEST_F(ToolbarDialogs, TheListHoldsEveryToolbarByIdWhileTheFrameIsCustomised) {
  frame->ShowControlBar(drawing, FALSE, FALSE);
  Settle();
  bool inside = false;
  const int result = RunList([&](HWND dialog) {
    inside = true;
    EXPECT_EQ(Entries(dialog), (Entries_t{{"Standard", 1, kStandard}, {"Drawing", 0, kDrawing},
                                          {"Mine", 1, kMine}, {"Menu Bar", 1, kMenu}}));
    // Customising: the frame takes drags (its other windows wait), the dialog hears the bars.
    EXPECT_TRUE(manager->IsConfigMode());
    EXPECT_EQ(manager->GetConfigFocus(), CWnd::FromHandlePermanent(dialog));
    EXPECT_EQ(manager->GetConfigDialog(), dialog);
    EXPECT_TRUE(frame->IsWindowEnabled());
    EXPECT_FALSE(view.IsWindowEnabled());
    EXPECT_EQ(standard->m_pCustomiseFocus, CWnd::FromHandlePermanent(dialog));
    // The first entry is shown.
    EXPECT_EQ(dd::Selected(dialog, IDC_SEC_TOOLBAR_LIST), "Standard");
    EXPECT_EQ(Text(dialog, IDC_SEC_TOOLBAR_NAME), "Standard");
    // The check boxes start from the manager's settings.
    EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_SEC_TOOLTIPS), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_SEC_COOL_LOOK), static_cast<UINT>(BST_UNCHECKED));
    // It answers the frame's activation notice.
    EXPECT_EQ(::SendMessageA(dialog, WM_FLOATSTATUS, FS_DEACTIVATE, 0), TRUE);
    dd::Press(dialog, IDOK);
  });
  EXPECT_TRUE(inside);
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(manager->IsConfigMode());
  EXPECT_EQ(manager->GetConfigFocus(), nullptr);
  EXPECT_EQ(manager->GetConfigDialog(), nullptr);
  EXPECT_EQ(standard->m_pCustomiseFocus, nullptr);
  EXPECT_TRUE(view.IsWindowEnabled());
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(ToolbarDialogs, TheListFollowsBarsMadeShownHiddenAndDestroyed) {
  RunList([&](HWND dialog) {
    Select(dialog, "Mine");
    SECCustomToolBar* made = manager->CreateUserToolBar("Later");  // 0xE821: between Mine and the menu bar
    ASSERT_NE(made, nullptr);
    frame->ShowControlBar(standard, FALSE, FALSE);
    EXPECT_EQ(Entries(dialog), (Entries_t{{"Standard", 0, kStandard}, {"Drawing", 1, kDrawing}, {"Mine", 1, kMine},
                                          {"Later", 1, 0xE821}, {"Menu Bar", 1, kMenu}}));
    frame->ShowControlBar(standard, TRUE, FALSE);
    EXPECT_EQ(Entries(dialog).front().check, 1);
    // The selected bar goes: the entry now in its place is shown.
    mine->DestroyWindow();
    EXPECT_EQ(dd::Selected(dialog, IDC_SEC_TOOLBAR_LIST), "Later");
    EXPECT_EQ(Text(dialog, IDC_SEC_TOOLBAR_NAME), "Later");
    made->DestroyWindow();
    EXPECT_EQ(dd::Selected(dialog, IDC_SEC_TOOLBAR_LIST), "Menu Bar");
    EXPECT_EQ(Text(dialog, IDC_SEC_TOOLBAR_RESET), "&Reset");
  });
}

TEST_F(ToolbarDialogs, UncheckingHidesABarAndCheckingShowsItButTheMenuBarStays) {
  RunList([&](HWND dialog) {
    ClickBox(dialog, "Drawing");
    EXPECT_FALSE(drawing->IsWindowVisible());
    EXPECT_EQ(dd::Selected(dialog, IDC_SEC_TOOLBAR_LIST), "Drawing");
    EXPECT_EQ(Entries(dialog)[1].check, 0);
    ClickBox(dialog, "Drawing");
    EXPECT_TRUE(drawing->IsWindowVisible());
    EXPECT_EQ(Entries(dialog)[1].check, 1);

    // A floating bar goes with its frame.
    CFrameWnd* floating = mine->GetParentFrame();
    ClickBox(dialog, "Mine");
    Settle();
    EXPECT_FALSE(mine->IsWindowVisible());
    EXPECT_FALSE(floating->IsWindowVisible());

    ClickBox(dialog, "Menu Bar");
    EXPECT_TRUE(menu->IsWindowVisible());
    EXPECT_EQ(Entries(dialog).back().check, 1);
  });
}

TEST_F(ToolbarDialogs, OnlyUserToolbarsCanBeRenamedOrDeleted) {
  const struct {
    const char* entry;
    bool renamable;
    const char* button;
  } cases[] = {{"Standard", false, "&Reset"}, {"Drawing", false, "&Reset"}, {"Mine", true, "&Delete"},
               {"Menu Bar", false, "&Reset"}};
  RunList([&](HWND dialog) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.entry);
      Select(dialog, c.entry);
      EXPECT_EQ(Text(dialog, IDC_SEC_TOOLBAR_NAME), c.entry);
      EXPECT_EQ(Enabled(dialog, IDC_SEC_TOOLBAR_NAME), c.renamable);
      EXPECT_EQ(Enabled(dialog, IDC_SEC_TOOLBAR_NAME_LABEL), c.renamable);
      EXPECT_EQ(Text(dialog, IDC_SEC_TOOLBAR_RESET), c.button);
    }
  });
}

TEST_F(ToolbarDialogs, RenamingAUserToolbarRenamesItsFloatingFrameAndEntry) {
  const std::string long129(129, 'n');
  RunList([&](HWND dialog) {
    Select(dialog, "Mine");
    Rename(dialog, "Tools of mine");
    EXPECT_EQ(Title(mine), "Tools of mine");
    EXPECT_EQ(Title(mine->GetParentFrame()), "Tools of mine");
    EXPECT_EQ(Entries(dialog)[2], (Entry{"Tools of mine", 1, kMine}));
    EXPECT_EQ(dd::Selected(dialog, IDC_SEC_TOOLBAR_LIST), "Tools of mine");
    EXPECT_FALSE(::SendDlgItemMessageA(dialog, IDC_SEC_TOOLBAR_NAME, EM_GETMODIFY, 0, 0));

    Rename(dialog, long129);  // cut to 128, in the edit too
    EXPECT_EQ(Title(mine), std::string(128, 'n'));
    EXPECT_EQ(Text(dialog, IDC_SEC_TOOLBAR_NAME), std::string(128, 'n'));
  });
  // The floating frame keeps the name when it is laid out again.
  mine->GetParentFrame()->RecalcLayout();
  EXPECT_EQ(Title(mine->GetParentFrame()), std::string(128, 'n'));
}

TEST_F(ToolbarDialogs, ResetPutsBackDefaultButtonsOrTheMenusAndDeleteRemovesAUserToolbar) {
  const UINT defaults[] = {A, B, 0, F};
  manager->SetDefaultButtons(kStandard, defaults, 4);
  standard->RemoveButton(0);
  const std::vector<UINT> drawingBefore = Ids(drawing);
  const HWND mineWnd = mine->m_hWnd;
  CFrameWnd* floating = mine->GetParentFrame();
  RunList([&](HWND dialog) {
    Select(dialog, "Standard");
    dd::Press(dialog, IDC_SEC_TOOLBAR_RESET);
    EXPECT_EQ(Ids(standard), (std::vector<UINT>{A, B, 0, F}));
    Select(dialog, "Drawing");  // no default buttons: nothing happens
    dd::Press(dialog, IDC_SEC_TOOLBAR_RESET);
    EXPECT_EQ(Ids(drawing), drawingBefore);
    Select(dialog, "Menu Bar");
    dd::Press(dialog, IDC_SEC_TOOLBAR_RESET);
    EXPECT_EQ(menu->resets, 1);

    Select(dialog, "Mine");
    ASSERT_EQ(Text(dialog, IDC_SEC_TOOLBAR_RESET), "&Delete");
    dd::Press(dialog, IDC_SEC_TOOLBAR_RESET);
    Settle();
    EXPECT_FALSE(::IsWindow(mineWnd));
    EXPECT_FALSE(floating->IsWindowVisible());
    EXPECT_EQ(frame->GetControlBar(kMine), nullptr);
    EXPECT_EQ(dd::Entries(dialog, IDC_SEC_TOOLBAR_LIST), (std::vector<std::string>{"Standard", "Drawing", "Menu Bar"}));
    EXPECT_EQ(dd::Selected(dialog, IDC_SEC_TOOLBAR_LIST), "Menu Bar");
  });
  EXPECT_EQ(Ids(drawing), (std::vector<UINT>{G, B, H}));
}

// The frame's bar 0xE81B, which the new toolbar floats by, is its top dock bar: the new
// toolbar appears just under the bars docked on top.
TEST_F(ToolbarDialogs, NewFloatsANamedToolbarUnderTheTopDockBar) {
  CRect under;
  frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&under);
  bool offDuringName = false;
  const int result = RunList(
      [&](HWND dialog) { dd::Press(dialog, IDC_SEC_TOOLBAR_NEW); },
      {[&](HWND name) {
        offDuringName = !manager->IsConfigMode();
        EXPECT_EQ(dd::Text(name), "New Toolbar");
        ::SetDlgItemTextA(name, IDC_SEC_NEW_TOOLBAR_NAME, "Fresh");
        dd::Press(name, IDOK);
      }});
  EXPECT_TRUE(offDuringName);
  EXPECT_EQ(result, IDC_SEC_TOOLBAR_CUSTOMIZE);  // for the caller to open the customise sheet
  auto* made = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(0xE821));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(Title(made), "Fresh");
  ASSERT_TRUE(made->IsFloating());
  CRect floating;
  made->GetParentFrame()->GetWindowRect(&floating);
  EXPECT_EQ(floating.TopLeft(), CPoint(under.left + 5, under.bottom + 5));
}

TEST_F(ToolbarDialogs, NewWithoutTheTopDockBarFloatsPastTheClientCorner) {
  frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->DestroyWindow();  // with the bars docked there
  frame->RecalcLayout();
  Settle();
  ASSERT_EQ(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP), nullptr);
  CRect client;
  frame->GetClientRect(&client);
  frame->ClientToScreen(&client);
  RunList([&](HWND dialog) { dd::Press(dialog, IDC_SEC_TOOLBAR_NEW); },
          {[&](HWND name) {
            ::SetDlgItemTextA(name, IDC_SEC_NEW_TOOLBAR_NAME, "Corner");
            dd::Press(name, IDOK);
          }});
  CControlBar* made = frame->GetControlBar(0xE821);
  ASSERT_NE(made, nullptr);
  CRect floating;
  made->GetParentFrame()->GetWindowRect(&floating);
  EXPECT_EQ(floating.TopLeft(), client.BottomRight() + CPoint(5, 5));
}

TEST_F(ToolbarDialogs, ACancelledNewLeavesTheDialogOpenAndMakesNothing) {
  bool stillOpen = false, customising = false;
  RunList(
      [&](HWND dialog) {
        dd::Press(dialog, IDC_SEC_TOOLBAR_NEW);
        stillOpen = dd::StillOpen(dialog);
        customising = manager->IsConfigMode() != FALSE;
      },
      {[](HWND name) { dd::Press(name, IDCANCEL); }});
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(customising);
  EXPECT_EQ(frame->GetControlBar(0xE821), nullptr);
}

TEST_F(ToolbarDialogs, ANewToolbarsNameIsCutTo128AndOkWaitsForOne) {
  const std::string ja = "\xE3\x81\x82";  // one three-byte character
  std::string japanese = "a";
  for (int i = 0; i < 43; ++i) japanese += ja;  // 130 bytes
  const struct {
    const char* why;
    std::string typed;
    std::string kept;
  } cases[] = {
      {"129 characters", std::string(129, 'x'), std::string(128, 'x')},
      {"exactly 128", std::string(128, 'y'), std::string(128, 'y')},
      {"no half character", japanese, japanese.substr(0, 1 + 42 * 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::string shown;
    bool okWhileEmpty = true;
    Push([&](HWND name) {
      okWhileEmpty = Enabled(name, IDOK);
      ::SetDlgItemTextA(name, IDC_SEC_NEW_TOOLBAR_NAME, c.typed.c_str());
      shown = Text(name, IDC_SEC_NEW_TOOLBAR_NAME);
      EXPECT_TRUE(Enabled(name, IDOK));
      ::SetDlgItemTextA(name, IDC_SEC_NEW_TOOLBAR_NAME, "");
      EXPECT_FALSE(Enabled(name, IDOK));
      ::SetDlgItemTextA(name, IDC_SEC_NEW_TOOLBAR_NAME, c.typed.c_str());
      dd::Press(name, IDOK);
    });
    Guard();
    SECNewToolBar dialog(frame);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    responder::Reset();
    EXPECT_FALSE(okWhileEmpty);
    EXPECT_EQ(shown, c.kept);
    EXPECT_EQ(std::string(static_cast<LPCSTR>(dialog.m_strToolBarName)), c.kept);
  }
}

TEST_F(ToolbarDialogs, TheSettingsCheckBoxesReachEveryToolbar) {
  RunList([&](HWND dialog) {
    dd::Press(dialog, IDC_SEC_LARGE_BUTTONS);
    for (SECCustomToolBar* bar : {standard, drawing, mine, static_cast<SECCustomToolBar*>(menu)}) {
      CRect button;
      bar->GetItemRect(0, &button);
      EXPECT_EQ(button.Size(), CSize(29, 31));
    }
    dd::Press(dialog, IDC_SEC_COOL_LOOK);
    EXPECT_TRUE(manager->CoolLookEnabled());
    dd::Press(dialog, IDC_SEC_TOOLTIPS);
    EXPECT_FALSE(manager->ToolTipsEnabled());
    EXPECT_FALSE(standard->GetBarStyle() & CBRS_TOOLTIPS);
    dd::Press(dialog, IDC_SEC_TOOLTIPS);
    EXPECT_TRUE(manager->ToolTipsEnabled());
    dd::Press(dialog, IDC_SEC_TOOLBAR_CUSTOMIZE);
  });
  EXPECT_TRUE(manager->LargeButtonsEnabled());
  EXPECT_TRUE(manager->CoolLookEnabled());
}

TEST_F(ToolbarDialogs, ThePageWorksTheSameAndTellsItsSiblingsOfStyleChanges) {
  ListeningPage other;
  SECToolbarListPage page(manager.get());
  CPropertySheet sheet("Customize");
  sheet.AddPage(&other);
  sheet.AddPage(&page);
  ASSERT_TRUE(sheet.Create(frame));
  ASSERT_TRUE(sheet.SetActivePage(1));
  Settle();
  ASSERT_TRUE(page.m_hWnd);
  EXPECT_EQ(Entries(page.m_hWnd), (Entries_t{{"Standard", 1, kStandard}, {"Drawing", 1, kDrawing},
                                             {"Mine", 1, kMine}, {"Menu Bar", 1, kMenu}}));
  dd::Press(page.m_hWnd, IDC_SEC_COOL_LOOK);
  EXPECT_TRUE(manager->CoolLookEnabled());
  dd::Press(page.m_hWnd, IDC_SEC_LARGE_BUTTONS);
  EXPECT_TRUE(manager->LargeButtonsEnabled());
  CRect button;
  drawing->GetItemRect(0, &button);
  EXPECT_EQ(button.Size(), CSize(29, 31));
  EXPECT_EQ(other.heard, (std::vector<WPARAM>{2, 1}));
  dd::Press(page.m_hWnd, IDC_SEC_TOOLTIPS);
  EXPECT_FALSE(manager->ToolTipsEnabled());

  // The page hears the bars and acts on them as the dialog does.
  ClickBox(page.m_hWnd, "Drawing");
  EXPECT_FALSE(drawing->IsWindowVisible());
  Select(page.m_hWnd, "Mine");
  Rename(page.m_hWnd, std::string(129, 'p'));
  EXPECT_EQ(Title(mine), std::string(128, 'p'));
  dd::Press(page.m_hWnd, IDC_SEC_TOOLBAR_RESET);
  Settle();
  EXPECT_EQ(frame->GetControlBar(kMine), nullptr);
  EXPECT_EQ(dd::Entries(page.m_hWnd, IDC_SEC_TOOLBAR_LIST),
            (std::vector<std::string>{"Standard", "Drawing", "Menu Bar"}));
  sheet.DestroyWindow();
  Settle();
}

// LUMORA_DISPLAY_SHOTS=<folder> keeps the pictures there, drawn with the installed fonts.
TEST_F(ToolbarDialogs, Screenshots) {
  RunList([&](HWND dialog) {
    Select(dialog, "Mine");
    Shot(dialog, "toolbar-list-dialog.png");
  });
  Push([&](HWND name) {
    ::SetDlgItemTextA(name, IDC_SEC_NEW_TOOLBAR_NAME, "Measuring");
    Shot(name, "toolbar-new-dialog.png");
  });
  Guard();
  SECNewToolBar dialog(frame);
  dialog.DoModal();
  responder::Reset();

  SECToolbarListPage page(manager.get());
  CPropertySheet sheet("Customize");
  sheet.AddPage(&page);
  ASSERT_TRUE(sheet.Create(frame));
  Settle();
  Shot(sheet.m_hWnd, "toolbar-list-page.png");
  sheet.DestroyWindow();
  Settle();
}

}  // namespace
