// The scale overlay of the panes: built from the selected preset or not at all, placed at
// its default position, dragged and kept, sized for resized saving, drawn into live
// frames without being built again for each, burnt while the operator edits; and
// calibration: the measuring line, its length in Fine pixels, one line at a time, and the
// end of a calibration without a line.
#include <gtest/gtest.h>

#include <functional>

#include "AnnotationRig.h"
#include "annotation/dialogs/VexScaleDialog.h"

namespace {

using annotationrig::AnnotationRig;
using annotationrig::kPen;
using annotationrig::StateUI;
using stagerig::Picture;

class DisplayScale : public AnnotationRig {
 protected:
  void SetUp() override {
    AnnotationRig::SetUp();
    doc->m_nShootExposureMode = 0;  // a Quick shot: a third of the preset's Fine pixels
  }
  // The selected preset: a bar of `length` x `thickness` Fine pixels of a full-size
  // picture, labelled 100 um unless the source is 3 (none).
  void Preset(LONG length, LONG thickness, LONG source = 2) {
    tScaleInfo p;
    doc->GetSelectedScale(p);
    p.barLength = length;
    p.thickness = thickness;
    p.source = source;
    p.lengthValue = 100;
    p.unit = 2;
    p.divide = 2;
    p.vertical = 0;
    p.penColor = kPen;
    doc->SetSelectedScale(p);
  }
  // The texts of the message boxes shown from now on, each answered OK.
  std::vector<std::string>* WatchMessages() {
    messages.clear();
    for (int i = 0; i < 4; ++i) {
      plat::user::responder::Push([this](const plat::user::responder::Shown& shown) {
        messages.push_back(shown.text);
        return IDOK;
      });
    }
    return &messages;
  }
  std::vector<std::string> messages;
  // A still picture shown as a Quick shot, the still scale switch on.
  void ShowWithScale(int w, int h) {
    doc->m_bScaleOnCaptured = 1;
    doc->m_shot.fineMode = 0;
    ShowPicture(w, h);
  }
};

TEST_F(DisplayScale, APresetWithoutCalibrationGivesNoOverlayLiveOrStill) {
  Preset(300, 30, 3);
  ShowWithScale(1280, 1024);
  EXPECT_EQ(pane->IsScalePresent(), 0);
  EXPECT_TRUE(Shown().bgr == clean.bgr);
  EXPECT_EQ(doc->GetScaleDrawn(), 0);
  pane->PlaceScaleOverlay(1, 0);
  EXPECT_EQ(pane->IsScalePresent(), 0);
}

TEST_F(DisplayScale, TheStillOverlaySitsTenPerCentInAndUp) {
  Preset(300, 30);
  ShowWithScale(1280, 1024);
  ASSERT_EQ(pane->IsScalePresent(), 1);
  // The box is 100 x 10 (a third of the preset): its left edge 128 in, its bottom 102 up.
  EXPECT_EQ(pane->GetScalePosition(), CPoint(178, 917));
  EXPECT_EQ(pane->GetScaleState().m_origin, CPoint(178, 917));
  EXPECT_EQ(pane->IsScaleEditing(), 1);
  EXPECT_EQ(doc->GetScaleDrawn(), 1);
  ExpectCleanPlusObjects();
  EXPECT_TRUE(IsPen(Shown(), 178, 917));
  EXPECT_TRUE(IsPen(Shown(), 178 + 45, 917)) << "the bar is a third of the preset, 100 long";
  EXPECT_FALSE(IsPen(Shown(), 178 + 55, 917));
}

TEST_F(DisplayScale, ADraggedPositionSurvivesAReplacementUnlessThePlacementChanged) {
  Preset(300, 30);
  const struct {
    const char* change;
    std::function<void(CVexDoc&)> apply;
    bool kept;
  } rows[] = {
      {"nothing", [](CVexDoc&) {}, true},
      {"fine mode", [](CVexDoc& d) { d.SetFineMode(d.GetFineMode() ? 0 : 1); }, false},
      {"turned", [](CVexDoc& d) { d.m_bDir90 = d.m_bDir90 ? 0 : 1; }, false},
      {"size code", [](CVexDoc& d) { d.m_nShootBufferSize = SHORT(d.m_nShootBufferSize + 1); }, false},
      {"resize on save", [](CVexDoc& d) { d.SetResizeSave(1); }, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.change);
    doc->SetResizeSave(0);
    ShowWithScale(1280, 1024);
    ASSERT_EQ(pane->GetScalePosition(), CPoint(178, 917));
    // Pressed off its centre and dragged by (+50, -50) pane pixels, 100 picture pixels.
    Drag({100, 458}, {150, 408});
    EXPECT_EQ(pane->GetScalePosition(), CPoint(278, 817));
    tScaleInfo stored;
    doc->GetSelectedScale(stored);
    EXPECT_EQ(CPoint(stored.posX, stored.posY), CPoint(278, 817)) << "the preset keeps it";
    ExpectCleanPlusObjects();
    r.apply(*doc);
    pane->SendMessage(WM_USER + 706);
    EXPECT_EQ(pane->GetScalePosition(), r.kept ? CPoint(278, 817) : CPoint(178, 917));
    ExpectCleanPlusObjects();
    r.apply(*doc);  // back as it was for the next row
    doc->SetResizeSave(0);
  }
}

TEST_F(DisplayScale, ResizedSavingShrinksTheBoxUnlessTheExposureModeIsFive) {
  Preset(1200, 30);
  ASSERT_EQ(doc->SetCaptureMode(0), 1);
  doc->SetResizeSave(1).SetResizeSaveSize(1);  // saved at half size
  const struct {
    SHORT exposureMode;
    CPoint position;  // left edge 128 in: the box 200 (600) long
  } rows[] = {{0, {228, 920}}, {5, {428, 915}}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.exposureMode);
    doc->m_nShootExposureMode = r.exposureMode;
    ShowWithScale(1280, 1024);
    ASSERT_EQ(pane->GetAnnotationScale(), 0.5);
    EXPECT_EQ(pane->GetScalePosition(), r.position);
  }
}

TEST_F(DisplayScale, LiveFramesCarryTheBarBuiltOnlyWhenItsPresetChanges) {
  Preset(300, 30);
  doc->m_bScaleOnLive = 1;
  doc->SetDisplayMode(0);
  ASSERT_EQ(pane->SetDisplayMode(2), 1);
  pane->OnSettingsChanged(0x800);
  PutFlat(3, 640, 512, 100, 100, 100);
  pane->PlaceScaleOverlay(1, 0);  // as the main frame places it
  ASSERT_EQ(pane->IsScalePresent(), 1);
  ASSERT_EQ(pane->Output(3), 1);  // the first frame fits the pane: placed for it
  const int built = pane->scalesMade;
  for (int frame = 0; frame < 5; ++frame) {
    PutFlat(3, 640, 512, 100, 100, 100);
    ASSERT_EQ(pane->Output(3), 1);
  }
  EXPECT_EQ(pane->scalesMade, built) << "no overlay is made per frame";
  // The live box is a sixth of the preset: 50 x 5, its left edge 64 in.
  EXPECT_TRUE(IsPen(Slot(3), 89, 459));
  EXPECT_FALSE(IsPen(Slot(3), 160, 459));
  Preset(600, 30);
  PutFlat(3, 640, 512, 100, 100, 100);
  ASSERT_EQ(pane->Output(3), 1);
  EXPECT_EQ(pane->scalesMade, built + 1) << "a new preset builds it again";
  EXPECT_TRUE(IsPen(Slot(3), 160, 459)) << "twice as long";
  // A clean newest frame shown again (as a camera restart shows it) gets the same bar.
  PutFlat(3, 640, 512, 100, 100, 100);
  ASSERT_EQ(buffers->SetThirdBitmap(buffers->GetBuffer(3)), 1);
  ASSERT_EQ(pane->ShowLiveFrame(), 1);
  EXPECT_TRUE(IsPen(Shown(), 160, 459));
  EXPECT_EQ(pane->scalesMade, built + 1);
}

TEST_F(DisplayScale, AnOverlayThatCannotBeMadeIsReported) {
  Preset(300, 30);
  auto* shown = WatchErrors();
  pane->failNextScale = true;
  ShowWithScale(1280, 1024);
  EXPECT_EQ(*shown, std::vector<std::string>{"900:001"});
  EXPECT_EQ(pane->IsScalePresent(), 0);
  EXPECT_TRUE(Shown().bgr == clean.bgr);
}

TEST_F(DisplayScale, ACalibrationEndedWithoutALineMeasuresNothing) {
  ShowWithScale(1280, 1024);
  pane->SendMessage(WM_USER + 702);
  EXPECT_EQ(pane->IsCalibrating(), 1);
  pane->SendMessage(WM_USER + 708);
  EXPECT_EQ(pane->IsCalibrating(), 0);
  EXPECT_EQ(pane->GetCalibrationLength(), 0);
}

TEST_F(DisplayScale, ACalibrationLineIsMeasuredInFinePixels) {
  // A line 100 across and 9 down is 100.4 pixels long: 100 on a Fine shot, three times
  // as many Fine pixels (301.2) on a Quick one.
  const struct {
    int fine, length;
  } rows[] = {{1, 100}, {0, 301}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.fine);
    ShowPicture(640, 512);  // fitted at 100 %: a pane pixel is a picture pixel
    doc->m_shot.fineMode = r.fine;
    pane->SendMessage(WM_USER + 702);
    ASSERT_EQ(pane->IsCalibrating(), 1);
    Drag({100, 200}, {200, 209});
    ASSERT_EQ(pane->GetAnnotationCount(), 1);
    const CAnnObj& line = *Object(0);
    EXPECT_EQ(line.GetKind(), 3);
    EXPECT_EQ(line.GetInfo().m_styleCode, 4);
    EXPECT_EQ(line.GetInfo().m_penWidth, 3);
    EXPECT_NEAR(line.GetLength(), 100.404, 0.001);
    EXPECT_EQ(pane->GetSelectionCount(), 1) << "the line stays selected for adjusting";
    EXPECT_EQ(line.AreHandlesShown(), 1);
    EXPECT_EQ(::GetCapture(), nullptr);
    pane->SendMessage(WM_USER + 708);
    EXPECT_EQ(pane->GetCalibrationLength(), r.length);
    EXPECT_EQ(pane->IsCalibrating(), 0);
    EXPECT_EQ(pane->GetAnnotationCount(), 0) << "the measuring line goes";
    EXPECT_EQ(pane->GetSelectionCount(), 0);
    EXPECT_TRUE(Shown().bgr == clean.bgr);
  }
}

TEST_F(DisplayScale, CalibratingTwiceLeavesOneMeasuringLineBesideTheAnnotations) {
  ShowPicture(640, 512);
  Tool(3);
  Drag({400, 50}, {500, 100});
  ClosePalette();
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  auto lines = [&] {
    int n = 0;
    for (int i = 0; i < pane->GetAnnotationCount(); ++i) n += Object(i)->GetInfo().m_styleCode == 4 ? 1 : 0;
    return n;
  };
  pane->SendMessage(WM_USER + 702);
  Drag({100, 200}, {300, 200});
  EXPECT_EQ(lines(), 1);
  // Started again: the first line goes before the second is drawn.
  pane->SendMessage(WM_USER + 702);
  EXPECT_EQ(lines(), 0);
  EXPECT_EQ(pane->GetAnnotationCount(), 1) << "the rectangle stays";
  Drag({100, 300}, {250, 300});
  EXPECT_EQ(lines(), 1);
  EXPECT_EQ(pane->GetAnnotationCount(), 2);
  ExpectCleanPlusObjects();
  doc->m_shot.fineMode = 1;
  pane->SendMessage(WM_USER + 708);
  EXPECT_EQ(pane->GetCalibrationLength(), 150) << "the second line is measured";
  EXPECT_EQ(lines(), 0);
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(Object(0)->GetKind(), 1);
  ExpectCleanPlusObjects();
}

TEST_F(DisplayScale, TheMeasuringLineIsAdjustedByItsEndsAndAPressBesideItDrawsANewOne) {
  ShowPicture(640, 512);
  doc->m_shot.fineMode = 1;
  pane->SendMessage(WM_USER + 702);
  Drag({100, 200}, {300, 200});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  // Its right end dragged on by 20 pixels.
  Drag({300, 200}, {320, 200});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_NEAR(Object(0)->GetLength(), 220, 0.001);
  EXPECT_EQ(pane->GetSelectionCount(), 1);
  // A press beside the only line starts a new one in its place.
  Drag({100, 400}, {160, 400});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_NEAR(Object(0)->GetLength(), 60, 0.001);
  pane->SendMessage(WM_USER + 708);
  EXPECT_EQ(pane->GetCalibrationLength(), 60);
}

TEST_F(DisplayScale, TheScaleDialogMeasuresALineDrawnOnTheStillPane) {
  ShowPicture(640, 512);
  doc->m_shot.fineMode = 1;
  mainFrame->OnScaleTool();
  CVexScaleDialog* dialog = mainFrame->GetScaleDialog();
  ASSERT_NE(dialog, nullptr);
  auto click = [&](int id) {
    ::SendMessageA(::GetDlgItem(dialog->m_hWnd, id), BM_CLICK, 0, 0);
    Idle();
  };
  auto measure = [&](CPoint from, CPoint to) {
    click(1194);  // Measure
    // Out of the pane's way.
    dialog->SetWindowPos(nullptr, 990, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(pane->IsCalibrating(), 1);
    if (from != to) Drag(from, to);
    click(1199);  // done
    EXPECT_EQ(pane->IsCalibrating(), 0);
  };
  const int preset = doc->GetScaleSelect();
  click(1169);  // calibrated by a measured line
  measure({100, 200}, {200, 209});
  EXPECT_EQ(dialog->GetPreset(preset).measuredPixels, 100);
  EXPECT_EQ(pane->GetAnnotationCount(), 0);
  // Ended without a line: the dialog says so and keeps its count.
  auto* shown = WatchMessages();
  measure({0, 0}, {0, 0});
  ASSERT_EQ(shown->size(), 1u);
  CString text;
  text.LoadString(62581);
  EXPECT_EQ(shown->front(), std::string(text));
  EXPECT_EQ(dialog->GetPreset(preset).measuredPixels, 100);
  mainFrame->CloseScaleTool();
  Idle();
}

TEST_F(DisplayScale, TheFramesMessagesEndCalibrationAndTheLayer) {
  // After a measuring line is drawn: calibrating, layer, lines left, the picture clean.
  const struct {
    UINT message;
    int calibrating, layer, lines;
  } rows[] = {
      {WM_USER + 700, 0, 0, 1},
      {WM_USER + 701, 0, 1, 1},
      {WM_USER + 703, 0, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.message - WM_USER);
    pane->ResetAnnotationState();
    ShowPicture(640, 512);
    pane->SendMessage(WM_USER + 702);
    Drag({100, 200}, {200, 200});
    ASSERT_EQ(pane->GetAnnotationCount(), 1);
    pane->SendMessage(r.message);
    EXPECT_EQ(pane->IsCalibrating(), r.calibrating);
    EXPECT_EQ(pane->GetAnnotationLayer(), r.layer);
    EXPECT_EQ(pane->GetDrawingTool(), 0);
    EXPECT_EQ(pane->GetAnnotationCount(), r.lines);
    EXPECT_EQ(::GetCapture(), nullptr);
    ExpectCleanPlusObjects();
  }
}

TEST_F(DisplayScale, EditingTheOverlayTakesThePresetAndTurnsTheLayerOn) {
  Preset(300, 30);
  ShowWithScale(1280, 1024);
  pane->SetScaleEditMode(0);
  ASSERT_EQ(pane->GetAnnotationLayer(), 0);
  Preset(600, 30);
  pane->SendMessage(WM_USER + 707);
  EXPECT_EQ(pane->IsScaleEditing(), 1);
  EXPECT_EQ(pane->GetAnnotationLayer(), 1);
  EXPECT_EQ(pane->GetDrawingTool(), 0);
  ASSERT_EQ(pane->IsScalePresent(), 1);
  EXPECT_TRUE(IsPen(Shown(), 178 + 95, 917)) << "the new preset's bar, 200 long";
  ExpectCleanPlusObjects();
  // With the still scale switched off nothing is shown or edited.
  pane->SetScaleEditMode(0);
  doc->m_bScaleOnCaptured = 0;
  pane->SendMessage(WM_USER + 707);
  EXPECT_EQ(pane->IsScaleEditing(), 0);
  EXPECT_EQ(pane->GetAnnotationLayer(), 0);
}

TEST_F(DisplayScale, AMeasuringLineThatCannotBeMadeIsReported) {
  ShowPicture(640, 512);
  pane->SendMessage(WM_USER + 702);
  auto* shown = WatchErrors();
  pane->failNextObject = 2;  // the press, and the new start it makes without a line
  Drag({100, 200}, {200, 200});
  EXPECT_EQ(*shown, (std::vector<std::string>{"410:001", "410:001"}));
  EXPECT_EQ(pane->GetAnnotationCount(), 0);
  EXPECT_EQ(pane->GetSelectionCount(), 0);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(Shown().bgr == clean.bgr);
  Drag({100, 200}, {200, 200});
  ASSERT_EQ(pane->GetAnnotationCount(), 1) << "the next press draws the line";
  EXPECT_NEAR(Object(0)->GetLength(), 100, 0.001);
}

TEST_F(DisplayScale, AfterACalibrationTheAnnotationsAreEditedAsBefore) {
  for (UINT end : {WM_USER + 708, WM_USER + 703}) {
    SCOPED_TRACE(end - WM_USER);
    pane->ResetAnnotationState();
    ShowPicture(640, 512);
    Tool(3);
    Drag({300, 300}, {400, 400});
    ClosePalette();
    pane->SendMessage(WM_USER + 702);
    Drag({100, 200}, {200, 200});
    pane->SendMessage(end);
    EXPECT_EQ(pane->GetDrawingTool(), 0);
    StateUI selectAll;
    selectAll.m_nID = 32850;
    ASSERT_TRUE(pane->OnCmdMsg(32850, CN_UPDATE_COMMAND_UI, &selectAll, nullptr));
    EXPECT_EQ(selectAll.enabled, 1);
    // A selected rectangle is dragged and stays selected.
    Click({300, 350});
    Drag({300, 350}, {320, 350});
    EXPECT_EQ(Object(0)->GetOrigin(), CPoint(370, 350));
    EXPECT_EQ(pane->GetSelectionCount(), 1);
    EXPECT_EQ(Object(0)->AreHandlesShown(), 1);
  }
}

}  // namespace
