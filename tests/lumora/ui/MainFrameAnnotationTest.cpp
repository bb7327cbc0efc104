// The main frame's annotation services: opening and closing the tool palette, the
// still display's annotation mode and pane, and the defaults dialog of each tool on the
// document's defaults.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "AnnotationFrame.h"
#include "annotation/dialogs/VexAnnoContrl.h"

namespace {

namespace responder = plat::user::responder;

class MainFrameAnnotation : public AnnotationFrameTest {
 protected:
  void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }
  // The next dialog must carry `caption`; `act` answers it.
  static void Then(const std::string& caption, std::function<void(HWND)> act) {
    responder::Push([caption, act](const responder::Shown& shown) {
      EXPECT_EQ(shown.caption, caption);
      act(shown.hwnd);
      return 0;
    });
  }
};

TEST_F(MainFrameAnnotation, ThePaletteOpensOnceAndTurnsAnnotationOn) {
  EXPECT_EQ(frame->GetSelectedAnnotationTool(), 0);
  Command(32846);  // Image > Annotation
  CVexAnnoContrl* palette = frame->GetAnnotationPalette();
  ASSERT_NE(palette, nullptr);
  EXPECT_TRUE(palette->IsWindowVisible());
  EXPECT_EQ(palette->GetOwnerView(), display);
  EXPECT_EQ(calls.modes, std::vector<int>{1});
  EXPECT_EQ(frame->GetActiveView(), display);
  Command(32829);  // the toolbar button: the palette is open already
  EXPECT_EQ(frame->GetAnnotationPalette(), palette);
  EXPECT_EQ(calls.modes, std::vector<int>{1});
  EXPECT_EQ(frame->GetSelectedAnnotationTool(), 0);

  const HWND window = palette->m_hWnd;
  frame->CloseAnnotationTool();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(frame->GetAnnotationPalette(), nullptr);
  EXPECT_EQ(calls.modes, (std::vector<int>{1, 0}));
  EXPECT_EQ(frame->GetSelectedAnnotationTool(), 0);
  Pump();
  frame->CloseAnnotationTool();  // closed already: nothing happens
  EXPECT_EQ(calls.modes, (std::vector<int>{1, 0}));
  Command(32829);
  EXPECT_NE(frame->GetAnnotationPalette(), nullptr);
  EXPECT_EQ(calls.modes, (std::vector<int>{1, 0, 1}));
}

TEST_F(MainFrameAnnotation, EachToolsDefaultsDialogEditsItsOwnDefaults) {
  const struct {
    int tool;
    const char* caption;
  } tools[] = {{1, "Text Setting"},    {2, "Straight line Setting"}, {3, "Rectangle Setting"}, {4, "Ellipse Setting"},
               {5, "Polygon Setting"}, {6, "Polyline Setting"},      {7, "Free Hand Setting"}};
  // What each kind's default is now, as one text.
  auto kinds = [this] {
    AnnTextAttr text;
    AnnLineAttr line, poly, free;
    AnnShapeAttr rect, ellipse, polygon;
    doc->GetAnnTextAttr(text);
    doc->GetAnnLineAttr(line);
    doc->GetAnnPolyLineAttr(poly);
    doc->GetAnnFreeLineAttr(free);
    doc->GetAnnRectAttr(rect);
    doc->GetAnnEllipseAttr(ellipse);
    doc->GetAnnPolygonAttr(polygon);
    return std::vector<CString>{CVexDoc::FormatTextAttr(text),     CVexDoc::FormatLineAttr(line),
                                CVexDoc::FormatShapeAttr(rect),    CVexDoc::FormatShapeAttr(ellipse),
                                CVexDoc::FormatShapeAttr(polygon), CVexDoc::FormatLineAttr(poly),
                                CVexDoc::FormatLineAttr(free)};
  };
  for (const auto& t : tools) {
    for (int button : {IDCANCEL, IDOK}) {
      const std::vector<CString> before = kinds();
      Then(t.caption, [&](HWND d) {
        if (t.tool == 1)
          Click(d, 1018);  // fill
        else
          SetDlgItemTextA(d, t.tool == 2 || t.tool >= 6 ? 1020 : 1025, "  42");
        Click(d, button);
      });
      frame->OpenAnnotationSetDialog(t.tool);
      const std::vector<CString> after = kinds();
      for (size_t k = 0; k < after.size(); ++k) {
        const bool edited = button == IDOK && static_cast<int>(k) == t.tool - 1;
        EXPECT_EQ(after[k] != before[k], edited) << "tool " << t.tool << " kind " << k + 1;
      }
    }
  }
  AnnShapeAttr rect;
  doc->GetAnnRectAttr(rect);
  EXPECT_EQ(rect.penWidth, 42);
  AnnTextAttr text;
  doc->GetAnnTextAttr(text);
  EXPECT_EQ(text.backFilled, 0);  // the default text was filled; a click cleared it

  const size_t shown = responder::History().size();
  frame->OpenAnnotationSetDialog(0);
  frame->OpenAnnotationSetDialog(8);
  EXPECT_EQ(responder::History().size(), shown);
}

TEST_F(MainFrameAnnotation, OneColourBecomesBothColoursOfAShapeDefault) {
  doc->SetAnnEllipseAttr(AnnShapeAttr{3, 0, RGB(255, 0, 0), RGB(0, 0, 255), 0, 1});
  Then("Ellipse Setting", [](HWND d) {
    Click(d, 1027);
    Click(d, IDOK);
  });
  responder::Push([](const responder::Shown& shown) {
    Click(shown.hwnd, COLOR_MIX);
    SetDlgItemInt(shown.hwnd, COLOR_RED, 0, FALSE);
    SetDlgItemInt(shown.hwnd, COLOR_GREEN, 99, FALSE);
    SetDlgItemInt(shown.hwnd, COLOR_BLUE, 0, FALSE);
    Click(shown.hwnd, IDOK);
    return 0;
  });
  frame->OpenAnnotationSetDialog(4);
  AnnShapeAttr ellipse;
  doc->GetAnnEllipseAttr(ellipse);
  EXPECT_EQ(ellipse.penColor, RGB(0, 99, 0));
  EXPECT_EQ(ellipse.fillColor, RGB(0, 99, 0));
  EXPECT_EQ(ellipse.penWidth, 3);
  EXPECT_EQ(ellipse.filled, 1);
}

TEST_F(MainFrameAnnotation, ADialogThatCannotBeMadeIsReported) {
  std::string code;
  responder::FailNextDialog();
  responder::Push([&code](const responder::Shown& shown) {
    char text[128] = {};
    GetDlgItemTextA(shown.hwnd, 1143, text, sizeof text);
    code = text;
    EndDialog(shown.hwnd, IDOK);
    return IDOK;
  });
  AnnLineAttr before;
  doc->GetAnnLineAttr(before);
  frame->OpenAnnotationSetDialog(2);
  EXPECT_EQ(code, "エラーコード: 412:001");
  AnnLineAttr after;
  doc->GetAnnLineAttr(after);
  EXPECT_EQ(CVexDoc::FormatLineAttr(after), CVexDoc::FormatLineAttr(before));
}

TEST_F(MainFrameAnnotation, WhileTheScaleDialogIsOpenThePaletteIsRefused) {
  frame->OpenScaleTool();
  ASSERT_TRUE(frame->IsScaleToolOpen());
  std::string box;
  responder::Push([&box](const responder::Shown& shown) {
    box = shown.caption + "|" + shown.text;
    EXPECT_EQ(shown.type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    return IDOK;
  });
  Command(32829);
  EXPECT_EQ(box, "Lumora Caution|スケールダイアログを閉じてください");
  EXPECT_EQ(frame->GetAnnotationPalette(), nullptr);
  frame->CloseScaleTool();
  Pump();
  Command(32829);
  EXPECT_NE(frame->GetAnnotationPalette(), nullptr);
}

}  // namespace
