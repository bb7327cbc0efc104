// The pipeline composed as the main frame composes it: every hidden stage a child view of
// one frame window (its child id, 50 x 50, hidden) with its own imaging control, linked to
// the image slots and the error control, added to the document and registered with the
// flow control. The camera is the simulated board on the virtual clock.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Clock.h"
#include "Config.h"
#include "Faults.h"
#include "board/BoardTestApi.h"
#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexFlowControl.h"
#include "imaging/ImageStore.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/VexStageCreation.h"
#include "pipeline/input/VexCCDInput.h"
#include "pipeline/input/VexFileInput.h"
#include "pipeline/process/VexFocusProcess.h"
#include "pipeline/process/VexNoiseCutProcess.h"
#include "pipeline/process/VexProfileProcess.h"
#include "pipeline/process/VexRGBProcess.h"
#include "pipeline/process/VexResizeProcess.h"
#include "pipeline/process/VexShadingProcess.h"
#include "pipeline/retouch/VexRetouchProcess.h"

namespace stagerig {

// A still pane: shows a slot by handing its picture to the image slots' second control,
// as the still display does before the file output takes it.
class StillPane : public CVexDisplayOutput {
 public:
  int Output(SHORT slot) override {
    ++outputs;
    return m_pBufferControl->SetSecondBitmap(m_pBufferControl->GetBuffer(slot));
  }
  int SetDisplayMode(SHORT mode) override { return mode >= 0 && mode <= 3; }
  void ClearAnnotations() override {}
  void ReloadCurrentImage() override {}
  void StoreImage(SHORT, LONG) override {}
  void ResetZoom() override {}
  int outputs = 0;
};

// A comment field as a byte array, as the file output sets it.
inline COleVariant ByteArray(const std::string& bytes) {
  SAFEARRAYBOUND bound{ULONG(bytes.size()), 0};
  COleVariant v;
  v.vt = VT_ARRAY | VT_UI1;
  v.parray = SafeArrayCreate(VT_UI1, 1, &bound);
  void* data = nullptr;
  SafeArrayAccessData(v.parray, &data);
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
  SafeArrayUnaccessData(v.parray);
  return v;
}

// A picture's pixels, top row first, three bytes (B, G, R) a pixel, no padding.
struct Picture {
  int width = 0, height = 0;
  std::vector<BYTE> bgr;
  const BYTE* At(int x, int y) const { return &bgr[(size_t(y) * width + x) * 3]; }
};

// Makes a w x h picture in `maker`, each pixel's B, G, R from `paint`; its handle, which
// `maker` holds.
inline LONG PaintPicture(CLead& maker, int w, int h, const std::function<void(int x, int y, BYTE* bgr)>& paint) {
  EXPECT_EQ(maker.CreateImage(float(w), float(h), 24), 0);
  std::shared_ptr<plat::imaging::Dib> dib;
  const DWORD handle = plat::imaging::ImageStore::Instance().DetachForWrite(DWORD(maker.GetBitmap()), &dib);
  EXPECT_NE(handle, 0u);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) paint(x, y, dib->Row(y) + size_t(x) * 3);
  maker.SetBitmap(LONG(handle));
  return LONG(handle);
}

class StageRig : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::clock::UseVirtual(true, 10);
    Configure({});
    AfxEnableControlContainer();
    // Every test starts from the defaults, whatever an earlier document wrote at its end.
    TheSettingSources() = VexSettingSources{};
    TheSettingSources().resetRequested = 1;
    doc = std::make_unique<CVexDoc>();
    doc->m_bAutoDelete = FALSE;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));

    buffers = new CVexBufferControl;  // views free themselves with their windows
    ASSERT_TRUE(buffers->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, CVexBufferControl::kWindowId));
    ASSERT_TRUE(buffers->CreateImageControls(CRect(0, 0, 50, 50)));
    doc->AddView(buffers);
    errors = new CVexErrorControl;
    ASSERT_TRUE(errors->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, CVexErrorControl::kWindowId));
    doc->AddView(errors);
    flow = new CVexFlowControl;
    ASSERT_TRUE(flow->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, CVexFlowControl::kWindowId));
    doc->AddView(flow);

    camera = MakeStage<CVexCCDInput>(1129);
    file = MakeStage<CVexFileInput>(1130);
    profile = MakeStage<CVexProfileProcess>(1134);
    focus = MakeStage<CVexFocusProcess>(1135);
    resize = MakeStage<CVexResizeProcess>(1137);
    noise = MakeStage<CVexNoiseCutProcess>(1138);
    rgb = MakeStage<CVexRGBProcess>(1139);
    shading = MakeStage<CVexShadingProcess>(1140);
    retouch = MakeStage<CVexRetouchProcess>(1136);
    left = new StillPane;
    right = new StillPane;
    for (StillPane* pane : {left, right}) {
      ASSERT_TRUE(pane->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, pane == left ? 1 : 2));
      pane->SetBufferControl(buffers);
      pane->SetErrorControl(errors);
      doc->AddView(pane);
    }
    focus->SetCameraInput(camera);

    flow->SetBufferControl(buffers);
    flow->SetInput(0, camera);
    flow->SetInput(1, file);
    flow->SetProcess(101, resize);
    flow->SetProcess(102, profile);
    flow->SetProcess(103, noise);
    flow->SetProcess(104, rgb);
    flow->SetProcess(105, shading);
    flow->SetProcess(100, retouch);
    flow->SetLiveProcess(200, focus);
    flow->SetOutput(300, left);
    flow->SetOutput(301, right);
    doc->SetDirectMode(1);  // no progress windows in these runs
    ASSERT_EQ(flow->BuildFlows(), 1);
    ASSERT_TRUE(checker.CreateControl("", 0, CRect(0, 0, 8, 8), &frame, 0));
  }

  void TearDown() override {
    plat::faults::DisarmAll();
    checker.DestroyWindow();
    frame.DestroyWindow();  // takes every stage view with it
    doc.reset();
    TheSettingSources() = VexSettingSources{};
    for (auto& k : keys_) plat::config::Set(k, std::nullopt);
    plat::board::Reset();
    plat::clock::UseVirtual(false);
  }

  template <class Stage>
  Stage* MakeStage(UINT id) {
    Stage* stage = CreateHiddenStage<Stage>(&frame, id, buffers, errors, doc.get());
    EXPECT_NE(stage, nullptr);
    EXPECT_NE(stage ? stage->GetImagingControl() : nullptr, nullptr);
    return stage;
  }

  // Board settings (without the LUMORA_ prefix); the boards are built again.
  void Configure(std::vector<std::pair<std::string, std::string>> keys) {
    for (auto& [k, v] : keys) {
      plat::config::Set(k, v);
      keys_.push_back(k);
    }
    plat::board::Reset();
  }

  // The camera as the main frame starts it; 0 when it is ready.
  int StartCamera() {
    camera->PowerOff();
    doc->SetPCIAddress(DWORD(-1));
    return camera->CheckCameraPower(1);
  }

  // The update broadcast: each target gets its own bit, whatever else `flags` holds.
  void Broadcast(LONG flags) {
    auto each = [&](LONG bit, auto* stage) {
      if (flags & bit) stage->OnSettingsChanged(bit);
    };
    each(0x4, camera);
    each(0x8, file);
    each(0x20, profile);
    each(0x40, focus);
    each(0x80, resize);
    each(0x100, noise);
    each(0x200, rgb);
    each(0x400, shading);
    if (flags & 0x2) flow->OnSettingsChanged(0x2);
  }

  // Puts a picture of w x h into `slot`, each pixel's B, G, R from `paint`.
  LONG PutPicture(SHORT slot, int w, int h, std::function<void(int x, int y, BYTE* bgr)> paint) {
    CLead maker;
    EXPECT_TRUE(maker.CreateControl("", 0, CRect(0, 0, 8, 8), &frame, 0));
    const LONG handle = PaintPicture(maker, w, h, paint);
    EXPECT_EQ(buffers->SetBuffer(slot, handle), 1);
    maker.DestroyWindow();
    return handle;
  }
  LONG PutFlat(SHORT slot, int w, int h, BYTE b, BYTE g, BYTE r) {
    return PutPicture(slot, w, h, [=](int, int, BYTE* p) { p[0] = b, p[1] = g, p[2] = r; });
  }

  // The pixels a handle names; an empty picture for a handle that names none.
  static Picture Read(LONG handle) {
    Picture out;
    auto dib = plat::imaging::ImageStore::Instance().Find(DWORD(handle));
    if (!dib || dib->Bits() != 24) return out;
    out.width = dib->Width();
    out.height = dib->Height();
    out.bgr.resize(size_t(out.width) * out.height * 3);
    for (int y = 0; y < out.height; ++y)
      std::copy_n(dib->Row(y), size_t(out.width) * 3, &out.bgr[size_t(y) * out.width * 3]);
    return out;
  }
  Picture Slot(SHORT slot) const { return Read(buffers->GetBuffer(slot)); }

  // Runs `body` on a worker thread while this thread handles its messages, as the main
  // frame waits for its workers; answers what the body answered.
  static int RunOnWorker(const std::function<int()>& body) {
    std::atomic<bool> done{false};
    int result = 0;
    std::thread worker([&] {
      result = body();
      done = true;
    });
    while (!done) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(0);
    }
    worker.join();
    return result;
  }

  std::pair<LONG, LONG> Latched() const { return {doc->GetLastErrorType(), doc->GetLastErrorDetail()}; }
  static std::pair<LONG, LONG> Pair(LONG type, LONG detail) { return {type, detail}; }

  std::unique_ptr<CVexDoc> doc;
  CWnd frame;
  CLead checker;
  CVexBufferControl* buffers = nullptr;
  CVexErrorControl* errors = nullptr;
  CVexFlowControl* flow = nullptr;
  CVexCCDInput* camera = nullptr;
  CVexFileInput* file = nullptr;
  CVexProfileProcess* profile = nullptr;
  CVexFocusProcess* focus = nullptr;
  CVexResizeProcess* resize = nullptr;
  CVexNoiseCutProcess* noise = nullptr;
  CVexRGBProcess* rgb = nullptr;
  CVexShadingProcess* shading = nullptr;
  CVexRetouchProcess* retouch = nullptr;
  StillPane* left = nullptr;
  StillPane* right = nullptr;

 private:
  std::vector<std::string> keys_;
};

}  // namespace stagerig
