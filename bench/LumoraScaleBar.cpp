// The live scale bar, as the live overlay redraws it whenever its inputs change: the
// document builds the bar's state from the selected preset, a new bar takes it, lays out
// its ticks and draws box, label, bar and ticks on a 640 x 512 frame. The anchor draws the
// same polygons and label with plain GDI calls from points worked out once, creating the
// same pens, brushes and font each time, so the ratio is what building the bar adds.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "BenchDib.h"
#include "Yardstick.h"
#include "annotation/objects/AnnScale.h"
#include "control/VexDoc.h"

namespace {

constexpr int kW = 640, kH = 512;

// A document whose selected preset is a filled 100 um bar with ten parts.
std::unique_ptr<CVexDoc> MakeDocument() {
  TheSettingSources() = VexSettingSources{};
  auto doc = std::make_unique<CVexDoc>();
  tScaleInfo p;
  doc->GetSelectedScale(p);
  p.barLength = 1800;  // 300 live pixels
  p.thickness = 48;
  p.lengthValue = 100;
  p.source = 0;
  p.divide = 10;
  p.filled = 1;
  p.fillColor = RGB(0, 0, 96);
  p.posX = 200;
  p.posY = 440;
  doc->SetSelectedScale(p);
  return doc;
}

void BuildLayOutAndDraw(benchmark::State& state) {
  Dib frame(kW, kH);
  auto doc = MakeDocument();
  for (auto _ : state) {
    auto bar = std::make_unique<CAnnScale>();
    bar->GetInfo() = *doc->GetAnnObjInfo(1, 1, 1.0);
    bar->SetCreating(0);
    bar->Layout();
    CDC dc;
    dc.Attach(frame.dc);
    bar->DrawOnDC(&dc, 1.0);
    dc.Detach();
  }
}
BENCHMARK(BuildLayOutAndDraw)->Unit(benchmark::kMicrosecond);

// The anchor: the picture points of box, bar and ticks and the label's place, once.
void PlainGdi(benchmark::State& state) {
  Dib frame(kW, kH);
  auto doc = MakeDocument();
  CAnnScale bar;
  bar.GetInfo() = *doc->GetAnnObjInfo(1, 1, 1.0);
  bar.Layout();
  const CAnnObj::CAnnObjInfo& s = bar.GetInfo();
  auto image = [&bar](std::vector<CPoint> local) {
    std::vector<POINT> out;
    for (CPoint p : local) out.push_back(bar.AddOrigin(bar.RotatePoint(p)));
    return out;
  };
  const int half = s.m_penWidth / 2, x0 = s.m_points[0].x, x2 = s.m_points[2].x;
  const int top = s.m_points[0].y + static_cast<int>(s.m_font.lfHeight * 1.5 + 0.5);
  const int bottom = s.m_points[1].y + static_cast<int>(bar.GetLabelLift() * 1.5 + 0.5);
  const int m = 2 * bar.GetTickHalfWidth();
  const auto box = image({CPoint(x0 - m, top), CPoint(x0 - m, bottom), CPoint(x2 + m, bottom), CPoint(x2 + m, top)});
  const auto body = image({CPoint(x0, -half), CPoint(x0, half), CPoint(x2, half), CPoint(x2, -half)});
  std::vector<std::vector<POINT>> ticks;
  for (int i = 0; i < bar.GetTickCount(); ++i)
    ticks.push_back(image({bar.GetTickCorner(i, 0), bar.GetTickCorner(i, 1), bar.GetTickCorner(i, 2),
                           bar.GetTickCorner(i, 3)}));
  const POINT anchor = image({CPoint(0, -half - bar.GetLabelLift())})[0];
  for (auto _ : state) {
    HPEN linePen = CreatePen(PS_SOLID, 1, s.m_penColor), fillPen = CreatePen(PS_SOLID, 1, s.m_fillColor);
    HBRUSH lineBrush = CreateSolidBrush(s.m_penColor), fillBrush = CreateSolidBrush(s.m_fillColor);
    HGDIOBJ oldPen = SelectObject(frame.dc, fillPen);
    HGDIOBJ oldBrush = SelectObject(frame.dc, fillBrush);
    SetBkColor(frame.dc, s.m_fillColor);
    SetTextColor(frame.dc, s.m_penColor);
    SetTextAlign(frame.dc, TA_BOTTOM | TA_CENTER);
    Polygon(frame.dc, box.data(), 4);
    SelectObject(frame.dc, linePen);
    SelectObject(frame.dc, lineBrush);
    HFONT font = CreateFontIndirectA(&s.m_font);
    HGDIOBJ oldFont = SelectObject(frame.dc, font);
    TextOutA(frame.dc, anchor.x, anchor.y, s.m_label, s.m_label.GetLength());
    SelectObject(frame.dc, oldFont);
    DeleteObject(font);
    Polygon(frame.dc, body.data(), 4);
    for (const auto& t : ticks) Polygon(frame.dc, t.data(), 4);
    SelectObject(frame.dc, oldPen);
    SelectObject(frame.dc, oldBrush);
    for (HGDIOBJ o : {HGDIOBJ(linePen), HGDIOBJ(fillPen), HGDIOBJ(lineBrush), HGDIOBJ(fillBrush)}) DeleteObject(o);
  }
}
BENCHMARK(PlainGdi)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunAgainstYardstick(argc, argv, "PlainGdi"); }
