// The capture progress window's bar and percentage, its STOP button, the two busy
// windows' spinner texts, and the bounded formatting routines.
#include <gtest/gtest.h>

#include <afxcmn.h>
#include <afxwin.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <string>

#include "control/VexDoc.h"
#include "display/Screen.h"
#include "ui/FormatText.h"
#include "ui/VexBusyDialogs.h"
#include "ui/VexProcessDialog.h"

namespace {

TEST(ProgressWindow, BarAndPercentageFollowTheProgressWords) {
  const struct {
    SHORT mode;
    int a, b, c;
    int position, percent;
    UINT text;
  } cases[] = {
      {0, 0, 0, 40, 40, 40, 62459},     {0, 0, 0, 180, 100, 100, 62459},  // shooting: c alone
      {1, 100, 0, 0, 45, 90, 62459},    {1, 255, 0, 0, 50, 100, 62459},  // exposure half from the map
      {1, 50, 0, 0, 22, 45, 62459},     {1, 0, 0, 60, 80, 60, 62460},    // building half from c
      {2, 0, 99, 0, 50, 100, 62459},    {3, 0, 44, 0, 20, 40, 62459},    // pixel shift: b in elevenths
      {2, 0, 0, 150, 100, 100, 62460},  {4, 5, 0, 0, 50, 50, 62467},     // white balance: a tenths
      {4, 9, 0, 0, 100, 100, 62467},    {7, 50, 50, 50, 0, 0, 0},        // another mode: nothing
      {1, 999, 0, 0, 50, 100, 62459},   {1, -5, 0, 0, 0, 0, 62459},      // a outside its range
  };
  for (const auto& c : cases) {
    const CVexProcessDialog::Reading r = CVexProcessDialog::Compute(c.mode, c.a, c.b, c.c);
    EXPECT_EQ(r.position, c.position) << c.mode << " " << c.a << " " << c.b << " " << c.c;
    EXPECT_EQ(r.percent, c.percent) << c.mode << " " << c.a << " " << c.b << " " << c.c;
    EXPECT_EQ(r.text, c.text) << c.mode << " " << c.a << " " << c.b << " " << c.c;
  }
}

TEST(ProgressWindow, MapRoundsHalvesUp) {
  const struct {
    int a;
    SHORT entry;
  } cases[] = {{0, 0}, {1, 1}, {5, 5}, {50, 45}, {99, 89}, {100, 90}, {101, 90}, {178, 95}, {255, 100}};
  for (const auto& c : cases) EXPECT_EQ(CVexProcessDialog::MapEntry(c.a), c.entry) << c.a;
}

class ProgressWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    TheSettingSources() = VexSettingSources{};
    TheSettingSources().resetRequested = 1;
    doc = std::make_unique<CVexDoc>();
    doc->m_bAutoDelete = FALSE;
  }
  void TearDown() override { TheSettingSources() = VexSettingSources{}; }
  static std::string Text(CWnd& dialog, int id) {
    CString s;
    dialog.GetDlgItemText(id, s);
    return static_cast<LPCSTR>(s);
  }
  std::unique_ptr<CVexDoc> doc;
};

TEST_F(ProgressWindows, StopMakesTheNextUpdateAskForTheAbort) {
  CVexProcessDialog dialog;
  ASSERT_TRUE(dialog.Create(CVexProcessDialog::IDD));
  dialog.SetDocument(doc.get());
  dialog.Begin(1);
  CString title;
  dialog.GetWindowText(title);
  EXPECT_EQ(title, "Lumora  撮影中");
  EXPECT_EQ(Text(dialog, CVexProcessDialog::kStatus), "撮影中...(0%)");
  EXPECT_EQ(Text(dialog, CVexProcessDialog::kStop), "中止");
  doc->SetProgressValues(100, 0, 0);
  EXPECT_EQ(dialog.UpdateProgress(), 0);
  EXPECT_EQ(Text(dialog, CVexProcessDialog::kStatus), "撮影中...(90%)");
  EXPECT_EQ(static_cast<CProgressCtrl*>(dialog.GetDlgItem(CVexProcessDialog::kBar))->GetPos(), 45);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CVexProcessDialog::kStop, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog.GetDlgItem(CVexProcessDialog::kStop)->m_hWnd));
  EXPECT_EQ(dialog.UpdateProgress(), 1);
  EXPECT_EQ(Text(dialog, CVexProcessDialog::kStatus), "中止しています。お待ちください。");
  EXPECT_EQ(GetCapture(), dialog.m_hWnd) << "the window keeps the mouse while it stops";
  // A new run starts without the stop.
  dialog.Begin(4);
  dialog.GetWindowText(title);
  EXPECT_EQ(title, "Lumora  ホワイトバランス測定中");
  EXPECT_EQ(dialog.UpdateProgress(), 0);
  ReleaseCapture();
  dialog.DestroyWindow();
}

TEST_F(ProgressWindows, SpinnersShowFourFramesAndNothingElse) {
  CVexSaveNowDialog save;
  CVexShadingNowDialog shading;
  ASSERT_TRUE(save.Create(CVexSaveNowDialog::IDD));
  ASSERT_TRUE(shading.Create(CVexShadingNowDialog::IDD));
  const char* saves[] = {"セーブ中　―", "セーブ中　＼", "セーブ中　｜", "セーブ中　／", ""};
  const char* computes[] = {"計算中　―", "計算中　＼", "計算中　｜", "計算中　／", ""};
  for (SHORT frame = 0; frame <= 4; ++frame) {
    save.SetSpinnerFrame(frame);
    shading.SetSpinnerFrame(frame);
    EXPECT_EQ(Text(save, CVexSaveNowDialog::kText), saves[frame]) << frame;
    EXPECT_EQ(Text(shading, CVexShadingNowDialog::kText), computes[frame]) << frame;
  }
  save.SetSpinnerFrame(-1);
  EXPECT_EQ(Text(save, CVexSaveNowDialog::kText), "");
  save.DestroyWindow();
  shading.DestroyWindow();
}

// The save window, shown and animated from worker threads as a save does, while the
// window's own thread goes on handling its messages: its body shows the spinner's text.
TEST_F(ProgressWindows, TheSaveWindowAnimatedFromAWorkerShowsItsText) {
  CVexSaveNowDialog save;
  ASSERT_TRUE(save.Create(CVexSaveNowDialog::IDD));
  std::atomic<bool> done{false};
  std::thread worker([&] {
    save.ShowWindow(SW_SHOW);
    for (SHORT frame = 0; frame < 4; ++frame) save.SetSpinnerFrame(frame);
    done = true;
  });
  MSG msg;
  while (!done) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(1);
  }
  worker.join();
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  RECT r;
  save.GetDlgItem(CVexSaveNowDialog::kText)->GetWindowRect(&r);
  RECT got{};
  const auto shown = plat::display::Screen::Get().Copy(r, &got);
  const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT);
  const plat::display::Pixel inkPixel = (GetRValue(ink) << 16) | (GetGValue(ink) << 8) | GetBValue(ink);
  EXPECT_GT(std::count(shown.begin(), shown.end(), inkPixel), 20) << "the text is drawn";
  save.DestroyWindow();
}

TEST(FormatText, StaysInItsBufferAndKeepsWholeCharacters) {
  char small[8];
  EXPECT_STREQ(FormatInto(small, sizeof small, "%d-%s", 12, "ab"), "12-ab");
  EXPECT_STREQ(FormatInto(small, sizeof small, "%s", "abcdefghij"), "abcdefg");
  // "撮影" is six bytes: with room for seven only the whole first two characters fit.
  EXPECT_STREQ(FormatInto(small, sizeof small, "%s", "撮影中"), "撮影");
  EXPECT_STREQ(FormatInto(small, sizeof small, "a%s", "撮影中"), "a撮影");
  const std::string wide(400, 'x');
  const char* s = FormatStatic("Thumbnail: %s", wide.c_str());
  EXPECT_EQ(std::strlen(s), 255u);
  EXPECT_STREQ(FormatStatic("Selected: %d Total: %d", 3, 42), "Selected: 3 Total: 42");
}

}  // namespace
