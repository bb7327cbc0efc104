// The "Retouch Image" dialog driven as an operator would, through the retouch stage:
// opening, the menu commands, the rubber band and the crop, Reload, OK and Cancel, the
// retouch list and the parts that cannot be built.
#include <gtest/gtest.h>

#include "RetouchRig.h"
#include "user/Driver.h"

namespace {

using namespace retouchrig;

class RetouchDialog : public RetouchRig {};

// Pixel (x, y) of a picture turned a quarter clockwise comes from (y, h - 1 - x).
Picture TurnedClockwise(const Picture& in) {
  Picture out{in.height, in.width, std::vector<BYTE>(in.bgr.size())};
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) std::copy_n(in.At(y, in.height - 1 - x), 3, &out.bgr[(size_t(y) * out.width + x) * 3]);
  return out;
}

TEST_F(RetouchDialog, OpensOnTheStillPictureWithItsPages) {
  ShowPattern(320, 256);
  const int result = Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    char caption[64] = {};
    GetWindowTextA(op.Hwnd(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Retouch Image");
    RECT r;
    GetWindowRect(op.Preview(), &r);
    POINT corner{r.left, r.top};
    ScreenToClient(op.Hwnd(), &corner);
    EXPECT_EQ(corner.x, 10);
    EXPECT_EQ(corner.y, 10);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 512);
    EXPECT_EQ(op.PreviewLead().GetBitmap(), buffers->GetSecondBitmap());
    EXPECT_FLOAT_EQ(dlg.GetViewScale(), 2.0f);
    // Enhance shown, the others hidden, each at its start values.
    EXPECT_TRUE(IsWindowVisible(dlg.EnhancePage()->m_hWnd));
    for (CWnd* page : {static_cast<CWnd*>(dlg.ColorPage()), static_cast<CWnd*>(dlg.SizePage()),
                       static_cast<CWnd*>(dlg.WBalancePage())})
      EXPECT_FALSE(IsWindowVisible(page->m_hWnd));
    EXPECT_EQ(Operator::Text(dlg.EnhancePage(), 1005), " 1.00");
    EXPECT_EQ(Operator::SliderPos(dlg.EnhancePage(), 1009), 100);
    EXPECT_EQ(Operator::Text(dlg.ColorPage(), 1013), "0");
    EXPECT_EQ(Operator::Text(dlg.SizePage(), 1018), "   320 x    256     0.23MB");
    EXPECT_EQ(SendDlgItemMessageA(dlg.SizePage()->m_hWnd, 1020, CB_GETCOUNT, 0, 0), 4);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg.WBalancePage()->m_hWnd, 1026)));
    EXPECT_NE(SendDlgItemMessageA(dlg.WBalancePage()->m_hWnd, 1024, BM_GETIMAGE, IMAGE_ICON, 0), 0);
    char tab[32] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = tab;
    item.cchTextMax = sizeof tab;
    SendDlgItemMessageA(op.Hwnd(), 1030, TCM_GETITEMA, 3, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(tab, "W.Balance");
    EXPECT_EQ(GetMenuItemCount(GetMenu(op.Hwnd())), 2);
    op.Press(IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(doc->GetImageState(), 3);
  EXPECT_EQ(doc->GetShotParameters().retouched, 1);
}

TEST_F(RetouchDialog, NoPictureShownIsRefusedWithoutADialog) {
  ShowPattern(32, 32, 0);
  responder::Reset();
  EXPECT_EQ(retouch->Process(kSlot, kSlot), 0);
  EXPECT_TRUE(responder::History().empty());
}

// Turns and flips land on the stage's picture; OK stores it in the slot and the still
// picture, and sets the image state by the rule (1 and 2 become 1, 3 and 4 become 3).
TEST_F(RetouchDialog, TurnsAndFlipsAreStoredAtOk) {
  const struct {
    SHORT state, after;
  } states[] = {{1, 1}, {2, 1}, {3, 3}, {4, 3}};
  for (const auto& s : states) {
    SCOPED_TRACE(s.state);
    ShowPattern(40, 24, s.state);
    const Picture before = Still();
    doc->ClearRetouchList();
    Retouch([&](Operator& op) {
      op.Command(32771);  // a quarter clockwise
      op.Command(32776);  // and back to front twice
      op.Command(32776);
      op.Press(IDOK);
    });
    EXPECT_TRUE(SamePixels(Still(), TurnedClockwise(before)));
    EXPECT_TRUE(SamePixels(Slot(kSlot), Still()));
    EXPECT_EQ(doc->GetImageState(), s.after);
    EXPECT_EQ(doc->GetImageSize().cx, 24);
    EXPECT_EQ(ListKinds(), (std::vector<int>{6, 9, 9}));
  }
}

TEST_F(RetouchDialog, BandsNarrowerThanFivePixelsAreRemoved) {
  ShowPattern(320, 256);
  const struct {
    int w, h;
    int bandState;
  } cases[] = {{4, 50, -1}, {50, 4, -1}, {5, 5, 1}, {-30, -20, 1}};
  Retouch([&](Operator& op) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
      op.Drag(100, 100, 100 + c.w, 100 + c.h);
      EXPECT_EQ(op.Dialog().GetBandState(), c.bandState);
      if (c.bandState == 1) {
        // Kept, normalised to a positive size.
        EXPECT_EQ(op.PreviewLead().GetRegionWidth(), float(std::abs(c.w)));
        EXPECT_EQ(op.PreviewLead().GetRegionLeft(), float(std::min(100, 100 + c.w)));
      }
      op.Click(5, 5, true);
    }
    op.Press(IDCANCEL);
  });
}

TEST_F(RetouchDialog, AShownBandIsMovedWithinThePicture) {
  ShowPattern(320, 256);  // shown at 640 x 512
  Retouch([&](Operator& op) {
    op.Drag(100, 100, 200, 150);
    ASSERT_EQ(op.Dialog().GetBandState(), 1);
    op.Drag(150, 120, 160, 140);  // by (10, 20)
    EXPECT_EQ(op.PreviewLead().GetRegionLeft(), 110.0f);
    EXPECT_EQ(op.PreviewLead().GetRegionTop(), 120.0f);
    EXPECT_EQ(op.PreviewLead().GetRegionWidth(), 100.0f);
    op.Drag(150, 150, 639, 511);  // held at the picture's bottom right
    EXPECT_EQ(op.PreviewLead().GetRegionLeft(), 540.0f);
    EXPECT_EQ(op.PreviewLead().GetRegionTop(), 462.0f);
    op.Drag(500, 20, 700, 600);  // a new band, outside the shown one, ends at the picture's edge
    EXPECT_EQ(op.PreviewLead().GetRegionWidth(), 140.0f);
    EXPECT_EQ(op.PreviewLead().GetRegionHeight(), 492.0f);
    op.Press(IDCANCEL);
  });
}

TEST_F(RetouchDialog, PressesOutsideThePictureOrOnThePendingCropsEdgeDoNothing) {
  ShowPattern(160, 256);  // shown at 320 x 512: the right half of the preview is empty
  Retouch([&](Operator& op) {
    op.Drag(400, 100, 450, 150);
    EXPECT_EQ(op.Dialog().GetBandState(), -1);
    op.Crop(100, 100, 250, 300);
    ASSERT_EQ(op.Dialog().GetCropState(), 1);
    op.Drag(100, 150, 200, 250);  // on the crop's left edge
    EXPECT_EQ(op.Dialog().GetBandState(), -1);
    op.Drag(110, 150, 200, 250);
    EXPECT_EQ(op.Dialog().GetBandState(), 1);
    op.Press(IDCANCEL);
  });
}

// At preview scale 0.5 a crop must reach 100 picture pixels one way: 50 preview pixels.
TEST_F(RetouchDialog, CropsSmallerThanAHundredPicturePixelsAreRefused) {
  ShowPattern(1280, 1024);
  const struct {
    int w, h;
    int cropState;
    const char* newSize;
  } cases[] = {{49, 49, -1, nullptr}, {50, 10, 1, "   100 x     20     0.01MB"}, {10, 50, 1, "    20 x    100     0.01MB"}};
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    ASSERT_FLOAT_EQ(dlg.GetViewScale(), 0.5f);
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
      responder::Reset();
      op.Crop(200, 200, 200 + c.w, 200 + c.h);
      EXPECT_EQ(dlg.GetCropState(), c.cropState);
      EXPECT_EQ(dlg.GetBandState(), -1);
      if (c.newSize) {
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(Operator::Text(dlg.SizePage(), 1019), c.newSize);
        EXPECT_EQ(op.PreviewLead().GetValue25(), 200.0f);  // the preview shows the crop alone
        EXPECT_EQ(op.PreviewLead().GetValue27(), float(c.w));
      } else {
        ASSERT_EQ(Boxes(), std::vector<std::string>{"Cropの領域が狭すぎます。"});
        EXPECT_EQ(responder::History()[0].caption, "Lumora");
        EXPECT_EQ(op.PreviewLead().GetRegionWidth(), 0.0f);
      }
      op.Command(32786);
    }
    op.Press(IDCANCEL);
  });
}

TEST_F(RetouchDialog, OkCarriesOutThePendingCropWhenTheOperatorAgrees) {
  for (int answer : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(answer);
    ShowPattern(320, 256);
    const Picture before = Still();
    Retouch([&](Operator& op) {
      op.Crop(40, 20, 240, 120);  // picture pixels 20, 10, 100 x 50
      Operator::Answer(answer);
      op.Press(IDOK);
    });
    EXPECT_EQ(Boxes().back(), "変更を適用しますか？");
    const Picture after = Still();
    if (answer == IDOK) {
      ASSERT_EQ(after.width, 100);
      ASSERT_EQ(after.height, 50);
      EXPECT_TRUE(std::equal(after.At(0, 0), after.At(0, 0) + 3, before.At(20, 10)));
      EXPECT_EQ(List().ops[List().count - 1].kind, 13);
      EXPECT_EQ(List().ops[List().count - 1].value[2], 10000);  // the width, in hundredths
    } else {
      EXPECT_TRUE(SamePixels(after, before));
    }
    doc->ClearRetouchList();
  }
}

TEST_F(RetouchDialog, ATurnAsksAboutThePendingCropAndCancelDropsIt) {
  ShowPattern(320, 256);
  const Picture before = Still();
  Retouch([&](Operator& op) {
    op.Crop(40, 20, 240, 120);
    Operator::Answer(IDCANCEL);
    op.Command(32771);
    EXPECT_EQ(op.Dialog().GetCropState(), -1);
    op.Press(IDOK);  // nothing pending, nothing asked
  });
  EXPECT_EQ(Boxes(), std::vector<std::string>{"変更を適用しますか？"});
  EXPECT_TRUE(SamePixels(Still(), TurnedClockwise(before)));
}

TEST_F(RetouchDialog, ATurnWithThePendingCropAcceptedCropsFirst) {
  ShowPattern(320, 256);
  const Picture before = Still();
  Retouch([&](Operator& op) {
    op.Crop(40, 20, 240, 120);
    Operator::Answer(IDOK);
    op.Command(32774);  // half a turn
    op.Press(IDOK);
  });
  const Picture after = Still();
  ASSERT_EQ(after.width, 100);
  ASSERT_EQ(after.height, 50);
  EXPECT_TRUE(std::equal(after.At(99, 49), after.At(99, 49) + 3, before.At(20, 10)));
  EXPECT_EQ(ListKinds(), (std::vector<int>{13, 8}));
}

TEST_F(RetouchDialog, GrayscaleAnsweredNoKeepsTheColoursAndTheListEntry) {
  ShowPattern(64, 48);
  const Picture before = Still();
  Retouch([&](Operator& op) {
    Operator::Answer(IDNO);
    op.Command(32779);
    op.Press(IDOK);
  });
  EXPECT_EQ(Boxes(), std::vector<std::string>{"色素を削除します。\nよろしいですか？"});
  EXPECT_TRUE(SamePixels(Still(), before));
  EXPECT_EQ(ListKinds(), std::vector<int>{11});

  Retouch([&](Operator& op) {
    Operator::Answer(IDYES);
    op.Command(32779);
    op.Command(32781);  // and a negative of the grey
    op.Press(IDOK);
  });
  EXPECT_EQ(BitsOf(buffers->GetSecondBitmap()), 8);
}

TEST_F(RetouchDialog, UndoDropsTheSelectionAndKeepsAppliedTurns) {
  ShowPattern(320, 256);
  const Picture before = Still();
  Retouch([&](Operator& op) {
    op.Command(32771);
    op.Crop(40, 20, 240, 120);
    op.Command(32786);
    EXPECT_EQ(op.Dialog().GetCropState(), -1);
    EXPECT_EQ(op.PreviewLead().GetRegionWidth(), 0.0f);
    EXPECT_EQ(Operator::Text(op.Dialog().SizePage(), 1019), "   256 x    320     0.23MB");
    op.Press(IDOK);
  });
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(SamePixels(Still(), TurnedClockwise(before)));
}

// A quarter turn chosen with the mouse from the dialog's menu: the Size page, its tab
// clicked, shows the turned picture's size as the current and the new size.
TEST_F(RetouchDialog, AfterATurnTheSizePageShowsTheTurnedSize) {
  namespace driver = plat::user::driver;
  ShowPattern(320, 256);
  Retouch([&](Operator& op) {
    RECT bar{};
    ASSERT_TRUE(GetMenuItemRect(op.Hwnd(), GetMenu(op.Hwnd()), 0, &bar));  // "Image"
    driver::Click((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
    driver::Click(bar.left + 30, bar.bottom + 10);  // its first item, "Rotate 90CW"
    driver::WaitIdle();
    HWND tab = GetDlgItem(op.Hwnd(), 1030);
    RECT item{};
    SendMessageA(tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&item), 2);
    driver::Click((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    driver::WaitIdle();
    CVexRetouchTabSize* page = op.Dialog().SizePage();
    EXPECT_TRUE(IsWindowVisible(page->m_hWnd));
    EXPECT_EQ(Operator::Text(page, 1018), "   256 x    320     0.23MB");
    EXPECT_EQ(Operator::Text(page, 1019), "   256 x    320     0.23MB");
    op.Press(IDOK);
  });
  EXPECT_EQ(Still().width, 256);
}

TEST_F(RetouchDialog, NegativeInvertsBothControls) {
  ShowFlat(16, 16, 10, 20, 30);
  Retouch([&](Operator& op) {
    op.Command(32781);
    const LONG v = op.PreviewLead().GetPixel(3, 3);
    EXPECT_EQ(v, LONG(RGB(225, 235, 245)));
    op.Press(IDOK);
  });
  EXPECT_EQ(Still().At(0, 0)[0], 245);
}

TEST_F(RetouchDialog, ReloadBringsBackTheUneditedPictureAndResetsEveryPage) {
  ShowPattern(320, 256);
  const LONG unedited = buffers->GetSecondBitmap();
  const Picture before = Still();
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    op.Command(32781);
    op.Command(32771);
    op.ChooseTab(CVexRetouchDlg::kSizePage);
    Operator::ChooseSize(dlg.SizePage(), 2);
    Operator::PressOn(dlg.SizePage(), 1003);
    ASSERT_EQ(dlg.GetSizeChoice(), 2);
    Operator::Slide(dlg.EnhancePage(), 1007, {40});
    op.Press(1031);
    EXPECT_EQ(dlg.GetSizeChoice(), 0);
    EXPECT_EQ(dlg.GetPendingFlag(), 0);
    EXPECT_EQ(SendDlgItemMessageA(dlg.SizePage()->m_hWnd, 1020, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Operator::Text(dlg.EnhancePage(), 1003), "0");
    EXPECT_EQ(Operator::SliderPos(dlg.EnhancePage(), 1007), 0);
    EXPECT_EQ(op.PreviewLead().GetBitmap(), unedited);
    // The whole landscape picture is shown again, not the view of the turned one.
    EXPECT_EQ(op.PreviewLead().GetValue27(), 640.0f);
    EXPECT_EQ(List().count, 0);
    op.Press(IDOK);
  });
  EXPECT_TRUE(SamePixels(Still(), before));
}

TEST_F(RetouchDialog, CancelAfterEditsStoresTheUneditedPicture) {
  ShowPattern(64, 48, 1);
  const Picture before = Still();
  const int result = Retouch([&](Operator& op) {
    op.Command(32781);
    op.Command(32772);
    op.Press(IDCANCEL);
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(SamePixels(Still(), before));
  EXPECT_TRUE(SamePixels(Slot(kSlot), before));
  EXPECT_EQ(doc->GetImageState(), 1);
  EXPECT_EQ(doc->GetShotParameters().retouched, 0);
  EXPECT_EQ(List().count, 0);
}

TEST_F(RetouchDialog, TheCloseBoxActsAsCancel) {
  ShowPattern(64, 48);
  const Picture before = Still();
  Retouch([&](Operator& op) {
    op.Command(32781);
    SendMessageA(op.Hwnd(), WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(SamePixels(Still(), before));
}

TEST_F(RetouchDialog, HalfSizeAppliedThenOkHalvesBothSides) {
  ShowPattern(320, 256);
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    op.ChooseTab(CVexRetouchDlg::kSizePage);
    Operator::ChooseSize(dlg.SizePage(), 2);
    EXPECT_EQ(Operator::Text(dlg.SizePage(), 1019), "   160 x    128     0.06MB");
    Operator::PressOn(dlg.SizePage(), 1003);
    op.Press(IDOK);
  });
  EXPECT_EQ(Still().width, 160);
  EXPECT_EQ(Still().height, 128);
  EXPECT_EQ(doc->GetImageSize().cx, 160);
  EXPECT_EQ(ListKinds(), std::vector<int>{3});
  EXPECT_EQ(List().ops[0].value[0], 50);
}

// A full list asks before each edit: OK carries the edit out unrecorded, Cancel drops it.
TEST_F(RetouchDialog, AFullListAsksWhetherToGoOn) {
  for (int answer : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(answer);
    ShowFlat(8, 8, 10, 20, 30);
    responder::Reset();
    doc->ClearRetouchList();
    for (int i = 0; i < tRetouchOpList::kCapacity; ++i) ASSERT_EQ(doc->QueueFlipVertical(), 0);
    Retouch([&](Operator& op) {
      Operator::Answer(answer);
      op.Command(32781);
      op.Press(IDOK);
    });
    EXPECT_EQ(Boxes(), std::vector<std::string>{"記憶不可。続けますか？"});
    EXPECT_EQ(responder::History().back().caption, "Retouch Image");
    EXPECT_EQ(Still().At(0, 0)[0], answer == IDOK ? 245 : 10);
    EXPECT_EQ(List().count, tRetouchOpList::kCapacity);
    EXPECT_EQ(List().ops[99].kind, 10);
  }
}

// A command that fails on either control is reported; the dialog ends as a Cancel that
// keeps the edits made so far, which the stage stores.
TEST_F(RetouchDialog, AFailingCommandEndsTheDialogKeepingTheEditsSoFar) {
  const struct {
    UINT command;
    const char* point;
    int skip;
    const char* code;
  } cases[] = {
      {32771, "imaging.Rotate", 0, "241:014"},        {32771, "imaging.Rotate", 1, "241:015"},
      {32772, "imaging.Rotate", 0, "241:016"},        {32774, "imaging.Rotate", 1, "241:019"},
      {32776, "imaging.FlipHorizontal", 0, "241:020"}, {32778, "imaging.FlipVertical", 1, "241:023"},
      {32781, "imaging.Negative", 0, "241:026"},      {32781, "imaging.Negative", 1, "241:027"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    ShowFlat(8, 8, 10, 20, 30, 1);
    const int result = Retouch([&](Operator& op) {
      op.Command(32781);  // an edit that stays
      plat::faults::Arm(c.point, 20001, c.skip, 1);
      Operator::CloseErrorBox();
      op.Command(c.command);
      EXPECT_FALSE(op.Open());
    });
    plat::faults::DisarmAll();
    EXPECT_EQ(result, 1);
    ASSERT_FALSE(ErrorBoxes().empty());
    EXPECT_NE(ErrorBoxes().back().find(c.code), std::string::npos);
    EXPECT_EQ(doc->GetImageState(), 1);  // a Cancel
    const bool secondNegativeDone = c.command == 32781 && c.skip == 0;
    EXPECT_EQ(Still().At(0, 0)[0], secondNegativeDone ? 10 : 245);
  }
}

// The dialog's parts are built before it opens; one that cannot be made is reported as
// 242 to 246 and nothing is shown, and the stage still stores its picture.
TEST_F(RetouchDialog, APartThatCannotBeBuiltIsReportedAndNothingOpens) {
  static int failing = 0;
  for (failing = 1; failing <= 5; ++failing) {
    SCOPED_TRACE(failing);
    ShowPattern(32, 32);
    const Picture before = Still();
    CVexRetouchDlg::SetPartFailHook([](int part) { return part == failing; });
    responder::Reset();
    Operator::CloseErrorBox();
    EXPECT_EQ(retouch->Process(kSlot, kSlot), 1);
    ASSERT_EQ(responder::History().size(), 1u);  // the error box alone
    EXPECT_EQ(ErrorBoxes().back(), "エラーコード: " + std::to_string(241 + failing) + ":001");
    EXPECT_EQ(retouch->GetConstructionError(), failing);
    EXPECT_TRUE(SamePixels(Still(), before));
  }
}

TEST_F(RetouchDialog, SampleCursorsFollowTheSamplingState) {
  ShowFlat(320, 256, 100, 100, 100);
  Retouch([&](Operator& op) {
    CVexRetouchDlg& dlg = op.Dialog();
    HINSTANCE res = AfxGetResourceHandle();
    auto cursorAt = [&] {
      SendMessageA(op.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(op.Preview()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      return GetCursor();
    };
    op.ChooseTab(CVexRetouchDlg::kWBalancePage);
    Operator::PressOn(dlg.WBalancePage(), 1024);
    SendMessageA(op.Preview(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(dlg.GetCursorMode(), 1);
    EXPECT_EQ(cursorAt(), LoadCursorA(res, MAKEINTRESOURCEA(132)));
    op.Click(50, 50);
    EXPECT_EQ(cursorAt(), LoadCursorA(res, MAKEINTRESOURCEA(133)));
    Operator::PressOn(dlg.WBalancePage(), 1025);
    op.Click(60, 60);
    EXPECT_EQ(cursorAt(), LoadCursorA(res, MAKEINTRESOURCEA(134)));
    SendMessageA(op.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(700, 600));  // away from the preview
    EXPECT_EQ(dlg.GetCursorMode(), 0);
    op.Press(IDCANCEL);
  });
}

}  // namespace
