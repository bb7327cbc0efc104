// The camera input on the simulated board: live and still captures into the slots, the
// power check with its tries, the white-balance measurement and its restores, trigger
// hand-over. A test replaces a library export only for an answer the board cannot give,
// mostly by wrapping the real one.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../StageRig.h"
#include "TrueImage.h"
#include "VexcamApi.h"
#include "imaging/ImageStore.h"

namespace {

using stagerig::StageRig;

// What the wrapped exports saw.
struct Seen {
  std::vector<RECT> rects;
  std::vector<LONG> kinds;
  int whiteBalances = 0;
  std::vector<std::pair<LONG, LONG>> exposures;  // mode and parameter at each power check
};
Seen g_seen;

int WINAPI RecordingMallocSize(CTrueImage* image, RECT rect, tCameraSettings* s) {
  g_seen.rects.push_back(rect);
  g_seen.kinds.push_back(image->m_nReserved);
  return KQ_GetMallocSize(image, rect, s);
}

class CameraInput : public StageRig {
 protected:
  void SetUp() override {
    StageRig::SetUp();
    g_seen = {};
    calls = VexcamLibraryCalls();
    calls.GetMallocSize = &RecordingMallocSize;
    camera->SetLibraryCalls(calls);
    ASSERT_EQ(StartCamera(), 0);
  }
  void Use() { camera->SetLibraryCalls(calls); }
  // A still of shooting size `code` prepared as the capture handler prepares it.
  void PrepareShot(SHORT code) {
    ASSERT_EQ(doc->SetShootResolution(code, 1, 2), 1);
    ASSERT_EQ(doc->SetCaptureMode(0), 1);
    ASSERT_EQ(flow->PrepareBuffer(2, 0), 1);
  }
  void PrepareLive() {
    ASSERT_EQ(doc->SetCaptureMode(1), 1);
    ASSERT_EQ(flow->PrepareBuffer(0, 1), 1);
  }
  bool SlotHoldsControlPicture(SHORT slot) const {
    const LONG handle = buffers->GetBuffer(slot);
    return plat::imaging::ImageStore::Instance().Find(DWORD(handle)) != nullptr &&
           handle == camera->GetImagingControl()->GetBitmap();
  }
  tVexcamCalls calls{};
};

TEST_F(CameraInput, LiveFrameAsksForTheFullFrameAndRecordsNoShot) {
  PrepareLive();
  const LONG before = buffers->GetBuffer(0);
  ASSERT_EQ(camera->Input(0), 1);
  ASSERT_EQ(g_seen.rects.size(), 1u);
  EXPECT_TRUE(IsRectEmpty(&g_seen.rects[0]));
  EXPECT_EQ(g_seen.kinds[0], 0);
  EXPECT_EQ(doc->GetShotParameters().version, 0) << "no shot parameters for a live frame";
  const stagerig::Picture frame = Slot(0);
  ASSERT_EQ(frame.width, 640);
  ASSERT_EQ(frame.height, 512);
  // The chart is in the frame: not all one value.
  EXPECT_NE(frame.bgr[0], frame.bgr[frame.bgr.size() / 2 + 1]);
  EXPECT_NE(buffers->GetBuffer(0), 0);
  EXPECT_TRUE(SlotHoldsControlPicture(0));
  (void)before;

  // With an enhancement switched on and enabled, the library takes the enhanced path.
  doc->SetEnhanceEnable1(1);
  doc->SetAutoLevel(1);
  ASSERT_EQ(camera->Input(0), 1);
  EXPECT_EQ(g_seen.kinds.back(), 1);
}

TEST_F(CameraInput, StillComesOutAtTheShootingAreaWithItsSizeText) {
  const struct {
    SHORT code;
    int width, height;
    const char* text;
  } cases[] = {
      {0, 3840, 3072, "3840x3072"},
      {9, 640, 480, "640x480"},
      {13, 640, 480, "640x480"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    PrepareShot(c.code);
    g_seen = {};
    const uint64_t copies = plat::imaging::ImageStore::Instance().Copies();
    ASSERT_EQ(camera->Input(2), 1);
    EXPECT_EQ(plat::imaging::ImageStore::Instance().Copies(), copies) << "the fresh picture is written in place";
    const RECT area = doc->GetCaptureArea();
    ASSERT_EQ(g_seen.rects.size(), 1u);
    EXPECT_TRUE(EqualRect(&g_seen.rects[0], &area)) << "a still sends its capture area";
    EXPECT_EQ(g_seen.kinds[0], 10);
    EXPECT_EQ(doc->GetShotParameters().version, CVexDoc::kProgramVersion);
    const stagerig::Picture shot = Slot(2);
    EXPECT_EQ(shot.width, c.width);
    EXPECT_EQ(shot.height, c.height);
    EXPECT_STREQ(doc->GetImageSizeText(), c.text);
    EXPECT_TRUE(SlotHoldsControlPicture(2));
  }
}

// Size code 4 is 2252 pixels wide and is cut to 2250 only after the last per-pixel stage
// when shading or RGB adjustment is on for shots.
TEST_F(CameraInput, SizeCode4LeavesTheCropToTheCorrections) {
  const struct {
    DWORD shading, rgb;
    int width;
  } cases[] = {{1, 0, 2252}, {0, 0, 2250}};  // RGB on defers it as shading does
  for (const auto& c : cases) {
    doc->SetShadingOption(c.shading);
    doc->SetRGBOption(c.rgb);
    PrepareShot(4);
    ASSERT_EQ(camera->Input(2), 1);
    EXPECT_EQ(Slot(2).width, c.width) << c.shading << c.rgb;
    EXPECT_EQ(Slot(2).height, 1800);
  }
}

// The board answers after a hang it cannot recover from (revision 225), then busy, then
// ready: two statuses kept, no record.
TEST_F(CameraInput, PowerCheckReadyAtTheThirdTry) {
  Configure({{"BOARD_REVISION", "225"}});
  ASSERT_EQ(StartCamera(), 0);
  plat::board::FaultSet hang;
  hang.hangAfter = 1;
  plat::board::SetFaults(hang);
  doc->SetCameraStatus(-13);  // asks for the whole check
  doc->SetPCIAddress(DWORD(-1));
  doc->ClearLastError();
  const int64_t start = plat::clock::NowMicros();
  EXPECT_EQ(camera->CheckCameraPower(0), 0);
  EXPECT_EQ(camera->GetTryCount(), 2);
  EXPECT_EQ(camera->GetTryStatus(0), -13);
  EXPECT_EQ(camera->GetTryStatus(1), -15);
  EXPECT_EQ(camera->GetTryStatus(2), 0);
  EXPECT_EQ(Latched().first, 0);
  EXPECT_GE(plat::clock::NowMicros() - start, 2000000);
}

// Answers the board cannot give: five failures with a chosen status, or other results.
struct Script {
  std::vector<int> results;
  SHORT status = 0;
  size_t next = 0;
};
Script g_script;
int WINAPI ScriptedPowerCheck(tCameraSettings* s) {
  g_seen.exposures.emplace_back(s->ExpMode, s->ExpParam);
  s->Camera_Status = g_script.status;
  const int r = g_script.results[std::min(g_script.next, g_script.results.size() - 1)];
  ++g_script.next;
  if (r == 1) s->Camera_Status = 0;
  return r;
}

TEST_F(CameraInput, PowerCheckVerdicts) {
  calls.CheckCameraPower = &ScriptedPowerCheck;
  Use();
  const struct {
    const char* what;
    std::vector<int> results;
    SHORT status;
    int verdict;
    LONG detail;  // 0: nothing recorded
    int tries;
  } cases[] = {
      {"five zeros, status -13", {0}, -13, 1, 17, 5},
      {"five zeros, status -10", {0}, -10, 1, 14, 5},
      {"five zeros, status -19", {0}, -19, 1, 23, 5},
      {"five zeros, status -9", {0}, -9, 1, 6, 5},
      {"five zeros, status -20", {0}, -20, 1, 6, 5},
      {"library answers -10", {-10}, 0, 2, 7, 5},
      {"library answers 3", {3}, 0, 1, 8, 5},
      {"ready at once", {1}, 0, 0, 0, 0},
      {"ready at the fifth try", {0, 0, 0, 0, 1}, -11, 0, 0, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_script = {c.results, c.status, 0};
    doc->ClearLastError();
    const int64_t start = plat::clock::NowMicros();
    EXPECT_EQ(camera->CheckCameraPower(0), c.verdict);
    const int64_t waited = plat::clock::NowMicros() - start;
    EXPECT_EQ(camera->GetTryCount(), c.tries);
    EXPECT_GE(waited, int64_t(c.tries) * 1000000);
    EXPECT_LT(waited, int64_t(c.tries) * 1000000 + 500000);
    EXPECT_EQ(Latched(), c.detail ? Pair(110, c.detail) : Pair(0, 0));
  }
}

// The check with the test exposure runs at exposure 1 and restores the settings after.
TEST_F(CameraInput, PowerCheckWithTestExposureRestoresTheExposure) {
  calls.CheckCameraPower = &ScriptedPowerCheck;
  Use();
  g_script = {{0, 1}, -12, 0};
  doc->m_camera.ExpMode = 1;
  doc->m_camera.ExpParam = 700;
  EXPECT_EQ(camera->CheckCameraPower(1), 0);
  ASSERT_EQ(g_seen.exposures.size(), 2u);
  EXPECT_EQ(g_seen.exposures[0], std::make_pair(LONG(1), LONG(1)));
  EXPECT_EQ(doc->m_camera.ExpMode, 1);
  EXPECT_EQ(doc->m_camera.ExpParam, 700);
}

TEST_F(CameraInput, FailuresOfTheCaptureLeaveTheSlotValid) {
  PrepareLive();
  // A camera without power: the power check's own record gives way to detail 4.
  camera->PowerOff();
  plat::board::FaultSet off;
  off.noPower = true;
  plat::board::SetFaults(off);
  EXPECT_EQ(camera->Input(0), 0);
  EXPECT_EQ(Latched(), Pair(110, 4));
  EXPECT_TRUE(SlotHoldsControlPicture(0));
  plat::board::SetFaults({});
  ASSERT_EQ(StartCamera(), 0);

  // A camera that stops answering once it was checked: the shutter fails.
  plat::board::FaultSet stuck;
  stuck.busyStuck = true;
  plat::board::SetFaults(stuck);
  EXPECT_EQ(camera->Input(0), 0);
  EXPECT_EQ(Latched(), Pair(110, 9));
  EXPECT_TRUE(SlotHoldsControlPicture(0));
  doc->SetAbort(0);
}

int WINAPI CancelledShutter(CTrueImage* image, RECT rect, int flag, tCameraSettings* s) {
  s->bAbort = 1;  // the operator pressed stop as the exposure began
  return KQ_OnShutter(image, rect, flag, s);
}

TEST_F(CameraInput, AbortEndsTheCaptureWithoutARecord) {
  PrepareLive();
  calls.OnShutter = &CancelledShutter;
  Use();
  doc->ClearLastError();
  EXPECT_EQ(camera->Input(0), 0);
  EXPECT_EQ(Latched(), Pair(0, 0));
  EXPECT_TRUE(SlotHoldsControlPicture(0));
  doc->SetAbort(0);
}

// The library writes a whole frame: a bitmap that cannot hold it gets nothing.
TEST_F(CameraInput, UndersizedBitmapsReceiveNothing) {
  ASSERT_EQ(doc->SetCaptureMode(1), 1);
  PutFlat(0, 320, 256, 7, 8, 9);
  EXPECT_EQ(camera->Input(0), 0);
  EXPECT_EQ(Latched(), Pair(110, 3));
  const stagerig::Picture untouched = Slot(0);
  ASSERT_EQ(untouched.width, 320);
  EXPECT_EQ(untouched.bgr.front(), 7);
  EXPECT_EQ(untouched.bgr.back(), 9);

  ASSERT_EQ(buffers->CreateThirdBitmap(320, 256, 0), 0);
  doc->ClearLastError();
  EXPECT_EQ(camera->CaptureToCurrent(), 0);
  EXPECT_EQ(Latched(), Pair(110, 3));
  EXPECT_EQ(Read(buffers->GetThirdBitmap()).width, 320);
}

TEST_F(CameraInput, CurrentAndScratchFrames) {
  ASSERT_EQ(doc->SetCaptureMode(1), 1);
  ASSERT_EQ(buffers->CreateThirdBitmap(640, 512, 0), 0);
  ASSERT_EQ(buffers->CreateBuffer(0, 640, 512, 0), 0);
  const LONG live = buffers->GetBuffer(0);
  doc->SetEnhanceEnable2(1);  // enabled, though no enhancement is on: still the enhanced kind
  EXPECT_EQ(camera->CaptureToCurrent(), 1);
  EXPECT_TRUE(IsRectEmpty(&g_seen.rects.back()));
  EXPECT_EQ(g_seen.kinds.back(), 1);
  const stagerig::Picture current = Read(buffers->GetThirdBitmap());
  ASSERT_EQ(current.width, 640);
  EXPECT_NE(current.bgr[0], current.bgr[current.bgr.size() / 2 + 1]);

  EXPECT_EQ(camera->CaptureScratchFrame(), 1);
  EXPECT_EQ(g_seen.kinds.back(), 0);
  EXPECT_EQ(buffers->GetBuffer(0), live) << "the scratch frame goes nowhere";
  EXPECT_EQ(doc->GetShotParameters().version, 0);
}

// A pulse the library saw while polling is handed over by the next poll, once.
TEST_F(CameraInput, TriggerIsHandedOverOnceAndCleared) {
  ASSERT_EQ(camera->CheckStatus(), 0);
  plat::board::PulseTrigger(0, 50000);
  EXPECT_EQ(camera->CheckStatus(), 0) << "this poll sees the pulse";
  Sleep(100);  // the pulse is over
  EXPECT_EQ(camera->CheckStatus(), 1);
  EXPECT_EQ(doc->GetTriggerEvent(), 0) << "cleared as it is handed over";
  EXPECT_EQ(camera->CheckStatus(), 0);
  // While the trigger is held, nothing is handed over.
  doc->SetTriggerHold(1);
  plat::board::PulseTrigger(0, 50000);
  for (int i = 0; i < 2; ++i, Sleep(100)) EXPECT_EQ(camera->CheckStatus(), 0);
  doc->SetTriggerHold(0);
}

// ---- sending the exposure ------------------------------------------------------------

int g_exposuresSent = 0, g_gainsSent = 0;
int WINAPI CountingSetExposure(tCameraSettings* s) {
  ++g_exposuresSent;
  return KQ_SetExposure(s);
}
int WINAPI CountingSetCDSGain(const LONG* gains, tCameraSettings* s) {
  ++g_gainsSent;
  return KQ_SetCDSGain(gains, s);
}

// The exposure goes to the camera, with its gains and their settle waits, unless the
// camera has exactly that exposure from the last send and nothing was done with it since:
// a status read or the abort switch between the two changes nothing; a new value, a
// capture, a white-balance run, a power check or switching off sends it again.
TEST_F(CameraInput, TheSameExposureIsNotSentTwiceToAnUntouchedCamera) {
  calls.SetExposure = &CountingSetExposure;
  calls.SetCDSGain = &CountingSetCDSGain;
  Use();
  const struct {
    const char* between;
    std::function<void()> step;
    int sent;  // sends of the second apply
  } cases[] = {
      {"nothing", [] {}, 0},
      {"a status read", [&] { camera->CheckStatus(); }, 0},
      {"the abort switch on and off", [&] { doc->SetAbort(1), doc->SetAbort(0); }, 0},
      {"a new exposure time", [&] { doc->m_camera.ExpParam += 10; }, 1},
      {"a new exposure mode", [&] { doc->m_camera.ExpMode = doc->m_camera.ExpMode == 1 ? 2 : 1; }, 1},
      {"another gain level", [&] { doc->m_camera.GainLv = (doc->m_camera.GainLv + 1) % 3; }, 1},
      {"new gains", [&] { doc->m_camera.WBGain[doc->m_camera.GainLv][0] += 1; }, 1},
      {"a scratch frame", [&] { camera->CaptureScratchFrame(); }, 1},
      {"a power check", [&] { camera->CheckCameraPower(0); }, 1},
      {"switching off", [&] { camera->PowerOff(); }, 1},
  };
  PrepareLive();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.between);
    // The first send of each case always goes: the case before changed something, or not.
    camera->OnSettingsChanged(0x4);
    camera->OnSettingsChanged(0x4);
    g_exposuresSent = g_gainsSent = 0;
    c.step();
    const int64_t start = plat::clock::NowMicros();
    camera->OnSettingsChanged(0x4);
    EXPECT_EQ(g_exposuresSent, c.sent);
    EXPECT_EQ(g_gainsSent, c.sent);
    if (c.sent) { EXPECT_GE(plat::clock::NowMicros() - start, 200000) << "both settle waits"; }
    if (c.between == std::string("switching off")) { ASSERT_EQ(StartCamera(), 0); }
  }
}

// A capture the library answers with 0 (a frame it lost, no stop pressed) leaves no shot
// behind: it is a failed capture, recorded as a negative answer is.
int WINAPI LostFrameShutter(CTrueImage*, RECT, int, tCameraSettings*) { return 0; }

TEST_F(CameraInput, AFrameTheLibraryLostIsAFailedCapture) {
  PrepareShot(13);
  calls.OnShutter = &LostFrameShutter;
  Use();
  doc->ClearLastError();
  EXPECT_EQ(camera->Input(2), 0);
  EXPECT_EQ(Latched(), Pair(110, 9));
  EXPECT_TRUE(SlotHoldsControlPicture(2));
}

// ---- first and later starts ----------------------------------------------------------

// The program's first start runs on the defaults and writes the INI file at its end; the
// next start reads it. What the first start left in the camera block reads back the same,
// the camera is set up the same, and live view shows the same picture.
TEST_F(CameraInput, ALaterStartFromTheWrittenIniEqualsTheFirst) {
  // Camera block and the white bar of a live frame (mean red, green, blue), after a start.
  auto live = [&] {
    PrepareLive();
    Broadcast(0x4);  // live view starts by sending its exposure
    EXPECT_EQ(camera->Input(0), 1);
    const stagerig::Picture frame = Slot(0);
    std::array<double, 3> mean{};
    int n = 0;
    for (int y = 20; y < 130; ++y)
      for (int x = 10; x < 70; ++x, ++n)
        for (int c = 0; c < 3; ++c) mean[c] += frame.At(x, y)[2 - c];
    for (double& m : mean) m /= n;
    tCameraSettings block = doc->m_camera;
    std::memset(block.Progress, 0, sizeof block.Progress);
    return std::make_pair(block, mean);
  };
  const auto [first, firstBar] = live();  // the rig started the camera from the defaults
  const std::string ini = "C:\\later.ini";
  ASSERT_TRUE(doc->WriteUserSection(ini.c_str()));
  ASSERT_TRUE(doc->WriteSystemSection(ini.c_str()));
  ASSERT_TRUE(doc->WriteCameraSection(ini.c_str()));

  // The next start: the defaults, then the INI file over them; the camera checked again.
  CVexDoc defaults;
  doc->m_camera = defaults.m_camera;
  doc->ReadUserSection(ini.c_str());
  doc->ReadSystemSection(ini.c_str());
  doc->ReadCameraSection(ini.c_str());
  doc->CheckUserValues(false);
  ASSERT_EQ(StartCamera(), 0);
  const auto [later, laterBar] = live();

  const auto* a = reinterpret_cast<const BYTE*>(&first);
  const auto* b = reinterpret_cast<const BYTE*>(&later);
  std::vector<size_t> differ;
  for (size_t i = 0; i < sizeof first; i += 4)
    if (std::memcmp(a + i, b + i, 4) != 0) differ.push_back(i);
  EXPECT_EQ(differ, std::vector<size_t>{}) << "byte offsets of the camera block that differ";
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(laterBar[c], firstBar[c], 1.0) << "colour " << c;
}

// ---- without a camera ----------------------------------------------------------------

// The start-up check without a camera on the board makes its five tries and nothing more:
// the exposure and gains that follow it, and those of the first update, do not search for
// the camera again.
TEST_F(CameraInput, WithoutACameraTheStartSearchesFiveTimes) {
  calls.SetExposure = &CountingSetExposure;
  calls.SetCDSGain = &CountingSetCDSGain;
  Use();
  Configure({{"BOARD_CAMERA", "0"}});
  g_exposuresSent = g_gainsSent = 0;
  plat::board::ClearLog();
  doc->ClearLastError();
  EXPECT_EQ(StartCamera(), 1);
  Broadcast(0x4);  // the first update of every stage
  int powerUps = 0;
  for (const auto& e : plat::board::Log())
    powerUps += e.kind == plat::board::LogEntry::Kind::Write && e.port == 0xE000 && e.value == 0xB00;
  EXPECT_EQ(powerUps, 5) << "one power-up a try";
  EXPECT_EQ(g_exposuresSent + g_gainsSent, 0);
  EXPECT_EQ(camera->GetTryCount(), 5);
  EXPECT_EQ(Latched().first, 110);
}

// ---- white balance -------------------------------------------------------------------

// Counts the measurements asked for; the bounds are the stage's, not the measurement's.
int WINAPI CountingWhiteBalance(CTrueImage*, RECT, tCameraSettings*) {
  ++g_seen.whiteBalances;
  return 0;
}

class WhiteBalance : public CameraInput {
 protected:
  void SetUp() override {
    CameraInput::SetUp();
    ASSERT_EQ(doc->SetCaptureMode(1), 1);
    for (SHORT level = 0; level < 3; ++level)
      for (SHORT channel = 0; channel < 4; ++channel) {
        doc->SetWBGain(level, channel, SHORT(20 + level * 10 + channel));
        doc->SetBBLevel(level, channel, SHORT(120 + channel));
      }
    doc->m_camera.ExpMode = 1;
    doc->m_camera.ExpParam = 500;
  }
  std::string Levels() const {
    std::string s;
    for (SHORT level = 0; level < 3; ++level)
      for (SHORT channel = 0; channel < 4; ++channel)
        s += std::to_string(doc->GetWBGain(level, channel)) + "/" +
             std::to_string(doc->GetBBLevel(level, channel)) + " ";
    return s;
  }
};

TEST_F(WhiteBalance, ExposureBoundsByRevision) {
  calls.WhiteBalance = &CountingWhiteBalance;
  Use();
  const struct {
    LONG revision, mode, param;
    bool accepted;
  } cases[] = {
      {216, 1, 40, false},  {216, 1, 41, true},  {216, 1, 1043, true}, {216, 1, 1044, false},
      {217, 1, 1068, true}, {217, 1, 1069, false}, {217, 2, 100, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.revision) + " " + std::to_string(c.param));
    doc->m_camera.BoardRevision = c.revision;
    doc->m_camera.ExpMode = c.mode;
    doc->m_camera.ExpParam = c.param;
    doc->ClearLastError();
    g_seen.whiteBalances = 0;
    const int result = camera->MeasureWhiteBalance();
    EXPECT_EQ(g_seen.whiteBalances, c.accepted ? 1 : 0);
    if (!c.accepted) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(Latched(), Pair(110, 12));
    } else {
      EXPECT_NE(Latched(), Pair(110, 12));
    }
    // Restored; the library holds an exposure it was given to its own limit.
    EXPECT_EQ(doc->m_camera.ExpMode, c.mode);
    EXPECT_EQ(doc->m_camera.ExpParam, c.accepted ? std::min<LONG>(c.param, c.revision < 217 ? 1043 : 1067) : c.param);
  }
}

int WINAPI CancelledWhiteBalance(CTrueImage* image, RECT rect, tCameraSettings* s) {
  s->bAbort = 1;  // the operator's stop arrives as the measurement begins
  const int result = KQ_WhiteBalance(image, rect, s);
  s->WBGain[0][0] = 99;  // whatever the library left behind
  s->BB_Lev[2][3] = 99;
  return result;
}

int WINAPI PowerLostAfterWhiteBalance(CTrueImage* image, RECT rect, tCameraSettings* s) {
  const int result = KQ_WhiteBalance(image, rect, s);
  s->WBGain[1][1] = 98;
  s->ExpParam = 77;
  KQ_PowerOff(s);
  plat::board::FaultSet off;
  off.noPower = true;
  plat::board::SetFaults(off);
  return result;
}

TEST_F(WhiteBalance, CancelAndLostPowerRestoreEverything) {
  const std::string before = Levels();
  calls.WhiteBalance = &CancelledWhiteBalance;
  Use();
  doc->ClearLastError();
  EXPECT_EQ(camera->MeasureWhiteBalance(), 1);
  EXPECT_EQ(Latched(), Pair(0, 0));
  EXPECT_EQ(Levels(), before);
  EXPECT_EQ(doc->m_camera.ExpParam, 500);
  doc->SetAbort(0);

  calls.WhiteBalance = &PowerLostAfterWhiteBalance;
  Use();
  EXPECT_EQ(camera->MeasureWhiteBalance(), 0);
  EXPECT_EQ(Latched().first, 110) << "the power check recorded its failure";
  EXPECT_EQ(Levels(), before);
  EXPECT_EQ(doc->m_camera.ExpMode, 1);
  EXPECT_EQ(doc->m_camera.ExpParam, 500);
}

LONG g_fakeResult = 0;
LONG g_fakeBlack = 0;
int WINAPI FakeWhiteBalance(CTrueImage*, RECT, tCameraSettings* s) {
  for (auto& row : s->WBGain)
    for (LONG& g : row) g = 55;
  if (g_fakeBlack) s->BB_Lev[1][2] = g_fakeBlack;
  return g_fakeResult;
}

TEST_F(WhiteBalance, ResultsTheLibraryReports) {
  calls.WhiteBalance = &FakeWhiteBalance;
  Use();
  const std::string before = Levels();
  const struct {
    LONG result, black;
    int verdict;
    LONG detail;
    bool keepsGains;
  } cases[] = {
      {1, 0, 0, 10, false},  {-3, 0, 0, 10, false}, {2, 0, 0, 11, false}, {-4, 0, 0, 11, false},
      {-10, 0, 0, 13, false}, {7, 0, 0, 13, false}, {0, 201, 1, 13, true}, {0, 200, 1, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.result) + " black " + std::to_string(c.black));
    g_fakeResult = c.result;
    g_fakeBlack = c.black;
    for (SHORT level = 0; level < 3; ++level)
      for (SHORT channel = 0; channel < 4; ++channel) {
        doc->SetWBGain(level, channel, SHORT(20 + level * 10 + channel));
        doc->SetBBLevel(level, channel, SHORT(120 + channel));
      }
    doc->ClearLastError();
    EXPECT_EQ(camera->MeasureWhiteBalance(), c.verdict);
    EXPECT_EQ(Latched(), c.detail ? Pair(110, c.detail) : Pair(0, 0));
    if (c.keepsGains) {
      EXPECT_EQ(doc->GetWBGain(2, 3), 55) << "the measured gains stay";
      EXPECT_EQ(doc->GetBBLevel(1, 2), c.black == 201 ? 122 : c.black);
    } else {
      EXPECT_EQ(Levels(), before);
    }
  }
}

// The capture and the measurement both run through the flow control's entry points.
TEST_F(CameraInput, ShotFlowCapturesIntoTheShootSlot) {
  PrepareShot(13);
  ASSERT_EQ(flow->BuildFlows(), 1);
  EXPECT_EQ(flow->RunShootFlow(), 1);
  EXPECT_EQ(doc->IsShotDone(), 1);
  EXPECT_EQ(Read(buffers->GetSecondBitmap()).width, 640);
}

}  // namespace
