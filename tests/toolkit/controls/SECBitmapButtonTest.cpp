// Owner-drawn and bitmap buttons: frames, the five placements, pressing, the disabled
// look, swapping bitmaps, system colour changes; and a screenshot of them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Config.h"
#include "ToolkitFixture.h"
#include "controls/SECBitmapButton.h"
#include "display/Png.h"

namespace toolkit_test {
namespace {

// The face bitmap (16 x 16): light grey, a red square at (4..11, 4..11), a black line at
// y = 14 and a dark grey one at y = 1 (x 2..13), a white dot at (1, 8).
constexpr int kBitmap = 16;

// What a button draws for `state`, read back from a memory bitmap.
class Rendering {
 public:
  Rendering(CButton& button, UINT state) {
    CClientDC screen(nullptr);
    button.GetClientRect(&client_);
    dc_.CreateCompatibleDC(&screen);
    bitmap_.CreateCompatibleBitmap(&screen, client_.Width(), client_.Height());
    old_ = dc_.SelectObject(&bitmap_);
    DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(button.GetDlgCtrlID()), 0, ODA_DRAWENTIRE, state,
                       button.m_hWnd, dc_.GetSafeHdc(), client_, 0};
    button.DrawItem(&dis);
  }
  ~Rendering() { dc_.SelectObject(old_); }
  COLORREF At(int x, int y) const { return dc_.GetPixel(x, y); }
  COLORREF At(CPoint p) const { return At(p.x, p.y); }
  bool Contains(COLORREF color) const {
    for (int y = 0; y < client_.Height(); ++y)
      for (int x = 0; x < client_.Width(); ++x)
        if (At(x, y) == color) return true;
    return false;
  }
  const CRect& Client() const { return client_; }

 private:
  CRect client_;
  CDC dc_;
  CBitmap bitmap_;
  CBitmap* old_ = nullptr;
};

// An owner-drawn button with nothing inside its frame, which counts its clicks.
struct PlainButton : SECOwnerDrawButton {
  int inputs = 0;
  void OnInput() override { ++inputs; }
  void DrawContent(CDC*, const CRect&, UINT) override {}
  using SECOwnerDrawButton::m_dwButtonFlags;
};

// Names a file to keep the screenshot in, drawn with the installed Japanese font (the
// font is chosen once, before the first window shows).
constexpr const char* kShotVariable = "LUMORA_BUTTONS_SHOT";

class Buttons : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    if (std::getenv(kShotVariable)) setenv("LUMORA_FONT", "", 1);
    ASSERT_TRUE(dialog.Create(IDD_TEST_BUTTONS));
    dialog.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (dialog.m_hWnd) dialog.DestroyWindow();
    ToolkitTest::TearDown();
  }
  CDialog dialog;
};

COLORREF Sys(int index) { return ::GetSysColor(index); }

TEST_F(Buttons, TheFrameHasTheNewOrTheOldLook) {
  struct Case {
    const char* version;
    UINT state;
    std::vector<std::pair<CPoint, int>> pixels;  // from the corners: (x, y) < 0 counts from the far edge
  } cases[] = {
      {"5.1.2600", 0, {{{0, 0}, COLOR_BTNHIGHLIGHT}, {{-1, -1}, COLOR_WINDOWFRAME}, {{1, 1}, COLOR_BTNFACE},
                       {{-2, -2}, COLOR_BTNSHADOW}, {{-3, -3}, COLOR_BTNFACE}}},
      {"5.1.2600", ODS_SELECTED, {{{0, 0}, COLOR_WINDOWFRAME}, {{-1, -1}, COLOR_BTNHIGHLIGHT},
                                  {{1, 1}, COLOR_BTNSHADOW}, {{-2, -2}, COLOR_BTNFACE}}},
      {"3.51.1057", 0, {{{0, 0}, COLOR_WINDOWFRAME}, {{-1, -1}, COLOR_WINDOWFRAME}, {{1, 1}, COLOR_BTNHIGHLIGHT},
                        {{-2, -2}, COLOR_BTNSHADOW}, {{2, 2}, COLOR_BTNHIGHLIGHT}, {{-3, -3}, COLOR_BTNSHADOW}}},
      {"3.51.1057", ODS_SELECTED, {{{0, 0}, COLOR_WINDOWFRAME}, {{1, 1}, COLOR_BTNSHADOW},
                                   {{-2, -2}, COLOR_BTNHIGHLIGHT}, {{2, 2}, COLOR_BTNSHADOW},
                                   {{-3, -3}, COLOR_BTNHIGHLIGHT}}},
  };
  SysColours frame{{COLOR_WINDOWFRAME, RGB(1, 2, 3)}};  // apart from the button text's black
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + (c.state ? " pressed" : " released"));
    plat::config::Set("WINVER", c.version);
    PlainButton button;
    ASSERT_TRUE(button.AttachButton(IDC_TEST_BUTTON_NORMAL, &dialog));
    Rendering r(button, c.state);
    for (const auto& [at, color] : c.pixels) {
      CPoint p(at.x < 0 ? r.Client().right + at.x : at.x, at.y < 0 ? r.Client().bottom + at.y : at.y);
      EXPECT_EQ(r.At(p), Sys(color)) << p.x << "," << p.y;
    }
    button.UnsubclassWindow();
  }
  plat::config::Set("WINVER", std::nullopt);
}

TEST_F(Buttons, StaysOwnerDrawnAndAnswersAsAButton) {
  PlainButton button;
  ASSERT_TRUE(button.AttachButton(IDC_TEST_BUTTON_NORMAL, &dialog));
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);  // as the dialog manager does
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  button.SetButtonStyle(BS_PUSHBUTTON | BS_MULTILINE);
  EXPECT_EQ(button.GetStyle() & (BS_TYPEMASK | BS_MULTILINE), static_cast<DWORD>(BS_OWNERDRAW | BS_MULTILINE));

  EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), DLGC_BUTTON);
  button.SetFocus();
  EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), DLGC_BUTTON);
  button.m_dwButtonFlags = SECOwnerDrawButton::kDefaultWithFocus;
  EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  dialog.SetFocus();
  EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), DLGC_BUTTON);

  // A click that ends inside, or the space bar, completes the input; a drag out does not.
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.inputs, 1);
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-20, 5));
  EXPECT_EQ(button.inputs, 1);
  button.SetFocus();
  button.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  button.SendMessage(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(button.inputs, 2);
}

TEST_F(Buttons, TheFivePlacements) {
  struct Case {
    int placement;
    int id;
  } cases[] = {{SECBitmapButton::Al_Left, IDC_TEST_BUTTON_FIRST},
               {SECBitmapButton::Al_Right, IDC_TEST_BUTTON_FIRST + 1},
               {SECBitmapButton::Al_Top, IDC_TEST_BUTTON_FIRST + 2},
               {SECBitmapButton::Al_Bottom, IDC_TEST_BUTTON_FIRST + 3},
               {SECBitmapButton::Al_Center, IDC_TEST_BUTTON_FIRST + 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.placement);
    SECBitmapButton button;
    ASSERT_TRUE(button.AttachButton(c.id, c.placement, IDB_TEST_FACE, &dialog));
    CRect client;
    button.GetClientRect(&client);
    const int w = client.Width() - 3, h = client.Height() - 3;  // less 3 at right and bottom
    CPoint at;
    CRect text;
    switch (c.placement) {
      case 0: at = CPoint(5, (h - kBitmap) / 2); text = CRect(at.x + kBitmap + 1, 0, w, h); break;
      case 1: at = CPoint(w - 5 - kBitmap, (h - kBitmap) / 2); text = CRect(0, 0, at.x - 1, h); break;
      case 2: at = CPoint((w - kBitmap) / 2, 5); text = CRect(0, at.y + kBitmap + 1, w, h); break;
      case 3: at = CPoint((w - kBitmap) / 2, h - 5 - kBitmap); text = CRect(0, 0, w, at.y - 1); break;
      default: at = CPoint((w - kBitmap) / 2, (h - kBitmap) / 2); break;
    }
    EXPECT_EQ(button.GetImageRect(), CRect(at, CSize(kBitmap, kBitmap)));
    EXPECT_EQ(button.GetTextRect(), text);
    Rendering r(button, 0);
    EXPECT_EQ(r.At(at + CPoint(4, 4)), RGB(255, 0, 0));
    EXPECT_EQ(r.At(at + CPoint(11, 11)), RGB(255, 0, 0));
    EXPECT_EQ(r.At(at + CPoint(3, 3)), Sys(COLOR_BTNFACE));  // the bitmap's light grey
    EXPECT_EQ(r.At(at + CPoint(5, 14)), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(r.At(at + CPoint(5, 1)), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(r.At(at + CPoint(1, 8)), Sys(COLOR_BTNHIGHLIGHT));

    // Pressed, the bitmap moves one pixel right and down.
    Rendering pressed(button, ODS_SELECTED);
    EXPECT_EQ(pressed.At(at + CPoint(4, 4)), Sys(COLOR_BTNFACE));
    EXPECT_EQ(pressed.At(at + CPoint(5, 5)), RGB(255, 0, 0));
    EXPECT_EQ(pressed.At(at + CPoint(12, 12)), RGB(255, 0, 0));
    button.UnsubclassWindow();
  }
}

TEST_F(Buttons, DisabledTheBitmapIsEmbossed) {
  SECBitmapButton button;
  ASSERT_TRUE(button.AttachButton(IDC_TEST_BUTTON_FIRST + 4, SECBitmapButton::Al_Center, IDB_TEST_FACE, &dialog));
  const CPoint at = button.GetImageRect().TopLeft();
  Rendering r(button, ODS_DISABLED);
  EXPECT_FALSE(r.Contains(RGB(255, 0, 0)));
  EXPECT_EQ(r.At(at + CPoint(4, 4)), Sys(COLOR_BTNSHADOW));      // the square in shadow
  EXPECT_EQ(r.At(at + CPoint(11, 11)), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(r.At(at + CPoint(12, 12)), Sys(COLOR_BTNHIGHLIGHT));  // its highlight one pixel on
  EXPECT_EQ(r.At(at + CPoint(12, 4)), Sys(COLOR_BTNFACE));
  EXPECT_EQ(r.At(at + CPoint(5, 14)), Sys(COLOR_BTNSHADOW));      // the black line
  EXPECT_EQ(r.At(at + CPoint(5, 15)), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(r.At(at + CPoint(3, 3)), Sys(COLOR_BTNFACE));
  EXPECT_EQ(r.At(0, 0), Sys(COLOR_BTNHIGHLIGHT));  // the frame stays as it is
}

TEST_F(Buttons, ABitmapCanBeSwappedAndAFailedSwapKeepsTheOldOne) {
  SECBitmapButton button;
  ASSERT_TRUE(button.AttachButton(IDC_TEST_BUTTON_FIRST + 4, SECBitmapButton::Al_Center, IDB_TEST_FACE, &dialog));
  const CPoint at = button.GetImageRect().TopLeft();
  ASSERT_TRUE(button.SetBitmapResource(IDB_TEST_BUSY));
  EXPECT_EQ(button.GetBitmapResource(), static_cast<UINT>(IDB_TEST_BUSY));
  {
    Rendering r(button, 0);
    EXPECT_EQ(r.At(at + CPoint(8, 8)), RGB(0, 0, 255));
    EXPECT_EQ(r.At(at + CPoint(0, 0)), Sys(COLOR_BTNFACE));
  }
  EXPECT_FALSE(button.SetBitmapResource(999));
  EXPECT_EQ(button.GetBitmapResource(), static_cast<UINT>(IDB_TEST_BUSY));
  Rendering r(button, 0);
  EXPECT_EQ(r.At(at + CPoint(8, 8)), RGB(0, 0, 255));

  SECBitmapButton missing;
  EXPECT_FALSE(missing.AttachButton(IDC_TEST_BUTTON_FIRST, 0, 999, &dialog));
  EXPECT_EQ(missing.m_hWnd, nullptr);
}

TEST_F(Buttons, TheBitmapsGreysFollowTheSystemColours) {
  SECBitmapButton button;
  ASSERT_TRUE(button.AttachButton(IDC_TEST_BUTTON_FIRST + 4, SECBitmapButton::Al_Center, IDB_TEST_FACE, &dialog));
  const CPoint at = button.GetImageRect().TopLeft();
  const INT which[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
  const COLORREF was[] = {Sys(COLOR_BTNFACE), Sys(COLOR_BTNHIGHLIGHT)};
  const COLORREF now[] = {RGB(200, 180, 160), RGB(250, 240, 230)};
  ASSERT_TRUE(::SetSysColors(2, which, now));  // the dialog hears of it and tells its buttons
  {
    Rendering r(button, 0);
    EXPECT_EQ(r.At(at + CPoint(3, 3)), RGB(200, 180, 160));
    EXPECT_EQ(r.At(at + CPoint(1, 8)), RGB(250, 240, 230));
    EXPECT_EQ(r.At(0, 0), RGB(250, 240, 230));  // the frame's shared colours too
    EXPECT_EQ(r.At(at + CPoint(4, 4)), RGB(255, 0, 0));
  }
  ::SetSysColors(2, which, was);
  Rendering r(button, 0);
  EXPECT_EQ(r.At(at + CPoint(3, 3)), was[0]);
}

TEST_F(Buttons, PressingOnTheScreenShiftsTheBitmap) {
  SECBitmapButton button;
  ASSERT_TRUE(button.AttachButton(IDC_TEST_BUTTON_FIRST + 4, SECBitmapButton::Al_Center, IDB_TEST_FACE, &dialog));
  CPoint at = button.GetImageRect().TopLeft();
  button.ClientToScreen(&at);
  auto screen = [](CPoint p) {
    HDC dc = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(dc, p.x, p.y);
    ::ReleaseDC(nullptr, dc);
    return c;
  };
  button.RedrawWindow();
  EXPECT_EQ(screen(at + CPoint(4, 4)), RGB(255, 0, 0));
  EXPECT_EQ(screen(at + CPoint(12, 12)), Sys(COLOR_BTNFACE));
  button.SetState(TRUE);
  button.RedrawWindow();
  EXPECT_EQ(screen(at + CPoint(4, 4)), Sys(COLOR_BTNFACE));
  EXPECT_EQ(screen(at + CPoint(12, 12)), RGB(255, 0, 0));
}

TEST_F(Buttons, Screenshot) {
  const char* keep = std::getenv(kShotVariable);
  SECBitmapButton buttons[8];
  for (int i = 0; i < 5; ++i)
    ASSERT_TRUE(buttons[i].AttachButton(IDC_TEST_BUTTON_FIRST + i, i, IDB_TEST_FACE, &dialog));
  ASSERT_TRUE(buttons[5].AttachButton(IDC_TEST_BUTTON_NORMAL, 0, IDB_TEST_FACE, &dialog));
  ASSERT_TRUE(buttons[6].AttachButton(IDC_TEST_BUTTON_PRESSED, 0, IDB_TEST_FACE, &dialog));
  ASSERT_TRUE(buttons[7].AttachButton(IDC_TEST_BUTTON_DISABLED, 0, IDB_TEST_BUSY, &dialog));
  buttons[6].SetState(TRUE);
  dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Pump();
  CRect r;
  dialog.GetWindowRect(&r);
  const std::string path = keep ? keep : testenv::ScratchDir() + "/buttons.png";
  ASSERT_TRUE(plat::display::SavePng(path, &r));
  auto image = plat::display::ReadPng(path);
  ASSERT_TRUE(image.has_value());
  // Red squares on the enabled buttons, none on the disabled one.
  auto redIn = [&](HWND h) {
    CRect b;
    ::GetWindowRect(h, &b);
    int n = 0;
    for (int y = b.top; y < b.bottom; ++y)
      for (int x = b.left; x < b.right; ++x) {
        auto px = image->pixels[static_cast<size_t>(y - r.top) * static_cast<size_t>(image->width) +
                                static_cast<size_t>(x - r.left)];
        if ((px & 0xFFFFFF) == 0xFF0000) ++n;  // BGRX: red in the third byte
      }
    return n;
  };
  for (int i = 0; i < 7; ++i) EXPECT_EQ(redIn(buttons[i].m_hWnd), 64) << i;
  EXPECT_EQ(redIn(buttons[7].m_hWnd), 0);
}

}  // namespace
}  // namespace toolkit_test
