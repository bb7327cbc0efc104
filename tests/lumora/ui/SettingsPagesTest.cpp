// The five settings pages in the running program, with the real control panel behind
// them: each choice, click and edit goes at once through the panel to the document; the
// numeric edits keep to their ranges; the Save page checks the name before it stores
// it; the Timer page's totals follow the interval, the shots and the exposure; and a
// loaded setting file shows on every page without the pages' own handlers firing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "SettingsSheetRig.h"
#include "TestEnv.h"
#include "ui/VexMainControlView.h"

namespace {

enum { kPhoto = 0, kSave = 1, kLive = 2, kTimer = 3, kOption = 4 };

class SettingsPages : public SettingsSheetRig {};

// ---- the sheet

TEST_F(SettingsPages, TheSheetHoldsTheFivePagesInOrderEachMadeAndFittedUnderTheTabs) {
  StartSheet();
  ASSERT_EQ(sheet->GetPageCount(), 5);
  const char* const captions[] = {"Photo", "Save", "Live", "Timer", "Option"};
  CTabCtrl* tab = sheet->GetTabControl();
  ASSERT_NE(tab, nullptr);
  CRect place;
  ::GetWindowRect(::GetDlgItem(panel->m_hWnd, CVexMainControlView::kSheetPlace), &place);
  for (int i = 0; i < 5; ++i) {
    char text[32] = {};
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(tab->GetItem(i, &item));
    EXPECT_STREQ(text, captions[i]);
    EXPECT_GE(item.iImage, 0) << captions[i] << " shows its icon";
    ASSERT_NE(Page(i), nullptr) << captions[i] << " exists from the start";
    CRect page;
    ::GetWindowRect(Page(i), &page);
    EXPECT_TRUE(place.PtInRect(page.TopLeft()) && page.right <= place.right && page.bottom <= place.bottom)
        << captions[i] << " fits the panel's place";
  }
  char caption[32] = {};
  ::GetWindowTextA(sheet->m_hWnd, caption, sizeof caption);
  EXPECT_STREQ(caption, "Settings");
  EXPECT_EQ(CVexPropertyPage::Panel(), panel);
}

// ---- Photo

TEST_F(SettingsPages, PhotoListsHoldTheirLabelsAndQuickSwitchesTheListsAndTheShootRow) {
  StartSheet();
  struct List {
    int id;
    int rows;
    const char* first;
    const char* last;
  } lists[] = {{1006, 10, "9: [ 3840x3072 ]", "0: [   640x480 ]"},
               {1007, 4, "3: [ 1280x1024 ]", "0: [   640x480 ]"},
               {1008, 5, "Jpeg(Fine)", "Tiff"}};
  for (const List& l : lists) {
    HWND list = Item(kPhoto, l.id);
    ASSERT_EQ(::SendMessageA(list, CB_GETCOUNT, 0, 0), l.rows) << l.id;
    char text[64] = {};
    ::SendMessageA(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, l.first);
    ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(l.rows - 1), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, l.last);
  }
  panel->SetFineMode(1);
  Choose(kPhoto, 1007, 2);  // "1: [   800x600 ]"
  EXPECT_EQ(panel->GetQuickPhotoMode(), 12);
  Click(kPhoto, 1010);
  EXPECT_FALSE(Enabled(kPhoto, 1006));
  EXPECT_TRUE(Enabled(kPhoto, 1007));
  EXPECT_EQ(doc->GetFineMode(), 0u);
  EXPECT_EQ(doc->GetShootBufferSize(), 12) << "the quick row of the chosen size";
  Click(kPhoto, 1009);
  EXPECT_TRUE(Enabled(kPhoto, 1006));
  EXPECT_FALSE(Enabled(kPhoto, 1007));
  EXPECT_EQ(doc->GetFineMode(), 1u);
}

TEST_F(SettingsPages, PhotoFormatGoesToTheDocumentAndTheFocusToTheCaptureButton) {
  StartSheet();
  ::SetFocus(Item(kPhoto, 1008));
  Choose(kPhoto, 1008, 4);
  EXPECT_EQ(doc->GetFileFormat(), 4u);
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(panel->m_hWnd, CVexMainControlView::kCaptureButton));
  Click(kPhoto, 1011);
  EXPECT_EQ(doc->GetAutoSave(), Checked(kPhoto, 1011) ? 1u : 0u);
  EXPECT_EQ(panel->GetAutoSave(), static_cast<int>(doc->GetAutoSave()));
}

// ---- Save

TEST_F(SettingsPages, ApplyShowsTheFirstAutomaticNameAndStoresTheFolderWithItsBackslash) {
  Set("DRIVES", "D=" + testenv::ScratchDir());
  StartSheet();
  panel->SetFileFormat(3);
  Put(kSave, 1015, "D:\\Pics");
  Put(kSave, 1017, "a");
  Put(kSave, 1019, "$###");
  Click(kSave, 1056);
  EXPECT_EQ(Text(kSave, 1057), "D:\\Pics\\a001.bmp");
  EXPECT_STREQ(doc->GetSaveFolder(), "D:\\Pics\\");
  EXPECT_STREQ(doc->GetSavePrefix(), "a");
  EXPECT_STREQ(doc->GetSaveBody(), "$###");
  EXPECT_EQ(panel->GetSaveFolder(), "D:\\Pics\\");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsPages, DefaultAppliesTheStandardFolderAndNameAtOnce) {
  StartSheet();
  Put(kSave, 1015, "C:\\Elsewhere");
  Put(kSave, 1017, "x");
  Put(kSave, 1019, "y");
  panel->SetFileFormat(0);
  Click(kSave, 1001);
  EXPECT_EQ(Text(kSave, 1015), "C:\\Image");
  EXPECT_STREQ(doc->GetSaveFolder(), "C:\\Image\\");
  EXPECT_STREQ(doc->GetSavePrefix(), "img_");
  EXPECT_STREQ(doc->GetSaveBody(), "$###");
  EXPECT_EQ(Text(kSave, 1057), "C:\\Image\\img_001.jpg");
}

TEST_F(SettingsPages, TypingStoresEachTextAtOnceUnlessTheThreeGoPast200Characters) {
  StartSheet();
  Put(kSave, 1015, "C:\\Typed");
  EXPECT_STREQ(doc->GetSaveFolder(), "C:\\Typed") << "typing adds no backslash";
  Put(kSave, 1017, "pre");
  EXPECT_STREQ(doc->GetSavePrefix(), "pre");
  const std::string body(200 - 8 - 3, 'b');  // exactly 200 together
  Put(kSave, 1019, body);
  EXPECT_EQ(std::string(doc->GetSaveBody()), body);
  Put(kSave, 1019, body + "c");  // 201
  EXPECT_EQ(std::string(doc->GetSaveBody()), body) << "not stored";
  EXPECT_EQ(panel->GetSaveBody(), body.c_str());
}

TEST_F(SettingsPages, ANameThatWouldGrowTo256CharactersIsRefusedAndNothingIsStored) {
  StartSheet();
  panel->SetFileFormat(0);
  Click(kSave, 1001);  // a known example and folder first
  const std::string folder = "C:\\" + std::string(60, 'f');  // 64 with its backslash
  struct Case {
    size_t body;  // longest derived name: 64 + body + "js.jpg"
    bool stored;
  } cases[] = {{186, false}, {185, true}};
  for (const Case& c : cases) {
    const std::string exampleBefore = Text(kSave, 1057);
    Put(kSave, 1015, folder);
    Put(kSave, 1017, "");
    Put(kSave, 1019, std::string(c.body, 'b'));
    boxes.clear();
    if (!c.stored) AnswerBox();
    Click(kSave, 1056);
    if (c.stored) {
      EXPECT_TRUE(boxes.empty()) << c.body;
      EXPECT_EQ(std::string(doc->GetSaveFolder()), folder + "\\") << c.body;
      EXPECT_EQ(std::string(doc->GetSaveBody()), std::string(c.body, 'b'));
    } else {
      ASSERT_EQ(boxes.size(), 1u) << c.body;
      EXPECT_EQ(boxes[0], "ファイル名が長すぎます\n保存設定を確認してください");
      EXPECT_EQ(Text(kSave, 1057), exampleBefore) << "the example stays";
      EXPECT_EQ(std::string(doc->GetSaveFolder()), folder) << "as typed: no backslash was stored";
      EXPECT_STREQ(doc->GetSaveBody(), "$###") << "the long body was never stored";
    }
  }
}

TEST_F(SettingsPages, AnEmptyFolderIsRefusedLikeAnOverlongName) {
  StartSheet();
  Click(kSave, 1001);
  const std::string example = Text(kSave, 1057);
  Put(kSave, 1015, "");
  AnswerBox();
  Click(kSave, 1056);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "ファイル名が長すぎます\n保存設定を確認してください");
  EXPECT_EQ(Text(kSave, 1057), example);
  EXPECT_STREQ(doc->GetSaveFolder(), "") << "what typing stored stays; Apply added nothing";
}

TEST_F(SettingsPages, ADriveInformationDialogThatCannotBeMadeIsReportedAs801Of1) {
  StartSheet();
  plat::user::responder::FailNextDialog();
  AnswerErrorBox();
  Click(kSave, 1150);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("801:001"), std::string::npos) << errors[0];
}

// ---- Live

TEST_F(SettingsPages, ColourStepsWaitForDigitsAfterAMinusAndKeepToMinus10To10) {
  StartSheet();
  Put(kLive, 1173, "3");
  ASSERT_EQ(doc->GetRGBRed(), 3);
  struct Case {
    int id;
    const char* typed;
    const char* shown;
    SHORT stored;
  } cases[] = {
      {1173, "-", "-", 3},       // a lone minus changes nothing
      {1173, "-12", "-10", -10},
      {1173, "15", "10", 10},
      {1174, "-7", "-7", -7},
      {1174, "", "-7", -7},      // emptied: refilled with the current value
  };
  for (const Case& c : cases) {
    Put(kLive, c.id, c.typed);
    EXPECT_EQ(Text(kLive, c.id), c.shown) << c.id << " " << c.typed;
    EXPECT_EQ(c.id == 1173 ? doc->GetRGBRed() : doc->GetRGBGreen(), c.stored) << c.id << " " << c.typed;
  }
}

TEST_F(SettingsPages, RectangleWhileWBIsDownPicksARectangleAtOnceAndStartEndsThePicking) {
  StartSheet();
  Click(kLive, 1034);
  EXPECT_FALSE(Enabled(kLive, 1036));
  Click(kLive, 1074);
  EXPECT_TRUE(Checked(kLive, 1074));
  EXPECT_TRUE(Enabled(kLive, 1036));
  EXPECT_EQ(doc->GetDisplayMode(), 2);
  Click(kLive, 1035);
  EXPECT_EQ(doc->GetWBSampleRect(), 1u);
  EXPECT_EQ(doc->GetDisplayMode(), 3);
  AnswerBox();  // no area was chosen
  Click(kLive, 1036);
  EXPECT_FALSE(Checked(kLive, 1074));
  EXPECT_FALSE(Enabled(kLive, 1036));
  EXPECT_EQ(doc->GetWBAreaSelection(), 0);
  EXPECT_EQ(panel->IsWhiteBalanceArea(), 0);
}

TEST_F(SettingsPages, DirectionFlipAndFocusMarkGoToTheDocument) {
  StartSheet();
  Click(kLive, 1031);
  EXPECT_EQ(doc->GetDirection(), 2u);
  Click(kLive, 1033);
  EXPECT_EQ(doc->GetFlip(), 1u);
  EXPECT_EQ(doc->GetRotateReverseMode(), 6);
  Click(kLive, 1121);
  EXPECT_EQ(doc->GetFocusTargetState(), Checked(kLive, 1121) ? 1u : 0u);
  Click(kLive, 1122);
  EXPECT_EQ(doc->GetFocusTargetDocking(), Checked(kLive, 1122) ? 1u : 0u);
}

// ---- Option

TEST_F(SettingsPages, OffsetsAndShadingLevelKeepToTheirSpinsRanges) {
  StartSheet();
  struct Case {
    int id;
    const char* typed;
    const char* shown;
    int (CVexMainControlView::*stored)() const;
    int value;
  } cases[] = {
      {1140, "20", "15", &CVexMainControlView::GetContrastOffset, 15},
      {1140, "-3", "0", &CVexMainControlView::GetContrastOffset, 0},
      {1141, "7", "7", &CVexMainControlView::GetLevelOffset, 7},
      {1142, "16", "15", &CVexMainControlView::GetSharpnessOffset, 15},
      {1142, "", "15", &CVexMainControlView::GetSharpnessOffset, 15},
      {1147, "150", "100", &CVexMainControlView::GetShadingLevel, 100},
      {1147, "-1", "0", &CVexMainControlView::GetShadingLevel, 0},
      {1147, "40", "40", &CVexMainControlView::GetShadingLevel, 40},
  };
  for (const Case& c : cases) {
    Put(kOption, c.id, c.typed);
    EXPECT_EQ(Text(kOption, c.id), c.shown) << c.id << " " << c.typed;
    EXPECT_EQ((panel->*c.stored)(), c.value) << c.id << " " << c.typed;
  }
  EXPECT_EQ(doc->GetContrastOffset(), 0u);
  EXPECT_EQ(doc->GetSharpnessOffset(), 15u);
  EXPECT_EQ(doc->GetShadingLevel(), 40);
}

TEST_F(SettingsPages, EnhancementShadingAndColourBalanceDisableTheirEdits) {
  StartSheet();
  struct Case {
    int page, check;
    std::vector<int> edits;
  } cases[] = {{kOption, 1013, {1140, 1141, 1142}}, {kOption, 1146, {1147}}, {kLive, 1123, {1173, 1174, 1175}}};
  for (const Case& c : cases) {
    if (Checked(c.page, c.check)) Click(c.page, c.check);
    for (int id : c.edits) EXPECT_TRUE(Enabled(c.page, id)) << c.check << " off: " << id;
    Click(c.page, c.check);
    ASSERT_TRUE(Checked(c.page, c.check));
    for (int id : c.edits) EXPECT_FALSE(Enabled(c.page, id)) << c.check << " on: " << id;
  }
  EXPECT_EQ(doc->GetAutoEnhance(), 1u);
  EXPECT_EQ(panel->GetShadingOption(), 1);
  EXPECT_EQ(panel->GetRGBOption(), 1);
}

TEST_F(SettingsPages, ColourModeReductionPrintAndNoiseReductionGoToTheDocument) {
  StartSheet();
  Click(kOption, 1025);
  EXPECT_EQ(doc->GetColorMode(), 2u);
  EXPECT_EQ(doc->GetInvertColorMode(), 1);
  Choose(kOption, 1064, 2);
  EXPECT_EQ(doc->GetResizeSaveSize(), 2u);
  for (int id : {1010, 1012, 1020}) Click(kOption, id);
  EXPECT_EQ(doc->GetResizeSave(), Checked(kOption, 1010) ? 1u : 0u);
  EXPECT_EQ(doc->GetAutoPrint(), Checked(kOption, 1012) ? 1u : 0u);
  EXPECT_EQ(doc->GetAutoNoiseReduction(), Checked(kOption, 1020) ? 1u : 0u);
  EXPECT_EQ(ItemText(CVexMainControlView::kStatusBox).find("R:25%") != std::string::npos,
            doc->GetResizeSave() == 1u);
}

// ---- Timer

TEST_F(SettingsPages, TimerTotalsFollowTheIntervalTheShotsAndTheExposure) {
  StartSheet();
  panel->SetFineMode(0);
  CVexPropertyPage4& timer = sheet->m_page4;
  timer.IntervalControl().SetDateTime(COleDateTime(2001, 1, 1, 0, 0, 30));
  ::SendMessageA(Page(kTimer), WM_COMMAND, MAKEWPARAM(1004, EN_CHANGE), reinterpret_cast<LPARAM>(Item(kTimer, 1004)));
  EXPECT_EQ(panel->GetIntervalHour() * 3600 + panel->GetIntervalMin() * 60 + panel->GetIntervalSec(), 3630);
  Put(kTimer, 1070, "10");
  EXPECT_EQ(doc->GetTotalShots(), 10u);
  ASSERT_EQ(panel->EstimateCaptureSeconds(), 0) << "quick mode, short exposure";
  EXPECT_EQ(Text(kTimer, 1003), "10 :  5 :  0");
  char size[32];
  std::snprintf(size, sizeof size, "%5.1f MB", 10.0 * doc->GetImageByteSize() / 1024.0 / 1024.0);
  EXPECT_EQ(Text(kTimer, 1005), size);

  Put(kTimer, 1070, "0");
  EXPECT_EQ(Text(kTimer, 1003), " 0 :  0 :  0");
  EXPECT_EQ(Text(kTimer, 1005), "  0.0 MB");
  Put(kTimer, 1070, "12000");
  EXPECT_EQ(Text(kTimer, 1070), "9999");
  Put(kTimer, 1070, "");
  EXPECT_EQ(Text(kTimer, 1070), "9999") << "an emptied count is refilled";
  EXPECT_EQ(doc->GetTotalShots(), 9999u);

  // A long exposure adds its capture time once.
  Put(kTimer, 1070, "10");
  HWND slider = ::GetDlgItem(panel->m_hWnd, CVexMainControlView::kSlider);
  ::SendMessageA(slider, TBM_SETPOS, TRUE, CVexMainControlView::kLongPosition);
  ::SendMessageA(panel->m_hWnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, CVexMainControlView::kLongPosition),
                 reinterpret_cast<LPARAM>(slider));
  const int extra = panel->EstimateCaptureSeconds();
  ASSERT_GT(extra, 0);
  char total[32];
  std::snprintf(total, sizeof total, "%2d : %2d : %2d", (36300 + extra) / 3600, (36300 + extra) / 60 % 60,
                (36300 + extra) % 60);
  EXPECT_EQ(Text(kTimer, 1003), total);
}

TEST_F(SettingsPages, EnableTimerSwitchesTheCaptureButtonToTheTimeLapseStart) {
  StartSheet();
  Click(kTimer, 1010);
  EXPECT_EQ(doc->GetEnableTimeLapse(), 1u);
  EXPECT_EQ(ItemText(CVexMainControlView::kCaptureButton), "START");
  Click(kTimer, 1010);
  EXPECT_EQ(doc->GetEnableTimeLapse(), 0u);
}

// ---- a loaded setting file

TEST_F(SettingsPages, ALoadedSettingFileShowsOnEveryPageWithoutThePagesHandlersFiring) {
  StartSheet();
  const std::string path = "C:\\Frame\\pages.ini";
  ASSERT_NE(Text(kOption, 1140), "9");
  ASSERT_NE(Text(kTimer, 1070), "25");
  const bool rect = Checked(kLive, 1035), docking = Checked(kLive, 1122);
  // What the file holds, written straight into the document: the pages go on showing
  // what they showed until the file is loaded.
  doc->SetFileFormat(3).SetAutoSave(1).SetSaveFolder("C:\\Loaded\\").SetSavePrefix("p_").SetSaveBody("$##");
  doc->SetDirection(3).SetWBSampleRect(rect ? 0 : 1).SetFocusTargetDocking(docking ? 0 : 1);
  doc->SetRGBRed(-4);
  doc->SetRGBGreen(5);
  doc->SetRGBBlue(-6);
  doc->SetInterval(2, 3, 4).SetTotalShots(25).SetEnableTimeLapse(0);
  doc->SetColorMode(1).SetContrastOffset(9).SetLevelOffset(4).SetSharpnessOffset(7).SetResizeSaveSize(1);
  doc->SetShadingLevel(55);
  doc->SaveSettingFile(path.c_str());

  events->Clear();
  doc->LoadSettingFile(path.c_str());

  EXPECT_EQ(Chosen(kPhoto, 1008), 3);
  EXPECT_TRUE(Checked(kPhoto, 1011));
  EXPECT_EQ(Text(kSave, 1015), "C:\\Loaded\\");
  EXPECT_EQ(Text(kSave, 1017), "p_");
  EXPECT_EQ(Text(kSave, 1019), "$##");
  EXPECT_EQ(Text(kSave, 1057), "C:\\Loaded\\p_01.bmp");
  EXPECT_TRUE(Checked(kLive, 1032));
  EXPECT_EQ(Checked(kLive, 1034), rect);
  EXPECT_EQ(Checked(kLive, 1035), !rect);
  EXPECT_EQ(Checked(kLive, 1122), !docking);
  EXPECT_EQ(Text(kLive, 1173), "-4");
  EXPECT_EQ(Text(kLive, 1174), "5");
  EXPECT_EQ(Text(kLive, 1175), "-6");
  EXPECT_EQ(Text(kTimer, 1070), "25");
  const COleDateTime interval = sheet->m_page4.IntervalControl().GetDateTime();
  EXPECT_EQ(interval.GetYear() % 100 * 3600 + interval.GetMinute() * 60 + interval.GetSecond(), 2 * 3600 + 184);
  EXPECT_TRUE(Checked(kOption, 1024));
  EXPECT_EQ(Text(kOption, 1140), "9");
  EXPECT_EQ(Text(kOption, 1141), "4");
  EXPECT_EQ(Text(kOption, 1142), "7");
  EXPECT_EQ(Text(kOption, 1147), "55");
  EXPECT_EQ(Chosen(kOption, 1064), 1);

  // The document keeps what the file brought: no page wrote its old values back.
  EXPECT_EQ(doc->GetContrastOffset(), 9u);
  EXPECT_EQ(doc->GetLevelOffset(), 4u);
  EXPECT_EQ(doc->GetSharpnessOffset(), 7u);
  EXPECT_EQ(doc->GetRGBRed(), -4);
  EXPECT_EQ(doc->GetRGBBlue(), -6);
  EXPECT_EQ(doc->GetShadingLevel(), 55);
  EXPECT_EQ(doc->GetTotalShots(), 25u);
  // The colour balance and shading handlers were quiet: nothing told the colour stage.
  EXPECT_EQ(std::count(events->broadcasts.begin(), events->broadcasts.end(), 0x200ul), 0);
}

}  // namespace
