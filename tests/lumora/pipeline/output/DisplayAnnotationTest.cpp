// Drawing and editing annotations on the still pane with the mouse: each kind drawn with
// its tool and the document's defaults at several zooms, texts placed by one press,
// figures built press by press and taken back by the right button, selecting, moving,
// resizing, Control-clicks, presses outside the picture, reshaping and rotation; after
// each release the pane shows the clean still plus the objects.
#include <gtest/gtest.h>

#include <cmath>

#include "AnnotationRig.h"
#include "annotation/objects/AnnBox.h"
#include "annotation/objects/AnnVertexFigure.h"
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
  // The picture point of a point in an object's own frame.
  static CPoint ToPicture(const CAnnObj& object, CPoint p) {
    const auto& s = object.GetInfo();
    return CPoint(LONG(p.x * s.m_cos - p.y * s.m_sin) + s.m_origin.x, LONG(p.y * s.m_cos + p.x * s.m_sin) + s.m_origin.y);
  }
  // The picture point of an object's corner i.
  static CPoint Corner(const CAnnObj& object, int i) { return ToPicture(object, object.GetInfo().m_points.at(size_t(i))); }
  // The picture points of a polygon's, polyline's or curve's vertices.
  static std::vector<CPoint> Vertices(const CAnnObj& object) {
    std::vector<CPoint> out;
    for (CPoint v : dynamic_cast<const CAnnVertexFigure&>(object).GetVertices()) out.push_back(ToPicture(object, v));
    return out;
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

TEST_F(DisplayAnnotation, EachKindIsDrawnWithItsToolAndTheDefaultsAtEachZoom) {
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
  // How the operator draws each kind, between the pane points A (200, 150), B (320, 150)
  // and C (320, 250).
  enum Gesture { kDragAC, kClickABDoubleC, kPressA };
  const struct {
    const char* name;
    int tool, kind, drawingTool;
    Gesture gesture;
  } kinds[] = {
      {"rectangle", 3, 1, 3, kDragAC}, {"ellipse", 4, 2, 2, kDragAC},        {"line", 2, 3, 1, kDragAC},
      {"polygon", 5, 4, 4, kClickABDoubleC}, {"polyline", 6, 5, 5, kClickABDoubleC}, {"freehand", 7, 6, 6, kDragAC},
      {"text", 1, 9, 7, kPressA},
  };
  const CPoint paneA(200, 150), paneB(320, 150), paneC(320, 250);
  for (const auto& v : views) {
    for (const auto& k : kinds) {
      SCOPED_TRACE(std::string(v.name) + " " + k.name);
      pane->ResetAnnotationState();
      ShowPicture(v.width, v.height);
      if (v.zoom != 0) {
        ASSERT_EQ(pane->SetZoom(v.zoom), 1);
      }
      ASSERT_DOUBLE_EQ(pane->GetImageScale(), v.scale);
      ASSERT_EQ(pane->GetScrollOffset(), v.offset);
      Tool(k.tool);
      switch (k.gesture) {
        case kDragAC: Drag(paneA, paneC); break;
        case kClickABDoubleC:
          Click(paneA);
          Click(paneB);
          DoubleClick(paneC);
          break;
        case kPressA:
          OnTextDialog("Cell 12");
          Click(paneA);
          break;
      }
      ASSERT_EQ(pane->GetAnnotationCount(), 1);
      const CAnnObj& object = *Object(0);
      EXPECT_EQ(object.GetKind(), k.kind);
      EXPECT_EQ(object.IsValid(), 1);
      EXPECT_EQ(object.IsCreating(), 0);
      const CPoint a = PicturePoint(paneA), b = PicturePoint(paneB), c = PicturePoint(paneC);
      const Picture shown = Shown();
      switch (k.kind) {
        case 1:
        case 2:
          EXPECT_EQ(object.GetOrigin(), CPoint((a.x + c.x) / 2, (a.y + c.y) / 2));
          EXPECT_EQ(Corner(object, 0), a);
          EXPECT_EQ(Corner(object, 2), c);
          EXPECT_TRUE(IsGrey(shown, (a.x + c.x) / 2, (a.y + c.y) / 2)) << "an unfilled shape";
          if (k.kind == 1) {
            EXPECT_TRUE(IsPen(shown, a.x, (a.y + c.y) / 2)) << "the left edge is drawn";
          }
          break;
        case 3:
          EXPECT_EQ(Corner(object, 0), a);
          EXPECT_EQ(Corner(object, 1), c);
          EXPECT_NEAR(object.GetLength(), std::hypot(c.x - a.x, c.y - a.y), 1.5);
          EXPECT_TRUE(IsPen(shown, (a.x + c.x) / 2, (a.y + c.y) / 2)) << "the line is drawn";
          break;
        case 4:
        case 5:
          EXPECT_EQ(Vertices(object), (std::vector<CPoint>{a, b, c}));
          EXPECT_TRUE(IsPen(shown, (a.x + b.x) / 2, a.y)) << "the first edge is drawn";
          // Only the polygon closes its outline.
          EXPECT_EQ(IsPen(shown, (a.x + c.x) / 2, (a.y + c.y) / 2), k.kind == 4);
          break;
        case 6: {
          const std::vector<CPoint> points = Vertices(object);
          ASSERT_GE(points.size(), 2u);
          EXPECT_EQ(points.front(), a);
          EXPECT_EQ(points.back(), c);
          EXPECT_TRUE(IsPen(shown, (a.x + c.x) / 2, (a.y + c.y) / 2)) << "the curve passes the drag's middle";
          break;
        }
        case 9: {
          EXPECT_EQ(std::string(object.GetInfo().m_label), "Cell 12");
          EXPECT_EQ(Corner(object, 0), a) << "the text starts at the press";
          EXPECT_EQ(object.GetInfo().m_font.lfHeight, -24);
          int pen = 0;
          for (int y = a.y; y < a.y + 40; ++y)
            for (int x = a.x; x < a.x + 120; ++x) pen += IsPen(shown, x, y) ? 1 : 0;
          EXPECT_GT(pen, 20) << "the text is drawn in its colour";
          break;
        }
      }
      if (k.kind != 9) {
        EXPECT_EQ(object.GetInfo().m_penWidth, 3);
      }
      EXPECT_EQ(object.GetInfo().m_penColor, kPen);
      EXPECT_EQ(object.AreHandlesShown(), 0);
      EXPECT_EQ(pane->GetCurrentIndex(), -1) << "the tool stays chosen for the next object";
      EXPECT_EQ(pane->GetDrawingTool(), k.drawingTool);
      EXPECT_EQ(::GetCapture(), nullptr);
      ExpectCleanPlusObjects();
      ClosePalette();
    }
  }
}

TEST_F(DisplayAnnotation, OnePressPlacesATextAndTheToolDrawsTheNextOne) {
  ShowPicture(640, 512);
  Tool(1);
  OnTextDialog("first");
  Click({100, 100});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(pane->GetCurrentIndex(), -1);
  EXPECT_EQ(pane->GetDrawingTool(), 7);
  EXPECT_EQ(pane->GetSelectionCount(), 0);
  ExpectCleanPlusObjects();
  // The next press, on the first text, places a second one there.
  OnTextDialog("second");
  Click({110, 105});
  ASSERT_EQ(pane->GetAnnotationCount(), 2);
  EXPECT_EQ(std::string(Object(1)->GetInfo().m_label), "second");
  EXPECT_EQ(Corner(*Object(1), 0), CPoint(110, 105));
  ExpectCleanPlusObjects();
  // A dialog left with Cancel places nothing.
  plat::user::responder::Push([](const plat::user::responder::Shown& shown) {
    ::SendMessageA(::GetDlgItem(shown.hwnd, IDCANCEL), BM_CLICK, 0, 0);
    return 0;
  });
  Click({300, 300});
  EXPECT_EQ(pane->GetAnnotationCount(), 2);
  EXPECT_EQ(pane->GetCurrentIndex(), -1);
  EXPECT_EQ(::GetCapture(), nullptr);
  ExpectCleanPlusObjects();
}

TEST_F(DisplayAnnotation, APolygonPressExtendsItAndThePolylineToolStartsAnew) {
  ShowPicture(640, 512);
  Tool(5);
  Click({100, 100});
  Click({200, 100});
  Click({200, 200});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(Object(0)->IsCreating(), 1);
  EXPECT_EQ(Vertices(*Object(0)).size(), 3u) << "each press adds to the polygon";
  // The polyline tool's first press ends the unfinished polygon and starts a polyline.
  Tool(6);
  Click({300, 300});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(Object(0)->GetKind(), 5);
  EXPECT_EQ(pane->GetDrawingTool(), 5);
  const Picture meanwhile = Shown();
  EXPECT_TRUE(IsGrey(meanwhile, 150, 100)) << "no trace of the polygon";
  EXPECT_TRUE(IsGrey(meanwhile, 200, 150));
  Click({400, 300});
  DoubleClick({400, 400});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(Vertices(*Object(0)), (std::vector<CPoint>{{300, 300}, {400, 300}, {400, 400}}));
  EXPECT_EQ(::GetCapture(), nullptr);
  ExpectCleanPlusObjects();
}

// The menu loop shows its messages to the message-filter hook: a menu that opens is seen.
int g_menuMessages = 0;
LRESULT CALLBACK CountMenuMessages(int code, WPARAM, LPARAM) {
  if (code == MSGF_MENU) ++g_menuMessages;
  return 0;
}

TEST_F(DisplayAnnotation, ARightPressTakesBackTheLastVertexWithoutAMenu) {
  HHOOK hook = ::SetWindowsHookExA(WH_MSGFILTER, CountMenuMessages, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  g_menuMessages = 0;
  ShowPicture(640, 512);
  Tool(5);
  Click({100, 100});
  Click({200, 100});
  Click({200, 200});
  ASSERT_EQ(Vertices(*Object(0)).size(), 3u);
  RightClick({250, 250});
  Keys(VK_ESCAPE);  // would close a menu
  Idle();
  EXPECT_EQ(g_menuMessages, 0) << "no menu while the polygon is drawn";
  EXPECT_EQ(Vertices(*Object(0)), (std::vector<CPoint>{{100, 100}, {200, 100}}));
  EXPECT_EQ(Object(0)->IsCreating(), 1);
  DoubleClick({100, 200});
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(Vertices(*Object(0)), (std::vector<CPoint>{{100, 100}, {200, 100}, {100, 200}}));
  ExpectCleanPlusObjects();
  EXPECT_TRUE(IsGrey(Shown(), 200, 150)) << "the vertex taken back leaves no edge";
  // Once the polygon is finished a right click opens the menu again.
  RightClick({150, 120});
  Keys(VK_ESCAPE);
  Idle();
  EXPECT_GT(g_menuMessages, 0);
  ::UnhookWindowsHookEx(hook);
}

TEST_F(DisplayAnnotation, ReshapeMovesAndDeletesTheVerticesOfAPolygon) {
  ShowPicture(640, 512);
  Tool(5);
  Click({100, 100});
  Click({300, 100});
  Click({300, 300});
  DoubleClick({100, 300});
  ClosePalette();
  ASSERT_EQ(Vertices(*Object(0)).size(), 4u);
  Click({200, 100});  // its top edge
  ASSERT_EQ(pane->GetSelectionCount(), 1);
  mainFrame->SendMessage(WM_COMMAND, 32791);  // Reshape
  Idle();
  ASSERT_EQ(pane->GetEditMode(), 1);
  EXPECT_EQ(Object(0)->GetMode(), 1);
  // The third vertex dragged out.
  Drag({300, 300}, {340, 320});
  EXPECT_EQ(Vertices(*Object(0)), (std::vector<CPoint>{{100, 100}, {300, 100}, {340, 320}, {100, 300}}));
  ExpectCleanPlusObjects();
  EXPECT_TRUE(IsPen(Shown(), 340, 320));
  // Delete takes out the vertex last dragged, not the object.
  Keys(VK_DELETE);
  Idle();
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(Vertices(*Object(0)), (std::vector<CPoint>{{100, 100}, {300, 100}, {100, 300}}));
  EXPECT_EQ(pane->GetClipboardEntry().operation, 11) << "recorded as a vertex deleted";
  ExpectCleanPlusObjects();
  EXPECT_FALSE(IsPen(Shown(), 340, 320));
  // Reshape again ends vertex editing; a drag then moves the whole polygon.
  mainFrame->SendMessage(WM_COMMAND, 32791);
  Idle();
  EXPECT_EQ(pane->GetEditMode(), 0);
  Drag({200, 100}, {210, 110});
  EXPECT_EQ(Vertices(*Object(0)), (std::vector<CPoint>{{110, 110}, {310, 110}, {110, 310}}));
  ExpectCleanPlusObjects();
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

TEST_F(DisplayAnnotation, ANewPictureClearsTheObjectsOnlyWhileAnnotationsAreEnabled) {
  for (int enabled : {1, 0}) {
    SCOPED_TRACE(enabled);
    pane->ResetAnnotationState();
    pane->SetAnnotationsEnabled(enabled);
    TwoRectangles();
    Click({100, 140});
    mainFrame->SendMessage(WM_COMMAND, 32775);  // Copy
    Idle();
    ShowPicture(640, 512);
    EXPECT_EQ(pane->GetAnnotationCount(), enabled ? 0 : 2);
    EXPECT_EQ(pane->GetSelectionCount(), enabled ? 0 : 1);
    ExpectCleanPlusObjects();
    // The clipboard outlives the picture.
    mainFrame->SendMessage(WM_COMMAND, 32780);  // Paste
    Idle();
    EXPECT_EQ(pane->GetAnnotationCount(), enabled ? 1 : 3);
    ExpectCleanPlusObjects();
  }
  pane->SetAnnotationsEnabled(1);
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
// (selected, with its handles), an arrow, a polygon, a text and the scale bar; written to
// the screenshot folder.
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
  AnnLineAttr arrow;
  arrow.penWidth = 3;
  arrow.styleCode = 1;
  arrow.penColor = RGB(255, 255, 255);
  doc->SetAnnLineAttr(arrow);
  Tool(3);
  Drag({80, 60}, {260, 200});
  Tool(4);
  Drag({330, 120}, {520, 300});
  Tool(2);
  Drag({560, 60}, {450, 150});
  Tool(5);
  Click({430, 350});
  Click({600, 330});
  Click({580, 470});
  DoubleClick({460, 450});
  LOGFONTA font{};
  font.lfHeight = -56;
  font.lfWeight = FW_BOLD;
  std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", "Arial");
  doc->SetAnnTextAttr(font, RGB(255, 255, 255), RGB(0, 0, 0), 280, 0);
  Tool(1);
  OnTextDialog("Sample 12");
  Click({80, 230});
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
