// One trial on the preview and one Apply of each page of the retouch dialog, on a
// 3840 x 3072 picture, the dialog open and shown (so trials include painting the preview).
// Times are processor time of the calling thread; the anchor is a memcpy of the picture
// in the same run (BenchMeasure.h).
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchMeasure.h"
#include "BenchPipeline.h"
#include "binding/CLead.h"
#include "imaging/ImageStore.h"
#include "pipeline/retouch/VexRetouchCalc.h"
#include "pipeline/retouch/VexRetouchDlg.h"
#include "pipeline/retouch/VexRetouchProcess.h"
#include "pipeline/retouch/VexRetouchTabColor.h"
#include "pipeline/retouch/VexRetouchTabEnhance.h"
#include "pipeline/retouch/VexRetouchTabSize.h"
#include "pipeline/retouch/VexRetouchTabWBalance.h"

namespace {

constexpr int kWidth = 3840, kHeight = 3072;

// The retouch stage holding a shot, and its dialog open modeless on it.
struct Retouch : bench::ProgramRig {
  Retouch() {
    stage = MakeStage<CVexRetouchProcess>(CVexRetouchProcess::kChildId);
    if (!stage || buffers->CreateBuffer(2, kWidth, kHeight, 0) != 2) return;
    // A picture with structure: every channel a different ramp.
    CLead* lead = stage->GetImagingControl();
    lead->SetBitmap(buffers->GetBuffer(2));
    std::shared_ptr<plat::imaging::Dib> dib;
    shot = LONG(plat::imaging::ImageStore::Instance().DetachForWrite(DWORD(lead->GetBitmap()), &dib));
    for (int y = 0; y < kHeight; ++y) {
      BYTE* row = dib->Row(y);
      for (int x = 0; x < kWidth; ++x) {
        row[x * 3] = BYTE(x / 15), row[x * 3 + 1] = BYTE(y / 12), row[x * 3 + 2] = BYTE((x + y) / 27);
      }
    }
    lead->SetBitmap(shot);
    buffers->SetSecondBitmap(shot);
    dialog = std::make_unique<CVexRetouchDlg>(stage, lead, shot);
    dialog->SetDocument(doc.get());
    if (!dialog->Create(CVexRetouchDlg::IDD, &frame)) return;
    dialog->ShowWindow(SW_SHOW);
    ready = true;
  }
  ~Retouch() {
    if (dialog && dialog->m_hWnd) dialog->DestroyWindow();
  }
  // The stage's picture back to the shot, the list empty, nothing pending.
  void Restore() {
    CLead* lead = stage->GetImagingControl();
    lead->SetValue146(0);
    lead->SetBitmap(shot);
    doc->ClearRetouchList();
  }
  int Send(UINT message, int code) { return int(dialog->SendMessage(message, WPARAM(code))) == 0 ? 1 : 0; }
  // The W.Balance page shown, nothing pending on the others.
  void ShowWBalance() {
    Send(CVexRetouchDlg::kEnhanceMessage, CVexRetouchTabEnhance::kReset);
    Send(CVexRetouchDlg::kColorMessage, CVexRetouchTabColor::kReset);
    Send(CVexRetouchDlg::kSizeMessage, CVexRetouchTabSize::kReset);
    HWND tab = ::GetDlgItem(dialog->m_hWnd, 1030);
    RECT item{};
    ::SendMessageA(tab, TCM_GETITEMRECT, CVexRetouchDlg::kWBalancePage, reinterpret_cast<LPARAM>(&item));
    ::SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
  }
  // White balance armed and a point of the picture taken as the sample.
  void SampleWhite() {
    Send(CVexRetouchDlg::kWBalanceMessage, CVexRetouchTabWBalance::kWhite);
    ::SendMessageA(dialog->Preview().m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 300));
    ::SendMessageA(dialog->Preview().m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(400, 300));
  }

  CVexRetouchProcess* stage = nullptr;
  std::unique_ptr<CVexRetouchDlg> dialog;
  LONG shot = 0;
  bool ready = false;
};

std::unique_ptr<Retouch> g_retouch;
Retouch& TheRetouch() {
  if (!g_retouch) g_retouch = std::make_unique<Retouch>();
  return *g_retouch;
}

constexpr size_t kPixels = size_t(kWidth) * kHeight;
using bench::Measure;

void BM_EnhancePreview(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  CVexRetouchTabEnhance* page = r.dialog->EnhancePage();
  page->m_nBrightness = 40;
  page->m_nSharpness = 200;
  Measure(state, kPixels, [&] { return r.Send(CVexRetouchDlg::kEnhanceMessage, CVexRetouchTabEnhance::kBrightness); },
          [&] { r.Restore(); });
}

void BM_EnhanceApply(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  CVexRetouchTabEnhance* page = r.dialog->EnhancePage();
  Measure(state, kPixels, [&] { return r.Send(CVexRetouchDlg::kEnhanceMessage, CVexRetouchTabEnhance::kApply); },
          [&] {
            r.Restore();
            page->m_nBrightness = 40, page->m_nContrast = 20, page->m_fGamma = 1.2f, page->m_nSharpness = 200;
          });
}

void BM_ColorPreview(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  CVexRetouchTabColor* page = r.dialog->ColorPage();
  page->m_nHue = 20, page->m_nSaturation = 10, page->m_nIntensity = 10, page->m_nBalance[2] = 30;
  Measure(state, kPixels, [&] { return r.Send(CVexRetouchDlg::kColorMessage, CVexRetouchTabColor::kHue); },
          [&] { r.Restore(); });
}

void BM_ColorApply(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  CVexRetouchTabColor* page = r.dialog->ColorPage();
  Measure(state, kPixels, [&] { return r.Send(CVexRetouchDlg::kColorMessage, CVexRetouchTabColor::kApply); },
          [&] {
            r.Restore();
            page->m_nHue = 20, page->m_nSaturation = 10, page->m_nIntensity = 10, page->m_nBalance[2] = 30;
            r.Send(CVexRetouchDlg::kColorMessage, CVexRetouchTabColor::kHue);  // the trial Apply takes over
          });
}

void BM_SizePreview(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  r.dialog->SizePage()->m_nSizeIndex = 2;
  Measure(state, kPixels, [&] { return r.Send(CVexRetouchDlg::kSizeMessage, CVexRetouchTabSize::kChosen); },
          [&] { r.Restore(); });
}

// The Size page's Apply only chooses; the resize itself is what OK then does.
void BM_SizeApplyAtOk(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  CVexRetouchCalc calc;
  r.dialog->SizePage()->m_nSizeIndex = 2;
  Measure(state, kPixels,
          [&] {
            const int chosen = r.Send(CVexRetouchDlg::kSizeMessage, CVexRetouchTabSize::kApply);
            return chosen && calc.Resize(r.stage->GetImagingControl(), 0.5f) == 0 ? 1 : 0;
          },
          [&] { r.Restore(); });
}

// A white balance from a point: the trial (the sample and the three plane tables) and
// its Apply.
void BM_WBalancePreview(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  r.ShowWBalance();
  r.SampleWhite();
  r.Send(CVexRetouchDlg::kWBalanceMessage, CVexRetouchTabWBalance::kStart);
  if (r.dialog->GetSampleLevels()[0] < 0) return state.SkipWithError("no sample");
  Measure(state, kPixels, [&] { return r.Send(CVexRetouchDlg::kWBalanceMessage, CVexRetouchTabWBalance::kStart); },
          [&] {
            r.Restore();
            r.SampleWhite();
          });
}

void BM_WBalanceApply(benchmark::State& state) {
  Retouch& r = TheRetouch();
  if (!r.ready) return state.SkipWithError("no dialog");
  r.ShowWBalance();
  Measure(state, kPixels, [&] { return r.Send(CVexRetouchDlg::kWBalanceMessage, CVexRetouchTabWBalance::kApply); },
          [&] {
            r.Restore();
            r.SampleWhite();
            r.Send(CVexRetouchDlg::kWBalanceMessage, CVexRetouchTabWBalance::kStart);
          });
}

}  // namespace

BENCHMARK(BM_EnhancePreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnhanceApply)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorApply)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SizePreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SizeApplyAtOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WBalancePreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WBalanceApply)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return bench::RunBenchmarks(argc, argv, [] { g_retouch.reset(); });
}
