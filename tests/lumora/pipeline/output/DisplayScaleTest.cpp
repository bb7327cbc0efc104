// The scale overlay of the panes: built from the selected preset or not at all, placed at
// its default position, dragged and kept, sized for resized saving, drawn into live
// frames without being built again for each, burnt while the operator edits; and the
// end of a calibration without a measuring line.
#include <gtest/gtest.h>

#include <functional>

#include "AnnotationRig.h"

namespace {

using annotationrig::AnnotationRig;
using annotationrig::kPen;
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

}  // namespace
