// What the program's benchmarks compose their stages on: the document, a frame window and
// the image slots, on a scratch drive C:; and their main, which takes the rig down while
// the stand-in is still whole.
#pragma once
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <afxdisp.h>

#include "Config.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/VexStageCreation.h"

namespace bench {

struct ProgramRig {
  ProgramRig() {
    char templ[] = "/tmp/lumora-bench-XXXXXX";
    if (mkdtemp(templ)) scratch = templ;
    if (!scratch.empty()) plat::config::Set("DRIVE_C", scratch);
    AfxEnableControlContainer();
    TheSettingSources().resetRequested = 1;
    doc = std::make_unique<CVexDoc>();
    doc->m_bAutoDelete = FALSE;
    frame.CreateEx(0, nullptr, "frame", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr);
    buffers = new CVexBufferControl;  // a view frees itself with its window
    buffers->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, CVexBufferControl::kWindowId);
    buffers->CreateImageControls(CRect(0, 0, 50, 50));
    doc->AddView(buffers);
  }
  ~ProgramRig() {
    if (frame.m_hWnd) frame.DestroyWindow();
    doc.reset();
    std::error_code ec;
    if (!scratch.empty()) std::filesystem::remove_all(scratch, ec);
  }
  ProgramRig(const ProgramRig&) = delete;
  ProgramRig& operator=(const ProgramRig&) = delete;

  // A hidden stage made as the main frame makes it (no error control).
  template <class Stage>
  Stage* MakeStage(UINT childId) {
    return CreateHiddenStage<Stage>(&frame, childId, buffers, nullptr, doc.get());
  }

  std::string scratch;
  std::unique_ptr<CVexDoc> doc;
  CWnd frame;
  CVexBufferControl* buffers = nullptr;
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
