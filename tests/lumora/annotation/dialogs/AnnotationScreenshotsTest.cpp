// Pictures of the tool palette and the three property dialogs as they show on the
// screen. LUMORA_ANNOTATION_SHOTS names a folder to keep them in (the documentation's
// copies, drawn with the installed Japanese font); otherwise they go to the scratch folder
// and, drawn with the test font, must match their reviewed references.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "ReferencePicture.h"
#include "TestEnv.h"
#include "annotation/dialogs/VexAnnoContrl.h"
#include "annotation/dialogs/VexAnnoLineSet.h"
#include "annotation/dialogs/VexAnnoRectSet.h"
#include "annotation/dialogs/VexAnnoTextSet.h"
#include "annotation/dialogs/VexScaleDialog.h"
#include "control/VexDoc.h"
#include "display/Png.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

class AnnotationScreenshots : public ::testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    const char* keep = std::getenv("LUMORA_ANNOTATION_SHOTS");
    documentation = keep != nullptr;
    folder = keep ? keep : testenv::ScratchDir();
    if (keep) setenv("LUMORA_FONT", "", 1);
  }
  void TearDown() override { responder::Reset(); }

  static void Paint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  // Saves `rect` of the screen as `name` and reads it back.
  plat::display::PixelImage Shoot(const std::string& name, const RECT& rect) {
    const std::string path = folder + "/" + name;
    EXPECT_TRUE(plat::display::SavePng(path, &rect));
    auto image = plat::display::ReadPng(path);
    EXPECT_TRUE(image.has_value());
    if (image && !documentation) EXPECT_TRUE(testenv::MatchesReference(*image, name));
    return image.value_or(plat::display::PixelImage{});
  }
  // Pixels within `near` of `color` on every channel, inside `part` (screen coordinates)
  // of a picture taken of `shot`. Smoothed text needs some room.
  static int Count(const plat::display::PixelImage& image, const RECT& shot, const RECT& part, COLORREF color,
                   int near = 0) {
    int n = 0;
    for (int y = part.top; y < part.bottom; ++y)
      for (int x = part.left; x < part.right; ++x) {
        const int ix = x - shot.left, iy = y - shot.top;
        if (ix < 0 || iy < 0 || ix >= image.width || iy >= image.height) continue;
        const plat::display::Pixel p =
            image.pixels[static_cast<size_t>(iy) * static_cast<size_t>(image.width) + static_cast<size_t>(ix)];
        n += std::abs(static_cast<int>((p >> 16) & 0xFF) - GetRValue(color)) <= near &&
             std::abs(static_cast<int>((p >> 8) & 0xFF) - GetGValue(color)) <= near &&
             std::abs(static_cast<int>(p & 0xFF) - GetBValue(color)) <= near;
      }
    return n;
  }
  static RECT WindowRectOf(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r;
  }
  void OnDialog(std::function<void(HWND)> act) {
    responder::Push([act](const responder::Shown& shown) {
      act(shown.hwnd);
      SendMessageA(GetDlgItem(shown.hwnd, IDCANCEL), BM_CLICK, 0, 0);
      return 0;
    });
  }

  std::string folder;
  bool documentation = false;
};

TEST_F(AnnotationScreenshots, ToolPalette) {
  CVexAnnoContrl palette;
  ASSERT_TRUE(palette.Create(CVexAnnoContrl::IDD));
  palette.SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  palette.ShowWindow(SW_SHOW);
  palette.CheckRadioButton(1001, 1008, 1003);  // the rectangle tool
  Paint(palette.m_hWnd);
  const RECT r = WindowRectOf(palette.m_hWnd);
  const auto image = Shoot("annotation-palette.png", r);
  EXPECT_EQ(image.width, r.right - r.left);
  // Every tool button shows its picture.
  for (int id = 1001; id <= 1008; ++id)
    EXPECT_GT(Count(image, r, WindowRectOf(palette.GetDlgItem(id)->m_hWnd), RGB(0, 0, 0)), 8) << id;
  palette.DestroyWindow();
}

TEST_F(AnnotationScreenshots, LineDialogWithItsArrowListOpen) {
  int drawn = 0;
  OnDialog([&](HWND d) {
    SetWindowPos(d, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND list = GetDlgItem(d, 1021);
    SendMessageA(list, CB_SETCURSEL, 3, 0);
    Paint(d);
    SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
    HWND dropList = FindWindowA("ComboLBox", nullptr);  // the one open list on the screen
    ASSERT_NE(dropList, nullptr);
    ASSERT_TRUE(IsWindowVisible(dropList));
    Paint(dropList);
    RECT shot = WindowRectOf(d);
    const RECT dropped = WindowRectOf(dropList);
    UnionRect(&shot, &shot, &dropped);
    const auto image = Shoot("annotation-line-dialog.png", shot);
    // The chosen item is highlighted in the open list, with its arrow in white.
    drawn = Count(image, shot, dropped, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(Count(image, shot, dropped, RGB(0, 0, 0)), 40);
    SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
  });
  CVexAnnoLineSet dlg(0);
  dlg.SetValues(5, 3, 0, RGB(200, 0, 0));
  dlg.DoModal();
  EXPECT_GT(drawn, 100);
}

TEST_F(AnnotationScreenshots, ShapeDialogWithItsSwatch) {
  int swatch = 0;
  OnDialog([&](HWND d) {
    SetWindowPos(d, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Paint(d);
    const RECT shot = WindowRectOf(d);
    const auto image = Shoot("annotation-shape-dialog.png", shot);
    swatch = Count(image, shot, WindowRectOf(GetDlgItem(d, 1027)), RGB(0, 160, 0));
  });
  CVexAnnoRectSet dlg(1);
  dlg.SetValues(5, 0, RGB(0, 160, 0), RGB(0, 160, 0), 1, 1);
  dlg.DoModal();
  EXPECT_GT(swatch, 50);
}

TEST_F(AnnotationScreenshots, TextDialogWithItsPreview) {
  int back = 0, ink = 0;
  OnDialog([&](HWND d) {
    SetWindowPos(d, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Paint(d);
    const RECT shot = WindowRectOf(d);
    const auto image = Shoot("annotation-text-dialog.png", shot);
    const RECT preview = WindowRectOf(GetDlgItem(d, 1015));
    back = Count(image, shot, preview, RGB(255, 255, 160));
    ink = Count(image, shot, preview, RGB(0, 0, 200), 60);
  });
  LOGFONTA font{};
  font.lfHeight = -64;
  font.lfWeight = 700;
  font.lfCharSet = 128;
  std::strcpy(font.lfFaceName, "ＭＳ Ｐゴシック");
  CVexAnnoTextSet dlg(1);
  dlg.SetValues(font, 480, RGB(0, 0, 200), RGB(255, 255, 160), 1, "10 um");
  dlg.DoModal();
  EXPECT_GT(back, 1000);
  EXPECT_GT(ink, 20);
}

// The scale dialog as it opens, with its details, and in the Measuring Pixels mode.
TEST_F(AnnotationScreenshots, ScaleDialogThreeWays) {
  TheSettingSources() = VexSettingSources{};
  CVexDoc doc;
  doc.m_camera.BoardRevision = 216;
  tScaleInfo p;
  doc.GetSelectedScale(p);
  p.name = "10x objective";
  p.source = 1;
  p.lengthValue = 100;
  p.measuredPixels = 1200;
  p.measuredLength = 250;
  p.penColor = RGB(255, 255, 0);
  p.filled = 1;
  p.fillColor = RGB(0, 0, 128);
  doc.SetSelectedScale(p);
  doc.UpdateImageStatus(1, 0);
  CVexScaleDialog dlg(&doc);
  ASSERT_TRUE(dlg.Create(CVexScaleDialog::IDD));
  dlg.SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  dlg.ShowWindow(SW_SHOW);
  dlg.OnSettingsChanged(CVexScaleDialog::kUpdateFlag, 0);

  Paint(dlg.m_hWnd);
  RECT shot = WindowRectOf(dlg.m_hWnd);
  auto image = Shoot("scale-dialog.png", shot);
  // The swatches show the preset's colours, and the Details triangle points down.
  EXPECT_GT(Count(image, shot, WindowRectOf(dlg.GetDlgItem(1162)->m_hWnd), RGB(255, 255, 0)), 20);
  EXPECT_GT(Count(image, shot, WindowRectOf(dlg.GetDlgItem(1164)->m_hWnd), RGB(0, 0, 128)), 20);
  const RECT details = WindowRectOf(dlg.GetDlgItem(1001)->m_hWnd);
  const RECT downTop{details.left + 5, details.top + 2, details.left + 17, details.top + 5};
  EXPECT_GT(Count(image, shot, downTop, RGB(0, 0, 0)), 15);
  const LONG collapsedHeight = shot.bottom - shot.top;

  SendMessageA(dlg.GetDlgItem(1001)->m_hWnd, BM_CLICK, 0, 0);
  Paint(dlg.m_hWnd);
  shot = WindowRectOf(dlg.m_hWnd);
  image = Shoot("scale-dialog-details.png", shot);
  EXPECT_EQ(shot.bottom - shot.top, collapsedHeight + 290);
  // The icon of the measuring button and the pixel size worked out from the measurement.
  EXPECT_GT(Count(image, shot, WindowRectOf(dlg.GetDlgItem(1194)->m_hWnd), RGB(0, 0, 160)), 20);
  char size[32] = {};
  GetDlgItemTextA(dlg.m_hWnd, 1189, size, sizeof size);
  EXPECT_STREQ(size, "0.21");

  SendMessageA(dlg.GetDlgItem(1194)->m_hWnd, BM_CLICK, 0, 0);
  ASSERT_EQ(dlg.IsMeasuring(), 1);
  Paint(dlg.m_hWnd);
  shot = WindowRectOf(dlg.m_hWnd);
  image = Shoot("scale-dialog-measuring.png", shot);
  EXPECT_GT(Count(image, shot, WindowRectOf(dlg.GetDlgItem(1199)->m_hWnd), GetSysColor(COLOR_BTNFACE)), 200);
  dlg.DestroyWindow();
}

}  // namespace
