// The text box: creation through the text dialog, its size from the font, drawing along
// the bottom edge, turning by a corner (in 45-degree steps with Shift), and the parked
// rotation when the font chooser gives a face that cannot be turned.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "Boxes.h"
#include "Canvas.h"
#include "annotation/objects/AnnText.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

constexpr int kTextField = 1029;
constexpr int kSetButton = 1013;
constexpr double kPi = 3.141592654;
constexpr COLORREF kBack = RGB(90, 120, 150);

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

class AnnText : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
  HDC dc() const { return canvas.dc(); }

  // The next text dialog: `text` typed (unless null), the font chooser run on `face`
  // (unless null), then OK or Cancel.
  static void OnTextDialog(const char* text, const char* face = nullptr, bool ok = true) {
    responder::Push([=](const responder::Shown& shown) {
      if (text) SetDlgItemTextA(shown.hwnd, kTextField, text);
      if (face) Click(shown.hwnd, kSetButton);
      Click(shown.hwnd, ok ? IDOK : IDCANCEL);
      return 0;
    });
    if (!face) return;
    responder::Push([=](const responder::Shown& shown) {
      HWND d = shown.hwnd;
      auto i = SendDlgItemMessageA(d, FONT_FACE, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(face));
      EXPECT_GE(i, 0) << face;
      SendDlgItemMessageA(d, FONT_FACE, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      SendMessageA(d, WM_COMMAND, MAKEWPARAM(FONT_FACE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(d, FONT_FACE)));
      Click(d, IDOK);
      return 0;
    });
  }
  // A text box made by one press at `at` with `text` in the face chosen.
  void Create(CAnnText& box, CPoint at, const char* text, const char* face = "Arial") {
    OnTextDialog(text, face);
    box.OnButtonDown(dc(), 0, at, 1.0);
    box.OnButtonUp(dc(), 0, at, 1.0);
  }
  static void Turn(CAnnObj& obj, double degrees) {
    obj.GetInfo().m_cos = std::cos(degrees * kPi / 180);
    obj.GetInfo().m_sin = std::sin(degrees * kPi / 180);
  }
  static double Degrees(const CAnnObj& obj) {
    return std::atan2(obj.GetInfo().m_sin, obj.GetInfo().m_cos) * 180 / kPi;
  }
  // The text's extent in the box's own font.
  CSize Extent(const CAnnText& box) {
    HFONT font = CreateFontIndirectA(&box.GetInfo().m_font);
    HGDIOBJ old = SelectObject(dc(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc(), box.GetInfo().m_label, box.GetInfo().m_label.GetLength(), &size);
    SelectObject(dc(), old);
    DeleteObject(font);
    return CSize(size.cx, size.cy);
  }

  Canvas canvas{300, 300, kBack};
};

TEST_F(AnnText, CancelAtCreationLeavesNothing) {
  CAnnText box;
  OnTextDialog("never", nullptr, false);
  box.OnButtonDown(dc(), 0, CPoint(50, 50), 1.0);
  EXPECT_EQ(box.IsCreating(), 0);
  EXPECT_EQ(box.IsValid(), 0);
  EXPECT_EQ(box.IsTextAccepted(), 0);
  EXPECT_TRUE(box.GetInfo().m_points.empty());

  CAnnText failed;
  responder::FailNextDialog();
  failed.OnButtonDown(dc(), 0, CPoint(50, 50), 1.0);
  EXPECT_EQ(failed.GetDialogFailed(), 1);
  EXPECT_EQ(failed.IsValid(), 0);
  EXPECT_EQ(failed.IsCreating(), 0);
}

TEST_F(AnnText, OkPlacesTheBoxAtThePressSizedToTheText) {
  CAnnText box;
  Create(box, CPoint(40, 60), "Scale 10 um");
  ASSERT_EQ(box.IsValid(), 1);
  EXPECT_EQ(box.IsCreating(), 0);
  EXPECT_EQ(box.IsSelected(), 1);
  EXPECT_EQ(box.GetInfo().m_label, CString("Scale 10 um"));
  EXPECT_STREQ(box.GetInfo().m_font.lfFaceName, "Arial");
  const CSize extent = Extent(box);
  EXPECT_GT(extent.cx, 40);
  EXPECT_EQ(ImageOf(box, box.PointAt(0)), CPoint(40, 60));
  EXPECT_EQ(ImageOf(box, box.PointAt(2)), CPoint(40 + extent.cx, 60 + extent.cy));
  EXPECT_EQ(box.GetLength(), static_cast<double>(extent.cx + extent.cy));
  // The drag and release after the press change nothing.
  box.OnMouseMove(dc(), MK_LBUTTON, CPoint(200, 200), 1.0);
  EXPECT_EQ(ImageOf(box, box.PointAt(0)), CPoint(40, 60));
}

TEST_F(AnnText, TheTextRunsAlongTheBottomEdge) {
  const struct {
    double degrees;
    LONG escapement;
  } cases[] = {{0, 0}, {90, -900}, {-90, 900}, {30, -300}};
  for (const auto& c : cases) {
    Canvas picture(300, 300, kBack);
    CAnnText box;
    Place(box, CPoint(150, 150), CSize(60, 10));
    box.GetInfo().m_label = "WWWWWWWW";
    std::strcpy(box.GetInfo().m_font.lfFaceName, "Arial");
    box.GetInfo().m_font.lfHeight = -20;
    box.GetInfo().SetPenColor(RGB(255, 255, 0));
    Turn(box, c.degrees);
    box.Draw(picture.dc());
    // The ink lies along the direction of the box's bottom edge, from P0 on.
    const CPoint p0 = ImageOf(box, box.PointAt(0));
    const double a = -c.escapement / 10.0 * kPi / 180;  // the edge's direction in the picture
    const CPoint along(p0.x + static_cast<int>(std::cos(a) * 60 - std::sin(a) * 10),
                       p0.y + static_cast<int>(std::sin(a) * 60 + std::cos(a) * 10));
    int inked = 0;
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx) inked += picture.At(along.x + dx, along.y + dy) == RGB(255, 255, 0);
    EXPECT_GT(inked, 0) << c.degrees;
    const CPoint behind(p0.x - static_cast<int>(std::cos(a) * 30), p0.y - static_cast<int>(std::sin(a) * 30));
    EXPECT_EQ(picture.At(behind.x, behind.y), kBack) << c.degrees;
  }
}

TEST_F(AnnText, AFilledBoxDrawsOnItsBackground) {
  CAnnText box;
  Place(box, CPoint(150, 150), CSize(60, 10));
  box.GetInfo().m_label = "    ";  // blanks: only the background shows
  box.GetInfo().SetFill(1);
  box.GetInfo().SetFillColor(RGB(0, 0, 200));
  box.Draw(dc());
  EXPECT_EQ(canvas.At(91, 141), RGB(0, 0, 200));
  EXPECT_EQ(GetBkMode(dc()), OPAQUE);  // put back
  EXPECT_EQ(GetBkColor(dc()), RGB(255, 255, 255));
}

TEST_F(AnnText, CornersTurnItOnlyInRotateModeAndShiftSnaps) {
  // Grabbing each corner, the angle is measured at the opposite one and the box turns
  // about its centre.
  for (int handle = 1; handle <= 4; ++handle) {
    CAnnText box;
    Place(box, CPoint(150, 150), CSize(40, 40));
    box.SetMode(2);
    const CPoint grabbed = ImageOf(box, box.PointAt(handle - 1));
    const CPoint pivot = ImageOf(box, box.PointAt((handle + 1) % 4));
    // A quarter turn about the pivot puts the grabbed corner here.
    const CPoint to(pivot.x - (grabbed.y - pivot.y), pivot.y + (grabbed.x - pivot.x));
    box.OnButtonDown(dc(), handle, grabbed, 1.0);
    box.OnMouseMove(dc(), MK_LBUTTON, to, 1.0);
    box.OnButtonUp(dc(), 0, to, 1.0);
    EXPECT_NEAR(Degrees(box), 90.0, 1e-6) << handle;
    EXPECT_EQ(box.GetOrigin(), CPoint(150, 150));
  }

  // Shift: the nearest multiple of 45 degrees, exactly as computed with 3.141592654.
  CAnnText snapped;
  Place(snapped, CPoint(150, 150), CSize(40, 20));
  snapped.SetMode(2);
  snapped.OnButtonDown(dc(), 3, CPoint(190, 170), 1.0);
  snapped.OnMouseMove(dc(), MK_LBUTTON | MK_SHIFT, CPoint(150, 215), 1.0);
  EXPECT_EQ(snapped.GetInfo().m_cos, std::cos(45 * 3.141592654 / 180));
  EXPECT_EQ(snapped.GetInfo().m_sin, std::sin(45 * 3.141592654 / 180));

  // Outside rotate mode a corner drag does nothing: a text box is never resized.
  CAnnText still;
  Place(still, CPoint(150, 150), CSize(40, 20));
  still.OnButtonDown(dc(), 3, CPoint(190, 170), 1.0);
  still.OnMouseMove(dc(), MK_LBUTTON, CPoint(250, 250), 1.0);
  still.OnButtonUp(dc(), 0, CPoint(250, 250), 1.0);
  EXPECT_EQ(still.GetInfo().m_points, Box(-40, -20, 40, 20));
  EXPECT_EQ(still.GetOrigin(), CPoint(150, 150));
  EXPECT_EQ(Degrees(still), 0.0);

  // A box collapsed to a point keeps its turn in both steps.
  CAnnText point;
  Place(point, CPoint(150, 150), CSize(0, 0));
  Turn(point, 30);
  point.ApplySnappedRotation(CPoint(0, 0), CPoint(10, 10), CPoint(0, 0));
  EXPECT_NEAR(Degrees(point), 30.0, 1e-9);
  point.ApplyDragRotation(CPoint(0, 0), CPoint(10, 10), CPoint(0, 0));
  EXPECT_NEAR(Degrees(point), 30.0, 1e-9);
}

TEST_F(AnnText, HitsAnywhereInsideItsBoxAndMovesByIt) {
  CAnnText box;
  Place(box, CPoint(150, 150), CSize(60, 10));
  box.GetInfo().SetFill(0);
  EXPECT_EQ(box.HitTest(150, 150), 6);
  EXPECT_EQ(box.HitTest(213, 150), 6);
  EXPECT_EQ(box.HitTest(214, 150), -1);
  box.SetHandlesShown(1);
  EXPECT_EQ(box.HitTest(210, 160), 3);
  box.SetHandlesShown(0);
  box.OnButtonDown(dc(), 0, CPoint(150, 150), 1.0);
  box.OnMouseMove(dc(), MK_LBUTTON, CPoint(170, 140), 1.0);
  box.OnButtonUp(dc(), 0, CPoint(170, 140), 1.0);
  EXPECT_EQ(box.GetOrigin(), CPoint(170, 140));

  CAnnText measured;
  Place(measured, CPoint(100, 100), CSize(60, 10));
  EXPECT_EQ(measured.GetLength(), 140.0);
}

TEST_F(AnnText, ARotationIsParkedWhileTheFontCannotTurn) {
  CAnnText box;
  Create(box, CPoint(60, 100), "abc", "Arial");
  ASSERT_EQ(box.IsValid(), 1);
  EXPECT_EQ(box.CanRotate(), 1);
  Turn(box, 30);
  const struct {
    const char* face;
    double turn;   // after the edit
    int parked;
    double kept;   // the parked turn
  } steps[] = {
      {"MS Sans Serif", 0, 1, 30},  // parked
      {"Arial", 30, 0, 0},          // back
      {"MS Sans Serif", 0, 1, 30},
      {"MS Sans Serif", 0, 1, 30},  // a second one keeps what was parked
      {"Arial", 30, 0, 0},
      {"Courier New", 30, 0, 0},    // a turnable face changes nothing
  };
  for (const auto& s : steps) {
    OnTextDialog(nullptr, s.face);
    box.EditProperties(dc());
    EXPECT_STREQ(box.GetInfo().m_font.lfFaceName, s.face);
    EXPECT_EQ(box.CanRotate(), s.parked ? 0 : 1) << s.face;
    EXPECT_NEAR(Degrees(box), s.turn, 1e-9) << s.face;
    EXPECT_EQ(box.IsRotationParked(), s.parked) << s.face;
    EXPECT_NEAR(std::atan2(box.GetParkedSin(), box.GetParkedCos()) * 180 / kPi, s.kept, 1e-9) << s.face;
  }
  // Cancel changes nothing but the accepted flag.
  OnTextDialog("other", nullptr, false);
  box.EditProperties(dc());
  EXPECT_EQ(box.IsTextAccepted(), 0);
  EXPECT_EQ(box.GetInfo().m_label, CString("abc"));
  EXPECT_NEAR(Degrees(box), 30, 1e-9);
}

TEST_F(AnnText, ALongerTextKeepsATurnedBoxsStartCorner) {
  for (double degrees : {0.0, 90.0, 30.0}) {
    CAnnText box;
    Create(box, CPoint(120, 120), "ab");
    Turn(box, degrees);
    const CPoint start = ImageOf(box, box.PointAt(0));
    OnTextDialog("a much longer text", "Arial");
    box.EditProperties(dc());
    EXPECT_EQ(box.GetInfo().m_label, CString("a much longer text"));
    const CPoint after = ImageOf(box, box.PointAt(0));
    EXPECT_LE(std::abs(after.x - start.x), 1) << degrees;
    EXPECT_LE(std::abs(after.y - start.y), 1) << degrees;
    const CSize extent = Extent(box);
    EXPECT_EQ(box.GetLength(), static_cast<double>(extent.cx + extent.cy)) << degrees;
    EXPECT_NEAR(Degrees(box), degrees, 1e-9);
  }
}

TEST_F(AnnText, AClonesOwnFieldsStartAtTheirDefaults) {
  CAnnText box;
  Create(box, CPoint(60, 100), "abc", "MS Sans Serif");
  EXPECT_EQ(box.IsRotationParked(), 1);
  auto clone = box.Clone();
  ASSERT_NE(clone, nullptr);
  auto& text = static_cast<CAnnText&>(*clone);
  EXPECT_EQ(text.IsRotationParked(), 0);
  EXPECT_EQ(text.IsTextAccepted(), 0);
  EXPECT_EQ(text.GetInfo().m_label, CString("abc"));
  EXPECT_EQ(text.GetKind(), 9);
}

}  // namespace
