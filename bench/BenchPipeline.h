// What the program's benchmarks compose their stages on. `ProgramRig`: the document, a
// frame window and the image slots, on the benchmarks' scratch drive C:. `BenchPipeline`:
// the live stages on it as the main frame composes them, the simulated board with the settings
// given and the camera started, every stage a hidden child of the frame. `RunBenchmarks`:
// a main that takes a rig down after the run, while the stand-in is still whole.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "Clock.h"
#include "Config.h"
#include "board/BoardTestApi.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/VexStageCreation.h"
#include "pipeline/input/VexCCDInput.h"
#include "pipeline/process/VexFocusProcess.h"
#include "pipeline/process/VexProfileProcess.h"
#include "pipeline/process/VexRGBProcess.h"
#include "pipeline/process/VexShadingProcess.h"

namespace bench {

struct ProgramRig {
  // `frameStyle` and the frame's size let a pane be shown in it.
  explicit ProgramRig(DWORD frameStyle = WS_POPUP, CSize frameSize = CSize(400, 300)) {
    UseScratchDrive();
    AfxEnableControlContainer();
    TheSettingSources().resetRequested = 1;
    doc = std::make_unique<CVexDoc>();
    doc->m_bAutoDelete = FALSE;
    frame.CreateEx(0, nullptr, "frame", frameStyle, 0, 0, frameSize.cx, frameSize.cy, nullptr, nullptr);
    buffers = new CVexBufferControl;  // a view frees itself with its window
    buffers->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, CVexBufferControl::kWindowId);
    buffers->CreateImageControls(CRect(0, 0, 50, 50));
    doc->AddView(buffers);
  }
  ~ProgramRig() {
    if (frame.m_hWnd) frame.DestroyWindow();
    doc.reset();
  }
  ProgramRig(const ProgramRig&) = delete;
  ProgramRig& operator=(const ProgramRig&) = delete;

  // A hidden stage made as the main frame makes it (no error control).
  template <class Stage>
  Stage* MakeStage(UINT childId) {
    return CreateHiddenStage<Stage>(&frame, childId, buffers, nullptr, doc.get());
  }

  std::unique_ptr<CVexDoc> doc;
  CWnd frame;
  CVexBufferControl* buffers = nullptr;
};

struct BenchPipeline : ProgramRig {
  // `board`: settings of the simulated board without the LUMORA_ prefix.
  BenchPipeline(bool virtualClock, std::vector<std::pair<std::string, std::string>> board, DWORD frameStyle,
                CSize frameSize)
      : ProgramRig(frameStyle, frameSize), keys_(std::move(board)) {
    plat::clock::UseVirtual(virtualClock, 10);
    for (auto& [key, value] : keys_) plat::config::Set(key, value);
    plat::board::Reset();
    camera = MakeStage<CVexCCDInput>(1129);
    focus = MakeStage<CVexFocusProcess>(1135);
    profile = MakeStage<CVexProfileProcess>(1134);
    rgb = MakeStage<CVexRGBProcess>(1139);
    shading = MakeStage<CVexShadingProcess>(1140);
    if (!camera || !focus || !profile || !rgb || !shading) return;
    focus->SetCameraInput(camera);
    camera->PowerOff();
    doc->SetPCIAddress(DWORD(-1));
    ready = camera->CheckCameraPower(1) == 0;
  }
  ~BenchPipeline() {
    frame.DestroyWindow();  // the stages go before the board they talk to
    for (auto& [key, value] : keys_) plat::config::Set(key, std::nullopt);
    plat::board::Reset();
    plat::clock::UseVirtual(false);
  }

  CVexCCDInput* camera = nullptr;
  CVexFocusProcess* focus = nullptr;
  CVexProfileProcess* profile = nullptr;
  CVexRGBProcess* rgb = nullptr;
  CVexShadingProcess* shading = nullptr;
  bool ready = false;  // the stages exist and the camera answered

 private:
  std::vector<std::pair<std::string, std::string>> keys_;
};

// The benchmarks' main: runs what is registered, then `teardown`.
inline int RunBenchmarks(int argc, char** argv, const std::function<void()>& teardown) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  teardown();
  return 0;
}

}  // namespace bench
