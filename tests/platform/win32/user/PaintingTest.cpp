#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "UserTestSupport.h"

using usertest::Pump;
using usertest::Recorder;

namespace {

using Log = std::vector<std::string>;

TEST(Painting, ShownWindowsPaintParentsFirst) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP, 0, 0, 100, 100);
  rec.Create("child", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top, 1);
  Pump();
  EXPECT_EQ(rec.Log({WM_PAINT}), Log{});  // hidden windows never paint
  ShowWindow(top, SW_SHOW);
  Pump();
  EXPECT_EQ(rec.Log({WM_PAINT}), (Log{"top:PAINT", "child:PAINT"}));
  rec.Clear();
  Pump();
  EXPECT_EQ(rec.Log({WM_PAINT}), Log{});  // painted windows are valid again
}

TEST(Painting, InvalidationReachesChildrenUnlessClipped) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  rec.Create("child", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top, 1);
  Pump();
  rec.Clear();
  RECT away{50, 50, 60, 60};
  InvalidateRect(top, &away, TRUE);
  Pump();
  EXPECT_EQ(rec.Log({WM_PAINT}), (Log{"top:PAINT"}));
  rec.Clear();
  InvalidateRect(top, nullptr, TRUE);
  Pump();
  EXPECT_EQ(rec.Log({WM_PAINT}), (Log{"top:PAINT", "child:PAINT"}));
  SetWindowLongA(top, GWL_STYLE, GetWindowLongA(top, GWL_STYLE) | WS_CLIPCHILDREN);
  rec.Clear();
  InvalidateRect(top, nullptr, TRUE);
  Pump();
  EXPECT_EQ(rec.Log({WM_PAINT}), (Log{"top:PAINT"}));
}

// A parent without clipped children paints over a child's frame wherever its area reaches
// it; the child then draws its frame again. An area inside the child's client leaves it.
TEST(Painting, AParentsAreaOverAChildsFrameDrawsTheFrameAgain) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  rec.Create("child", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 40, 20, top, 1);  // client 11..48 x 11..28
  Pump();
  struct Case { RECT area; bool frame; } cases[] = {
      {{20, 15, 30, 25}, false},  // inside the client
      {{0, 0, 12, 12}, true},     // the top left corner
      {{45, 14, 60, 20}, true},   // the right edge
      {{20, 29, 30, 40}, true},   // the bottom edge only, none of the client
      {{60, 60, 70, 70}, false},  // beside the child
  };
  for (const auto& c : cases) {
    rec.Clear();
    InvalidateRect(top, &c.area, TRUE);
    Pump();
    const Log log = rec.Log({WM_NCPAINT});
    EXPECT_EQ(std::count(log.begin(), log.end(), "child:NCPAINT"), c.frame ? 1 : 0)
        << c.area.left << "," << c.area.top << "," << c.area.right << "," << c.area.bottom;
  }
}

// A window hidden over a bordered child gives back the border as it was.
TEST(Painting, AWindowGoneFromOverAChildLeavesItsBorder) {
  Recorder rec;
  auto fill = [](HWND h, COLORREF colour) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EndPaint(h, &ps);
  };
  rec.handlers[WM_PAINT] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
    fill(h, rec.NameOf(h) == "top" ? RGB(0, 0, 255) : RGB(255, 0, 0));
    return 0;
  };
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 40, 20, top, 1);
  Pump();
  RECT border;
  GetWindowRect(child, &border);
  const COLORREF frame = usertest::ScreenAt(border.left, border.top + 5);
  ASSERT_NE(frame, RGB(0, 0, 255));
  ASSERT_NE(frame, RGB(255, 0, 0));
  // Over the left half of the child, border included.
  HWND cover = rec.Create("cover", WS_POPUP | WS_VISIBLE, border.left - 5, border.top - 5, 25, 30);
  Pump();
  ShowWindow(cover, SW_HIDE);
  Pump();
  for (int y = border.top; y < border.bottom; ++y) EXPECT_EQ(usertest::ScreenAt(border.left, y), frame) << y;
  for (int x = border.left; x < border.right; ++x) EXPECT_EQ(usertest::ScreenAt(x, border.top), frame) << x;
  EXPECT_EQ(usertest::ScreenAt(border.left + 5, border.top + 5), RGB(255, 0, 0));
}

TEST(Painting, MinimisedWindowShowsNoneOfItsChildren) {
  Recorder rec;
  rec.handlers[WM_PAINT] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH brush = CreateSolidBrush(rec.NameOf(h) == "child" ? RGB(255, 0, 0) : RGB(0, 0, 255));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EndPaint(h, &ps);
    return 0;
  };
  HWND top = rec.Create("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top, 1);
  Pump();
  auto at = [](HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    return usertest::ScreenAt(p.x, p.y);
  };
  EXPECT_EQ(at(child, 5, 5), RGB(255, 0, 0));
  ShowWindow(top, SW_MINIMIZE);
  Pump();
  EXPECT_TRUE(IsWindowVisible(child));  // still shown, as far as its styles go ...
  EXPECT_EQ(at(top, 5, 5), RGB(0, 0, 255));  // ... but the window draws alone
  ShowWindow(top, SW_RESTORE);
  Pump();
  EXPECT_EQ(at(child, 5, 5), RGB(255, 0, 0));
}

TEST(Painting, UpdateRectValidateAndUpdateWindow) {
  Recorder rec;
  HWND w = rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  Pump();
  RECT a{10, 10, 20, 20}, b{30, 5, 40, 15}, r;
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  ASSERT_TRUE(GetUpdateRect(w, &r, FALSE));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.right, 40);
  EXPECT_EQ(r.bottom, 20);
  ValidateRect(w, nullptr);
  EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
  InvalidateRect(w, nullptr, FALSE);
  rec.Clear();
  UpdateWindow(w);  // paints at once, without the queue
  EXPECT_EQ(rec.Log({WM_PAINT}), (Log{"w:PAINT"}));
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
}

// Each window of the recorder fills its client area with its own colour when it paints.
void FillWhenPainting(Recorder& rec, std::map<std::string, COLORREF> colours) {
  rec.handlers[WM_PAINT] = [&rec, colours](HWND h, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH brush = CreateSolidBrush(colours.at(rec.NameOf(h)));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EndPaint(h, &ps);
    return 0;
  };
}

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);

// A parent without WS_CLIPCHILDREN paints over its children: a child that painted before
// it (here at once, as a control repainting itself does) paints again afterwards.
TEST(Painting, AChildThatPaintedBeforeItsParentPaintsAgainAfterIt) {
  Recorder rec;
  FillWhenPainting(rec, {{"top", kRed}, {"child", kBlue}});
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE, 10, 10, 40, 40, top, 1);
  Pump();
  InvalidateRect(top, nullptr, TRUE);
  UpdateWindow(child);
  Pump();
  EXPECT_EQ(usertest::ScreenAt(30, 30), kBlue);
  EXPECT_EQ(usertest::ScreenAt(70, 70), kRed);
  // With WS_CLIPCHILDREN the parent leaves the child alone: nothing to paint again.
  SetWindowLongA(top, GWL_STYLE, GetWindowLongA(top, GWL_STYLE) | WS_CLIPCHILDREN);
  InvalidateRect(top, nullptr, TRUE);
  Pump();
  rec.Clear();
  InvalidateRect(top, nullptr, TRUE);
  Pump();
  EXPECT_EQ(rec.Log({WM_PAINT}), (Log{"top:PAINT"}));
  EXPECT_EQ(usertest::ScreenAt(30, 30), kBlue);
}

// A window hidden by another thread (as a worker hides a progress window) uncovers
// windows of a thread that sleeps in its message loop: that thread wakes up and paints.
TEST(Painting, AWindowHiddenByAnotherThreadWakesTheThreadUnderItToPaint) {
  Recorder rec;
  FillWhenPainting(rec, {{"under", kBlue}, {"cover", kRed}});
  rec.Create("under", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
  HWND cover = rec.Create("cover", WS_POPUP | WS_VISIBLE, 220, 20, 40, 40);
  Pump();
  ASSERT_EQ(usertest::ScreenAt(230, 30), kRed);
  std::atomic<bool> done{false};
  std::thread other([&] {
    Sleep(100);  // time for the first thread to fall asleep; it is woken either way
    ShowWindow(cover, SW_HIDE);
    done = true;
  });
  // Sleeps until a paint arrives, answering what the other thread sends meanwhile (the
  // deadline only keeps a fault from hanging the test).
  const DWORD woke = MsgWaitForMultipleObjects(0, nullptr, FALSE, 30000, QS_PAINT | QS_SENDMESSAGE);
  while (!done) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
  other.join();
  EXPECT_NE(woke, static_cast<DWORD>(WAIT_TIMEOUT));
  Pump();
  EXPECT_EQ(usertest::ScreenAt(230, 30), kBlue);
}

// Sent down the z-order, a window uncovers the windows that now lie above it.
TEST(Painting, AWindowSentToTheBottomUncoversTheWindowsOverIt) {
  Recorder rec;
  FillWhenPainting(rec, {{"low", kBlue}, {"high", kRed}});
  rec.Create("low", WS_POPUP | WS_VISIBLE, 0, 200, 100, 100);
  HWND high = rec.Create("high", WS_POPUP | WS_VISIBLE, 50, 250, 100, 100);
  Pump();
  ASSERT_EQ(usertest::ScreenAt(75, 275), kRed);
  SetWindowPos(high, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(usertest::ScreenAt(75, 275), kBlue);
  EXPECT_EQ(usertest::ScreenAt(125, 325), kRed);
}

// A child moved or hidden inside a parent that is not at the screen's origin gives back
// its old place to the parent.
TEST(Painting, AChildMovedOrHiddenUncoversItsPlaceInItsParent) {
  Recorder rec;
  FillWhenPainting(rec, {{"parent", kBlue}, {"child", kRed}});
  HWND parent = rec.Create("parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 300, 350, 100, 100);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, parent, 1);
  Pump();
  ASSERT_EQ(usertest::ScreenAt(320, 370), kRed);
  MoveWindow(child, 60, 60, 30, 30, TRUE);
  Pump();
  EXPECT_EQ(usertest::ScreenAt(320, 370), kBlue);
  EXPECT_EQ(usertest::ScreenAt(370, 420), kRed);
  ShowWindow(child, SW_HIDE);
  Pump();
  EXPECT_EQ(usertest::ScreenAt(370, 420), kBlue);
}

// A child given another parent leaves its place in the first one, which paints it again.
TEST(Painting, AChildMovedToAnotherParentUncoversItsPlaceInTheFirst) {
  Recorder rec;
  FillWhenPainting(rec, {{"first", kBlue}, {"second", kGreen}, {"child", kRed}});
  HWND first = rec.Create("first", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 300, 200, 100, 100);
  HWND second = rec.Create("second", WS_POPUP | WS_VISIBLE, 420, 200, 100, 100);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, first, 1);
  Pump();
  ASSERT_EQ(usertest::ScreenAt(320, 220), kRed);
  SetParent(child, second);
  Pump();
  EXPECT_EQ(usertest::ScreenAt(320, 220), kBlue);
  EXPECT_EQ(usertest::ScreenAt(440, 220), kRed);
}

}  // namespace
