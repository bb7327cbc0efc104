// The live stages composed as the main frame composes them, for the benchmarks: a
// scratch drive C:, the simulated board with the settings given, the camera started,
// and every stage a hidden child of one frame window; also the processor clock of the
// calling thread and the plain reference every case is set against.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>
#include <stdlib.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

namespace benchpipeline {

inline double ThreadCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// Processor time of one memcpy of `bytes`.
inline double AnchorNs(size_t bytes) {
  std::vector<unsigned char> from(bytes, 7), to(bytes);
  const int rounds = bytes > (8u << 20) ? 8 : 64;
  std::memcpy(to.data(), from.data(), bytes);
  const double start = ThreadCpuNs();
  for (int i = 0; i < rounds; ++i) {
    from[size_t(i) % bytes] = static_cast<unsigned char>(i);
    std::memcpy(to.data(), from.data(), bytes);
  }
  const double ns = (ThreadCpuNs() - start) / rounds;
  volatile unsigned char keep = to[bytes / 2];
  (void)keep;
  return ns;
}

struct BenchPipeline {
  // `board`: settings of the simulated board without the LUMORA_ prefix; `frameStyle`
  // and the frame's size let a pane be shown in it.
  BenchPipeline(bool virtualClock, std::vector<std::pair<std::string, std::string>> board, DWORD frameStyle,
                CSize frameSize)
      : keys_(std::move(board)) {
    char templ[] = "/tmp/lumora-bench-XXXXXX";
    if (mkdtemp(templ)) scratch = templ;
    if (!scratch.empty()) plat::config::Set("DRIVE_C", scratch);
    plat::clock::UseVirtual(virtualClock, 10);
    for (auto& [key, value] : keys_) plat::config::Set(key, value);
    plat::board::Reset();
    AfxEnableControlContainer();
    TheSettingSources().resetRequested = 1;
    doc = std::make_unique<CVexDoc>();
    doc->m_bAutoDelete = FALSE;
    frame.CreateEx(0, nullptr, "frame", frameStyle, 0, 0, frameSize.cx, frameSize.cy, nullptr, nullptr);
    buffers = new CVexBufferControl;
    buffers->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, CVexBufferControl::kWindowId);
    buffers->CreateImageControls(CRect(0, 0, 50, 50));
    doc->AddView(buffers);
    camera = CreateHiddenStage<CVexCCDInput>(&frame, 1129, buffers, nullptr, doc.get());
    focus = CreateHiddenStage<CVexFocusProcess>(&frame, 1135, buffers, nullptr, doc.get());
    profile = CreateHiddenStage<CVexProfileProcess>(&frame, 1134, buffers, nullptr, doc.get());
    rgb = CreateHiddenStage<CVexRGBProcess>(&frame, 1139, buffers, nullptr, doc.get());
    shading = CreateHiddenStage<CVexShadingProcess>(&frame, 1140, buffers, nullptr, doc.get());
    if (!camera || !focus || !profile || !rgb || !shading) return;
    focus->SetCameraInput(camera);
    camera->PowerOff();
    doc->SetPCIAddress(DWORD(-1));
    ready = camera->CheckCameraPower(1) == 0;
  }
  ~BenchPipeline() {
    frame.DestroyWindow();
    doc.reset();
    for (auto& [key, value] : keys_) plat::config::Set(key, std::nullopt);
    plat::board::Reset();
    plat::clock::UseVirtual(false);
    std::error_code ec;
    if (!scratch.empty()) std::filesystem::remove_all(scratch, ec);
  }
  BenchPipeline(const BenchPipeline&) = delete;
  BenchPipeline& operator=(const BenchPipeline&) = delete;

  std::string scratch;
  std::unique_ptr<CVexDoc> doc;
  CWnd frame;
  CVexBufferControl* buffers = nullptr;
  CVexCCDInput* camera = nullptr;
  CVexFocusProcess* focus = nullptr;
  CVexProfileProcess* profile = nullptr;
  CVexRGBProcess* rgb = nullptr;
  CVexShadingProcess* shading = nullptr;
  bool ready = false;  // the stages exist and the camera answered

 private:
  std::vector<std::pair<std::string, std::string>> keys_;
};

}  // namespace benchpipeline
