// Text output speed: the glyph cache makes repeated text cheap; turned text pays
// for resampling its mask.
#include <benchmark/benchmark.h>

#include <cstring>

#include "windows.h"

namespace {

struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp;
  HGDIOBJ oldBmp, oldFont;
  HFONT font;
  explicit Canvas(LONG escapement = 0) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 800;
    bmi.bmiHeader.biHeight = -600;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bmp = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    oldBmp = SelectObject(dc, bmp);
    font = CreateFontA(-15, 0, escapement, escapement, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0x12,
                       "ＭＳ Ｐゴシック");
    oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~Canvas() {
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBmp);
    DeleteObject(font);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
};

const char kLine[] = "Exposure 1/60 s  Gain x2.0  露出時間 1/60 秒  ゲイン 2.0 倍";

void BM_TextOut(benchmark::State& state) {
  Canvas c;
  const int n = static_cast<int>(std::strlen(kLine));
  for (auto _ : state) TextOutA(c.dc, 10, 10, kLine, n);
  state.SetBytesProcessed(state.iterations() * n);
}
BENCHMARK(BM_TextOut);

void BM_TextOutTurned(benchmark::State& state) {
  Canvas c(static_cast<LONG>(state.range(0)));
  const int n = static_cast<int>(std::strlen(kLine));
  for (auto _ : state) TextOutA(c.dc, 400, 300, kLine, n);
}
BENCHMARK(BM_TextOutTurned)->Arg(900)->Arg(300);

void BM_DrawTextWordBreak(benchmark::State& state) {
  Canvas c;
  for (auto _ : state) {
    RECT r{0, 0, 200, 600};
    DrawTextA(c.dc, kLine, -1, &r, DT_WORDBREAK | DT_CENTER);
  }
}
BENCHMARK(BM_DrawTextWordBreak);

void BM_TextExtent(benchmark::State& state) {
  Canvas c;
  const int n = static_cast<int>(std::strlen(kLine));
  SIZE size;
  for (auto _ : state) GetTextExtentPoint32A(c.dc, kLine, n, &size);
}
BENCHMARK(BM_TextExtent);

}  // namespace

BENCHMARK_MAIN();
