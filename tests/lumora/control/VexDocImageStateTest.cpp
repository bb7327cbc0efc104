// The picture's state and title, the shoot resolution table, readout windows,
// orientation words and the capture modes that prepare the camera block.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "control/ShootModes.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "BareMainFrame.h"
#include "FrameRecorder.h"
#include "ui/MainFrame.h"

namespace {

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class VexDocImageState : public ::testing::Test {
 protected:
  void SetUp() override { TheSettingSources() = VexSettingSources{}; }
  CVexDoc doc;
};

TEST_F(VexDocImageState, ShootResolutionRows) {
  const struct {
    SHORT row;
    SHORT width, height;
    const char* area;
    SHORT zoom, transfer;
  } rows[] = {
      {0, 3840, 3072, "0,0,3840,3072", 6, 5},  {2, 3204, 2562, "2,1,3202,2561", 6, 5},
      {6, 1284, 1026, "2,1,1282,1025", 6, 5},  {9, 642, 480, "1,0,641,480", 6, 5},
      {10, 1280, 1024, "0,0,1280,1024", 2, 2}, {13, 640, 480, "0,0,640,480", 2, 2},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.row);
    ASSERT_EQ(doc.SetShootResolution(r.row, 1, 2), 1);
    EXPECT_EQ(doc.GetShootBufferSize(), r.row);
    EXPECT_EQ(doc.GetShootWidth(), r.width);
    EXPECT_EQ(doc.GetShootHeight(), r.height);
    EXPECT_EQ(Rect(doc.GetShootArea()), r.area);
    EXPECT_EQ(doc.GetZoomCode(), r.zoom);
    EXPECT_EQ(doc.GetShootExposureMode(), r.transfer);
  }
  EXPECT_EQ(shootmodes::AreaPixels(2), 3200 * 2560);
}

TEST_F(VexDocImageState, LiveRowChangesTheLiveSizeOnly) {
  ASSERT_EQ(doc.SetShootResolution(12, 0, 1), 1);
  ASSERT_EQ(doc.SetShootResolution(14, 1, 1), 1);
  EXPECT_EQ(doc.GetShootWidth(), 800);
  EXPECT_EQ(doc.GetShootHeight(), 600);
  EXPECT_EQ(doc.GetShootBufferSize(), 12);
  EXPECT_EQ(doc.GetLiveWidth(), 640);
  EXPECT_EQ(doc.GetLiveHeight(), 512);
  EXPECT_EQ(Rect(doc.GetShootArea()), "0,0,640,512");
  EXPECT_EQ(doc.GetZoomCode(), 2);
}

TEST_F(VexDocImageState, RefusedResolutionChangesNothing) {
  ASSERT_EQ(doc.SetShootResolution(7, 0, 1), 1);
  const RECT window = doc.GetShootWindow();
  const struct {
    SHORT row, zoom, interpolation;
  } refused[] = {{-1, 1, 2}, {15, 1, 2}, {3, 2, 2}, {3, -1, 0}, {14, 5, 0}};
  for (const auto& r : refused) {
    SCOPED_TRACE(std::to_string(r.row) + " zoom " + std::to_string(r.zoom));
    EXPECT_EQ(doc.SetShootResolution(r.row, r.zoom, r.interpolation), 0);
    EXPECT_EQ(doc.GetShootBufferSize(), 7);
    EXPECT_EQ(doc.GetShootWidth(), 1026);
    EXPECT_EQ(doc.m_nShootZoomMode, 0);
    EXPECT_EQ(doc.m_nShootInterpolation, 1);
    EXPECT_EQ(doc.GetProgressKind(), 2);
    EXPECT_EQ(Rect(doc.GetShootWindow()), Rect(window));
  }
  // An interpolation outside 0..2 is not an error: it leaves the stored one.
  EXPECT_EQ(doc.SetShootResolution(7, 1, 9), 1);
  EXPECT_EQ(doc.m_nShootInterpolation, 1);
}

TEST_F(VexDocImageState, ProgressKindFollowsTransferModeAndExposureKind) {
  const struct {
    SHORT row, kind, value, progress;
  } cases[] = {{0, 2, 30, 3}, {0, 1, 5, 2}, {10, 2, 30, 1}, {10, 1, 5, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(doc.SetLiveExposure(c.kind, c.value), 1);
    ASSERT_EQ(doc.SetShootResolution(c.row, 1, 2), 1);
    EXPECT_EQ(doc.GetProgressKind(), c.progress) << c.row << " kind " << c.kind;
  }
}

TEST_F(VexDocImageState, ShootWindowAroundTheTargetPoint) {
  const struct {
    SHORT row;
    LONG x, y;
    const char* window;
  } cases[] = {
      {10, 1, 1, "0,0,1280,1024"},         // shifted back inside
      {0, 320, 256, "0,0,3840,3072"},      // the full readout
      {9, 100, 100, "278,360,920,840"},    // an odd left moves one to the left
      {13, 600, 500, "640,544,1280,1024"}, // shifted back from the far corner
  };
  for (const auto& c : cases) {
    ASSERT_EQ(doc.SetShootResolution(c.row, 1, 2), 1);
    doc.SetShootTargetPoint(c.x, c.y);
    EXPECT_EQ(Rect(doc.GetShootWindow()), c.window) << c.row;
    EXPECT_EQ(doc.GetShootTargetPoint().x, c.x);
  }
}

TEST_F(VexDocImageState, RotationWords) {
  const struct {
    SHORT mode;
    LONG mono, invert;
    DWORD word;
  } cases[] = {{0, 0, 0, 6144},   {1, 0, 0, 0x1810}, {2, 0, 0, 0x180C}, {3, 1, 0, 0x185C},
               {4, 0, 1, 0x1828}, {5, 1, 1, 0x1878}, {6, 0, 0, 0x1804}, {7, 0, 0, 0x1814}};
  for (const auto& c : cases) {
    doc.SetMonochromeMode(c.mono);
    doc.SetInvertColorMode(c.invert);
    doc.m_rcLiveWindow = {5, 5, 50, 50};
    ASSERT_EQ(doc.SetRotation(c.mode), 1);
    EXPECT_EQ(doc.GetCameraSettings()->Mode, c.word) << c.mode;
    EXPECT_EQ(doc.GetDir90(), static_cast<DWORD>(c.mode & 1));
    EXPECT_EQ(Rect(doc.GetLiveWindow()), "0,0,640,512");
  }
  EXPECT_EQ(doc.SetRotation(8), 0);
  EXPECT_EQ(doc.GetRotateReverseMode(), 7);
}

TEST_F(VexDocImageState, LiveExposureAppliesOnlyChanges) {
  ASSERT_EQ(doc.SetLiveExposure(2, 100), 1);
  EXPECT_EQ(doc.GetExposureKind(), 2);
  EXPECT_EQ(doc.GetExposureValue(), 100);
  EXPECT_EQ(doc.GetExpMode(), 2);
  EXPECT_EQ(doc.GetExpParam(), 12);  // one second
  doc.m_camera.ExpParam = 99;        // marks the block: an unchanged pair is not written again
  ASSERT_EQ(doc.SetLiveExposure(2, 50), 1);
  EXPECT_EQ(doc.GetExpParam(), 99);
  EXPECT_EQ(doc.GetExposureValue(), 50);
  // Values without an exposure step or beyond the longest exposure are refused.
  for (auto [kind, value] : {std::pair<SHORT, SHORT>{1, 33}, {1, -1}, {2, 171}, {3, 1}}) {
    EXPECT_EQ(doc.SetLiveExposure(kind, value), 0);
    EXPECT_EQ(doc.GetExposureValue(), 50);
  }
}

TEST_F(VexDocImageState, TitleFollowsTheImageState) {
  doc.SetImageSizeText(640, 48);
  doc.SetNextSavePath("C:\\Image\\a.jpg");
  doc.m_strLoadPath = "C:\\In\\b.bmp";
  const struct {
    SHORT state;
    DWORD autoSave;
    const char* title;
    const char* file;
  } cases[] = {
      {1, 0, "Valdane Lumora  * [NO NAME] 640x 48", ""},
      {1, 1, "Valdane Lumora  * [C:\\Image\\a.jpg] 640x 48", "C:\\Image\\a.jpg"},
      {2, 0, "Valdane Lumora    [C:\\Image\\a.jpg] 640x 48", "C:\\Image\\a.jpg"},
      {3, 0, "Valdane Lumora   * [C:\\In\\b.bmp] 640x 48", "C:\\In\\b.bmp"},
      {4, 0, "Valdane Lumora    [C:\\Image\\a.jpg] 640x 48", "C:\\Image\\a.jpg"},
      {0, 0, "Valdane Lumora 640x 48", ""},
  };
  for (const auto& c : cases) {
    doc.SetAutoSave(c.autoSave);
    ASSERT_EQ(doc.UpdateImageStatus(c.state, 0), 1);
    EXPECT_EQ(doc.GetImageState(), c.state);
    EXPECT_STREQ(doc.GetTitleText(), c.title);
    EXPECT_STREQ(doc.GetCurrentFileName(), c.file);
  }
  ASSERT_EQ(doc.UpdateImageStatus(2, 0), 1);
  EXPECT_EQ(doc.UpdateImageStatus(5, 0), 0);
  EXPECT_EQ(doc.UpdateImageStatus(-1, 0), 0);
  EXPECT_EQ(doc.GetImageState(), 2);
  EXPECT_STREQ(doc.GetTitleText(), "Valdane Lumora    [C:\\Image\\a.jpg] 640x 48");
  doc.SetImageSizeText(0, 480);
  EXPECT_STREQ(doc.GetImageSizeText(), "       ");
  EXPECT_EQ(doc.GetImageSize().cx, 0);
}

TEST_F(VexDocImageState, TitleGoesToTheMainWindow) {
  CWinApp app("title");
  auto& frame = *new CFrameWnd;  // a frame frees itself with its window
  ASSERT_TRUE(frame.Create(nullptr, "x"));
  app.m_pMainWnd = &frame;
  doc.SetImageSizeText(64, 48);
  doc.UpdateImageStatus(0, 0);
  char text[128] = {};
  GetWindowTextA(frame.m_hWnd, text, sizeof text);
  EXPECT_STREQ(text, "Valdane Lumora  64x 48");
  SetWindowTextA(frame.m_hWnd, "other");
  doc.UpdateImageStatus(3, 1);  // a refresh puts the kept title back and changes no state
  GetWindowTextA(frame.m_hWnd, text, sizeof text);
  EXPECT_STREQ(text, "Valdane Lumora  64x 48");
  EXPECT_EQ(doc.GetImageState(), 0);
  app.m_pMainWnd = nullptr;
  frame.DestroyWindow();
}

TEST_F(VexDocImageState, SettersTellTheViewsWhatChanged) {
  CWinApp app("updates");
  auto& frame = *new BareMainFrame;  // a frame frees itself with its window
  ASSERT_TRUE(frame.Create(nullptr, "Lumora"));
  app.m_pMainWnd = &frame;
  std::optional<FrameRecorder> recorder(std::in_place, &frame);  // goes before the frame it watches
  const struct {
    const char* call;
    std::function<void()> set;
    DWORD flags;
  } cases[] = {
      {"SetShootResolution", [&] { doc.SetShootResolution(3, 1, 2); }, 0x800},
      {"SetRotation", [&] { doc.SetRotation(2); }, 0xC00},
      {"SetInvertColorMode", [&] { doc.SetInvertColorMode(1); }, 0x400},
      {"SetGainLevel", [&] { doc.SetGainLevel(2); }, 0x4},
      {"SetLiveExposure", [&] { doc.SetLiveExposure(2, 60); }, 0x4},
      {"SetFocusPosition", [&] { doc.SetFocusPosition(POINT{100, 90}); }, 64},
      {"SetImageProfilePosition", [&] { doc.SetImageProfilePosition(40); }, 32},
  };
  for (const auto& c : cases) {
    const int before = recorder->UpdateCount();
    c.set();
    EXPECT_EQ(recorder->UpdateCount(), before + 1) << c.call;
    EXPECT_EQ(recorder->LastUpdateFlags(), c.flags) << c.call;
    EXPECT_TRUE(frame.IsWindowEnabled()) << c.call;
  }
  EXPECT_EQ(doc.GetGainLv(), 2);
  // Refused values tell nobody.
  const int before = recorder->UpdateCount();
  EXPECT_EQ(doc.SetGainLevel(3), 0);
  EXPECT_EQ(doc.SetShootResolution(3, 4, 2), 0);
  EXPECT_EQ(recorder->UpdateCount(), before);
  app.m_pMainWnd = nullptr;
  recorder.reset();
  frame.DestroyWindow();
}

TEST(VexDocVersion, TheApplicationGetsTheVersionText) {
  TheSettingSources() = VexSettingSources{};
  CVexApp app;
  CVexDoc doc;
  EXPECT_STREQ(app.GetVersionText(), "2.63");
}

TEST_F(VexDocImageState, NoiseReductionNeedsALongExposure) {
  const struct {
    DWORD longMode, longTime, automatic, due;
  } cases[] = {{0, 10, 1, 0}, {0, 11, 1, 1}, {1, 1, 1, 1}, {1, 30, 0, 0}};
  for (const auto& c : cases) {
    doc.SetLongExposureMode(c.longMode);
    doc.m_nLongExposureTime = c.longTime;
    doc.m_bAutoNoiseReduction = c.automatic;
    EXPECT_EQ(doc.IsNoiseReductionDue(), c.due) << c.longMode << " " << c.longTime;
  }
}

TEST_F(VexDocImageState, CaptureModesPrepareTheCameraBlock) {
  ASSERT_EQ(doc.SetShootResolution(10, 0, 2), 1);
  doc.SetShootTargetPoint(320, 256);
  ASSERT_EQ(doc.SetContrastLevel(1, 4), 1);
  doc.SetEnhanceFlag2(1);
  ASSERT_EQ(doc.SetCaptureMode(0), 1);
  EXPECT_TRUE(doc.IsShootMode());
  EXPECT_EQ(doc.GetTranMode(), 2);
  EXPECT_EQ(doc.GetCameraZoom(), 0);
  EXPECT_EQ(doc.GetInterpolationMethod(), 2);
  EXPECT_EQ(Rect(doc.GetCaptureArea()), Rect(doc.GetShootWindow()));
  EXPECT_EQ(doc.GetExtraContrast(), 1u);

  // Live view needs the enable too; full screen reads the larger frame.
  doc.SetFullScreen(1);
  ASSERT_EQ(doc.SetCaptureMode(1), 1);
  EXPECT_TRUE(doc.IsNotShootMode());
  EXPECT_EQ(doc.GetExtraContrast(), 0u);
  EXPECT_EQ(doc.GetTranMode(), 2);
  EXPECT_EQ(Rect(doc.GetCaptureArea()), "0,0,1280,1024");
  EXPECT_EQ(doc.GetLiveWidth(), 1280);
  doc.SetEnhanceEnable2(1);
  doc.SetFullScreen(0);
  ASSERT_EQ(doc.SetCaptureMode(1), 1);
  EXPECT_EQ(doc.GetExtraContrast(), 1u);
  EXPECT_EQ(doc.GetTranMode(), 1);
  EXPECT_EQ(Rect(doc.GetCaptureArea()), "0,0,640,512");

  ASSERT_EQ(doc.SetCaptureMode(2), 1);
  EXPECT_EQ(doc.GetExtraContrast(), 0u);
  EXPECT_EQ(doc.GetTranMode(), 2);
  doc.SetAbort(1);
  EXPECT_EQ(doc.SetCaptureMode(3), 0);
  EXPECT_EQ(doc.GetAbort(), 0);  // cleared first, whatever the mode
  EXPECT_TRUE(doc.IsNotShootMode());
}

TEST_F(VexDocImageState, ProgressValuesWriteOnlyByteValues) {
  doc.SetProgressValues(50, 300, -1);
  EXPECT_EQ(doc.GetProgress(0), 50);
  EXPECT_EQ(doc.GetProgress(1), 0);
  EXPECT_EQ(doc.GetProgress(2), 0);
  doc.m_camera.Progress[2] = 77;  // the library moves the bar
  EXPECT_EQ(doc.GetProgressValues().value[2], 77);
}

TEST_F(VexDocImageState, ShadingRectangleStaysInsideTheReadout) {
  doc.SetFineMode(1);
  ASSERT_EQ(doc.SetShootResolution(5, 1, 2), 1);
  doc.SetShadingPoint(300, 200);  // centre 1800,1200, half 800 x 600
  EXPECT_EQ(Rect(doc.GetShadingRect()), "1000,600,2600,1800");
  doc.SetShadingPoint(600, 500);  // shifted back from the far corner
  EXPECT_EQ(Rect(doc.GetShadingRect()), "2240,1872,3840,3072");
  // Turned: half size and limits exchange.
  doc.SetFineMode(0);
  ASSERT_EQ(doc.SetRotation(1), 1);
  ASSERT_EQ(doc.SetShootResolution(10, 1, 2), 1);
  doc.SetShadingPoint(10, 10);
  EXPECT_EQ(Rect(doc.GetShadingRect()), "0,0,1024,1280");
  // A stored size code outside the table leaves the rectangle alone.
  doc.m_nShootBufferSize = 40;
  doc.SetShadingPoint(100, 100);
  EXPECT_EQ(Rect(doc.GetShadingRect()), "0,0,1024,1280");
}

TEST_F(VexDocImageState, ShotParametersOfTheLastCapture) {
  doc.SetLongExposureMode(0).SetExposureTime(12).SetAutoEnhance(0).SetContrastOffset(3);
  doc.SetResizeSave(1).SetResizeSaveSize(2).SetDirection(3).SetSensitivity(2);
  doc.BuildShotParameters();
  const tShotParameters& p = doc.GetShotParameters();
  EXPECT_EQ(p.version, 263);
  EXPECT_EQ(p.exposure, -12);
  EXPECT_EQ(p.contrastOffset, 0);
  EXPECT_EQ(p.resizeCode, 3);
  EXPECT_EQ(p.direction, 3);
  EXPECT_EQ(p.retouched, 0);
  doc.SetLongExposureMode(1).SetAutoEnhance(1);
  doc.m_nLongExposureTime = 40;
  doc.MarkShotParametersUsed();
  EXPECT_EQ(doc.GetShotParameters().retouched, 1);
  doc.BuildShotParameters();
  EXPECT_EQ(p.exposure, 40);
  EXPECT_EQ(p.contrastOffset, 3);
}

TEST_F(VexDocImageState, ErrorRecordHoldsTheLastPair) {
  EXPECT_EQ(doc.GetLastErrorValue(), 0);
  doc.SetLastError(110, 7, 1);
  EXPECT_EQ(doc.GetLastErrorType(), 110);
  EXPECT_EQ(doc.GetLastErrorDetail(), 7);
  EXPECT_EQ(doc.GetLastErrorValue(), 1);
  doc.ClearLastError();
  EXPECT_EQ(doc.GetLastErrorType() | doc.GetLastErrorDetail() | doc.GetLastErrorValue(), 0);
}

}  // namespace
