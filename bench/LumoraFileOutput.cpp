// Saving a still picture. SavePicture of a 3840 x 3072 picture as JPEG (factor 2, that is
// libjpeg quality 98) is set beside libjpeg-turbo encoding the same picture into memory
// (the anchor, whose processor time is its wall time) and into a file in the same
// folder, written, flushed and renamed as the stage's save is. Then the whole Output
// with its thumbnail, and the still road at default settings (camera input, the still
// display's Output, the file output's Output) against the sum of its parts measured
// alone. After the table: each case against the anchor, and the road against its parts.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>

#include <jpeglib.h>

#include "BenchMeasure.h"
#include "BenchPipeline.h"
#include "Yardstick.h"
#include "binding/CLead.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/output/VexFileOutput.h"

namespace {

using bench::ThreadCpuNs;

constexpr int kWidth = 3840, kHeight = 3072;
constexpr int kQuality = 98;  // the control's factor 2

// The picture every case saves: a smooth scene with fine detail, as a microscope gives.
std::vector<unsigned char> ScenePixels() {
  std::vector<unsigned char> rgb(size_t(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      unsigned char* p = &rgb[(size_t(y) * kWidth + x) * 3];
      p[0] = static_cast<unsigned char>(128 + 90 * ((x * 7 + y * 3) % 97) / 97 - ((x ^ y) & 7));
      p[1] = static_cast<unsigned char>(100 + (x / 16 + y / 24) % 80);
      p[2] = static_cast<unsigned char>(60 + ((x * y) >> 12) % 120);
    }
  return rgb;
}

std::vector<unsigned char> EncodeJpeg(const std::vector<unsigned char>& rgb) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = kWidth;
  c.image_height = kHeight;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, kQuality, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(c.next_scanline) * kWidth * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<unsigned char> bytes(out, out + size);
  std::free(out);
  jpeg_destroy_compress(&c);
  return bytes;
}

// The stages on the virtual clock with the file output and a still display, as the main
// frame composes them.
struct Road : bench::BenchPipeline {
  Road() : BenchPipeline(true, {{"BOARD_SCENE", "chart"}}, WS_POPUP, CSize(700, 560)) {
    saver = CreateHiddenStage<CVexFileOutput>(&frame, 1131, buffers, nullptr, doc.get());
    still = new CVexDisplayOutput;  // frees itself with its window
    if (!still->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 512), &frame, 2)) return;
    CRect client(0, 0, 640, 512);
    still->CreateImagingControl(&client);
    still->SetBufferControl(buffers);
    doc->AddView(still);
    still->OnInitialUpdate();
    still->SetDisplayMode(0);
    still->OnSettingsChanged(0x1000);
    if (saver) {
      saver->SetDisplayOutput(1, still);
      saver->SetDisplayOutput(0, still);
    }
    // The picture of the first cases, in slot 2, as the still display hands it on.
    const std::vector<unsigned char> rgb = ScenePixels();
    if (buffers->CreateBuffer(2, kWidth, kHeight, 0) != 2) return;
    CLead filler;
    if (!filler.CreateControl("", 0, CRect(0, 0, 8, 8), &frame, 0)) return;
    filler.SetBitmap(buffers->GetBuffer(2));
    // Drawn through the control's image DC, row by row, as B, G, R.
    if (HDC dc = reinterpret_cast<HDC>(static_cast<INT_PTR>(filler.GetImageDC()))) {
      BITMAPINFO info{};
      info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
      std::vector<unsigned char> bgr(rgb.size());
      for (size_t i = 0; i < rgb.size(); i += 3) bgr[i] = rgb[i + 2], bgr[i + 1] = rgb[i + 1], bgr[i + 2] = rgb[i];
      ::SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, bgr.data(), &info, DIB_RGB_COLORS);
      filler.ReleaseImageDC();
    }
    buffers->SetBuffer(2, filler.GetBitmap());
    filler.DestroyWindow();
    pixels = rgb;
    saving = saver != nullptr;
  }
  // A shot at default settings: slot 3 made the size of the capture area, as the shooting
  // flow makes it.
  bool PrepareShot() {
    doc->SetCaptureMode(0);
    const RECT a = doc->GetCaptureArea();
    const SHORT w = SHORT(a.right - a.left), h = SHORT(a.bottom - a.top);
    return ready && w > 0 && h > 0 && buffers->CreateBuffer(3, w, h, 0) == 3;
  }
  // The picture of slot 2 shown as the still picture, to be saved as C:\bench\still.jpg.
  void ShowShot() {
    buffers->SetSecondBitmap(buffers->GetBuffer(2));
    doc->SetSavePath("C:\\bench\\still.jpg", 98, 24, 2);
  }

  CVexFileOutput* saver = nullptr;
  CVexDisplayOutput* still = nullptr;
  std::vector<unsigned char> pixels;
  bool saving = false;
};

std::unique_ptr<Road> g_road;
Road& TheRoad() {
  if (!g_road) g_road = std::make_unique<Road>();
  return *g_road;
}

// Each case's processor time of the calling thread, beside the wall time the library
// measures.
template <class Step>
void Measure(benchmark::State& state, Step step) {
  double ns = 0;
  for (auto _ : state) {
    const double start = ThreadCpuNs();
    const bool ok = step();
    ns += ThreadCpuNs() - start;
    if (!ok) {
      state.SkipWithError("the step failed");
      return;
    }
  }
  if (state.iterations()) state.counters["ms_cpu"] = ns / double(state.iterations()) / 1e6;
}

void BM_LibjpegToMemory(benchmark::State& state) {
  const std::vector<unsigned char>& rgb = TheRoad().pixels;
  Measure(state, [&] { return !EncodeJpeg(rgb).empty(); });
}

// As the control saves: encoded, written to a new file in the target's folder, flushed,
// renamed over the target.
void BM_LibjpegToFile(benchmark::State& state) {
  Road& road = TheRoad();
  const std::string folder = bench::UseScratchDrive() + "/bench";
  std::filesystem::create_directories(folder);
  const std::string temp = folder + "/~still.tmp", target = folder + "/still.jpg";
  Measure(state, [&] {
    const std::vector<unsigned char> bytes = EncodeJpeg(road.pixels);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ok && std::rename(temp.c_str(), target.c_str()) == 0;
  });
}

void BM_SavePicture(benchmark::State& state) {
  Road& road = TheRoad();
  if (!road.saving) return state.SkipWithError("no file output");
  road.doc->UpdateImageStatus(1, 0);
  road.ShowShot();
  if (road.saver->Output(0) != 1) return state.SkipWithError("the first save failed");
  // The control holds the picture again; each round saves it with its comments.
  Measure(state, [&] {
    road.saver->GetImagingControl()->SetBitmap(road.buffers->GetBuffer(2));
    return road.saver->SavePicture() == 1;
  });
}

void BM_OutputWithThumbnail(benchmark::State& state) {
  Road& road = TheRoad();
  if (!road.saving) return state.SkipWithError("no file output");
  road.doc->UpdateImageStatus(1, 0);
  Measure(state, [&] {
    road.ShowShot();
    return road.saver->Output(0) == 1;
  });
}

// The still road's parts alone, at default settings, and the road itself.
void BM_StillCameraInput(benchmark::State& state) {
  Road& road = TheRoad();
  if (!road.PrepareShot()) return state.SkipWithError("no camera");
  Measure(state, [&] { return road.camera->Input(3) == 1; });
}

void BM_StillDisplayOutput(benchmark::State& state) {
  Road& road = TheRoad();
  if (!road.PrepareShot() || road.camera->Input(3) != 1) return state.SkipWithError("no camera");
  Measure(state, [&] { return road.still->Output(3) == 1; });
}

void BM_StillFileOutput(benchmark::State& state) {
  Road& road = TheRoad();
  if (!road.PrepareShot() || road.camera->Input(3) != 1 || road.still->Output(3) != 1)
    return state.SkipWithError("no camera");
  road.doc->UpdateImageStatus(1, 0);
  const LONG shown = road.buffers->GetSecondBitmap();
  Measure(state, [&] {
    road.buffers->SetSecondBitmap(shown);
    road.doc->SetSavePath("C:\\bench\\road.jpg", road.doc->GetSaveFormat(), 24, road.doc->GetSaveQuality());
    return road.saver->Output(0) == 1;
  });
}

void BM_StillRoad(benchmark::State& state) {
  Road& road = TheRoad();
  if (!road.PrepareShot()) return state.SkipWithError("no camera");
  road.doc->UpdateImageStatus(1, 0);
  Measure(state, [&] {
    road.doc->SetSavePath("C:\\bench\\road.jpg", road.doc->GetSaveFormat(), 24, road.doc->GetSaveQuality());
    return road.camera->Input(3) == 1 && road.still->Output(3) == 1 && road.saver->Output(0) == 1;
  });
}

// The anchor's table, then the road against the sum of its parts.
class Reporter : public bench::YardstickReporter {
 public:
  Reporter() : YardstickReporter("BM_LibjpegToMemory/real_time") {}
  void ReportRuns(const std::vector<Run>& runs) override {
    YardstickReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type != Run::RT_Aggregate)
        wall_[run.run_name.function_name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
  }
  void Finalize() override {
    YardstickReporter::Finalize();
    const double parts = wall_["BM_StillCameraInput"] + wall_["BM_StillDisplayOutput"] + wall_["BM_StillFileOutput"];
    if (parts > 0 && wall_["BM_StillRoad"] > 0)
      std::printf("\nThe still road against the sum of its parts (%.2f ms): %.2fx (goal under 2x)\n", parts * 1e3,
                  wall_["BM_StillRoad"] / parts);
    if (wall_["BM_LibjpegToFile"] > 0 && wall_["BM_SavePicture"] > 0)
      std::printf("SavePicture against libjpeg-turbo to a file, wall time: %.2fx (goal 0.9x or better)\n",
                  wall_["BM_LibjpegToFile"] / wall_["BM_SavePicture"]);
  }

 private:
  std::map<std::string, double> wall_;
};

}  // namespace

BENCHMARK(BM_LibjpegToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LibjpegToFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SavePicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OutputWithThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StillCameraInput)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StillDisplayOutput)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StillFileOutput)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StillRoad)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  {
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  }
  g_road.reset();
  benchmark::Shutdown();
  return 0;
}
