// The still pane of the main window with a picture shown, driven by the stand-in's mouse
// and keyboard as a user drives it: the palette's tools, clicks and drags on the pane,
// the context menu and the accelerators. The pane counts what it makes and can be told
// to run out of memory for its next object or scale overlay.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "Clock.h"
#include "DisplayRig.h"
#include "annotation/dialogs/VexAnnoContrl.h"
#include "annotation/objects/AnnScale.h"
#include "binding/CLead.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace annotationrig {

using stagerig::Picture;

class TestPane : public CVexDisplayOutput {
 public:
  int failNextObject = 0;  // the next objects that cannot be made
  bool failNextScale = false;
  int scalesMade = 0;

 protected:
  std::unique_ptr<CAnnObj> MakeAnnotation(int kind) override {
    if (failNextObject > 0) {
      --failNextObject;
      throw std::bad_alloc();
    }
    return CVexDisplayOutput::MakeAnnotation(kind);
  }
  std::unique_ptr<CAnnScale> MakeScaleObject() override {
    if (failNextScale) {
      failNextScale = false;
      throw std::bad_alloc();
    }
    ++scalesMade;
    return CVexDisplayOutput::MakeScaleObject();
  }
};

// An object whose copies cannot be made: Clone answers null, as when memory runs out.
class Uncopyable : public CAnnObj {
 public:
  Uncopyable() {
    m_creating = 0;
    m_valid = 1;
  }
  int GetKind() const override { return 1; }
  std::unique_ptr<CAnnObj> Clone() const override { return nullptr; }
};
// An object that can be copied once: its copy is one that cannot.
class CopyableOnce : public CAnnObj {
 public:
  CopyableOnce() { m_valid = 1; }
  int GetKind() const override { return 1; }
  std::unique_ptr<CAnnObj> Clone() const override { return std::make_unique<Uncopyable>(); }
};

// What an update handler said of one command.
class StateUI : public CCmdUI {
 public:
  int enabled = -1, checked = -1;
  void Enable(BOOL on) override { enabled = on ? 1 : 0; }
  void SetCheck(int check) override { checked = check; }
};

constexpr COLORREF kPen = RGB(255, 0, 0);
constexpr BYTE kGrey = 100;
constexpr int kTextField = 1029;  // the text dialog's edit field

class AnnotationRig : public displayrig::DisplayRig {
 protected:
  void SetUp() override {
    DisplayRig::SetUp();
    if (HasFatalFailure()) return;
    paneL->ShowWindow(SW_HIDE);
    pane = MakePane<TestPane>(kLeftPane, 3);
    ASSERT_NE(pane, nullptr);
    mainFrame->SetStillDisplay(pane);
    mainFrame->m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(128));
    AnnShapeAttr shape;
    shape.penWidth = 3;
    shape.penColor = kPen;
    shape.fillColor = RGB(0, 0, 255);
    doc->SetAnnRectAttr(shape);
    doc->SetAnnEllipseAttr(shape);
    doc->SetAnnPolygonAttr(shape);
    AnnLineAttr line;
    line.penWidth = 3;
    line.penColor = kPen;
    doc->SetAnnLineAttr(line);
    doc->SetAnnPolyLineAttr(line);
    doc->SetAnnFreeLineAttr(line);
    LOGFONTA font{};
    font.lfHeight = -24;
    std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", "Arial");
    doc->SetAnnTextAttr(font, kPen, RGB(255, 255, 255), 180, 0);
  }
  void TearDown() override {
    plat::user::input::Key(VK_CONTROL, false);
    DisplayRig::TearDown();
  }

  // A flat grey still picture of w x h in the pane, fitted.
  void ShowPicture(int w, int h) {
    PutFlat(2, w, h, kGrey, kGrey, kGrey);
    doc->m_nImageState = 1;
    doc->SetLiveDisplayMode(0);
    ASSERT_EQ(pane->SetDisplayMode(0), 1);
    pane->OnSettingsChanged(0x1000);
    ASSERT_EQ(pane->Output(2), 1);
    clean = Read(buffers->GetSecondBitmap());
  }

  // The palette open on `tool` (0 none, 1 text, 2 line, 3 rectangle, 4 ellipse, 5 polygon,
  // 6 polyline, 7 freehand).
  void Tool(int tool) {
    if (!mainFrame->GetAnnotationPalette()) mainFrame->OnAnnotationTool();
    CVexAnnoContrl* palette = mainFrame->GetAnnotationPalette();
    ASSERT_NE(palette, nullptr);
    // Beside the main window, where it covers no picture.
    palette->SetWindowPos(nullptr, 990, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The buttons in the template's (radio) order.
    static constexpr int kIds[] = {1001, 1002, 1004, 1003, 1005, 1006, 1007, 1008};
    palette->CheckRadioButton(1001, 1008, kIds[tool]);
  }
  void ClosePalette() {
    mainFrame->CloseAnnotationTool();
    Idle();
  }

  // Screen point of a point of the pane's control.
  POINT Screen(CPoint control) const {
    POINT p{control.x, control.y};
    ::ClientToScreen(pane->GetImagingControl()->m_hWnd, &p);
    return p;
  }
  // A second press soon after a click at the same place would be a double click.
  static void Pause() { plat::clock::Advance(1000000); }
  // Each step is handled before the next, as a hand is slower than the program: the
  // mouse capture a press takes decides where the moves and the release go.
  void ButtonDown(CPoint at, int button = 0) {
    Pause();
    const POINT p = Screen(at);
    plat::user::input::MouseMove(p.x, p.y);
    Idle();
    plat::user::input::MouseButton(button, true);
    Idle();
  }
  void MoveTo(CPoint at) {
    const POINT p = Screen(at);
    plat::user::input::MouseMove(p.x, p.y);
    Idle();
  }
  void ButtonUp(int button = 0) {
    plat::user::input::MouseButton(button, false);
    Idle();
  }
  void Drag(CPoint from, CPoint to, int steps = 4) {
    ButtonDown(from);
    for (int i = 1; i <= steps; ++i)
      MoveTo(CPoint(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps));
    ButtonUp();
  }
  void Click(CPoint at, bool control = false) {
    Pause();
    if (control) plat::user::input::Key(VK_CONTROL, true);
    const POINT p = Screen(at);
    plat::user::driver::Click(p.x, p.y);
    if (control) plat::user::input::Key(VK_CONTROL, false);
    Idle();
  }
  // Two clicks in quick succession.
  void DoubleClick(CPoint at) {
    Pause();
    const POINT p = Screen(at);
    plat::user::driver::DoubleClick(p.x, p.y);
    Idle();
  }
  // The next text dialog is answered with `text` and OK.
  static void OnTextDialog(const char* text) {
    plat::user::responder::Push([=](const plat::user::responder::Shown& shown) {
      ::SetDlgItemTextA(shown.hwnd, kTextField, text);
      ::SendMessageA(::GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
      return 0;
    });
  }
  void RightClick(CPoint at) {
    Pause();
    const POINT p = Screen(at);
    plat::user::driver::RightClick(p.x, p.y);
  }
  void Keys(UINT vk, unsigned modifiers = plat::user::driver::kNone) { plat::user::driver::PressKey(vk, modifiers); }
  // Handles every queued message as the program's loop does: accelerators first.
  void Idle() {
    for (int round = 0; round < 50; ++round) {
      MSG msg;
      bool any = false;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        if (mainFrame->PreTranslateMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      if (!any) break;
    }
  }

  // The picture the pane shows, and the clean still picture the file output saves.
  Picture Shown() const { return Read(pane->GetImagingControl()->GetBitmap()); }
  Picture Still() const { return Read(buffers->GetSecondBitmap()); }
  // The clean still with every object drawn into it, as the pane should show it.
  Picture Expected() {
    CLead maker;
    EXPECT_TRUE(maker.CreateControl("", 0, CRect(0, 0, 8, 8), &frame, 0));
    maker.SetBitmap(buffers->GetSecondBitmap());
    if (const LONG dc = maker.GetImageDC()) {
      pane->BurnAnnotations(reinterpret_cast<HDC>(static_cast<INT_PTR>(dc)));
      pane->BurnScaleOverlay(reinterpret_cast<HDC>(static_cast<INT_PTR>(dc)));
      maker.ReleaseImageDC();
    }
    Picture out = Read(maker.GetBitmap());
    maker.DestroyWindow();
    return out;
  }
  // After a release: the shown picture is the clean still plus the objects, and the
  // still picture itself stays clean.
  void ExpectCleanPlusObjects() {
    const Picture shown = Shown(), expected = Expected();
    EXPECT_EQ(shown.width, expected.width);
    EXPECT_TRUE(shown.bgr == expected.bgr) << "the shown picture is the still with its objects";
    EXPECT_TRUE(Still().bgr == clean.bgr) << "the still picture keeps no drawing";
  }
  static bool IsPen(const Picture& p, int x, int y) {
    const BYTE* px = p.At(x, y);
    return px[2] == 255 && px[1] == 0 && px[0] == 0;
  }
  static bool IsGrey(const Picture& p, int x, int y) {
    const BYTE* px = p.At(x, y);
    return px[0] == kGrey && px[1] == kGrey && px[2] == kGrey;
  }

  // The error codes shown by the error dialogs from now on, as "410:001".
  std::vector<std::string>* WatchErrors() {
    errorsShown.clear();
    for (int i = 0; i < 4; ++i) {
      plat::user::responder::Push([this](const plat::user::responder::Shown& shown) {
        char text[128] = {};
        ::GetDlgItemTextA(shown.hwnd, 1143, text, sizeof text);
        std::string code = text;
        const size_t colon = code.find(": ");
        errorsShown.push_back(colon == std::string::npos ? code : code.substr(colon + 2));
        ::EndDialog(shown.hwnd, IDOK);
        return IDOK;
      });
    }
    return &errorsShown;
  }

  CAnnObj* Object(int i) const { return pane->GetAnnotation(i); }

  TestPane* pane = nullptr;
  Picture clean;
  std::vector<std::string> errorsShown;
};

}  // namespace annotationrig
