#include "imaging/ImagingControl.h"

#include <afxwin.h>
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Faults.h"
#include "HandleTable.h"
#include "JpegFrame.h"
#include "Pictures.h"
#include "TestEnv.h"
#include "user/Input.h"

namespace {

using plat::imaging::ImagingControl;

// The window that owns the control and writes down its events in order.
class Owner : public CWnd {
 public:
  std::vector<std::string> events;

 protected:
  void OnMouseDown(short button, short shift, LONG x, LONG y) { Note("down", button, shift, x, y); }
  void OnMouseMove(short button, short shift, LONG x, LONG y) { Note("move", button, shift, x, y); }
  void OnMouseUp(short button, short shift, LONG x, LONG y) { Note("up", button, shift, x, y); }
  void OnDblClick() { events.push_back("dblclick"); }
  void OnPainted() { events.push_back("painted"); }
  void OnRepaintNeeded() { events.push_back("repaint"); }
  void OnRegionDone() { events.push_back("region"); }
  afx_msg void OnContextMenu(CWnd*, CPoint point) {
    events.push_back("contextmenu " + std::to_string(point.x) + "," + std::to_string(point.y));
  }
  void Note(const char* what, short button, short shift, LONG x, LONG y) {
    events.push_back(std::string(what) + " " + std::to_string(button) + " " + std::to_string(shift) + " " +
                     std::to_string(x) + "," + std::to_string(y));
  }
  DECLARE_EVENTSINK_MAP()
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Owner, CWnd)
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(Owner, CWnd)
  ON_EVENT(Owner, 1029, DISPID_MOUSEDOWN, OnMouseDown, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
  ON_EVENT(Owner, 1029, DISPID_MOUSEMOVE, OnMouseMove, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
  ON_EVENT(Owner, 1029, DISPID_MOUSEUP, OnMouseUp, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
  ON_EVENT(Owner, 1029, DISPID_DBLCLICK, OnDblClick, VTS_NONE)
  ON_EVENT(Owner, 1029, 1, OnPainted, VTS_NONE)
  ON_EVENT(Owner, 1029, 3, OnRepaintNeeded, VTS_NONE)
  ON_EVENT(Owner, 1029, 16, OnRegionDone, VTS_NONE)
END_EVENTSINK_MAP()

// Control position on the screen: the owner is at (0, 0), the control at (10, 20), 160 x 120.
constexpr int kLeft = 10, kTop = 20;

class ImagingControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner_.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(control_.CreateControl(ImagingControl::Clsid(), "", WS_VISIBLE,
                                       CRect(kLeft, kTop, kLeft + 160, kTop + 120), &owner_, 1029));
    Pump();
    owner_.events.clear();
  }
  void TearDown() override {
    control_.DestroyWindow();
    owner_.DestroyWindow();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  float Float(DISPID id) {
    float v = 0;
    control_.GetProperty(id, VT_R4, &v);
    return v;
  }
  plat::imaging::FRect Rect(DISPID first) { return {Float(first), Float(first + 1), Float(first + 2), Float(first + 3)}; }
  short Method(DISPID id) {
    short st = -1;
    control_.InvokeHelper(id, DISPATCH_METHOD, VT_I2, &st, reinterpret_cast<const BYTE*>(VTS_NONE));
    return st;
  }
  short CreateImage(float w, float h) {
    short st = -1;
    control_.InvokeHelper(314, DISPATCH_METHOD, VT_I2, &st, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_I2), w, h,
                          24);
    return st;
  }
  short SetRect(DISPID id, float l, float t, float w, float h) {
    short st = -1;
    control_.InvokeHelper(id, DISPATCH_METHOD, VT_I2, &st, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_R4 VTS_R4),
                          l, t, w, h);
    return st;
  }

  Owner owner_;
  CWnd control_;
};

TEST_F(ImagingControlTest, ViewMappingInEachSizingMode) {
  struct Case {
    int width, height;
    short mode;
    float zoom;
    plat::imaging::FRect display;
    float zoomRead;
  } cases[] = {
      {320, 240, 3, 100, {0, 0, 160, 120}, 50},   // fitted at the top left
      {100, 300, 3, 100, {0, 0, 40, 120}, 40},    // tall: the height decides
      {80, 60, 3, 100, {0, 0, 160, 120}, 200},    // small pictures grow to fit
      {320, 240, 4, 250, {0, 0, 800, 600}, 250},  // zoomed
      {320, 240, 4, 12.5, {0, 0, 40, 30}, 12.5},
      {320, 240, 0, 100, {0, 0, 320, 240}, 100},  // one pixel per pixel
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " mode " << c.mode);
    control_.SetProperty(154, VT_I2, c.mode);
    control_.SetProperty(155, VT_R4, c.zoom);
    ASSERT_EQ(CreateImage(float(c.width), float(c.height)), 0);
    EXPECT_EQ(Rect(21), c.display);
    EXPECT_EQ(Rect(29), (plat::imaging::FRect{0, 0, float(c.width), float(c.height)}));
    EXPECT_EQ(Rect(25), (plat::imaging::FRect{0, 0, 160, 120}));
    EXPECT_EQ(Float(155), c.zoomRead);
    EXPECT_EQ(Float(60), 160);
    EXPECT_EQ(Float(61), 120);
  }
}

TEST_F(ImagingControlTest, PlacingThePictureAndTheClipByMethod) {
  control_.SetProperty(154, VT_I2, short(3));
  ASSERT_EQ(CreateImage(200, 100), 0);
  // Centring as the thumbnails do: the fitted size, moved to the middle.
  float w = Float(23), h = Float(24);
  float left = (Float(60) - w) / 2, top = (Float(61) - h) / 2;
  EXPECT_EQ(SetRect(335, left, top, w, h), 0);
  EXPECT_EQ(SetRect(336, left, top, w, h), 0);
  EXPECT_EQ(Rect(21), (plat::imaging::FRect{0, 20, 160, 80}));
  EXPECT_EQ(Rect(25), (plat::imaging::FRect{0, 20, 160, 80}));
  EXPECT_EQ(Float(136), 0);
  EXPECT_EQ(Float(137), 20);
  // Zooming keeps what is shown in the middle of the control (80, 60) where it is.
  control_.SetProperty(154, VT_I2, short(4));
  EXPECT_EQ(SetRect(335, -30, -10, 200, 100), 0);
  control_.SetProperty(155, VT_R4, 200.0f);
  EXPECT_EQ(Rect(21), (plat::imaging::FRect{-140, -80, 400, 200}));
  EXPECT_EQ(SetRect(335, 0, 0, -1, 5), 20005);
}

TEST_F(ImagingControlTest, APicturePlacedAtASizeOfItsOwnIsPaintedAtThatZoom) {
  ASSERT_EQ(CreateImage(200, 100), 0);
  control_.SetProperty(154, VT_I2, short(4));
  control_.SetProperty(155, VT_R4, 2800.0f);
  struct Case {
    float width;
    float zoom;
  } cases[] = {{300, 150}, {50, 25}, {200, 100}, {0.5f, 100}};  // the last is below the smallest zoom
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(SetRect(335, -10, 5, c.width, c.width / 2), 0);
    EXPECT_EQ(Float(155), c.zoom);
  }
}

TEST_F(ImagingControlTest, PropertiesAndMethodsReachThePicture) {
  ASSERT_EQ(CreateImage(40, 30), 0);
  EXPECT_EQ(Float(10), 40);
  EXPECT_EQ(Float(11), 30);
  short bits = 0;
  control_.GetProperty(12, VT_I2, &bits);
  EXPECT_EQ(bits, 24);
  LONG black = -1, white = -1;
  control_.InvokeHelper(491, DISPATCH_PROPERTYGET, VT_I4, &black, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4), 3.0f, 4.0f);
  EXPECT_EQ(Method(291), 0);  // negative
  control_.InvokeHelper(491, DISPATCH_PROPERTYGET, VT_I4, &white, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4), 3.0f, 4.0f);
  EXPECT_EQ(black, 0);
  EXPECT_EQ(white, 0xFFFFFF);

  // The handle passes to another control, which then holds the same picture.
  LONG handle = 0;
  control_.GetProperty(1, VT_I4, &handle);
  CWnd other;
  ASSERT_TRUE(other.CreateControl(ImagingControl::Clsid(), "", 0, CRect(0, 0, 10, 10), &owner_, 0));
  other.SetProperty(146, VT_I4, LONG(0));
  other.SetProperty(1, VT_I4, handle);
  float width = 0;
  other.GetProperty(10, VT_R4, &width);
  EXPECT_EQ(width, 40);
  other.DestroyWindow();

  // Indexed slots: the index first, the value last.
  control_.InvokeHelper(482, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I2 VTS_I4),
                        short(2), handle);
  LONG slot = 0;
  control_.InvokeHelper(482, DISPATCH_PROPERTYGET, VT_I4, &slot, reinterpret_cast<const BYTE*>(VTS_I2), short(2));
  EXPECT_EQ(slot, handle);
}

TEST_F(ImagingControlTest, InjectedFaultsComeBackAsStatus) {
  ASSERT_EQ(CreateImage(8, 8), 0);
  struct Case {
    const char* point;
    DISPID method;
  } cases[] = {{"imaging.Negative", 291}, {"imaging.FlipHorizontal", 296}, {"imaging.ForceRepaint", 297},
               {"imaging.ReleaseDrawDC", 346}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.point);
    plat::faults::Scope fault(c.point, 20009);
    EXPECT_EQ(Method(c.method), 20009);
  }
  plat::faults::Scope fault("imaging.SetDisplayRect", 20001);
  EXPECT_EQ(SetRect(336, 0, 0, 5, 5), 20001);
}

TEST_F(ImagingControlTest, FileFieldsAndFileQueriesPassAsVariants) {
  ASSERT_EQ(CreateImage(16, 8), 0);
  SAFEARRAYBOUND bound{9, 0};
  COleVariant bytes;
  bytes.vt = VT_ARRAY | VT_UI1;
  bytes.parray = SafeArrayCreate(VT_UI1, 1, &bound);
  std::memcpy(bytes.parray->pvData, "A1234567x", 9);
  control_.InvokeHelper(490, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I2 VTS_VARIANT),
                        short(36), static_cast<const VARIANT*>(&bytes));
  short st = -1;
  control_.InvokeHelper(301, DISPATCH_METHOD, VT_I2, &st,
                        reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2 VTS_I2 VTS_I2), "C:\\f.jpg", 98, 24, 6, 0);
  ASSERT_EQ(st, 0);
  control_.InvokeHelper(341, DISPATCH_METHOD, VT_I2, &st, reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2), "C:\\f.jpg", 0);
  ASSERT_EQ(st, 0);
  EXPECT_EQ(Float(40), 16);
  EXPECT_EQ(Float(41), 8);
  short format = 0;
  control_.GetProperty(43, VT_I2, &format);
  EXPECT_EQ(format, 98);

  COleVariant field;
  control_.InvokeHelper(425, DISPATCH_METHOD, VT_VARIANT, static_cast<VARIANT*>(&field),
                        reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2), "C:\\f.jpg", 0, 36);
  ASSERT_EQ(field.vt, VT_ARRAY | VT_UI1);
  EXPECT_EQ(std::string(static_cast<const char*>(field.parray->pvData), 9), "A1234567x");
  COleVariant missing;
  control_.InvokeHelper(425, DISPATCH_METHOD, VT_VARIANT, static_cast<VARIANT*>(&missing),
                        reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2), "C:\\f.jpg", 0, 22);
  EXPECT_EQ(missing.vt, VT_EMPTY);

  control_.InvokeHelper(322, DISPATCH_METHOD, VT_I2, &st,
                        reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2 VTS_I2), "C:\\none.jpg", 0, 0, -1);
  EXPECT_EQ(st, 2);
}

// The decoded size of a file is a LONG: a size a LONG cannot hold reads as the largest.
TEST_F(ImagingControlTest, DecodedSizeBeyondALongReadsAsTheLargest) {
  ASSERT_EQ(CreateImage(16, 16), 0);
  short st = -1;
  control_.InvokeHelper(301, DISPATCH_METHOD, VT_I2, &st,
                        reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2 VTS_I2 VTS_I2), "C:\\w.jpg", 98, 24, 6, 0);
  ASSERT_EQ(st, 0);
  ASSERT_TRUE(testenv::SetJpegFrameSize(testenv::DriveC() + "/w.jpg", 60000, 60000));
  control_.InvokeHelper(341, DISPATCH_METHOD, VT_I2, &st, reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2), "C:\\w.jpg", 0);
  ASSERT_EQ(st, 0);
  EXPECT_EQ(Float(40), 60000);
  LONG decoded = 0;
  control_.GetProperty(45, VT_I4, &decoded);
  EXPECT_EQ(decoded, 0x7FFFFFFF);
}

TEST_F(ImagingControlTest, MouseEventsInControlPixelsInTheWindowsOrder) {
  using namespace plat::user::input;
  MouseMove(kLeft + 30, kTop + 40);
  MouseButton(0, true);
  MouseButton(0, false);
  MouseButton(0, true);
  MouseButton(0, false);
  Pump();
  std::vector<std::string> mouse;
  for (const std::string& e : owner_.events)
    if (e != "painted" && e != "repaint" && e.rfind("move", 0) != 0) mouse.push_back(e);
  EXPECT_EQ(mouse, (std::vector<std::string>{"down 1 0 30,40", "up 1 0 30,40", "dblclick", "up 1 0 30,40"}));

  owner_.events.clear();
  Key(VK_SHIFT, true);
  MouseMove(kLeft + 5, kTop + 6);
  MouseButton(1, true);
  MouseButton(1, false);
  Key(VK_SHIFT, false);
  Pump();
  EXPECT_NE(std::find(owner_.events.begin(), owner_.events.end(), "down 2 1 5,6"), owner_.events.end());
  EXPECT_NE(std::find(owner_.events.begin(), owner_.events.end(), "up 2 1 5,6"), owner_.events.end());
}

TEST_F(ImagingControlTest, ARightReleaseGoesOnToTheHostsContextMenuAfterItsEvent) {
  using namespace plat::user::input;
  MouseMove(kLeft + 30, kTop + 40);
  MouseButton(1, true);
  MouseButton(1, false);
  // The left button opens no menu.
  MouseButton(0, true);
  MouseButton(0, false);
  Pump();
  std::vector<std::string> seen;
  for (const std::string& e : owner_.events)
    if (e.rfind("up", 0) == 0 || e.rfind("context", 0) == 0) seen.push_back(e);
  EXPECT_EQ(seen, (std::vector<std::string>{"up 2 0 30,40", "contextmenu 40,60", "up 1 0 30,40"}));

  // The context-menu key of a focused control reaches the host too, at (-1, -1).
  owner_.events.clear();
  control_.SetFocus();
  Key(VK_APPS, true);
  Key(VK_APPS, false);
  Pump();
  EXPECT_EQ(owner_.events, (std::vector<std::string>{"contextmenu -1,-1"}));
}

TEST_F(ImagingControlTest, RubberBandDraggedUpAndLeftHasANegativeSize) {
  control_.SetProperty(48, VT_BOOL, TRUE);
  using namespace plat::user::input;
  MouseMove(kLeft + 100, kTop + 90);
  MouseButton(0, true);
  MouseMove(kLeft + 70, kTop + 60);
  MouseMove(kLeft + 40, kTop + 50);
  Pump();
  EXPECT_EQ(Rect(49), (plat::imaging::FRect{100, 90, -60, -40}));
  EXPECT_EQ(std::find(owner_.events.begin(), owner_.events.end(), "region"), owner_.events.end());
  MouseButton(0, false);
  Pump();
  ASSERT_GE(owner_.events.size(), 2u);
  auto up = std::find(owner_.events.begin(), owner_.events.end(), "up 1 0 40,50");
  ASSERT_NE(up, owner_.events.end());
  EXPECT_NE(std::find(up, owner_.events.end(), "region"), owner_.events.end());  // after the button is up
  // Four zeros clear it.
  SetRect(344, 0, 0, 0, 0);
  EXPECT_EQ(Rect(49), (plat::imaging::FRect{}));
}

// With 160 off the band is the caller's alone: a press inside a shown band leaves it where
// it is (so the caller can move it), and the finished band stays drawn while 48 is on.
TEST_F(ImagingControlTest, WithoutMouseTrackingTheBandMovesOnlyAsTheCallerSetsIt) {
  control_.SetProperty(154, VT_I2, short(3));
  ASSERT_EQ(CreateImage(160, 120), 0);
  control_.SetProperty(48, VT_BOOL, TRUE);
  control_.SetProperty(160, VT_BOOL, FALSE);
  SetRect(344, 20, 30, 50, 40);
  using namespace plat::user::input;
  MouseMove(kLeft + 40, kTop + 50);
  MouseButton(0, true);
  MouseMove(kLeft + 90, kTop + 100);
  MouseButton(0, false);
  Pump();
  EXPECT_EQ(Rect(49), (plat::imaging::FRect{20, 30, 50, 40}));
  EXPECT_EQ(std::find(owner_.events.begin(), owner_.events.end(), "region"), owner_.events.end());

  control_.SetProperty(2, VT_BOOL, FALSE);
  Method(297);
  LONG drawDc = 0;
  control_.InvokeHelper(345, DISPATCH_METHOD, VT_I4, &drawDc, reinterpret_cast<const BYTE*>(VTS_NONE));
  ASSERT_NE(drawDc, 0);
  HDC dc = plat::ToHandle<HDC>(uint32_t(drawDc));
  // The band's dotted outline over the black picture, on its left edge and nowhere else.
  int onEdge = 0, elsewhere = 0;
  for (int y = 31; y < 69; ++y) {
    onEdge += ::GetPixel(dc, 20, y) != RGB(0, 0, 0);
    elsewhere += ::GetPixel(dc, 40, y) != RGB(0, 0, 0);
  }
  EXPECT_GT(onEdge, 10);
  EXPECT_EQ(elsewhere, 0);
  Method(346);
}

// Splitting and merging keeps the picture's size, so the part shown stays as the caller set it.
TEST_F(ImagingControlTest, AMergeOfTheSameSizeKeepsTheView) {
  control_.SetProperty(154, VT_I2, short(3));
  ASSERT_EQ(CreateImage(160, 120), 0);
  EXPECT_EQ(SetRect(336, 10, 20, 30, 40), 0);
  short st = -1;
  control_.InvokeHelper(331, DISPATCH_METHOD, VT_I2, &st, reinterpret_cast<const BYTE*>(VTS_I4), LONG(0));
  ASSERT_EQ(st, 0);
  control_.InvokeHelper(332, DISPATCH_METHOD, VT_I2, &st, reinterpret_cast<const BYTE*>(VTS_I4), LONG(0));
  ASSERT_EQ(st, 0);
  EXPECT_EQ(Rect(25), (plat::imaging::FRect{10, 20, 30, 40}));
}

TEST_F(ImagingControlTest, PaintShowsTheAdjustedPictureAndReportsIt) {
  plat::imaging::ImageHolder maker;
  ASSERT_TRUE(maker.Adopt(imagingtest::Flat(160, 120, 24, 40, 80, 120).Clone()));
  control_.SetProperty(154, VT_I2, short(3));
  control_.SetProperty(1, VT_I4, LONG(maker.Handle()));
  control_.SetProperty(2, VT_BOOL, FALSE);
  control_.SetProperty(174, VT_I2, short(1000));  // display brightness only
  owner_.events.clear();
  EXPECT_EQ(Method(297), 0);
  EXPECT_EQ(owner_.events, (std::vector<std::string>{"repaint", "painted"}));

  LONG drawDc = 0;
  control_.InvokeHelper(345, DISPATCH_METHOD, VT_I4, &drawDc, reinterpret_cast<const BYTE*>(VTS_NONE));
  ASSERT_NE(drawDc, 0);
  HDC dc = plat::ToHandle<HDC>(uint32_t(drawDc));
  EXPECT_EQ(::GetPixel(dc, 50, 50), RGB(255, 255, 255));
  EXPECT_EQ(Method(346), 0);
  EXPECT_NE(Method(346), 0);  // nothing left to release
  LONG stored = 0;
  control_.InvokeHelper(491, DISPATCH_PROPERTYGET, VT_I4, &stored, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4), 50.0f, 50.0f);
  EXPECT_EQ(stored, LONG(RGB(120, 80, 40)));  // the picture itself is untouched

  // A new picture keeps the display adjustment; resetting it shows the picture as it is.
  control_.SetProperty(1, VT_I4, LONG(maker.Handle()));
  control_.SetProperty(174, VT_I2, short(0));
  Method(297);
  control_.InvokeHelper(345, DISPATCH_METHOD, VT_I4, &drawDc, reinterpret_cast<const BYTE*>(VTS_NONE));
  dc = plat::ToHandle<HDC>(uint32_t(drawDc));
  EXPECT_EQ(::GetPixel(dc, 50, 50), RGB(120, 80, 40));
  Method(346);
}

// Shrunk on the screen, a picture keeps its colours: samples alternating 127 and 128 show
// as 127 or 128, never as what a pixel-dropping stretch makes of them.
TEST_F(ImagingControlTest, AShrunkPictureShowsItsColours) {
  plat::imaging::Dib fine = plat::imaging::Dib::Create(320, 240, 24);
  for (int y = 0; y < 240; ++y) {
    uint8_t* row = fine.Row(y);
    for (int i = 0; i < 320 * 3; ++i) row[i] = uint8_t((i + y) % 2 ? 128 : 127);
  }
  plat::imaging::ImageHolder maker;
  ASSERT_TRUE(maker.Adopt(std::move(fine)));
  control_.SetProperty(154, VT_I2, short(3));  // fitted: 2:1 into the 160 x 120 control
  control_.SetProperty(1, VT_I4, LONG(maker.Handle()));
  control_.SetProperty(2, VT_BOOL, FALSE);
  ASSERT_EQ(Method(297), 0);
  LONG drawDc = 0;
  control_.InvokeHelper(345, DISPATCH_METHOD, VT_I4, &drawDc, reinterpret_cast<const BYTE*>(VTS_NONE));
  ASSERT_NE(drawDc, 0);
  HDC dc = plat::ToHandle<HDC>(uint32_t(drawDc));  // reads what the window shows
  int outside = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      const COLORREF c = ::GetPixel(dc, x, y);
      for (int v : {GetRValue(c), GetGValue(c), GetBValue(c)}) outside += v < 127 || v > 128;
    }
  EXPECT_EQ(Method(346), 0);
  EXPECT_EQ(outside, 0);
}

TEST_F(ImagingControlTest, AWorkerThreadUsesAHiddenControlWithoutWaitingForTheWindowsThread) {
  control_.ShowWindow(SW_HIDE);
  Pump();
  owner_.events.clear();
  std::thread worker([&] {
    CreateImage(8, 8);
    Method(291);
    Method(297);
  });
  worker.join();  // this thread takes no messages meanwhile
  EXPECT_EQ(Float(10), 8);
  EXPECT_TRUE(owner_.events.empty());
}

TEST_F(ImagingControlTest, AWorkerThreadAsksForRepaintsOfAShownControlWithoutWaiting) {
  CreateImage(8, 8);
  Pump();
  owner_.events.clear();
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) Method(297);
  });
  worker.join();  // this thread takes no messages meanwhile, and nothing waits for it
  EXPECT_TRUE(owner_.events.empty());
  Pump();
  // Fifty asks made while the window's thread was busy come to one paint.
  EXPECT_EQ(std::count(owner_.events.begin(), owner_.events.end(), "painted"), 1);
  EXPECT_EQ(std::count(owner_.events.begin(), owner_.events.end(), "repaint"), 1);
}

TEST_F(ImagingControlTest, ARepaintAskedOnAWorkerThreadIsReportedOnTheWindowsThread) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    CreateImage(8, 8);
    Method(297);
    done = true;
  });
  while (!done) {
    Pump();
    std::this_thread::yield();
  }
  worker.join();
  Pump();
  EXPECT_NE(std::find(owner_.events.begin(), owner_.events.end(), "painted"), owner_.events.end());
  EXPECT_NE(std::find(owner_.events.begin(), owner_.events.end(), "repaint"), owner_.events.end());
}

}  // namespace
