#include <cstdlib>
#include <filesystem>

#include "ControlFixture.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "user/Responder.h"

namespace controls_test {
namespace {

namespace responder = plat::user::responder;

std::vector<std::string> g_log;  // the dialog's notifications, "id code"

void Log(const char* kind, int id, int code) { g_log.push_back(Event(kind, static_cast<unsigned>(id), code)); }

// Three buttons with coloured squares, a separator, and a check button.
void FillToolbar(HWND bar) {
  HDC screen = GetDC(nullptr);
  HBITMAP images = CreateCompatibleBitmap(screen, 64, 15);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, images);
  HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
  RECT all{0, 0, 64, 15};
  FillRect(dc, &all, grey);
  DeleteObject(grey);
  const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
  for (int i = 0; i < 4; ++i) {
    HBRUSH b = CreateSolidBrush(colours[i]);
    RECT r{i * 16 + 3, 3, i * 16 + 13, 12};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(images)};
  SendMessageA(bar, TB_ADDBITMAP, 4, reinterpret_cast<LPARAM>(&add));
  DeleteObject(images);  // the bar keeps its own copy
  TBBUTTON buttons[5] = {};
  const int ids[] = {2001, 2002, 2003, 0, 2004};
  for (int i = 0; i < 5; ++i) {
    buttons[i].iBitmap = i < 3 ? i : (i == 4 ? 3 : 0);
    buttons[i].idCommand = ids[i];
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = static_cast<BYTE>(i == 3 ? TBSTYLE_SEP : (i == 4 ? TBSTYLE_CHECK : TBSTYLE_BUTTON));
  }
  buttons[4].fsState |= TBSTATE_CHECKED;
  SendMessageA(bar, TB_ADDBUTTONS, 5, reinterpret_cast<LPARAM>(buttons));
}

INT_PTR CALLBACK SampleProc(HWND d, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_INITDIALOG: {
      for (const char* t : {"標準", "高画質", "高速"}) SendDlgItemMessageA(d, 1008, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
      SendDlgItemMessageA(d, 1008, CB_SETCURSEL, 0, 0);
      for (LPARAM v = 1; v <= 4; ++v) SendDlgItemMessageA(d, 1009, CB_ADDSTRING, 0, v);
      SendDlgItemMessageA(d, 1009, CB_SETCURSEL, 1, 0);
      SendDlgItemMessageA(d, 1010, TBM_SETRANGE, TRUE, MAKELONG(0, 32));
      SendDlgItemMessageA(d, 1010, TBM_SETPAGESIZE, 0, 1);
      SendDlgItemMessageA(d, 1010, TBM_SETPOS, TRUE, 27);
      SendDlgItemMessageA(d, 1003, UDM_SETRANGE32, 1, 170);
      SendDlgItemMessageA(d, 1003, UDM_SETPOS32, 0, 5);
      for (const char* t : {"赤", "緑", "青"}) SendDlgItemMessageA(d, 1011, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
      SendDlgItemMessageA(d, 1012, PBM_SETPOS, 60, 0);
      SetDlgItemTextA(d, 1014, "C:\\Lumora\\画像\\とても長いフォルダの名前\\sample.jpg");
      SetDlgItemTextA(d, 1001, "試料");
      CheckRadioButton(d, 1004, 1006, 1004);
      SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 25, 40, 0};
      SetScrollInfo(GetDlgItem(d, 1015), SB_CTL, &si, TRUE);
      for (const char* t : {"露出", "色", "シェーディング"}) {
        TCITEM item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(t);
        SendDlgItemMessageA(d, 1016, TCM_INSERTITEM, 99, reinterpret_cast<LPARAM>(&item));
      }
      FillToolbar(GetDlgItem(d, 1017));
      const int parts[] = {200, -1};
      SendDlgItemMessageA(d, 1018, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
      SendDlgItemMessageA(d, 1018, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("準備完了"));
      SendDlgItemMessageA(d, 1018, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("X : 0012   Y : 0034"));
      g_log.clear();
      return TRUE;
    }
    case WM_COMMAND:
      Log("cmd", LOWORD(w), HIWORD(w));
      // An emptied name is refused when the field is left.
      if (LOWORD(w) == 1001 && HIWORD(w) == EN_KILLFOCUS && GetWindowTextLengthA(reinterpret_cast<HWND>(l)) == 0) {
        MessageBoxA(d, "空欄にはできません", nullptr, MB_OK);
        SetFocus(reinterpret_cast<HWND>(l));
      }
      if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) EndDialog(d, LOWORD(w));
      return TRUE;
    case WM_HSCROLL: Log("hscroll", GetDlgCtrlID(reinterpret_cast<HWND>(l)), LOWORD(w)); return TRUE;
    case WM_VSCROLL: Log("vscroll", GetDlgCtrlID(reinterpret_cast<HWND>(l)), LOWORD(w)); return TRUE;
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      Log("draw", static_cast<int>(di->CtlID), static_cast<int>(di->itemAction));
      // Owner-drawn items: a colour swatch per item, a sunken face when pushed.
      static const COLORREF colours[] = {RGB(0, 0, 0), RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
      RECT r = di->rcItem;
      if (di->CtlType == ODT_BUTTON) {
        FillRect(di->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(di->hDC, &r, (di->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        InflateRect(&r, -4, -4);
      }
      HBRUSH b = CreateSolidBrush(colours[di->CtlType == ODT_BUTTON ? 1 : std::min<ULONG_PTR>(di->itemData, 4)]);
      InflateRect(&r, -2, -2);
      FillRect(di->hDC, &r, b);
      DeleteObject(b);
      return TRUE;
    }
    case WM_ENTERMENULOOP:
      Log("menuloop", 0, 0);
      EndMenu();  // the loop would wait for input that never comes
      return FALSE;
    case WM_MEASUREITEM: reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = 14; return TRUE;
    default: return FALSE;
  }
}

class SampleDialog : public testing::Test {
 protected:
  void SetUp() override {
    plat::SetProgramName("Controls.exe");
    responder::Reset();
    g_log.clear();
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
  }
  void Open() {
    dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(200), nullptr, SampleProc, 0);
    ASSERT_NE(dialog_, nullptr);
    ShowWindow(dialog_, SW_SHOW);
    Pump();
    g_log.clear();
  }
  void Pump() {
    MSG m;
    for (int round = 0; round < 4; ++round) {
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog_ && IsDialogMessageA(dialog_, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    }
  }
  void Key(UINT vk, unsigned mods = 0) {
    plat::user::driver::PressKey(vk, mods);
    Pump();
  }
  int FocusId() { return GetDlgCtrlID(GetFocus()); }
  bool Logged(const std::string& e) { return std::find(g_log.begin(), g_log.end(), e) != g_log.end(); }
  HWND Item(int id) { return GetDlgItem(dialog_, id); }

  HWND dialog_ = nullptr;
};

TEST_F(SampleDialog, TabOrderDefaultButtonAndEscape) {
  Open();
  EXPECT_EQ(FocusId(), 1001);
  std::vector<int> order;
  for (int i = 0; i < 12; ++i) {
    order.push_back(FocusId());
    Key(VK_TAB);
  }
  EXPECT_EQ(order, (std::vector<int>{1001, 1002, 1004, 1007, 1008, 1009, 1010, 1011, 1013, IDOK, IDCANCEL, 1001}));
  Key(VK_RETURN);
  EXPECT_TRUE(Logged(Event("cmd", IDOK, BN_CLICKED)));
  g_log.clear();
  Key(VK_ESCAPE);
  EXPECT_TRUE(Logged(Event("cmd", IDCANCEL, BN_CLICKED)));
}

TEST_F(SampleDialog, LeavingAFieldReportsKillFocusBeforeTheNextSetFocus) {
  Open();
  Key(VK_TAB);
  auto kill = std::find(g_log.begin(), g_log.end(), Event("cmd", 1001, EN_KILLFOCUS));
  auto set = std::find(g_log.begin(), g_log.end(), Event("cmd", 1002, EN_SETFOCUS));
  ASSERT_NE(kill, g_log.end());
  ASSERT_NE(set, g_log.end());
  EXPECT_LT(kill, set);
  // A field the dialog refuses to leave: the message box is answered, the focus returns.
  Key(VK_TAB, plat::user::driver::kShift);
  SetDlgItemTextA(dialog_, 1001, "");
  responder::Push([](const responder::Shown& s) { return IDOK; });
  Key(VK_TAB);
  ASSERT_EQ(responder::History().size(), 1u);
  EXPECT_EQ(responder::History()[0].text, "空欄にはできません");
  EXPECT_EQ(FocusId(), 1001);
}

TEST_F(SampleDialog, RadioGroupFollowsTheArrows) {
  Open();
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(1004)), TRUE);
  Pump();
  Key(VK_DOWN);
  EXPECT_EQ(FocusId(), 1005);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 1005), 1u);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 1004), 0u);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 1007), 0u);  // another group
  Key(VK_TAB);
  Key(VK_TAB, plat::user::driver::kShift);
  EXPECT_EQ(FocusId(), 1005);  // Tab comes back to the checked button of the group
}

TEST_F(SampleDialog, ComboDropListTakesEnterWhileOpen) {
  Open();
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(1008)), TRUE);
  Pump();
  g_log.clear();
  Key(VK_F4);
  EXPECT_TRUE(SendDlgItemMessageA(dialog_, 1008, CB_GETDROPPEDSTATE, 0, 0));
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_FALSE(SendDlgItemMessageA(dialog_, 1008, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendDlgItemMessageA(dialog_, 1008, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(g_log, (std::vector<std::string>{Event("cmd", 1008, CBN_DROPDOWN), Event("cmd", 1008, CBN_SELCHANGE),
                                             Event("cmd", 1008, CBN_SELENDOK), Event("cmd", 1008, CBN_CLOSEUP)}));
  // Closed, Enter is the default button's again.
  Key(VK_RETURN);
  EXPECT_TRUE(Logged(Event("cmd", IDOK, BN_CLICKED)));
}

TEST_F(SampleDialog, AltDownDropsTheComboWithoutOpeningTheSystemMenu) {
  Open();
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(1008)), TRUE);
  Pump();
  g_log.clear();
  Key(VK_DOWN, plat::user::driver::kAlt);
  EXPECT_TRUE(SendDlgItemMessageA(dialog_, 1008, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_TRUE(Logged(Event("cmd", 1008, CBN_DROPDOWN)));
  Key(VK_UP, plat::user::driver::kAlt);
  EXPECT_FALSE(SendDlgItemMessageA(dialog_, 1008, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(Logged(Event("menuloop", 0, 0)));
  // Alt pressed and released alone still opens the menu.
  Key(VK_MENU);
  EXPECT_TRUE(Logged(Event("menuloop", 0, 0)));
}

TEST_F(SampleDialog, TrackbarAndUpDownReportToTheDialog) {
  Open();
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(1010)), TRUE);
  Pump();
  g_log.clear();
  Key(VK_RIGHT);
  EXPECT_EQ(g_log, (std::vector<std::string>{Event("hscroll", 1010, TB_LINEDOWN), Event("hscroll", 1010, TB_ENDTRACK)}));
  EXPECT_EQ(SendDlgItemMessageA(dialog_, 1010, TBM_GETPOS, 0, 0), 28);
  // The up-down found the seconds field before it and shows its number there.
  EXPECT_EQ(reinterpret_cast<HWND>(SendDlgItemMessageA(dialog_, 1003, UDM_GETBUDDY, 0, 0)), Item(1002));
  char text[16];
  GetDlgItemTextA(dialog_, 1002, text, sizeof text);
  EXPECT_STREQ(text, "5");
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(1002)), TRUE);
  Pump();
  g_log.clear();
  Key(VK_UP);
  GetDlgItemTextA(dialog_, 1002, text, sizeof text);
  EXPECT_STREQ(text, "6");
  EXPECT_TRUE(Logged(Event("vscroll", 1003, SB_THUMBPOSITION)));
  EXPECT_TRUE(Logged(Event("cmd", 1002, EN_CHANGE)));
}

TEST_F(SampleDialog, OwnerDrawnButtonAndComboAreDrawnByTheDialog) {
  Open();
  UpdateWindow(dialog_);
  Pump();
  RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(Logged(Event("draw", 1013, ODA_DRAWENTIRE)));
  EXPECT_TRUE(Logged(Event("draw", 1009, ODA_DRAWENTIRE)));
  // The combo's field shows the swatch of item 1, whose data is 2 (green).
  RECT r;
  GetClientRect(Item(1009), &r);
  HDC dc = GetDC(Item(1009));
  EXPECT_EQ(GetPixel(dc, 20, r.bottom / 2), RGB(0, 160, 0));
  ReleaseDC(Item(1009), dc);
}

TEST_F(SampleDialog, ModalRunAnsweredByTheResponder) {
  responder::Push([](const responder::Shown& s) {
    CheckRadioButton(s.hwnd, 1004, 1006, 1006);
    SendMessageA(GetDlgItem(s.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(200), nullptr, SampleProc, 0), IDOK);
  ASSERT_EQ(responder::History().size(), 1u);
  EXPECT_EQ(responder::History()[0].caption, "コントロール見本");
  responder::FailNextDialog();
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(200), nullptr, SampleProc, 0), -1);
}

TEST_F(SampleDialog, Screenshot) {
  // LUMORA_SAMPLE_SHOT names a file to keep, drawn with the installed Japanese font.
  const char* keep = std::getenv("LUMORA_SAMPLE_SHOT");
  if (keep) setenv("LUMORA_FONT", "", 1);
  Open();
  RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Pump();
  RECT r;
  GetWindowRect(dialog_, &r);
  std::string path = keep ? keep : testenv::ScratchDir() + "/sample.png";
  ASSERT_TRUE(plat::display::SavePng(path, &r));
  auto image = plat::display::ReadPng(path);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, r.right - r.left);
  // The group box label is drawn: dark text pixels inside the label's area.
  RECT g;
  GetWindowRect(Item(1004), &g);
  int dark = 0;
  for (int y = g.top - 30; y < g.top - 8; ++y)
    for (int x = g.left; x < g.left + 40; ++x) {
      auto px = image->pixels[static_cast<size_t>(y - r.top) * static_cast<size_t>(image->width) + static_cast<size_t>(x - r.left)];
      if ((px & 0xFF) < 0x40 && ((px >> 8) & 0xFF) < 0x40) ++dark;
    }
  EXPECT_GT(dark, 5);
}

}  // namespace
}  // namespace controls_test
