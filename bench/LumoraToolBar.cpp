// The customisable toolbar with 36 buttons: one paint of the docked bar (every button
// composed off screen and copied once), and a relayout at a new length (wrapped and
// balanced rows). The yardstick draws the same 36 faces and images with plain GDI calls
// straight onto the bar's window.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "Yardstick.h"
#include "afxext.h"
#include "controls/SECBmpMgr.h"
#include "controls/SECCustomToolBar.h"

namespace {

constexpr int kButtons = 36;
constexpr UINT kFirstId = 41000;

// A frame with the toolbar docked on top; the images are a bitmap the bar does not own.
struct ToolBarRig {
  CWinApp app{"BenchToolBar"};
  CFrameWnd* frame = nullptr;
  SECCustomToolBar* bar = nullptr;
  HBITMAP images = nullptr;
  bool ready = false;

  ToolBarRig() {
    frame = new CFrameWnd;  // deletes itself with its window
    if (!frame->Create(nullptr, "Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1100, 300))) return;
    app.m_pMainWnd = frame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    bar = new SECCustomToolBar;
    bar->m_bAutoDelete = TRUE;
    if (!bar->CreateEx(CBRS_EX_COOL | CBRS_EX_GRIPPER, frame,
                       WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC, 0xFFFF,
                       "Tools"))
      return;
    // 36 images of 16 x 15 in one bitmap, each its own colour.
    HDC screen = ::GetDC(nullptr);
    images = ::CreateCompatibleBitmap(screen, 16 * kButtons, 15);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, images);
    for (int i = 0; i < kButtons; ++i) {
      RECT r{16 * i, 0, 16 * i + 16, 15};
      HBRUSH brush = ::CreateSolidBrush(RGB(i * 7, 255 - i * 7, (i * 53) & 0xFF));
      ::FillRect(mem, &r, brush);
      ::DeleteObject(brush);
    }
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    SECBmpMgr* mgr = bar->GetBitmapManager();
    auto info = std::make_unique<SECBmpMgr::BmpInfo>();
    info->hbmSmall = images;
    info->bSmallNotOwned = TRUE;
    info->nImageCount = kButtons;
    mgr->m_szSmall = CSize(16, 15);
    mgr->m_bitmaps.push_back(std::move(info));
    std::vector<UINT> ids;
    for (int i = 0; i < kButtons; ++i) {
      mgr->m_mapIdToItem[kFirstId + i] = SECBmpMgr::BmpItem{0, i};
      ids.push_back(kFirstId + i);
    }
    bar->SetButtons(ids.data(), kButtons);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar);
    frame->RecalcLayout();
    bar->UpdateWindow();
    ready = true;
  }
  ~ToolBarRig() {
    app.m_pMainWnd = nullptr;
    if (frame && frame->m_hWnd) frame->DestroyWindow();
    if (images) ::DeleteObject(images);
  }
};

ToolBarRig& Rig() {
  static ToolBarRig rig;
  return rig;
}

void PaintToolBar(benchmark::State& state) {
  ToolBarRig& rig = Rig();
  if (!rig.ready) {
    state.SkipWithError("no toolbar");
    return;
  }
  CClientDC dc(rig.bar);
  for (auto _ : state) rig.bar->DoPaint(&dc);
}
BENCHMARK(PaintToolBar)->Unit(benchmark::kMicrosecond);

// The same faces and images as the bar shows them, drawn with GDI alone.
void PlainGdiButtons(benchmark::State& state) {
  ToolBarRig& rig = Rig();
  if (!rig.ready) {
    state.SkipWithError("no toolbar");
    return;
  }
  CClientDC dc(rig.bar);
  HDC mem = ::CreateCompatibleDC(dc.m_hDC);
  HGDIOBJ old = ::SelectObject(mem, rig.images);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  for (auto _ : state) {
    for (int i = 0; i < kButtons; ++i) {
      const int x = 18 + 23 * i;
      dc.FillSolidRect(x, 4, 23, 22, face);
      ::BitBlt(dc.m_hDC, x + 3, 7, 16, 15, mem, 16 * i, 0, SRCCOPY);
    }
  }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}
BENCHMARK(PlainGdiButtons)->Unit(benchmark::kMicrosecond);

// Floating lengths that wrap the 36 buttons into different rows each time.
void RelayoutAtNewLength(benchmark::State& state) {
  ToolBarRig& rig = Rig();
  if (!rig.ready) {
    state.SkipWithError("no toolbar");
    return;
  }
  const int lengths[] = {200, 420, 300, 860};
  size_t n = 0;
  for (auto _ : state) {
    CSize size = rig.bar->CalcDynamicLayout(lengths[n++ % 4], LM_HORZ | LM_COMMIT);
    benchmark::DoNotOptimize(size);
  }
  rig.bar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
}
BENCHMARK(RelayoutAtNewLength)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  bench::UseScratchDrive();
  return bench::RunAgainstYardstick(argc, argv, "PlainGdiButtons");
}
