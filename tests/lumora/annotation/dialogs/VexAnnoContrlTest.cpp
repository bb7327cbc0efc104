// The tool palette as the operator uses it: the tool buttons and their radio index, the
// keys that leave it open, "Set" on each tool's defaults, and the close box.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "../../ui/AnnotationFrame.h"
#include "annotation/dialogs/VexAnnoContrl.h"

namespace {

namespace responder = plat::user::responder;

// The palette open on the running program's frame.
class VexAnnoContrl : public AnnotationFrameTest {
 protected:
  void SetUp() override {
    AnnotationFrameTest::SetUp();
    frame->SendMessage(WM_COMMAND, 32846, 0);
    ASSERT_NE(frame->GetAnnotationPalette(), nullptr);
    palette = frame->GetAnnotationPalette()->m_hWnd;
  }

  HWND palette = nullptr;
};

TEST_F(VexAnnoContrl, EachButtonChoosesItsToolAndDropsAnUnfinishedObject) {
  // The buttons lie as (1001, 1002), (1004, 1003), (1005, 1006), (1007, 1008).
  const struct {
    int button, tool;
  } cases[] = {{1002, 1}, {1004, 2}, {1003, 3}, {1005, 4}, {1006, 5}, {1007, 6}, {1008, 7}, {1001, 0}};
  int abandons = calls.abandons;
  for (const auto& c : cases) {
    SetFocus(palette);
    Click(palette, c.button);
    EXPECT_EQ(frame->GetSelectedAnnotationTool(), c.tool) << c.button;
    EXPECT_EQ(IsDlgButtonChecked(palette, c.button), BST_CHECKED) << c.button;  // still shown after the read
    EXPECT_EQ(calls.abandons, ++abandons) << c.button;
    EXPECT_EQ(frame->GetActiveView(), display);
  }
  // Every button has its icon.
  for (int id = 1001; id <= 1008; ++id)
    EXPECT_NE(SendDlgItemMessageA(palette, id, BM_GETIMAGE, IMAGE_ICON, 0), 0) << id;
}

TEST_F(VexAnnoContrl, EnterAndEscapeLeaveItOpen) {
  SetFocus(GetDlgItem(palette, 1003));
  for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
    MSG msg{GetDlgItem(palette, 1003), WM_KEYDOWN, key, 0, 0, {}};
    IsDialogMessageA(palette, &msg);
  }
  SendMessageA(palette, WM_COMMAND, IDOK, 0);
  SendMessageA(palette, WM_COMMAND, IDCANCEL, 0);
  Pump();
  EXPECT_TRUE(IsWindowVisible(palette));
  EXPECT_NE(frame->GetAnnotationPalette(), nullptr);
  EXPECT_EQ(calls.modes, std::vector<int>{1});
}

TEST_F(VexAnnoContrl, SetOpensTheChosenToolsDefaults) {
  const struct {
    int button, tool;
    const char* caption;
  } cases[] = {{1002, 1, "Text Setting"},     {1004, 2, "Straight line Setting"}, {1003, 3, "Rectangle Setting"},
               {1005, 4, "Ellipse Setting"},  {1006, 5, "Polygon Setting"},       {1007, 6, "Polyline Setting"},
               {1008, 7, "Free Hand Setting"}};
  for (const auto& c : cases) {
    Click(palette, c.button);
    const int abandons = calls.abandons;
    std::string caption;
    bool textHidden = false;
    responder::Push([&](const responder::Shown& shown) {
      caption = shown.caption;
      textHidden = !IsWindowVisible(GetDlgItem(shown.hwnd, 1029));
      if (c.tool == 1) {
        Click(shown.hwnd, 1018);
      } else {
        SetDlgItemTextA(shown.hwnd, c.tool == 2 || c.tool >= 6 ? 1020 : 1025, "9");
      }
      Click(shown.hwnd, IDOK);
      return 0;
    });
    Click(palette, 1009);
    EXPECT_EQ(caption, c.caption);
    EXPECT_EQ(calls.abandons, abandons + 1);
    if (c.tool == 1) { EXPECT_TRUE(textHidden); }  // the defaults have no text
  }
  AnnLineAttr line, poly, free;
  AnnShapeAttr rect, ellipse, polygon;
  AnnTextAttr text;
  doc->GetAnnLineAttr(line);
  doc->GetAnnPolyLineAttr(poly);
  doc->GetAnnFreeLineAttr(free);
  doc->GetAnnRectAttr(rect);
  doc->GetAnnEllipseAttr(ellipse);
  doc->GetAnnPolygonAttr(polygon);
  doc->GetAnnTextAttr(text);
  for (LONG width : {line.penWidth, poly.penWidth, free.penWidth, rect.penWidth, ellipse.penWidth, polygon.penWidth})
    EXPECT_EQ(width, 9);
  EXPECT_EQ(text.backFilled, 0);

  // With no tool chosen "Set" opens nothing.
  Click(palette, 1001);
  const size_t shown = responder::History().size();
  Click(palette, 1009);
  EXPECT_EQ(responder::History().size(), shown);
  EXPECT_EQ(frame->GetActiveView(), display);
}

TEST_F(VexAnnoContrl, TheCloseBoxClosesItThroughTheFrame) {
  Click(palette, 1005);
  SendMessageA(palette, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(palette));
  EXPECT_EQ(frame->GetAnnotationPalette(), nullptr);
  EXPECT_EQ(calls.modes, (std::vector<int>{1, 0}));
  EXPECT_EQ(frame->GetSelectedAnnotationTool(), 0);
  Pump();  // the palette object goes once its close has been handled
  frame->SendMessage(WM_COMMAND, 32846, 0);
  ASSERT_NE(frame->GetAnnotationPalette(), nullptr);
  palette = frame->GetAnnotationPalette()->m_hWnd;
  EXPECT_EQ(frame->GetSelectedAnnotationTool(), 0);  // a new palette starts with no tool
  SendMessageA(palette, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(palette));
  // Closed twice before the frame had a chance to free the first: both go.
  frame->SendMessage(WM_COMMAND, 32846, 0);
  SendMessageA(frame->GetAnnotationPalette()->m_hWnd, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_EQ(calls.modes, (std::vector<int>{1, 0, 1, 0, 1, 0}));
}

TEST_F(VexAnnoContrl, WithoutAnOwnerViewTheCloseBoxIsLeftToTheDialog) {
  frame->GetAnnotationPalette()->SetOwnerView(nullptr);
  SendMessageA(palette, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(palette));
  EXPECT_NE(frame->GetAnnotationPalette(), nullptr);
}

}  // namespace
