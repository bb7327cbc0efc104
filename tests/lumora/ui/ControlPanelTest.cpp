// The control panel in the running program, driven by the messages its controls send: the
// exposure slider and its read-out, a drag and a page applied once at their end, the
// seconds edit with its half-second pause and range prompt, the focus meter, the capture
// time estimate and the time-lapse checks of the capture button, and exceptions on the
// capture road.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "Clock.h"
#include "ControlPanelRig.h"
#include "board/BoardTestApi.h"

namespace {

namespace responder = plat::user::responder;

class ControlPanel : public ControlPanelRig {
 protected:
  HWND Item(int id) const { return ::GetDlgItem(panel->m_hWnd, id); }
  int SliderPos() const { return static_cast<int>(::SendMessageA(Item(1039), TBM_GETPOS, 0, 0)); }
  // A key on the slider as the keyboard sends it: the move, then the end of the scroll.
  void Key(WPARAM vk) {
    ::SendMessageA(Item(1039), WM_KEYDOWN, vk, 0);
    ::SendMessageA(Item(1039), WM_KEYUP, vk, 0);
  }
  // The slider put at `pos` and released, as after a keyboard move.
  void SlideTo(int pos) {
    ::SendMessageA(Item(1039), TBM_SETPOS, TRUE, pos);
    ::SendMessageA(Item(1039), WM_KEYUP, VK_RIGHT, 0);
  }
  std::string Readout() const { return panel->Readout().GetText(); }
  // The camera's exposure writes heard since the last Clear.
  long ExposureWrites() const { return std::count(events->broadcasts.begin(), events->broadcasts.end(), 0x4ul); }
  void Click(int id) { panel->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
};

TEST_F(ControlPanel, TheSliderShowsTheShutterTableOrTheSecondsOnTheReadout) {
  StartPanel();
  EXPECT_EQ(SliderPos(), 27) << "the document's exposure at start";
  EXPECT_EQ(Readout(), "    12");
  const struct {
    int position;
    const char* shown;
  } cases[] = {{0, " 12000"}, {1, "  6000"}, {20, "    60"}, {27, "    12"}, {28, "     6"}, {31, "     2"}};
  for (const auto& c : cases) {
    SlideTo(c.position);
    EXPECT_EQ(Readout(), c.shown) << c.position;
    EXPECT_EQ(panel->GetExposureTime(), c.position);
    EXPECT_EQ(doc->GetExposureTime(), static_cast<DWORD>(c.position));
    EXPECT_EQ(doc->GetLongExposureMode(), 0u);
    EXPECT_FALSE(::IsWindowEnabled(Item(1016))) << "the seconds edit is for the long exposure only";
  }
  // The long-exposure position: the seconds, a 0 clamped to 1, the edit enabled.
  ::SetDlgItemTextA(panel->m_hWnd, 1016, "0");
  Key(VK_END);
  EXPECT_EQ(SliderPos(), 32);
  EXPECT_EQ(Readout(), "    1s");
  EXPECT_EQ(ItemText(1016), "1");
  EXPECT_TRUE(::IsWindowEnabled(Item(1016)));
  EXPECT_EQ(panel->GetLongExposureMode(), 1);
  EXPECT_EQ(doc->GetLongExposureMode(), 1u);
  EXPECT_EQ(doc->GetLongExposureTime(), 1u);
  // The step buttons move one position each way and apply at once.
  Click(1155);
  EXPECT_EQ(SliderPos(), 31);
  EXPECT_EQ(Readout(), "     2");
  EXPECT_EQ(doc->GetExposureTime(), 31u);
  EXPECT_EQ(doc->GetLongExposureMode(), 0u);
  Click(1154);
  Click(1154);  // the range keeps the slider at 32
  EXPECT_EQ(SliderPos(), 32);
  EXPECT_EQ(doc->GetLongExposureMode(), 1u);
}

TEST_F(ControlPanel, ADragAppliesTheExposureOnceAtRelease) {
  StartPanel();
  SlideTo(10);
  events->Clear();
  RECT thumb{};
  ::SendMessageA(Item(1039), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int y = (thumb.top + thumb.bottom) / 2;
  int x = (thumb.left + thumb.right) / 2;
  ::SendMessageA(Item(1039), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  std::vector<std::string> shown;
  while (SliderPos() < 20 && x < 400) {
    x += 2;
    ::SendMessageA(Item(1039), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    if (shown.empty() || shown.back() != Readout()) shown.push_back(Readout());
  }
  ASSERT_EQ(SliderPos(), 20);
  EXPECT_GE(shown.size(), 5u) << "the read-out follows the thumb";
  EXPECT_EQ(shown.back(), "    60");
  EXPECT_EQ(ExposureWrites(), 0) << "nothing reaches the camera while the thumb moves";
  EXPECT_EQ(doc->GetExposureTime(), 10u);
  ::SendMessageA(Item(1039), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_EQ(ExposureWrites(), 1);
  EXPECT_EQ(doc->GetExposureTime(), 20u);
  EXPECT_TRUE(::IsWindowEnabled(Item(1039)));
  EXPECT_EQ(::GetFocus(), Item(1039));
}

TEST_F(ControlPanel, APageMoveWaitsAndAppliesOnlyAtTheEndOfTheScroll) {
  StartPanel();
  SlideTo(10);
  events->Clear();
  RECT thumb{};
  ::SendMessageA(Item(1039), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int y = (thumb.top + thumb.bottom) / 2, x = thumb.right + 6;
  const int64_t before = plat::clock::NowMicros();
  ::SendMessageA(Item(1039), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_GE(plat::clock::NowMicros() - before, 150000) << "a page move rests 150 ms";
  EXPECT_EQ(SliderPos(), 11);
  EXPECT_EQ(Readout(), "   500");
  EXPECT_EQ(ExposureWrites(), 0);
  EXPECT_EQ(doc->GetExposureTime(), 10u);
  ::SendMessageA(Item(1039), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_EQ(ExposureWrites(), 1);
  EXPECT_EQ(doc->GetExposureTime(), 11u);
  // A key press: the move shows, the key's release applies.
  events->Clear();
  ::SendMessageA(Item(1039), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(Readout(), "   600");
  EXPECT_EQ(ExposureWrites(), 0);
  ::SendMessageA(Item(1039), WM_KEYUP, VK_LEFT, 0);
  EXPECT_EQ(ExposureWrites(), 1);
  EXPECT_EQ(doc->GetExposureTime(), 10u);
}

TEST_F(ControlPanel, TypedSecondsApplyHalfASecondAfterTheLastKeyWithTheRangePrompt) {
  StartPanel();
  Key(VK_END);
  ASSERT_EQ(panel->GetLongExposureMode(), 1);
  // Live view stopped, the clock virtual: the pause runs on the stand-in's clock.
  frame->StopLive();
  plat::clock::UseVirtual(true, 1000);
  struct ClockBack {
    ~ClockBack() { plat::clock::UseVirtual(false); }
  } clockBack;
  HWND edit = Item(1016);
  auto type = [&](const char* text) {
    ::SetFocus(edit);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) ::PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(*c), 0);
  };

  // A burst in range: one application, half a second after the keys.
  events->Clear();
  int64_t typed = plat::clock::NowMicros();
  type("45");
  ASSERT_TRUE(PumpUntil([&] { return doc->GetLongExposureTime() == 45; }, 10));
  EXPECT_GE(plat::clock::NowMicros() - typed, 500000);
  EXPECT_EQ(events->events, (std::vector<std::string>{"off", "on"})) << "one application for the burst";
  EXPECT_EQ(Readout(), "   45s");
  EXPECT_EQ(panel->GetLongExposureTime(), 45u);

  // 200: after the pause the framework's range prompt, then 170 everywhere.
  std::string editWhenPrompted;
  int64_t prompted = 0;
  responder::Push([&](const responder::Shown& shown) {
    prompted = plat::clock::NowMicros();
    editWhenPrompted = ItemText(1016);
    return shown.messageBox ? IDOK : 0;
  });
  typed = plat::clock::NowMicros();
  type("200");
  ASSERT_TRUE(PumpUntil([&] { return doc->GetLongExposureTime() == 170; }, 10));
  Pump();
  ASSERT_NE(prompted, 0);
  EXPECT_GE(prompted - typed, 500000);
  EXPECT_EQ(editWhenPrompted, "200");
  const auto history = responder::History();
  ASSERT_FALSE(history.empty());
  EXPECT_TRUE(history.back().messageBox);
  EXPECT_NE(history.back().text.find("170"), std::string::npos) << history.back().text;
  EXPECT_EQ(ItemText(1016), "170");
  EXPECT_EQ(Readout(), "  170s");
  EXPECT_EQ(panel->GetLongExposureTime(), 170u);
  EXPECT_EQ(doc->GetLongExposureTime(), 170u);

  // An emptied edit is refilled with the seconds, without a prompt.
  const size_t boxes = responder::History().size();
  ::SetWindowTextA(edit, "");
  Pump();
  EXPECT_EQ(ItemText(1016), "170");
  EXPECT_EQ(responder::History().size(), boxes);
  EXPECT_EQ(doc->GetLongExposureTime(), 170u);
}

TEST_F(ControlPanel, TheFocusMeterShowsTheValueItsLevelAndTheRange) {
  StartPanel();
  frame->StopLive();  // the document's focus value is the test's alone
  auto tick = [&](int value) {
    doc->SetFocusValue(static_cast<SHORT>(value), static_cast<SHORT>(value), static_cast<SHORT>(value));
    panel->SendMessage(WM_TIMER, 0);
  };
  CMonitorBar& bar = panel->FocusBar();
  // Off first: the meter's peak and count start again.
  doc->SetFocusTargetState(0);
  panel->SendMessage(WM_TIMER, 0);
  EXPECT_EQ(ItemText(1068), "N/A");
  doc->SetFocusTargetState(1);

  const COLORREF green = RGB(0, 255, 0), yellow = RGB(255, 255, 0);
  const struct {
    int value;
    const char* text;
    int position;  // in the bar, from its lower bound
    int range;
    int lower, upper;
    COLORREF colour;
  } steps[] = {
      {0, "000", 0, 0, 0, 1500, green},         {2, "002", 42, 0, 0, 1500, green},
      {1000, "1000", 948, 0, 0, 1500, green},   {2600, "2600", 529, 1, 1000, 4000, yellow},
      {1200, "1200", 39, 1, 1000, 4000, yellow},  // 1039: still the high range
      {999, "999", 948, 0, 0, 1500, green},     {-5, "-05", 0, 0, 0, 1500, green},
  };
  for (const auto& s : steps) {
    tick(s.value);
    SCOPED_TRACE(s.value);
    EXPECT_EQ(ItemText(1068), s.text);
    EXPECT_EQ(bar.GetPos(), s.position);
    EXPECT_EQ(CVexMainControlView::FocusRange(), s.range);
    EXPECT_EQ(bar.GetLower(), s.lower);
    EXPECT_EQ(bar.GetUpper(), s.upper);
    EXPECT_EQ(bar.GetBarColor(), s.colour);
  }
  // The peak mark holds about nine seconds (30 ticks) without a new maximum; the meter
  // switched off and on starts its count again.
  doc->SetFocusTargetState(0);
  panel->SendMessage(WM_TIMER, 0);
  doc->SetFocusTargetState(1);
  tick(1000);
  EXPECT_EQ(bar.GetPeak(), 948);
  for (int i = 0; i < 28; ++i) tick(100);
  EXPECT_EQ(bar.GetPeak(), 948);
  tick(100);
  EXPECT_EQ(bar.GetPeak(), 300);

  // With the line profile checked the meter is off, whatever the focus mark says.
  ::SendMessageA(Item(1063), BM_CLICK, 0, 0);
  ASSERT_EQ(::IsDlgButtonChecked(panel->m_hWnd, 1063), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(doc->GetImageProfileState(), 1u);
  tick(1000);
  EXPECT_EQ(ItemText(1068), "N/A");
  EXPECT_EQ(bar.GetPos(), 0);
  ::SendMessageA(Item(1063), BM_CLICK, 0, 0);
  EXPECT_EQ(doc->GetImageProfileState(), 0u);
  tick(1000);
  EXPECT_EQ(ItemText(1068), "1000");
  EXPECT_EQ(CVexMainControlView::IntegerSqrt(0), 0);
  EXPECT_EQ(CVexMainControlView::IntegerSqrt(1), 1);
  EXPECT_EQ(CVexMainControlView::IntegerSqrt(2340000), 1529);
}

TEST_F(ControlPanel, TheCaptureTimeEstimateFollowsModeAndExposure) {
  StartPanel();
  const struct {
    int fine;
    int position;    // 32: the long exposure of `seconds`
    const char* seconds;
    int estimate;
  } cases[] = {
      {0, 0, "", 0},    {0, 31, "", 0},     {0, 32, "10", 10}, {1, 0, "", 0},       {1, 27, "", 0},
      {1, 28, "", 1},   {1, 31, "", 4},     {1, 32, "10", 90}, {1, 32, "170", 1530},
  };
  for (const auto& c : cases) {
    panel->SetFineMode(c.fine);
    SlideTo(0);
    if (*c.seconds) ::SetDlgItemTextA(panel->m_hWnd, 1016, c.seconds);
    SlideTo(c.position);
    EXPECT_EQ(panel->EstimateCaptureSeconds(), c.estimate) << c.fine << " " << c.position << " " << c.seconds;
  }
}

TEST_F(ControlPanel, TheTimeLapseRunIsCheckedBeforeItStarts) {
  StartPanel();
  panel->EnableTimeLapse(1);
  EXPECT_EQ(ItemText(1038), "START");
  const DWORD autoSave = doc->GetAutoSave(), autoPrint = doc->GetAutoPrint();
  const struct {
    int fine;
    int position;
    const char* seconds;
    int interval;
    int shots;
    const char* refusal;  // null: the run starts
  } cases[] = {
      {0, 10, "", 5, 3, nullptr},          {0, 10, "", 4, 3, "撮影間隔が短すぎます"},
      {1, 32, "10", 94, 3, "撮影間隔が短すぎます"}, {1, 32, "10", 95, 3, nullptr},
      {1, 32, "10", 3600 + 60 * 2, 1, nullptr},     {0, 10, "", 60, 0, "撮影枚数を設定してください"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.interval) + " s, " + std::to_string(c.shots) + " shots");
    panel->SetFineMode(c.fine);
    SlideTo(0);
    if (*c.seconds) ::SetDlgItemTextA(panel->m_hWnd, 1016, c.seconds);
    SlideTo(c.position);
    panel->SetInterval(c.interval / 3600, c.interval / 60 % 60, c.interval % 60);
    panel->SetTotalShots(c.shots);
    responder::Reset();
    // Whatever opens is answered: a box with OK, the run dialog by its Abort button.
    std::string countText;
    responder::Push([&](const responder::Shown& shown) {
      if (shown.messageBox) return IDOK;
      char text[128] = {};
      ::GetDlgItemTextA(shown.hwnd, 1123, text, sizeof text);
      countText = text;
      ::SendMessageA(::GetDlgItem(shown.hwnd, 1001), BM_CLICK, 0, 0);
      return 0;
    });
    Click(1038);
    const auto shown = responder::History();
    ASSERT_EQ(shown.size(), 1u);
    if (c.refusal) {
      EXPECT_TRUE(shown[0].messageBox);
      EXPECT_EQ(shown[0].text, c.refusal);
    } else {
      EXPECT_FALSE(shown[0].messageBox);
      EXPECT_EQ(shown[0].caption, "Lumora タイムラプス撮影中");
      char expected[128];
      std::snprintf(expected, sizeof expected, "撮影間隔: %02d:%02d:%02d\n撮影枚数: %3d ", c.interval / 3600,
                    c.interval / 60 % 60, c.interval % 60, c.shots);
      EXPECT_EQ(countText, expected);
    }
    // Nothing of the settings changed, and the panel is ready again.
    EXPECT_EQ(doc->GetAutoSave(), autoSave);
    EXPECT_EQ(doc->GetAutoPrint(), autoPrint);
    EXPECT_EQ(doc->IsDirectMode(), 0);
    EXPECT_EQ(panel->IsCaptureRunning(), 0);
    EXPECT_FALSE(frame->IsBusy());
    EXPECT_TRUE(frame->IsWindowEnabled());
    EXPECT_EQ(frame->IsLiveRunning(), 1);
  }
  panel->EnableTimeLapse(0);
  EXPECT_EQ(ItemText(1038), "EXPOSURE");
}

TEST_F(ControlPanel, TheWhiteBalanceAreaRefusesTheProfileAndAStartWithoutAnAreaRunsNothing) {
  StartPanel();
  events->Clear();
  panel->ToggleWhiteBalanceArea();
  EXPECT_EQ(panel->IsWhiteBalanceArea(), 1);
  EXPECT_EQ(doc->GetWBAreaSelection(), 1);
  EXPECT_EQ(doc->GetDisplayMode(), 3) << "a rectangle is picked";
  EXPECT_EQ(events->Updates(), (std::vector<DWORD>{0x800, 0x2}));
  panel->SetWBSampleRect(0);
  EXPECT_EQ(doc->GetDisplayMode(), 2) << "a point is picked";
  panel->SetWBSampleRect(1);
  // The line profile cannot be switched on meanwhile: the click is undone.
  ::SendMessageA(Item(1063), BM_CLICK, 0, 0);
  EXPECT_EQ(::IsDlgButtonChecked(panel->m_hWnd, 1063), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(doc->GetImageProfileState(), 0u);

  // Start without an area: the message, and nothing runs.
  responder::Reset();
  panel->RunWhiteBalance();
  auto shown = responder::History();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "ホワイトバランスの領域がセットされていません");
  panel->EndWhiteBalanceArea();
  EXPECT_EQ(panel->IsWhiteBalanceArea(), 0);
  EXPECT_EQ(doc->GetWBAreaSelection(), 0);
  EXPECT_EQ(doc->GetDisplayMode(), 0);
  EXPECT_EQ(frame->IsLiveRunning(), 1);
  EXPECT_TRUE(frame->IsWindowEnabled());
}

// A white balance over an area picked on the live picture, as the Live page's Start runs it.
// The area is a grey that the longest short exposure leaves below the camera's band, so each
// level's exposure search goes on to long exposure and must settle there: the run ends, with
// new gains, in about 1200 frames (a search swinging between two long steps to its bound takes
// over 4000). Live view stopped, the clock virtual: the run keeps the camera's own pace, fast.
// A run that does not end within a real-time bound is stopped and fails the test.
TEST_F(ControlPanel, AWhiteBalanceOverAPickedAreaRunsToItsEnd) {
  StartPanel();
  auto gains = [&] {
    std::vector<SHORT> g;
    for (SHORT level = 0; level < 3; ++level)
      for (SHORT channel = 0; channel < 4; ++channel) g.push_back(doc->GetWBGain(level, channel));
    return g;
  };
  const std::vector<SHORT> before = gains();
  panel->ToggleWhiteBalanceArea();
  doc->SetWhiteBalanceRect(RECT{600, 480, 680, 540});  // as the live display stores a dragged rectangle
  frame->StopLive();
  plat::clock::UseVirtual(true, 10);
  struct ClockBack {
    ~ClockBack() { plat::clock::UseVirtual(false); }
  } clockBack;
  static CVexDoc* watched = nullptr;
  static bool overrun = false;
  static std::chrono::steady_clock::time_point deadline;
  watched = doc;
  overrun = false;
  deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 250, [](HWND, UINT, UINT_PTR, DWORD) {
    if (overrun || std::chrono::steady_clock::now() < deadline) return;
    overrun = true;
    watched->SetAbort(1);
  });
  plat::board::ClearLog();
  panel->RunWhiteBalance();
  panel->EndWhiteBalanceArea();
  ::KillTimer(nullptr, watchdog);
  ASSERT_FALSE(overrun) << "the run did not end by itself";
  const auto log = plat::board::Log();
  const auto frames = std::count_if(log.begin(), log.end(), [](const plat::board::LogEntry& e) {
    return e.kind == plat::board::LogEntry::Kind::FrameStart;
  });
  EXPECT_LT(frames, 2000) << "every exposure search settled";
  EXPECT_EQ(doc->GetLastErrorValue(), 0) << doc->GetLastErrorType() << "-" << doc->GetLastErrorDetail();
  EXPECT_NE(gains(), before) << "the camera's new gains";
  EXPECT_EQ(panel->IsWhiteBalanceArea(), 0);
  EXPECT_EQ(doc->GetWBAreaSelection(), 0);
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(ControlPanel, ColoursBytesAndTheSaveFolder) {
  StartPanel();
  // The seconds edit: green on black; the status box: dark red text; both transparent.
  const struct {
    int id;
    UINT message;
    COLORREF text;
  } cases[] = {{1016, WM_CTLCOLOREDIT, RGB(0, 255, 0)}, {1129, WM_CTLCOLORSTATIC, RGB(128, 0, 0)}};
  for (const auto& c : cases) {
    CClientDC dc(CWnd::FromHandle(Item(c.id)));
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(OPAQUE);
    const auto brush = reinterpret_cast<HBRUSH>(
        panel->SendMessage(c.message, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(Item(c.id))));
    EXPECT_EQ(dc.GetTextColor(), c.text) << c.id;
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT) << c.id;
    if (c.id == 1016) {
      LOGBRUSH lb{};
      ASSERT_TRUE(::GetObjectA(brush, sizeof lb, &lb));
      EXPECT_EQ(lb.lbColor, RGB(0, 0, 0));
    }
  }
  {
    CClientDC dc(CWnd::FromHandle(Item(1068)));
    dc.SetTextColor(RGB(1, 2, 3));
    panel->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(Item(1068)));
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3)) << "other statics keep their colours";
  }
  EXPECT_FLOAT_EQ(panel->GetTotalImageBytes(7), 7.0f * static_cast<float>(doc->GetImageByteSize()));
  EXPECT_GT(doc->GetImageByteSize(), 0);
  // The save folder is prepared with the window off, and the strip hears of it.
  ASSERT_TRUE(panel->SetSaveFolder("C:\\Frame\\pics"));
  events->Clear();
  panel->ApplySaveFolder();
  // (The broadcast restarts live view on its own: that is the frame's.)
  std::vector<std::string> heard;
  for (const auto& e : events->events)
    if (e != "stop" && e != "start") heard.push_back(e);
  // (The strip may turn the window off and on again inside, while it reads the folder.)
  ASSERT_GE(heard.size(), 3u);
  EXPECT_EQ(heard.front(), "off");
  EXPECT_EQ(heard[1], "0x20000");
  EXPECT_EQ(heard.back(), "on");
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "0x20000"), 1);
  EXPECT_EQ(std::string(static_cast<LPCSTR>(doc->GetThumbnailFolder())), "C:\\Frame\\pics\\s\\");
}

// Throws an exception of the capture road from inside it: the frame tells its observer
// that the window goes off (single capture) or hears the forced flows (time-lapse).
struct ThrowingEvents : PanelEvents {
  explicit ThrowingEvents(CMainFrame* frame) : PanelEvents(frame) {}
  void OnEnableFrame(BOOL enable) override {
    PanelEvents::OnEnableFrame(enable);
    if (!enable && onFrameOff) Fire();
  }
  void OnBroadcast(DWORD flags, LPARAM arg) override {
    PanelEvents::OnBroadcast(flags, arg);
    if (flags == 0x2 && onFlows) Fire();
  }
  void Fire() {
    auto thrower = std::move(throwIt);
    onFrameOff = onFlows = false;
    if (thrower) thrower();
  }
  std::function<void()> throwIt;
  bool onFrameOff = false, onFlows = false;
};

TEST_F(ControlPanel, AnExceptionOnTheCaptureRoadIsShownAfterEverythingIsRestored) {
  StartPanel();
  events.reset();
  ThrowingEvents throwing(frame);
  const DWORD autoSave = doc->GetAutoSave(), autoPrint = doc->GetAutoPrint();
  const struct {
    std::function<void()> throwIt;
    const char* message;
  } kinds[] = {
      {[] { AfxThrowFileException(CFileException::fileNotFound); }, "FileNotFound"},
      {[] { AfxThrowFileException(CFileException::tooManyOpenFiles); }, "TooManyFIlesOpen"},
      {[] { AfxThrowFileException(CFileException::accessDenied); }, "AccessDenied"},
      {[] { AfxThrowFileException(CFileException::diskFull); }, "DiskFull"},
      {[] { AfxThrowFileException(CFileException::sharingViolation); }, "File Error:11"},
      {[] { AfxThrowMemoryException(); }, "MemoryException"},
      {[] { AfxThrowUserException(); }, "OtherException"},
  };
  for (int timeLapse : {0, 1}) {
    panel->EnableTimeLapse(timeLapse);
    panel->SetInterval(0, 1, 0);
    panel->SetTotalShots(2);
    for (const auto& k : kinds) {
      SCOPED_TRACE(std::string(k.message) + (timeLapse ? " in a time-lapse run" : " in a single capture"));
      ASSERT_TRUE(PumpUntil([&] { return frame->IsLiveRunning() == 1; }));
      responder::Reset();
      std::string modeWhenShown;
      responder::Push([&](const responder::Shown&) {
        modeWhenShown = std::to_string(doc->GetAutoSave()) + std::to_string(doc->GetAutoPrint()) +
                        std::to_string(doc->IsDirectMode()) + std::to_string(panel->IsCaptureRunning()) +
                        std::to_string(frame->IsBusy());
        return IDOK;
      });
      throwing.throwIt = k.throwIt;
      throwing.onFrameOff = !timeLapse;
      throwing.onFlows = timeLapse;
      Click(1038);
      const auto shown = responder::History();
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_TRUE(shown[0].messageBox);
      EXPECT_EQ(shown[0].text, k.message);
      EXPECT_EQ(modeWhenShown, std::to_string(autoSave) + std::to_string(autoPrint) + "000")
          << "restored before the message";
      EXPECT_EQ(doc->GetAutoSave(), autoSave);
      EXPECT_EQ(doc->GetAutoPrint(), autoPrint);
      EXPECT_EQ(doc->IsDirectMode(), 0);
      EXPECT_EQ(panel->IsCaptureRunning(), 0);
      EXPECT_FALSE(frame->IsBusy());
      EXPECT_TRUE(frame->IsWindowEnabled());
      EXPECT_EQ(frame->IsLiveRunning(), 1) << "live view runs again";
    }
  }
  panel->EnableTimeLapse(0);
  // The capture button works again after all that.
  responder::Reset();
  doc->SetAutoSave(0);
  Click(1038);
  EXPECT_EQ(doc->IsShotDone(), 1);
  EXPECT_TRUE(responder::History().empty());
}

}  // namespace
