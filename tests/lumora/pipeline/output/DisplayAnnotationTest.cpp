// Drawing and editing annotations on the still pane with the mouse: each kind drawn with
// its tool and the document's defaults at several zooms, selecting, moving, resizing,
// Control-clicks, presses outside the picture, rotation; after each release the pane
// shows the clean still plus the objects.
#include <gtest/gtest.h>

#include <cmath>

#include "AnnotationRig.h"
#include "annotation/objects/AnnBox.h"
#include "display/Png.h"

namespace {

using annotationrig::AnnotationRig;
using annotationrig::kPen;
using stagerig::Picture;

class DisplayAnnotation : public AnnotationRig {
 protected:
  // Picture point of a point of the pane's control, as the pane converts it.
  CPoint PicturePoint(CPoint control) const {
    const double s = pane->GetImageScale();
    const CPoint o = pane->GetScrollOffset();
    return CPoint(LONG(control.x * s) + o.x, LONG(control.y * s) + o.y);
  }
  // A control point that lands exactly on picture point `p`.
  CPoint ControlPoint(CPoint p) const {
    const double s = pane->GetImageScale();
    const CPoint o = pane->GetScrollOffset();
    return CPoint(LONG(std::ceil((p.x - o.x) / s)), LONG(std::ceil((p.y - o.y) / s)));
  }
  // The picture point of an object's corner i.
  static CPoint Corner(const CAnnObj& object, int i) {
    const auto& s = object.GetInfo();
    const CPoint p = s.m_points.at(size_t(i));
    return CPoint(LONG(p.x * s.m_cos - p.y * s.m_sin) + s.m_origin.x, LONG(p.y * s.m_cos + p.x * s.m_sin) + s.m_origin.y);
  }
  // Two rectangles, at picture (100, 100)-(200, 180) and (300, 100)-(400, 180), left
  // with the palette closed so that presses select and edit.
  void TwoRectangles() {
    ShowPicture(640, 512);
    Tool(3);
    Drag({100, 100}, {200, 180});
    Drag({300, 100}, {400, 180});
    ClosePalette();
    ASSERT_EQ(pane->GetAnnotationCount(), 2);
  }
};

TEST_F(DisplayAnnotation, BoxKindsAreDrawnWithTheirToolAndTheDefaultsAtEachZoom) {
  const struct {
    const char* name;
    int width, height;
    float zoom;  // 0: fitted
    double scale;
    CPoint offset;
  } views[] = {
      {"100 %", 640, 512, 0, 1.0, {0, 0}},
      {"50 %", 1280, 1024, 0, 2.0, {0, 0}},
      {"200 % scrolled", 640, 512, 200, 0.5, {160, 128}},
      {"100 % scrolled", 1280, 1024, 100, 1.0, {320, 256}},
  };
  const struct {
    int tool, kind;
  } kinds[] = {{3, 1}, {4, 2}};
  for (const auto& v : views) {
    for (const auto& k : kinds) {
      SCOPED_TRACE(std::string(v.name) + " tool " + std::to_string(k.tool));
      pane->ResetAnnotationState();
      ShowPicture(v.width, v.height);
      if (v.zoom != 0) {
        ASSERT_EQ(pane->SetZoom(v.zoom), 1);
      }
      ASSERT_DOUBLE_EQ(pane->GetImageScale(), v.scale);
      ASSERT_EQ(pane->GetScrollOffset(), v.offset);
      Tool(k.tool);
      Drag({200, 150}, {320, 250});
      ASSERT_EQ(pane->GetAnnotationCount(), 1);
      const CAnnObj& object = *Object(0);
      EXPECT_EQ(object.GetKind(), k.kind);
      EXPECT_EQ(object.IsValid(), 1);
      const CPoint a = PicturePoint({200, 150}), b = PicturePoint({320, 250});
      EXPECT_EQ(object.GetOrigin(), CPoint((a.x + b.x) / 2, (a.y + b.y) / 2));
      EXPECT_EQ(Corner(object, 0), a);
      EXPECT_EQ(Corner(object, 2), b);
      EXPECT_EQ(object.GetInfo().m_penWidth, 3);
      EXPECT_EQ(object.GetInfo().m_penColor, kPen);
      EXPECT_EQ(pane->GetCurrentIndex(), -1) << "the tool stays chosen for the next object";
      EXPECT_EQ(pane->GetDrawingTool(), k.tool == 3 ? 3 : 2);
      ExpectCleanPlusObjects();
      const Picture shown = Shown();
      if (k.kind == 1) {
        EXPECT_TRUE(IsPen(shown, a.x, (a.y + b.y) / 2)) << "the left edge is drawn";
      }
      EXPECT_TRUE(IsGrey(shown, (a.x + b.x) / 2, (a.y + b.y) / 2)) << "an unfilled shape";
      ClosePalette();
    }
  }
}

TEST_F(DisplayAnnotation, APressSelectsAndADragMovesTheObject) {
  TwoRectangles();
  Click({100, 140});  // the left edge of the first
  EXPECT_EQ(pane->GetCurrentIndex(), 0);
  EXPECT_EQ(pane->GetSelectionCount(), 1);
  EXPECT_EQ(Object(0)->AreHandlesShown(), 1);
  Drag({100, 140}, {130, 160});
  EXPECT_EQ(Object(0)->GetOrigin(), CPoint(180, 160));
  EXPECT_EQ(Corner(*Object(0), 0), CPoint(130, 120));
  EXPECT_EQ(Object(1)->GetOrigin(), CPoint(350, 140)) << "the other stays";
  ExpectCleanPlusObjects();
  EXPECT_TRUE(IsPen(Shown(), 130, 160));
  EXPECT_TRUE(IsGrey(Shown(), 100, 140)) << "nothing is left where it was";
  // A press beside everything clears the selection.
  Click({50, 400});
  EXPECT_EQ(pane->GetSelectionCount(), 0);
  EXPECT_EQ(Object(0)->AreHandlesShown(), 0);
}

TEST_F(DisplayAnnotation, ACornerHandleResizesTheSelectedObject) {
  TwoRectangles();
  Click({200, 140});
  ASSERT_EQ(pane->GetSelectionCount(), 1);
  // Handle 3 is the corner opposite the drag's start: (200, 180).
  Drag({200, 180}, {240, 220});
  EXPECT_EQ(Corner(*Object(0), 0), CPoint(100, 100)) << "the opposite corner stays";
  EXPECT_EQ(Corner(*Object(0), 2), CPoint(240, 220));
  ExpectCleanPlusObjects();
  // At 200 % the handle is the same 8 pane pixels around the corner's pane point.
  ASSERT_EQ(pane->SetZoom(200), 1);
  ASSERT_EQ(pane->GetSelectionCount(), 1);
  Drag(ControlPoint({240, 220}), ControlPoint({260, 230}));
  EXPECT_EQ(Corner(*Object(0), 2), CPoint(260, 230));
  ExpectCleanPlusObjects();
}

TEST_F(DisplayAnnotation, ControlClickTogglesAnObjectAndKeepsTheSelectionOnEmptySpace) {
  TwoRectangles();
  Click({100, 140});
  Click({300, 140}, true);
  EXPECT_EQ(pane->GetSelectionCount(), 2) << "Control adds the second";
  EXPECT_EQ(pane->GetCurrentIndex(), 1);
  // Both move as one.
  Drag({300, 140}, {310, 150});
  EXPECT_EQ(Object(0)->GetOrigin(), CPoint(160, 150));
  EXPECT_EQ(Object(1)->GetOrigin(), CPoint(360, 150));
  // Control on empty space keeps the current object and the selection.
  Click({50, 400}, true);
  EXPECT_EQ(pane->GetSelectionCount(), 2);
  EXPECT_EQ(pane->GetCurrentIndex(), 1);
  // Control on a selected object takes it out.
  Click({110, 150}, true);
  EXPECT_EQ(pane->GetSelectionCount(), 1);
  EXPECT_EQ(pane->GetSelectedIndex(0), 1);
  EXPECT_EQ(Object(0)->AreHandlesShown(), 0);
  EXPECT_EQ(Object(1)->AreHandlesShown(), 1);
}

TEST_F(DisplayAnnotation, APressOutsideThePictureIsIgnoredAndDragsAreClampedToIt) {
  ShowPicture(640, 400);  // fitted at 100 %: the pane's rows 400 to 511 show no picture
  Tool(3);
  Drag({100, 450}, {200, 500});
  EXPECT_EQ(pane->GetAnnotationCount(), 0) << "a press below the picture draws nothing";
  EXPECT_EQ(::GetCapture(), nullptr);
  // A drag out of the pane ends on the picture's edge.
  Drag({500, 300}, {700, 600});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(Corner(*Object(0), 2), CPoint(640, 400));
  ExpectCleanPlusObjects();
  EXPECT_EQ(::GetCapture(), nullptr) << "the pane keeps no mouse";
}

TEST_F(DisplayAnnotation, RotateTurnsTheSelectedBoxByItsCorner) {
  TwoRectangles();
  Click({100, 140});
  Keys('T', plat::user::driver::kControl);
  Idle();
  ASSERT_EQ(pane->GetEditMode(), 2);
  // Handle 3, the corner (200, 180), is turned about the centre: seen from the opposite
  // corner it keeps pointing at the mouse.
  Drag({200, 180}, {100, 228}, 24);
  const CPoint pivot = Corner(*Object(0), 0), grabbed = Corner(*Object(0), 2);
  EXPECT_NEAR(std::atan2(grabbed.y - pivot.y, grabbed.x - pivot.x), std::atan2(228 - pivot.y, 100 - pivot.x), 0.05);
  EXPECT_GT(Object(0)->GetInfo().m_sin, 0.5) << "turned clockwise on the screen";
  EXPECT_EQ(Object(0)->GetInfo().m_points.at(2), CPoint(50, 40)) << "its size stays";
  EXPECT_EQ(Object(0)->GetOrigin(), CPoint(150, 140)) << "it turns about its centre";
  ExpectCleanPlusObjects();
  Keys('T', plat::user::driver::kControl);
  Idle();
  EXPECT_EQ(pane->GetEditMode(), 0);
}

TEST_F(DisplayAnnotation, AnObjectThatCannotBeMadeIsReportedAndNothingIsAdded) {
  TwoRectangles();
  Click({100, 140});
  Tool(3);
  auto* shown = WatchErrors();
  pane->failNextObject = true;
  Drag({400, 300}, {500, 400});
  EXPECT_EQ(*shown, std::vector<std::string>{"410:001"});
  EXPECT_EQ(pane->GetAnnotationCount(), 2);
  EXPECT_EQ(::GetCapture(), nullptr);
  Drag({400, 300}, {500, 400});
  EXPECT_EQ(pane->GetAnnotationCount(), 3) << "the next press draws again";
}

TEST_F(DisplayAnnotation, AbandoningOrDeletingTheObjectBeingDrawnReleasesTheMouse) {
  ShowPicture(640, 512);
  Tool(3);
  for (int way = 0; way < 2; ++way) {
    SCOPED_TRACE(way);
    ButtonDown({100, 100});
    MoveTo({200, 200});
    ASSERT_EQ(pane->GetAnnotationCount(), 1);
    ASSERT_NE(::GetCapture(), nullptr);
    EXPECT_EQ(way == 0 ? pane->AbandonUnfinishedAnnotation() : pane->DeleteCurrentAnnotation(), 1);
    EXPECT_EQ(pane->GetAnnotationCount(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    ButtonUp();
    EXPECT_EQ(pane->GetAnnotationCount(), 0);
    EXPECT_TRUE(Shown().bgr == clean.bgr) << "no rubber band is left behind";
  }
  EXPECT_EQ(pane->DeleteCurrentAnnotation(), 0) << "nothing is being drawn";
}

}  // namespace

namespace {

// The still pane as the operator sees it: a picture with a rectangle, a filled ellipse
// (selected, with its handles) and the scale bar; written to the screenshot folder.
TEST_F(DisplayAnnotation, ScreenshotOfTheStillPaneWithAnnotationsHandlesAndTheScaleBar) {
  tScaleInfo preset;
  doc->GetSelectedScale(preset);
  preset.barLength = 600;
  preset.thickness = 24;
  preset.source = 2;
  preset.lengthValue = 50;
  preset.unit = 2;
  preset.divide = 10;
  preset.penColor = RGB(255, 255, 255);
  preset.filled = 1;
  preset.fillColor = RGB(40, 40, 40);
  doc->SetSelectedScale(preset);
  doc->m_bScaleOnCaptured = 1;
  doc->m_shot.fineMode = 1;
  doc->m_nShootExposureMode = 5;  // a Fine shot: the bar at the preset's own length
  AnnShapeAttr filled;
  filled.penWidth = 4;
  filled.penColor = RGB(255, 220, 0);
  filled.fillColor = RGB(0, 120, 200);
  filled.filled = 1;
  doc->SetAnnEllipseAttr(filled);
  PutPicture(2, 1280, 1024, [](int x, int y, BYTE* p) {
    p[0] = BYTE(60 + x / 8), p[1] = BYTE(90 + y / 8), p[2] = 140;
  });
  doc->m_nImageState = 1;
  doc->SetLiveDisplayMode(0);
  ASSERT_EQ(pane->SetDisplayMode(0), 1);
  pane->OnSettingsChanged(0x1000);
  ASSERT_EQ(pane->Output(2), 1);
  Tool(3);
  Drag({80, 60}, {260, 200});
  Tool(4);
  Drag({330, 120}, {520, 300});
  ClosePalette();
  Click({425, 210});  // inside the filled ellipse: selected, handles shown
  ASSERT_EQ(pane->GetSelectionCount(), 1);
  ::RedrawWindow(pane->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Idle();
  CRect r;
  pane->GetWindowRect(&r);
  EXPECT_TRUE(plat::display::SavePng(displayrig::ShotPath("still-annotations.png"), &r));
}

}  // namespace
