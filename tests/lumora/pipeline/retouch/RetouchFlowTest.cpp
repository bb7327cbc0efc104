// The retouch flow from end to end, and the dialog as the operator sees it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "RetouchRig.h"
#include "TestEnv.h"
#include "display/Png.h"

namespace {

using namespace retouchrig;

class RetouchFlow : public RetouchRig {
 protected:
  // A picture with something to look at: colour bands over a grey wedge and a disc.
  LONG ShowChart(int w, int h) {
    return ShowStill(w, h, [w, h](int x, int y, BYTE* p) {
      const double u = double(x) / w, v = double(y) / h;
      if (v < 0.5) {
        const int band = int(u * 6);
        static const BYTE colours[6][3] = {{40, 40, 200}, {40, 200, 40}, {200, 40, 40},
                                           {40, 200, 200}, {200, 40, 200}, {200, 200, 40}};
        p[0] = colours[band][0], p[1] = colours[band][1], p[2] = colours[band][2];
      } else {
        const BYTE g = BYTE(u * 255);
        p[0] = p[1] = p[2] = g;
      }
      if (std::hypot(x - w / 2.0, y - h / 2.0) < 0.15 * h) p[0] = 60, p[1] = 130, p[2] = 230;
    });
  }
};

TEST_F(RetouchFlow, AfterOkTheSlotAndTheStillPictureHoldTheEditAndItIsShown) {
  ShowPattern(320, 256, 2);
  const Picture before = Still();
  const int shown = left->outputs + right->outputs;
  responder::Push([](const responder::Shown& s) {
    Operator op(s.hwnd);
    op.Command(32781);
    op.ChooseTab(CVexRetouchDlg::kSizePage);
    Operator::ChooseSize(op.Dialog().SizePage(), 2);
    Operator::PressOn(op.Dialog().SizePage(), 1003);
    op.Press(IDOK);
    return 0;
  });
  EXPECT_EQ(flow->RunRetouchFlow(), 1);
  EXPECT_EQ(buffers->GetBuffer(flow->GetShootBufferIndex()), buffers->GetSecondBitmap());
  const Picture after = Still();
  ASSERT_EQ(after.width, 160);
  ASSERT_EQ(after.height, 128);
  EXPECT_NE(after.At(0, 0)[2], before.At(0, 0)[2]);
  EXPECT_EQ(doc->GetImageState(), 1);
  EXPECT_EQ(doc->GetImageSizeText(), "160x128");
  EXPECT_EQ(left->outputs + right->outputs, shown + 1);  // the still picture is shown again
}

TEST_F(RetouchFlow, ADialogThatCannotBeMadeIsReportedAndTheFlowGoesOn) {
  ShowPattern(64, 48, 4);
  const Picture before = Still();
  const int shown = left->outputs + right->outputs;
  responder::FailNextDialog();
  Operator::CloseErrorBox();
  EXPECT_EQ(flow->RunRetouchFlow(), 1);
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_EQ(ErrorBoxes()[0], "エラーコード: 241:001");
  EXPECT_TRUE(SamePixels(Still(), before));
  EXPECT_EQ(doc->GetImageState(), 4);
  EXPECT_EQ(left->outputs + right->outputs, shown + 1);
}

TEST_F(RetouchFlow, ScreenshotWithAPendingCropOnTheColorPage) {
  // LUMORA_RETOUCH_SHOT names a file to keep, drawn with the installed Japanese font.
  const char* keep = std::getenv("LUMORA_RETOUCH_SHOT");
  if (keep) plat::config::Set("FONT", "");
  ShowChart(1280, 1024);
  const std::string path = keep ? keep : testenv::ScratchDir() + "/retouch.png";
  POINT client{};  // the client area's corner within the picture
  Retouch([&](Operator& op) {
    op.Crop(120, 80, 420, 330);
    op.ChooseTab(CVexRetouchDlg::kColorPage);
    Operator::Slide(op.Dialog().ColorPage(), 1016, {20});
    RedrawWindow(op.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT r;
    GetWindowRect(op.Hwnd(), &r);
    client = {0, 0};
    ClientToScreen(op.Hwnd(), &client);
    client.x -= r.left, client.y -= r.top;
    ASSERT_TRUE(plat::display::SavePng(path, &r));
    op.Press(IDCANCEL);
  });
  // The preview shows the crop area alone: the picture inside it, the white background
  // round it. The preview's picture area starts 10 pixels into the dialog's client.
  auto image = plat::display::ReadPng(path);
  ASSERT_TRUE(image.has_value());
  auto at = [&](int x, int y) {  // client pixels of the preview
    return image->pixels[size_t(client.y + 10 + y) * size_t(image->width) + size_t(client.x + 10 + x)] & 0xFFFFFF;
  };
  EXPECT_EQ(at(60, 40), 0xFFFFFFu);
  EXPECT_EQ(at(500, 400), 0xFFFFFFu);
  EXPECT_NE(at(200, 150), 0xFFFFFFu);
}
}  // namespace
