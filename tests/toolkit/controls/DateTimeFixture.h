// What the date/time control and calendar tests share: a dialog that records its
// controls' notifications, the user's locale, a pinned wall clock (30 June 2026, noon)
// and the virtual clock for the timers.
#pragma once
#include <afxdisp.h>

#include <string>
#include <vector>

#include "BeepRecord.h"
#include "Clock.h"
#include "Config.h"
#include "ToolkitFixture.h"
#include "controls/SECAuxData.h"
#include "controls/SECDateTimeCtrl.h"

namespace toolkit_test {

// The user's default locale for a while: the stand-in's setting and the toolkit's copy.
class UserLocale {
 public:
  explicit UserLocale(LCID lcid) : saved_(secData.lcidUser) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(lcid));
    plat::config::Set("LCID", std::string(text));
    secData.lcidUser = lcid;
  }
  ~UserLocale() {
    plat::config::Set("LCID", std::nullopt);
    secData.lcidUser = saved_;
  }
  UserLocale(const UserLocale&) = delete;
  UserLocale& operator=(const UserLocale&) = delete;

 private:
  LCID saved_;
};

// Local wall-clock time pinned for a while.
class PinnedClock {
 public:
  PinnedClock(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
    plat::clock::PinWall(static_cast<int64_t>(CTime(year, month, day, hour, minute, second).GetTime()) * 1000000);
  }
  ~PinnedClock() { plat::clock::PinWall(std::nullopt); }
  PinnedClock(const PinnedClock&) = delete;
  PinnedClock& operator=(const PinnedClock&) = delete;
};

// A dialog that keeps the WM_COMMAND notifications of its controls.
class NotifyDialog : public CDialog {
 public:
  struct Note {
    int id;
    UINT code;
  };
  int Count(UINT code) const {
    int n = 0;
    for (const Note& note : notes)
      if (note.code == code) ++n;
    return n;
  }
  std::vector<Note> notes;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (lParam) notes.push_back({LOWORD(wParam), HIWORD(wParam)});
    return CDialog::OnCommand(wParam, lParam);
  }
};

inline COleDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return COleDateTime(y, mo, d, h, mi, s);
}

inline std::string Show(const COleDateTime& t) {
  if (t.GetStatus() != COleDateTime::valid) return "(invalid)";
  return static_cast<LPCSTR>(t.Format("%Y-%m-%d %H:%M:%S"));
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A memory surface in the system font, magenta before anything is drawn on it.
class Surface {
 public:
  Surface(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    dc.Attach(::CreateCompatibleDC(screen));
    bitmap.Attach(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, kMagenta);
    dc.SelectObject(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT))));
  }
  ~Surface() { dc.SelectObject(old); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
  int Count(const CRect& r, COLORREF colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour ? 1 : 0;
    return n;
  }
  CDC dc;
  CBitmap bitmap;
  CBitmap* old = nullptr;
};

inline int Beeps() { return static_cast<int>(plat::beeps::Take().size()); }

class DateTimeTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    plat::clock::UseVirtual(true);
    ASSERT_TRUE(dialog.Create(IDD_TEST_DATETIME));
    dialog.ShowWindow(SW_SHOW);
    Pump();
    plat::beeps::Take();
  }
  void TearDown() override {
    if (ctrl.m_hWnd) ctrl.DestroyWindow();
    if (dialog.m_hWnd) dialog.DestroyWindow();
    Pump();
    plat::clock::UseVirtual(false);
    ToolkitTest::TearDown();
  }
  // Creates the control over the dialog's field with `format`, shows `value` and gives
  // it the focus; the notifications of that are forgotten.
  void Make(const char* format, DWORD style, const COleDateTime& value) {
    ASSERT_TRUE(ctrl.CreateOverDlgItem(IDC_TEST_DT_FIELD, &dialog, style, WS_CHILD | WS_TABSTOP, WS_EX_CLIENTEDGE));
    ctrl.SetFormat(format);
    ASSERT_TRUE(ctrl.SetDateTime(value));
    ctrl.SetFocus();
    Pump();
    dialog.notes.clear();
    plat::beeps::Take();
  }
  int IndexOf(int id) const {
    for (int i = 0; i < ctrl.GetGadgetCount(); ++i)
      if (ctrl.GetGadget(i)->GetID() == id) return i;
    return -1;
  }
  void Activate(int id) { ctrl.SetActiveGadget(IndexOf(id)); }
  void Key(UINT vk) { ctrl.SendMessage(WM_KEYDOWN, vk, 0); }
  void Type(const std::string& text) {
    for (unsigned char c : text) ctrl.SendMessage(WM_CHAR, c, 0);
  }
  // What the spin sends: code 3 (up) or 4 (down) with a step.
  BOOL Spin(int step) {
    return ctrl.OnGadgetNotify(step > 0 ? SECDTGadget::CodeSpinUp : SECDTGadget::CodeSpinDown,
                               SECDateTimeCtrl::SpinId, step > 0 ? step : -step);
  }
  std::string Text() {
    char buffer[256] = {};
    ctrl.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  // Lets `ms` milliseconds pass on the virtual clock, 10 ms at a time, handling what comes.
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 10) {
      plat::clock::Advance(10000);
      Pump();
    }
  }

  PinnedClock clock{2026, 6, 30};
  NotifyDialog dialog;
  SECDateTimeCtrl ctrl;
};

}  // namespace toolkit_test
