// Message maps: window messages reach handlers with the framework's argument
// unpacking; commands and notifications find their entries; reflected
// notifications are handled by the control that sent them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "afxwin.h"

namespace {

std::vector<std::string> g_log;
void Log(const char* fmt, long long a = 0, long long b = 0, long long c = 0) {
  char text[128];
  snprintf(text, sizeof text, fmt, a, b, c);
  g_log.emplace_back(text);
}

UINT g_registered = ::RegisterWindowMessageA("AfxWinTest.Registered");
constexpr UINT kIdChild = 100;
constexpr UINT WM_TEST = WM_APP + 1;

class CProbeWnd : public CWnd {
 public:
  ~CProbeWnd() override { Log("destructor"); }

 protected:
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) {
    Log("nccreate");
    return CWnd::OnNcCreate(cs);
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    Log("create %lld,%lld", cs->cx, cs->cy);
    return 0;
  }
  afx_msg void OnSize(UINT type, int cx, int cy) { Log("size %lld %lldx%lld", type, cx, cy); }
  afx_msg void OnLButtonDown(UINT flags, CPoint pt) { Log("ldown %lld (%lld,%lld)", flags, pt.x, pt.y); }
  afx_msg void OnMouseMove(UINT flags, CPoint pt) { Log("move %lld (%lld,%lld)", flags, pt.x, pt.y); }
  afx_msg void OnKeyDown(UINT ch, UINT rep, UINT flags) { Log("key %lld %lld %lld", ch, rep, flags); }
  afx_msg void OnTimer(UINT_PTR id) { Log("timer %lld", static_cast<long long>(id)); }
  afx_msg LRESULT OnTest(WPARAM w, LPARAM l) {
    Log("test %lld %lld", static_cast<long long>(w), l);
    return 42;
  }
  afx_msg LRESULT OnRegistered(WPARAM w, LPARAM) {
    Log("registered %lld", static_cast<long long>(w));
    return 7;
  }
  afx_msg void OnCmdA() { Log("cmd a"); }
  afx_msg void OnCmdRange(UINT id) { Log("cmd range %lld", id); }
  afx_msg void OnClicked() { Log("clicked"); }
  afx_msg void OnNotifyChild(NMHDR* hdr, LRESULT* result) {
    Log("notify %lld", static_cast<long long>(static_cast<int>(hdr->code)));
    *result = 5;
  }
  afx_msg void OnNotifyRange(UINT id, NMHDR* hdr, LRESULT* result) {
    Log("notify range %lld %lld", id, static_cast<long long>(static_cast<int>(hdr->code)));
    *result = 11;
  }
  // Items 304 to 306 are one radio group: 305 is the chosen one, 306 is unavailable.
  afx_msg void OnUpdateRange(CCmdUI* ui) {
    ui->SetRadio(ui->m_nID == 305);
    ui->Enable(ui->m_nID != 306);
  }
  afx_msg void OnDestroy() {
    Log("destroy");
    CWnd::OnDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
  ON_WM_NCCREATE()
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_KEYDOWN()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_TEST, OnTest)
  ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
  ON_COMMAND(200, OnCmdA)
  ON_COMMAND_RANGE(300, 310, OnCmdRange)
  ON_BN_CLICKED(kIdChild, OnClicked)
  ON_NOTIFY(-12, kIdChild, OnNotifyChild)
  ON_NOTIFY_RANGE(-13, 400, 410, OnNotifyRange)
  ON_UPDATE_COMMAND_UI_RANGE(300, 310, OnUpdateRange)
END_MESSAGE_MAP()

// A child that handles its own notifications.
class CReflectingChild : public CButton {
 protected:
  afx_msg void OnReflectedClick() { Log("child clicked"); }
  afx_msg void OnReflectedNotify(NMHDR*, LRESULT* result) {
    Log("child notify");
    *result = 9;
  }
  afx_msg HBRUSH CtlColor(CDC*, UINT type) {
    Log("child colour %lld", type);
    return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(0x1234));
  }

 public:
  void DrawItem(LPDRAWITEMSTRUCT dis) override { Log("drawitem %lld", dis->itemID); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingChild, CButton)
  ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
  ON_NOTIFY_REFLECT(-12, OnReflectedNotify)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class MessageMap : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_OVERLAPPED, 10, 10, 200, 150, nullptr, nullptr));
    g_log.clear();
  }
  CProbeWnd wnd;
};

TEST_F(MessageMap, ObjectIsAttachedFromTheFirstMessage) {
  g_log.clear();
  CProbeWnd other;
  ASSERT_TRUE(other.CreateEx(0, nullptr, "x", WS_POPUP, 0, 0, 30, 20, nullptr, nullptr));
  ASSERT_GE(g_log.size(), 2u);
  EXPECT_EQ(g_log[0], "nccreate");
  EXPECT_EQ(g_log[1], "create 30,20");
  EXPECT_EQ(CWnd::FromHandlePermanent(other.m_hWnd), &other);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(other.m_hWnd, GWLP_WNDPROC)), &AfxWndProc);
}

NMHDR g_rangeHdr{nullptr, 405, static_cast<UINT>(-13)};

TEST_F(MessageMap, WindowMessagesAreUnpackedForTheirHandlers) {
  struct Case {
    UINT msg;
    WPARAM w;
    LPARAM l;
    const char* expected;
    LRESULT result;
  };
  const Case cases[] = {
      {WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80), "size 0 120x80", 0},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7), "ldown 1 (5,7)", 0},
      {WM_MOUSEMOVE, 0, MAKELPARAM(-3, -4), "move 0 (-3,-4)", 0},  // signed coordinates
      {WM_KEYDOWN, VK_F5, MAKELPARAM(2, 0x3F), "key 116 2 63", 0},
      {WM_TIMER, 17, 0, "timer 17", 0},
      {WM_TEST, 3, 4, "test 3 4", 42},
      {g_registered, 8, 0, "registered 8", 7},
      {WM_COMMAND, 200, 0, "cmd a", 1},
      {WM_COMMAND, 305, 0, "cmd range 305", 1},
      {WM_NOTIFY, 405, reinterpret_cast<LPARAM>(&g_rangeHdr), "notify range 405 -13", 11},
  };
  for (const Case& c : cases) {
    g_log.clear();
    LRESULT r = wnd.SendMessage(c.msg, c.w, c.l);
    ASSERT_EQ(g_log.size(), 1u) << c.expected;
    EXPECT_EQ(g_log[0], c.expected);
    EXPECT_EQ(r, c.result) << c.expected;
  }
}

TEST_F(MessageMap, RangeUpdateHandlerSetsRadioAndEnableOfControls) {
  CButton radios[3];
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(radios[i].Create("r", WS_CHILD | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), CRect(0, 20 * i, 50, 20 * i + 18),
                                 &wnd, 304 + i));
  radios[0].SetCheck(BST_CHECKED);
  for (int i = 0; i < 3; ++i) {
    CCmdUI ui;
    ui.m_nID = 304 + i;
    ui.m_pOther = &radios[i];
    EXPECT_TRUE(ui.DoUpdate(&wnd, TRUE));
  }
  EXPECT_EQ(radios[0].GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(radios[1].GetCheck(), BST_CHECKED);
  EXPECT_EQ(radios[2].GetCheck(), BST_UNCHECKED);
  EXPECT_TRUE(radios[1].IsWindowEnabled());
  EXPECT_FALSE(radios[2].IsWindowEnabled());
}

// An owner-draw combo box measures and draws its items itself, through its parent.
class CSwatchCombo : public CComboBox {
 public:
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
    Log("measure %lld", static_cast<int>(mis->itemID));
    mis->itemHeight = 24;
  }
  void DrawItem(LPDRAWITEMSTRUCT dis) override { Log("draw %lld", static_cast<int>(dis->itemID)); }
};

TEST_F(MessageMap, OwnerDrawComboMeasuresAndDrawsItself) {
  CSwatchCombo combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                           CRect(10, 10, 150, 200), &wnd, 420));
  CRect r;
  combo.GetWindowRect(&r);
  EXPECT_EQ(r.Height(), 30);  // the measured field and its frame
  combo.AddString("赤");
  combo.SetCurSel(0);
  CString text = "old";
  combo.GetLBText(0, text);
  EXPECT_EQ(text, "赤");
  combo.GetLBText(3, text);  // no such item
  EXPECT_EQ(text, "");
  g_log.erase(g_log.begin(), std::find(g_log.begin(), g_log.end(), "measure -1") + 1);
  wnd.ShowWindow(SW_SHOW);
  combo.UpdateWindow();
  ASSERT_FALSE(g_log.empty());
  EXPECT_EQ(g_log.back(), "draw 0");
}

TEST_F(MessageMap, CommandsWithoutEntryAreNotHandled) {
  EXPECT_FALSE(wnd.OnCmdMsg(311, CN_COMMAND, nullptr, nullptr));
  EXPECT_FALSE(wnd.OnCmdMsg(201, CN_COMMAND, nullptr, nullptr));
  AFX_CMDHANDLERINFO info{};
  EXPECT_TRUE(wnd.OnCmdMsg(300, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &wnd);
  EXPECT_TRUE(g_log.empty());  // asking for a handler does not run it
}

TEST_F(MessageMap, ChildNotificationsGoToTheParentUnlessTheChildReflects) {
  CWnd plain;
  ASSERT_TRUE(plain.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &wnd, kIdChild));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kIdChild, BN_CLICKED), reinterpret_cast<LPARAM>(plain.m_hWnd));
  NMHDR hdr{plain.m_hWnd, kIdChild, static_cast<UINT>(-12)};
  LRESULT r = wnd.SendMessage(WM_NOTIFY, kIdChild, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(g_log, (std::vector<std::string>{"clicked", "notify -12"}));
  EXPECT_EQ(r, 5);
  plain.DestroyWindow();

  g_log.clear();
  CReflectingChild child;
  ASSERT_TRUE(child.CWnd::Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &wnd, kIdChild));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kIdChild, BN_CLICKED), reinterpret_cast<LPARAM>(child.m_hWnd));
  hdr.hwndFrom = child.m_hWnd;
  r = wnd.SendMessage(WM_NOTIFY, kIdChild, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(r, 9);
  LRESULT brush = wnd.SendMessage(WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(child.m_hWnd));
  EXPECT_EQ(brush, 0x1234);
  DRAWITEMSTRUCT dis{ODT_BUTTON, kIdChild, 4, 0, 0, child.m_hWnd, nullptr, {}, 0};
  EXPECT_EQ(wnd.SendMessage(WM_DRAWITEM, kIdChild, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(g_log, (std::vector<std::string>{"child clicked", "child notify", "child colour 3", "drawitem 4"}));
}

TEST_F(MessageMap, DestroyingDetachesAndSelfDeletingObjectsGo) {
  struct CSelfDeleting : CProbeWnd {
    void PostNcDestroy() override { delete this; }
  };
  auto* owned = new CSelfDeleting;  // owned by its window from creation on
  ASSERT_TRUE(owned->CreateEx(0, nullptr, "self", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  HWND h = owned->m_hWnd;
  g_log.clear();
  ::DestroyWindow(h);
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy", "destructor"}));
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);

  g_log.clear();
  HWND mine = wnd.m_hWnd;
  wnd.DestroyWindow();
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(mine));
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy"}));
}

TEST_F(MessageMap, ForeignWindowsGetTemporaryObjectsUntilIdle) {
  HWND raw = ::CreateWindowExA(0, AFX_WND, "raw", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
  ASSERT_NE(raw, nullptr);
  CWnd* temp = CWnd::FromHandle(raw);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->m_hWnd, raw);
  EXPECT_EQ(CWnd::FromHandle(raw), temp);  // the same object until idle time
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
  EXPECT_EQ(plat::afx::Thread().wnds.TemporaryCount(), 1u);
  plat::afx::DeleteTempMaps();
  EXPECT_EQ(plat::afx::Thread().wnds.TemporaryCount(), 0u);
  EXPECT_TRUE(::IsWindow(raw));  // freeing the object leaves the window alone
  ::DestroyWindow(raw);
}

TEST_F(MessageMap, SubclassingRoutesAnExistingWindowThroughItsObject) {
  HWND raw = ::CreateWindowExA(0, AFX_WND, "raw", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
  CProbeWnd probe;
  ASSERT_TRUE(probe.SubclassWindow(raw));
  g_log.clear();
  EXPECT_EQ(::SendMessageA(raw, WM_TEST, 1, 2), 42);
  EXPECT_EQ(g_log, (std::vector<std::string>{"test 1 2"}));
  EXPECT_EQ(probe.UnsubclassWindow(), raw);
  g_log.clear();
  EXPECT_EQ(::SendMessageA(raw, WM_TEST, 1, 2), 0);  // back to the class procedure
  EXPECT_TRUE(g_log.empty());
  ::DestroyWindow(raw);
}

}  // namespace

namespace {

// A control that rereads its colours when they change.
class CColourMinded : public CWnd {
 public:
  int changes = 0;

 protected:
  afx_msg void OnSysColorChange() {
    ++changes;
    CWnd::OnSysColorChange();
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColourMinded, CWnd)
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

TEST_F(MessageMap, ATopLevelWindowPassesColourChangesToItsFrameworkChildren) {
  CColourMinded child, grandchild, popup;
  ASSERT_TRUE(child.CreateEx(0, nullptr, "child", WS_CHILD, 0, 0, 50, 50, wnd.m_hWnd, nullptr));
  ASSERT_TRUE(grandchild.CreateEx(0, nullptr, "grandchild", WS_CHILD, 0, 0, 20, 20, child.m_hWnd, nullptr));
  ASSERT_TRUE(popup.CreateEx(0, nullptr, "popup", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
  wnd.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(child.changes, 1);
  EXPECT_EQ(grandchild.changes, 1);  // passed on once, not again by the child
  EXPECT_EQ(popup.changes, 0);       // another top-level window hears it for itself
  child.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(grandchild.changes, 1);  // a child does not pass it on
}

// A window whose handler notes the message it is handling, around another one it sends itself.
class CCurrentProbe : public CWnd {
 public:
  std::vector<std::string> seen;

 protected:
  afx_msg LRESULT OnTest(WPARAM w, LPARAM) {
    Note();
    if (w == 1) SendMessage(WM_TEST, 2, 20);
    Note();
    return 0;
  }
  void Note() {
    const MSG* m = GetCurrentMessage();
    seen.push_back(std::to_string(m->message == WM_TEST) + " " + std::to_string(m->wParam) + "," +
                   std::to_string(m->lParam));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCurrentProbe, CWnd)
  ON_MESSAGE(WM_TEST, OnTest)
END_MESSAGE_MAP()

TEST(CurrentMessage, IsTheOneBeingHandledAndComesBackAfterANestedOne) {
  CCurrentProbe probe;
  ASSERT_TRUE(probe.CreateEx(0, nullptr, "current", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
  probe.SendMessage(WM_TEST, 1, 10);
  EXPECT_EQ(probe.seen, (std::vector<std::string>{"1 1,10", "1 2,20", "1 2,20", "1 1,10"}));
  probe.DestroyWindow();
}

TEST(ResourceHandle, FindsAResourceInTheResourceModuleElseTheProgram) {
  HINSTANCE saved = AfxGetResourceHandle();
  HINSTANCE program = AfxGetInstanceHandle();
  HINSTANCE other = reinterpret_cast<HINSTANCE>(
      plat::RegisterModule(plat::ModuleSpec{"FrameRes.dll", "C:\\Lumora", {}, {}, true}));
  AfxSetResourceHandle(other);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(128), RT_MENU), other);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(4711), RT_BITMAP), program);
  AfxSetResourceHandle(saved);
}

}  // namespace
