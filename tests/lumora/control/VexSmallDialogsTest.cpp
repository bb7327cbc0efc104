// The small dialogs of saving and printing, driven the way a user would answer them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "Config.h"
#include "control/VexJpegQuality.h"
#include "control/VexOverlaySelect.h"
#include "control/VexPrintNowDlg.h"
#include "control/VexThumbnailMakeDlg.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

class VexSmallDialogs : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
};

// Answers the next modal dialog, which must carry `caption`: `act` sees it as shown,
// then `button` is pressed.
void Answer(const std::string& caption, std::function<void(HWND)> act, int button) {
  responder::Push([caption, act, button](const responder::Shown& shown) {
    EXPECT_EQ(shown.caption, caption);
    if (act) act(shown.hwnd);
    SendMessageA(shown.hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return 0;
  });
}

void Click(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

TEST_F(VexSmallDialogs, JpegQualityShowsThePresetAndAnswersTheChoice) {
  const struct {
    int preset;     // -2: SetQuality not called
    int shown;      // radio id checked when the dialog opens
    int click;      // radio the user clicks, 0 for none
    int button;
    int result, quality;
  } cases[] = {
      {1, 1097, 0, IDOK, IDOK, 1},
      {-1, 1096, 0, IDOK, IDOK, 0},  // outside 0..2: Fine
      {3, 1096, 0, IDOK, IDOK, 0},
      {-2, 1096, 0, IDOK, IDOK, 0},
      {0, 1096, 1098, IDOK, IDOK, 2},
      {2, 1098, 1097, IDCANCEL, IDCANCEL, 2},
  };
  for (const auto& c : cases) {
    CVexJpegQuality dlg;
    if (c.preset != -2) {
      EXPECT_EQ(dlg.SetQuality(c.preset), 1);
    }
    int checked = 0;
    Answer(
        "Jpeg Quality",
        [&](HWND h) {
          for (int id = 1096; id <= 1098; ++id)
            if (IsDlgButtonChecked(h, id) == BST_CHECKED) checked = id;
          if (c.click) Click(h, c.click);
        },
        c.button);
    EXPECT_EQ(dlg.DoModal(), c.result) << c.preset << "/" << c.click;
    EXPECT_EQ(checked, c.shown) << c.preset;
    EXPECT_EQ(dlg.GetQuality(), c.quality) << c.preset << "/" << c.click;
  }
  EXPECT_EQ(responder::History().size(), 6u);
  CVexJpegQuality failing;
  responder::FailNextDialog();
  EXPECT_EQ(failing.DoModal(), -1);
}

TEST_F(VexSmallDialogs, OverlaySelectOffersOnlyWhatExists) {
  const struct {
    int annotation, scale;
    int uncheck;  // box the user unchecks, 0 for none
    int button;
    int result;
  } cases[] = {
      {1, 1, 0, IDOK, 3},       {1, 1, 1199, IDOK, 1}, {1, 1, 1198, IDOK, 2},
      {0, 1, 0, IDOK, 2},       {1, 0, 0, IDOK, 1},    {0, 0, 0, IDOK, 0},
      {1, 1, 0, IDCANCEL, 0},  // the save goes on without overlays
  };
  for (const auto& c : cases) {
    CVexOverlaySelect dlg;
    EXPECT_EQ(dlg.SetOverlays(c.annotation, c.scale), 1);
    int shownChecks[2] = {-1, -1}, enabled[2] = {-1, -1};
    Answer(
        "Overlay Select",
        [&](HWND h) {
          shownChecks[0] = IsDlgButtonChecked(h, 1198);
          shownChecks[1] = IsDlgButtonChecked(h, 1199);
          enabled[0] = IsWindowEnabled(GetDlgItem(h, 1198));
          enabled[1] = IsWindowEnabled(GetDlgItem(h, 1199));
          if (c.uncheck) Click(h, c.uncheck);
        },
        c.button);
    EXPECT_EQ(dlg.DoModal(), c.result) << c.annotation << c.scale << "/" << c.uncheck;
    EXPECT_EQ(shownChecks[0], c.annotation);
    EXPECT_EQ(shownChecks[1], c.scale);
    EXPECT_EQ(enabled[0], c.annotation);
    EXPECT_EQ(enabled[1], c.scale);
  }
}

// In the installed fonts, each check box's label fits beside its 13-pixel box and the gap
// after it.
TEST_F(VexSmallDialogs, OverlaySelectShowsItsLabelsWhole) {
  plat::config::Set("FONT", "");
  CVexOverlaySelect dlg;
  dlg.SetOverlays(1, 1);
  Answer(
      "Overlay Select",
      [](HWND h) {
        for (int id : {1198, 1199}) {
          HWND box = GetDlgItem(h, id);
          char label[64] = {};
          GetWindowTextA(box, label, sizeof label);
          RECT place;
          GetClientRect(box, &place);
          HDC dc = GetDC(box);
          HGDIOBJ font = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
          HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));  // what it draws with
          SIZE extent{};
          GetTextExtentPoint32A(dc, label, static_cast<int>(strlen(label)), &extent);
          SelectObject(dc, old);
          ReleaseDC(box, dc);
          EXPECT_LE(extent.cx + 13 + 4, place.right) << label;
        }
      },
      IDOK);
  dlg.DoModal();
  plat::config::Set("FONT", std::nullopt);
}

// A window that counts the cancels it is sent.
struct CancelCounter {
  static inline int cancels = 0;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COMMAND && LOWORD(w) == IDCANCEL && l == 0) ++cancels;
    return DefWindowProcA(h, m, w, l);
  }
  static HWND Make() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "CancelCounter";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "CancelCounter", "printing", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
  }
};

TEST_F(VexSmallDialogs, PrintProgressForwardsEveryCancelAndStays) {
  HWND owner = CancelCounter::Make();
  CancelCounter::cancels = 0;
  auto dlg = std::make_unique<CVexPrintNowDlg>(nullptr, CWnd::FromHandle(owner));
  ASSERT_TRUE(IsWindow(dlg->m_hWnd));
  char text[64] = {};
  GetDlgItemTextA(dlg->m_hWnd, 1113, text, sizeof text);
  EXPECT_STREQ(text, "印刷中");
  HWND ok = GetDlgItem(dlg->m_hWnd, IDOK);
  EXPECT_FALSE(GetWindowLongA(ok, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(IsWindowEnabled(ok));
  EXPECT_EQ(dlg->m_page.GetDlgCtrlID(), 1112);

  dlg->ShowWindow(SW_SHOW);
  Click(dlg->m_hWnd, IDCANCEL);
  dlg->SendMessage(WM_CLOSE);  // the close box
  dlg->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
  EXPECT_EQ(CancelCounter::cancels, 3);
  EXPECT_TRUE(IsWindow(dlg->m_hWnd));

  HWND previous = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr,
                                  nullptr, nullptr);
  dlg->BeginCapture();
  EXPECT_EQ(GetCapture(), dlg->m_hWnd);
  dlg->EndCapture(CWnd::FromHandle(previous));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), previous);
  dlg->DestroyWindow();
  DestroyWindow(previous);
  DestroyWindow(owner);
}

TEST_F(VexSmallDialogs, ThumbnailProgressHasNoWayToCloseItself) {
  auto dlg = std::make_unique<CVexThumbnailMakeDlg>();
  ASSERT_TRUE(dlg->Create(CVexThumbnailMakeDlg::IDD));
  const LONG style = GetWindowLongA(dlg->m_hWnd, GWL_STYLE);
  EXPECT_FALSE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CAPTION);
  for (HWND child = GetWindow(dlg->m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    EXPECT_STRCASENE(cls, "Button");
  }
  CString text;
  dlg->m_text.GetWindowText(text);
  EXPECT_STREQ(text, "サムネイル作成中");
  dlg->m_progress.SetRange32(1, 4);
  dlg->m_progress.SetPos(3);
  EXPECT_EQ(dlg->m_progress.GetPos(), 3);
  dlg->SendMessage(WM_CLOSE);  // nothing to close it with; the owner destroys it
  EXPECT_TRUE(IsWindow(dlg->m_hWnd));
  dlg->DestroyWindow();
}

}  // namespace
