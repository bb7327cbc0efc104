// What the line, polygon, polyline, freehand curve and text box have in common: a rubber
// band that a second drawing takes away, clones that share nothing, and how they all
// look over a picture (LUMORA_ANNOTATION_SHOTS names a folder to keep that picture in).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "Boxes.h"
#include "Canvas.h"
#include "Figures.h"
#include "TestEnv.h"
#include "annotation/objects/AnnFree.h"
#include "annotation/objects/AnnLine.h"
#include "annotation/objects/AnnPolygon.h"
#include "annotation/objects/AnnPolyline.h"
#include "annotation/objects/AnnText.h"
#include "display/Png.h"

namespace {

constexpr double kPi = 3.14159265358979;

// One kept object of `kind`, turned by 20 degrees, pen 3.
std::unique_ptr<CAnnObj> MakeKept(int kind) {
  std::unique_ptr<CAnnObj> obj;
  const std::vector<CPoint> zigzag = {CPoint(-50, -30), CPoint(-10, 30), CPoint(20, -20), CPoint(50, 30)};
  switch (kind) {
    case 3:
      obj = std::make_unique<CAnnLine>();
      Place(*obj, CPoint(100, 100), std::vector<CPoint>{CPoint(-60, -20), CPoint(60, 20)});
      obj->GetInfo().SetStyleCode(3);
      break;
    case 4:
    case 5:
    case 6: {
      std::unique_ptr<CAnnVertexFigure> fig;
      if (kind == 4) fig = std::make_unique<CAnnPolygon>();
      if (kind == 5) fig = std::make_unique<CAnnPolyline>();
      if (kind == 6) fig = std::make_unique<CAnnFree>();
      PlaceFigure(*fig, CPoint(100, 100), zigzag);
      obj = std::move(fig);
      break;
    }
    default:
      obj = std::make_unique<CAnnText>();
      Place(*obj, CPoint(100, 100), CSize(50, 12));
      obj->GetInfo().m_label = "text";
      break;
  }
  obj->GetInfo().m_cos = std::cos(kPi / 9);
  obj->GetInfo().m_sin = std::sin(kPi / 9);
  obj->GetInfo().SetPenWidth(3);
  return obj;
}

constexpr int kKinds[] = {3, 4, 5, 6, 9};

TEST(AnnKinds, TheRubberBandDrawnTwiceLeavesEveryByte) {
  for (int kind : kKinds) {
    for (int pen : {1, 3}) {
      Canvas canvas(200, 200);
      auto obj = MakeKept(kind);
      obj->GetInfo().SetPenWidth(pen);
      obj->Draw(canvas.dc());
      canvas.Set(100, 100, RGB(1, 2, 3));
      const auto before = canvas.Bytes();
      obj->DrawXor(canvas.dc());
      EXPECT_GT(canvas.Changed(before), 50) << kind << "/" << pen;
      obj->DrawXor(canvas.dc());
      EXPECT_EQ(canvas.Changed(before), 0) << kind << "/" << pen;
      // A whole drag takes its band off again: press, moves, and one more erase.
      auto* fig = dynamic_cast<CAnnVertexFigure*>(obj.get());
      const CPoint press = fig ? ImageVerticesOf(*fig)[1] : obj->GetOrigin();
      obj->OnButtonDown(canvas.dc(), 0, press, 1.0);
      ASSERT_EQ(obj->IsSelected(), 1) << kind;
      obj->OnMouseMove(canvas.dc(), MK_LBUTTON, press + CPoint(7, 5), 1.0);
      obj->OnMouseMove(canvas.dc(), MK_LBUTTON, press + CPoint(-4, 9), 1.0);
      obj->DrawXor(canvas.dc());
      EXPECT_EQ(canvas.Changed(before), 0) << kind << "/" << pen;
    }
  }
}

TEST(AnnKinds, AClonesStateSharesNothing) {
  for (int kind : kKinds) {
    auto obj = MakeKept(kind);
    auto clone = obj->Clone();
    ASSERT_NE(clone, nullptr) << kind;
    EXPECT_EQ(clone->GetKind(), kind);
    EXPECT_EQ(clone->IsCreating(), 0);
    EXPECT_EQ(clone->IsValid(), 1);
    EXPECT_EQ(clone->GetLength(), obj->GetLength()) << kind;
    // Changing the clone leaves the original as it was.
    const double length = obj->GetLength();
    clone->GetInfo().m_points[0] = CPoint(-500, -500);
    clone->GetInfo().m_rubberPoints.clear();
    clone->GetInfo().m_label = "changed";
    if (auto* fig = dynamic_cast<CAnnVertexFigure*>(clone.get())) {
      const auto* source = dynamic_cast<CAnnVertexFigure*>(obj.get());
      EXPECT_EQ(fig->GetVertices(), source->GetVertices());
      fig->SetVertices({CPoint(1, 1)});
      EXPECT_EQ(source->GetVertices().size(), 4u);
    }
    EXPECT_EQ(obj->GetLength(), length) << kind;
    EXPECT_NE(obj->GetInfo().m_points[0], CPoint(-500, -500));
    EXPECT_FALSE(obj->GetInfo().m_rubberPoints.empty());
    EXPECT_NE(obj->GetInfo().m_label, CString("changed"));
  }
}

// A test picture: soft round cells on a darker ground, like a stained sample.
void PaintSample(Canvas& canvas) {
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      const double cx = std::fmod(x + 0.5 * (y / 70 % 2) * 70, 70.0) - 35, cy = std::fmod(y, 70.0) - 35;
      const double r = std::sqrt(cx * cx + cy * cy);
      const int cell = r < 26 ? static_cast<int>(90 * (1 - r / 26)) : 0;
      canvas.Set(x, y, RGB(60 + cell + x / 12, 40 + cell / 2 + y / 14, 90 + cell));
    }
}

TEST(AnnKinds, EveryKindOverAPicture) {
  const char* keep = std::getenv("LUMORA_ANNOTATION_SHOTS");
  if (keep) setenv("LUMORA_FONT", "", 1);
  Canvas canvas(480, 320);  // where the curve draws itself while it is captured

  CAnnPolygon polygon;
  PlaceFigure(polygon, CPoint(90, 90), {CPoint(-60, -40), CPoint(40, -55), CPoint(65, 20), CPoint(-10, 50), CPoint(-55, 25)});
  polygon.GetInfo().SetPenWidth(3);
  polygon.GetInfo().SetPenColor(RGB(255, 230, 0));
  polygon.GetInfo().SetFillColor(RGB(0, 90, 200));
  polygon.GetInfo().SetFill(1);

  CAnnPolyline polyline;
  PlaceFigure(polyline, CPoint(260, 80), {CPoint(-70, 40), CPoint(-30, -40), CPoint(10, 30), CPoint(70, -35)});
  polyline.GetInfo().SetPenWidth(4);
  polyline.GetInfo().SetPenColor(RGB(0, 255, 120));

  CAnnFree curve;
  curve.GetInfo().SetPenWidth(2);
  curve.GetInfo().SetPenColor(RGB(255, 80, 200));
  curve.OnButtonDown(canvas.dc(), 0, CPoint(340, 60), 1.0);
  for (int i = 1; i <= 60; ++i)
    curve.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(340 + i * 2, 90 + static_cast<int>(30 * std::sin(i / 6.0))), 1.0);
  curve.OnButtonUp(canvas.dc(), 0, CPoint(460, 90), 1.0);

  CAnnLine arrow;
  Place(arrow, CPoint(110, 230), std::vector<CPoint>{CPoint(-80, 30), CPoint(80, -30)});
  arrow.GetInfo().SetPenWidth(6);
  arrow.GetInfo().SetStyleCode(3);
  arrow.GetInfo().SetPenColor(RGB(255, 60, 40));

  CAnnLine measuring;
  Place(measuring, CPoint(360, 270), std::vector<CPoint>{CPoint(-80, 0), CPoint(80, 0)});
  measuring.GetInfo().SetPenWidth(3);
  measuring.GetInfo().SetStyleCode(4);
  measuring.GetInfo().SetPenColor(RGB(255, 255, 255));
  measuring.SetDrawnFlag(1);

  CAnnText text;
  Place(text, CPoint(300, 185), CSize(80, 14));
  text.GetInfo().m_label = "Cells 20 um";
  std::strcpy(text.GetInfo().m_font.lfFaceName, "Arial");
  text.GetInfo().m_font.lfHeight = -26;
  text.GetInfo().m_font.lfWeight = 700;
  text.GetInfo().SetPenColor(RGB(255, 255, 255));
  text.GetInfo().SetFillColor(RGB(30, 30, 30));
  text.GetInfo().SetFill(1);
  text.GetInfo().m_cos = std::cos(-kPi / 12);
  text.GetInfo().m_sin = std::sin(-kPi / 12);

  std::vector<CAnnObj*> all = {&polygon, &polyline, &curve, &arrow, &measuring, &text};
  Canvas picture(480, 320);
  PaintSample(picture);
  const auto sample = picture.Bytes();
  for (CAnnObj* obj : all) obj->Draw(picture.dc());
  // The polygon shows its handles and the measuring line its crosses, as when selected.
  CPen black(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(picture.dc(), black);
  polygon.DrawHandles(picture.dc());
  measuring.DrawHandles(picture.dc());
  SelectObject(picture.dc(), old);

  // Each object left its colour where it lies.
  EXPECT_EQ(picture.At(90, 90), RGB(0, 90, 200));
  const CPoint bend = ImageVerticesOf(polyline)[1];
  EXPECT_EQ(picture.At(bend.x, bend.y + 3), RGB(0, 255, 120));
  EXPECT_EQ(picture.At(110, 230), RGB(255, 60, 40));
  EXPECT_GT(picture.Changed(sample), 4000);

  std::vector<plat::display::Pixel> pixels;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const COLORREF c = picture.At(x, y);
      pixels.push_back(static_cast<plat::display::Pixel>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
  const std::string path = std::string(keep ? keep : testenv::ScratchDir()) + "/annotation-objects.png";
  ASSERT_TRUE(plat::display::WritePng(path, pixels.data(), picture.width(), picture.height(), picture.width()));
  const auto back = plat::display::ReadPng(path);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->width, 480);
}

}  // namespace
