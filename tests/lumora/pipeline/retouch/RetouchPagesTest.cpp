// The four pages of the retouch dialog: their fields and sliders, what the dialog tries
// on the preview and applies to the stage's picture, and the W.Balance sample.
#include <gtest/gtest.h>

#include <functional>

#include "RetouchRig.h"
#include "user/Driver.h"

namespace {

using namespace retouchrig;
using controlspy::CallsTo;

class RetouchPages : public RetouchRig {
 public:
  RetouchPages() : RetouchRig(true) {}

 protected:
  static BOOL Repainting(Operator& op) {
    BOOL on = FALSE;
    op.PreviewLead().GetProperty(2, VT_BOOL, &on);
    return on;
  }
};

using PageOf = std::function<CWnd*(CVexRetouchDlg&)>;
CWnd* Enhance(CVexRetouchDlg& d) { return d.EnhancePage(); }
CWnd* Color(CVexRetouchDlg& d) { return d.ColorPage(); }

// Typed values are held to the field's bounds, shown again in the field's form, moved to
// the slider and tried on the preview; a lone "-" or "." waits for the number.
TEST_F(RetouchPages, TypedValuesAreHeldShownAndTried) {
  const struct {
    const char* name;
    PageOf page;
    int tab, edit, slider;
    const char* typed;
    const char* shown;  // null: the field keeps what was typed and nothing is tried
    int position;
    DISPID tried;
    const char* given;
  } cases[] = {
      {"gamma 2.5", Enhance, 0, 1005, 1009, "2.5", " 2.00", 200, 173, "I2:200"},
      {"gamma 0.01", Enhance, 0, 1005, 1009, "0.01", " 0.05", 5, 173, "I2:5"},
      {"gamma 1.234", Enhance, 0, 1005, 1009, "1.234", " 1.23", 123, 173, "I2:123"},
      {"gamma .", Enhance, 0, 1005, 1009, ".", nullptr, 100, 173, ""},
      {"brightness 300", Enhance, 0, 1003, 1007, "300", "255", 255, 174, "I2:255"},
      {"brightness -", Enhance, 0, 1003, 1007, "-", nullptr, 0, 174, ""},
      {"brightness -40", Enhance, 0, 1003, 1007, "-40", "-40", -40, 174, "I2:-40"},
      {"contrast 99999999999", Enhance, 0, 1004, 1008, "99999999999", "100", 100, 172, "I2:100"},
      {"hue 200", Color, 1, 1013, 1014, "200", "200", 180, 289, "I2:200"},
      {"hue -300", Color, 1, 1013, 1014, "-300", "-255", -180, 289, "I2:-255"},
      {"saturation 10", Color, 1, 1015, 1016, "10", "10", 10, 295, "I2:100"},
      {"intensity -", Color, 1, 1019, 1020, "-", nullptr, 0, 331, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ShowFlat(64, 64, 90, 100, 110);
    Retouch([&](Operator& op) {
      CWnd* page = c.page(op.Dialog());
      op.ChooseTab(c.tab);
      controlspy::Clear();
      Operator::Type(page, c.edit, c.typed);
      EXPECT_EQ(Operator::Text(page, c.edit), c.shown ? c.shown : c.typed);
      EXPECT_EQ(Operator::SliderPos(page, c.slider), c.position);
      const auto tried = CallsTo(c.tried, op.Preview());
      if (c.shown) {
        EXPECT_EQ(tried, std::vector<std::string>{c.given});
        EXPECT_EQ(op.Dialog().GetPendingFlag(), 1);
      } else {
        EXPECT_TRUE(tried.empty());
        EXPECT_EQ(op.Dialog().GetPendingFlag(), 0);
      }
      EXPECT_TRUE(CallsTo(c.tried, StageControl()).empty());  // a trial never touches the stage's picture
      op.Press(IDCANCEL);
    });
  }
}

// Clicks where the user sees the controls: the W.Balance sample radios and the colour
// balance sliders lie under group boxes made before them, which let the clicks through.
TEST_F(RetouchPages, ControlsUnderGroupBoxesTakeTheUsersClicks) {
  namespace driver = plat::user::driver;
  const auto pump = [] {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&m);
      ::DispatchMessageA(&m);
    }
  };
  const auto clickAt = [&](HWND window, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(window, &p);
    driver::Click(p.x, p.y);
    pump();
  };
  ShowFlat(64, 64, 90, 100, 110);
  Retouch([&](Operator& op) {
    const HWND tab = ::GetDlgItem(op.Hwnd(), 1030);
    const auto chooseTab = [&](int index) {
      RECT r{};
      ::SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
      clickAt(tab, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    chooseTab(3);
    const HWND wbalance = op.Dialog().WBalancePage()->m_hWnd;
    for (int id : {1023, 1022}) {
      clickAt(::GetDlgItem(wbalance, id), 5, 5);
      EXPECT_EQ(::IsDlgButtonChecked(wbalance, id), BST_CHECKED) << id;
    }
    chooseTab(1);
    CWnd* color = op.Dialog().ColorPage();
    const HWND slider = ::GetDlgItem(color->m_hWnd, 1021);
    const int before = Operator::SliderPos(color, 1021);
    RECT r;
    ::GetClientRect(slider, &r);
    clickAt(slider, r.right - 8, r.bottom / 2);
    EXPECT_GT(Operator::SliderPos(color, 1021), before) << "a page towards the click";
    op.Press(IDCANCEL);
  });
}

TEST_F(RetouchPages, ADragShowsTheValueButTriesItOnlyOnRelease) {
  ShowFlat(64, 64, 90, 100, 110);
  Retouch([&](Operator& op) {
    CWnd* page = op.Dialog().EnhancePage();
    HWND slider = GetDlgItem(page->m_hWnd, 1007);
    controlspy::Clear();
    for (int p : {10, 20, 30}) {
      SendMessageA(slider, TBM_SETPOS, TRUE, p);
      SendMessageA(page->m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, p), reinterpret_cast<LPARAM>(slider));
      EXPECT_EQ(Operator::Text(page, 1003), std::to_string(p));
    }
    EXPECT_TRUE(CallsTo(174, op.Preview()).empty());
    SendMessageA(page->m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(slider));
    EXPECT_TRUE(CallsTo(174, op.Preview()).empty());
    SendMessageA(page->m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(CallsTo(174, op.Preview()), std::vector<std::string>{"I2:30"});
    EXPECT_EQ(op.Dialog().EnhancePage()->m_nBrightness, 30);
    op.Press(IDCANCEL);
  });
}

// Every slider position of the gamma gives its own hundredths, on the preview and at Apply.
TEST_F(RetouchPages, GammaSliderPositionsKeepTheirHundredths) {
  ShowFlat(16, 16, 90, 100, 110);
  Retouch([&](Operator& op) {
    CWnd* page = op.Dialog().EnhancePage();
    for (int p : {53, 59, 105, 117, 118}) {
      controlspy::Clear();
      Operator::Slide(page, 1009, {p});
      EXPECT_EQ(CallsTo(173, op.Preview()), std::vector<std::string>{"I2:" + std::to_string(p)});
    }
    controlspy::Clear();
    Operator::PressOn(page, 1001);
    EXPECT_EQ(CallsTo(312, StageControl()), std::vector<std::string>{"I2:118"});
    op.Press(IDCANCEL);
  });
}

TEST_F(RetouchPages, EnhanceApplyAtStartValuesStillRunsTheFourOperations) {
  ShowFlat(16, 16, 90, 100, 110);
  Retouch([&](Operator& op) {
    controlspy::Clear();
    Operator::PressOn(op.Dialog().EnhancePage(), 1001);
    EXPECT_EQ(controlspy::Sequence(StageControl(), {294, 290, 284, 312}), (std::vector<DISPID>{294, 290, 284, 312}));
    EXPECT_EQ(CallsTo(294, StageControl()), std::vector<std::string>{"I2:0"});
    EXPECT_EQ(CallsTo(290, StageControl()), std::vector<std::string>{"I2:0"});
    EXPECT_EQ(CallsTo(284, StageControl()), std::vector<std::string>{"I2:0"});
    EXPECT_EQ(CallsTo(312, StageControl()), std::vector<std::string>{"I2:100"});
    // Then the page is reset and the preview's display settings neutral again.
    EXPECT_EQ(CallsTo(174, op.Preview()).back(), "I2:0");
    EXPECT_EQ(CallsTo(173, op.Preview()).back(), "I2:100");
    op.Press(IDOK);
  });
  ASSERT_EQ(List().count, 1);
  EXPECT_EQ(List().ops[0].kind, 1);
  EXPECT_EQ(List().ops[0].value[2], 100);
}

TEST_F(RetouchPages, EnhanceTriesSharpnessOnThePictureAndAppliesAllToTheStage) {
  ShowStill(64, 64, [](int x, int, BYTE* p) { p[0] = p[1] = p[2] = BYTE(x < 32 ? 60 : 180); });
  const Picture before = Still();
  Retouch([&](Operator& op) {
    CWnd* page = op.Dialog().EnhancePage();
    controlspy::Clear();
    Operator::Slide(page, 1010, {400});
    Operator::Slide(page, 1007, {51});  // brightness, with the sharpness tried again
    EXPECT_EQ(CallsTo(294, op.Preview()), (std::vector<std::string>{"I2:400", "I2:400"}));
    EXPECT_EQ(CallsTo(174, op.Preview()), std::vector<std::string>{"I2:51"});
    EXPECT_NE(op.PreviewLead().GetBitmap(), buffers->GetSecondBitmap());  // a trial copy
    Operator::PressOn(page, 1001);
    EXPECT_EQ(Operator::Text(page, 1006), "0");
    op.Press(IDOK);
  });
  const Picture after = Still();
  EXPECT_GT(after.At(10, 10)[0], before.At(10, 10)[0]);  // brighter
  EXPECT_EQ(ListKinds(), std::vector<int>{1});
  EXPECT_EQ(List().ops[0].value[0], 51);
  EXPECT_EQ(List().ops[0].value[3], 400);
}

TEST_F(RetouchPages, ColorApplyHandsTheTriedPictureToTheStage) {
  ShowFlat(32, 32, 60, 100, 140);
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    op.ChooseTab(CVexRetouchDlg::kColorPage);
    Operator::Slide(dlg.ColorPage(), 1020, {20});  // intensity
    Operator::Slide(dlg.ColorPage(), 1021, {60});  // the balance of plane slot 2 (red)
    const LONG tried = op.PreviewLead().GetBitmap();
    EXPECT_EQ(CallsTo(331, op.Preview()).back(), "I4:0");
    Operator::PressOn(dlg.ColorPage(), 1002);
    EXPECT_EQ(op.PreviewLead().GetBitmap(), tried);  // the preview shows the stage's picture again
    EXPECT_EQ(Operator::SliderPos(dlg.ColorPage(), 1021), 0);
    EXPECT_EQ(Operator::Text(dlg.ColorPage(), 1019), "0");
    op.Press(IDOK);
  });
  const Picture still = Still();
  const BYTE* p = still.At(5, 5);
  EXPECT_EQ(p[0], 80);   // blue: +20
  EXPECT_EQ(p[1], 120);  // green: +20
  EXPECT_GT(p[2], 160);  // red: +20 and brighter midtones
  ASSERT_EQ(ListKinds(), std::vector<int>{2});
  EXPECT_EQ(List().ops[0].value[2], 20);
  EXPECT_EQ(List().ops[0].value[3], 60);
}

// Leaving a page with a trial pending asks: OK applies it, Cancel resets the page.
TEST_F(RetouchPages, ChangingPagesAppliesOrResetsThePendingTrial) {
  for (int answer : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(answer);
    ShowFlat(16, 16, 100, 100, 100);
    responder::Reset();
    doc->ClearRetouchList();
    Retouch([&](Operator& op) {
      CVexRetouchDlg& dlg = op.Dialog();
      Operator::Slide(dlg.EnhancePage(), 1007, {102});
      ASSERT_EQ(dlg.GetPendingFlag(), 1);
      Operator::Answer(answer);
      op.ChooseTab(CVexRetouchDlg::kColorPage);
      EXPECT_EQ(dlg.GetPendingFlag(), 0);
      EXPECT_EQ(dlg.EnhancePage()->m_nBrightness, 0);  // applied or not, the page starts over
      EXPECT_TRUE(IsWindowVisible(dlg.ColorPage()->m_hWnd));
      EXPECT_FALSE(IsWindowVisible(dlg.EnhancePage()->m_hWnd));
      EXPECT_TRUE(Repainting(op));
      op.Press(IDOK);
    });
    EXPECT_EQ(Boxes(), std::vector<std::string>{"変更を適用しますか？"});
    EXPECT_EQ(Still().At(0, 0)[0] > 100, answer == IDOK);
  }
}

TEST_F(RetouchPages, OkAppliesThePendingTrialWhenTheOperatorAgrees) {
  for (int answer : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(answer);
    ShowFlat(16, 16, 100, 100, 100);
    Retouch([&](Operator& op) {
      Operator::Slide(op.Dialog().EnhancePage(), 1008, {60});
      Operator::Answer(answer);
      op.Press(IDOK);
    });
    EXPECT_EQ(Still().At(0, 0)[0] != 100, answer == IDOK);
  }
}

// Reset takes a page back to its start values and the preview back to the stage's picture,
// display settings neutral, nothing pending.
TEST_F(RetouchPages, ResetsReturnThePagesAndThePreviewToTheStart) {
  ShowFlat(32, 32, 90, 100, 110);
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    const LONG stage = retouch->GetImagingControl()->GetBitmap();
    Operator::Type(dlg.EnhancePage(), 1005, "0.5");
    Operator::Slide(dlg.EnhancePage(), 1010, {300});
    controlspy::Clear();
    Operator::PressOn(dlg.EnhancePage(), 1011);
    EXPECT_EQ(Operator::Text(dlg.EnhancePage(), 1005), " 1.00");
    EXPECT_EQ(Operator::Text(dlg.EnhancePage(), 1006), "0");
    EXPECT_EQ(CallsTo(173, op.Preview()), std::vector<std::string>{"I2:100"});
    EXPECT_EQ(CallsTo(174, op.Preview()), std::vector<std::string>{"I2:0"});
    EXPECT_EQ(op.PreviewLead().GetBitmap(), stage);
    EXPECT_EQ(dlg.GetPendingFlag(), 0);

    op.ChooseTab(CVexRetouchDlg::kColorPage);
    Operator::Slide(dlg.ColorPage(), 1023, {-40});
    Operator::Type(dlg.ColorPage(), 1013, "15");
    Operator::PressOn(dlg.ColorPage(), 1017);
    EXPECT_EQ(Operator::SliderPos(dlg.ColorPage(), 1023), 0);
    EXPECT_EQ(Operator::Text(dlg.ColorPage(), 1013), "0");
    EXPECT_EQ(op.PreviewLead().GetBitmap(), stage);

    op.ChooseTab(CVexRetouchDlg::kWBalancePage);
    Operator::PressOn(dlg.WBalancePage(), 1024);
    op.Click(100, 100);
    Operator::PressOn(dlg.WBalancePage(), 1026);
    ASSERT_EQ(dlg.GetPendingFlag(), 1);
    Operator::PressOn(dlg.WBalancePage(), 1005);
    EXPECT_EQ(dlg.GetSampleLevels()[0], -1);
    EXPECT_EQ(dlg.GetPendingFlag(), 0);
    EXPECT_EQ(op.PreviewLead().GetBitmap(), stage);
    op.Press(IDOK);
  });
  EXPECT_EQ(List().count, 0);
}

TEST_F(RetouchPages, SizeResetWithAPendingCropShowsTheCropInPicturePixels) {
  ShowPattern(320, 256);
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    op.Crop(40, 20, 241, 121);  // 201 x 101 preview pixels, scale 2
    op.ChooseTab(CVexRetouchDlg::kSizePage);
    Operator::ChooseSize(dlg.SizePage(), 1);
    EXPECT_EQ(Operator::Text(dlg.SizePage(), 1019), "    75 x     37     0.01MB");
    Operator::PressOn(dlg.SizePage(), 1011);
    EXPECT_EQ(Operator::Text(dlg.SizePage(), 1019), "   100 x     50     0.01MB");
    EXPECT_EQ(SendDlgItemMessageA(dlg.SizePage()->m_hWnd, 1020, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(dlg.GetPendingFlag(), 0);
    op.Press(IDCANCEL);
  });
}

// A grey card under a tinted light: balancing on it, by a point or by a rectangle, makes
// its three channels equal.
TEST_F(RetouchPages, WhiteBalanceOnATintedCardMakesItGrey) {
  for (int kind : {CVexRetouchTabWBalance::kPoint, CVexRetouchTabWBalance::kRectangle}) {
    SCOPED_TRACE(kind);
    ShowStill(160, 128, [](int x, int y, BYTE* p) {
      const bool card = x >= 40 && x < 120 && y >= 32 && y < 96;
      p[0] = card ? 130 : 30, p[1] = card ? 160 : 40, p[2] = card ? 190 : 50;
    });
    doc->ClearRetouchList();
    Retouch([&](Operator& op) {
      CVexRetouchTabWBalance* page = op.Dialog().WBalancePage();
      op.ChooseTab(CVexRetouchDlg::kWBalancePage);
      if (kind == CVexRetouchTabWBalance::kRectangle) Operator::PressOn(page, 1023);
      Operator::PressOn(page, 1024);
      if (kind == CVexRetouchTabWBalance::kPoint) op.Click(300, 250);  // preview scale 4
      else op.Drag(200, 150, 400, 350);
      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page->m_hWnd, 1026)));
      Operator::PressOn(page, 1026);
      EXPECT_EQ(std::vector<int>(op.Dialog().GetSampleLevels(), op.Dialog().GetSampleLevels() + 3),
                (std::vector<int>{190, 160, 130}));
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page->m_hWnd, 1026)));
      Operator::PressOn(page, 1004);
      op.Press(IDOK);
    });
    const Picture still = Still();
    const BYTE* card = still.At(80, 64);
    EXPECT_EQ(card[0], card[1]);
    EXPECT_EQ(card[1], card[2]);
    ASSERT_EQ(ListKinds(), std::vector<int>{4});
    EXPECT_EQ(List().ops[0].value[0], 190);
  }
}

TEST_F(RetouchPages, BlackBalanceOnTheShadowsTakesThemToBlack) {
  ShowStill(64, 64, [](int x, int, BYTE* p) { p[0] = x < 32 ? 20 : 200, p[1] = x < 32 ? 30 : 200, p[2] = x < 32 ? 10 : 200; });
  Retouch([&](Operator& op) {
    CVexRetouchTabWBalance* page = op.Dialog().WBalancePage();
    op.ChooseTab(CVexRetouchDlg::kWBalancePage);
    Operator::PressOn(page, 1025);
    op.Click(40, 200);  // preview scale 8
    Operator::PressOn(page, 1026);
    Operator::PressOn(page, 1004);
    op.Press(IDOK);
  });
  const Picture still = Still();
  const BYTE* shadow = still.At(5, 5);
  EXPECT_EQ(shadow[0], 0);
  EXPECT_EQ(shadow[1], 0);
  EXPECT_EQ(shadow[2], 0);
  EXPECT_EQ(ListKinds(), std::vector<int>{5});
}

TEST_F(RetouchPages, ARightClickCancelsArmedSampling) {
  ShowFlat(64, 64, 90, 100, 110);
  Retouch([&](Operator& op) {
    CVexRetouchTabWBalance* page = op.Dialog().WBalancePage();
    op.ChooseTab(CVexRetouchDlg::kWBalancePage);
    Operator::PressOn(page, 1024);
    op.Click(100, 100, true);
    op.Click(200, 200);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page->m_hWnd, 1026)));
    EXPECT_EQ(op.Dialog().GetCursorMode(), 0);
    controlspy::Clear();
    Operator::PressOn(page, 1026);  // Start, though disabled for the user: nothing to do
    EXPECT_TRUE(CallsTo(331, op.Preview()).empty());
    EXPECT_TRUE(Repainting(op));
    op.Press(IDCANCEL);
  });
}

// A rectangle that covers no whole picture pixel gives no levels, and Start does nothing.
TEST_F(RetouchPages, ASampleWithoutAWholePixelLeavesTheLevelsUnknown) {
  ShowFlat(64, 64, 90, 100, 110);  // shown at 800 %
  Retouch([&](Operator& op) {
    CVexRetouchTabWBalance* page = op.Dialog().WBalancePage();
    op.ChooseTab(CVexRetouchDlg::kWBalancePage);
    Operator::PressOn(page, 1023);
    Operator::PressOn(page, 1024);
    op.Drag(81, 81, 86, 86);
    controlspy::Clear();
    Operator::PressOn(page, 1026);
    EXPECT_EQ(op.Dialog().GetSampleLevels()[0], -1);
    EXPECT_TRUE(CallsTo(331, op.Preview()).empty());
    EXPECT_EQ(op.Dialog().GetPendingFlag(), 0);
    op.Press(IDCANCEL);
  });
}

// Outside the picture the control answers -1 for a pixel; such places are not counted.
TEST_F(RetouchPages, ARectangleSampleCountsOnlyPixelsOfThePicture) {
  ShowFlat(64, 64, 90, 100, 110);
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    op.ChooseTab(CVexRetouchDlg::kWBalancePage);
    Operator::PressOn(dlg.WBalancePage(), 1023);
    op.PreviewLead().SetRegionRect(400, 400, 300, 300);  // half of it beyond the picture
    dlg.TakeSample();
    EXPECT_EQ(std::vector<int>(dlg.GetSampleLevels(), dlg.GetSampleLevels() + 3), (std::vector<int>{110, 100, 90}));
    op.Press(IDCANCEL);
  });
}

// However a page's handler ends (a failure, a refusal, nothing to do), the preview
// repaints on its own again and the wait cursor is gone.
TEST_F(RetouchPages, EveryWayOutOfAPageHandlerLeavesThePreviewLive) {
  const struct {
    const char* name;
    std::function<void(Operator&)> act;
    bool dialogEnds;
    const char* error;
  } cases[] = {
      {"failed sharpness trial",
       [](Operator& op) {
         plat::faults::Arm("imaging.Sharpen", 20001, 0, 1);
         Operator::CloseErrorBox();
         Operator::Slide(op.Dialog().EnhancePage(), 1010, {200});
       },
       false, "241:002"},
      {"failed hue trial",
       [](Operator& op) {
         op.ChooseTab(CVexRetouchDlg::kColorPage);
         plat::faults::Arm("imaging.ChangeHue", 20001, 0, 1);
         Operator::CloseErrorBox();
         Operator::Slide(op.Dialog().ColorPage(), 1014, {36});
       },
       true, "241:007"},
      {"Start without a mode",
       [](Operator& op) {
         op.ChooseTab(CVexRetouchDlg::kWBalancePage);
         Operator::PressOn(op.Dialog().WBalancePage(), 1026);
       },
       false, nullptr},
      {"Apply of a full list declined",
       [this](Operator& op) {
         for (int i = 0; i < tRetouchOpList::kCapacity; ++i) doc->QueueNegative();
         Operator::Answer(IDCANCEL);
         Operator::PressOn(op.Dialog().EnhancePage(), 1001);
       },
       false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ShowFlat(32, 32, 90, 100, 110);
    doc->ClearRetouchList();
    ErrorBoxes().clear();
    Retouch([&](Operator& op) {
      c.act(op);
      EXPECT_TRUE(Repainting(op));
      EXPECT_EQ(WaitCursors(), 0);
      EXPECT_EQ(op.Open(), !c.dialogEnds);
      if (op.Open()) op.Press(IDCANCEL);
    });
    plat::faults::DisarmAll();
    if (c.error) {
      ASSERT_EQ(ErrorBoxes().size(), 1u);
      EXPECT_NE(ErrorBoxes()[0].find(c.error), std::string::npos);
    } else {
      EXPECT_TRUE(ErrorBoxes().empty());
    }
  }
}

// Enhance Apply runs its four steps even past a failure; the failure ends the dialog, and
// an OK that applied the pending trial stays a Cancel.
TEST_F(RetouchPages, AFailedApplyAtOkEndsAsACancel) {
  ShowFlat(16, 16, 100, 100, 100, 1);
  const int result = Retouch([&](Operator& op) {
    Operator::Slide(op.Dialog().EnhancePage(), 1007, {51});
    Operator::Answer(IDOK);
    plat::faults::Arm("imaging.ChangeBrightness", 20001, 0, 1);
    Operator::CloseErrorBox();
    controlspy::Clear();
    op.Press(IDOK);
    EXPECT_EQ(CallsTo(312, StageControl()).size(), 1u);  // gamma still ran
  });
  EXPECT_EQ(result, 1);
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_NE(ErrorBoxes()[0].find("241:004"), std::string::npos);
  EXPECT_EQ(doc->GetImageState(), 1);
  EXPECT_EQ(doc->GetShotParameters().retouched, 0);
}

}  // namespace
