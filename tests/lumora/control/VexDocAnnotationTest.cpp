// Annotation defaults and scale presets: their texts, and the scale bar built from the
// selected preset.
#include <gtest/gtest.h>

#include <string>

#include "control/VexDoc.h"
#include "user/Responder.h"

namespace {

const char kFont[] = "ffffffc0,0,0,0,190,0,0,0,80,3,2,1,32,0,ffff00,1e0,1,FONT=ＭＳ Ｐゴシック";

class VexDocAnnotation : public ::testing::Test {
 protected:
  void SetUp() override { TheSettingSources() = VexSettingSources{}; }
  CVexDoc doc;
};

TEST_F(VexDocAnnotation, DefaultTextsParseAndFormatBackUnchanged) {
  EXPECT_EQ(doc.m_annText.font.lfHeight, -64);
  EXPECT_EQ(doc.m_annText.font.lfCharSet, 128);
  EXPECT_EQ(doc.m_annText.backColor, 0xffff00u);
  EXPECT_EQ(doc.m_annText.fontSize, 480);
  EXPECT_STREQ(doc.m_annText.font.lfFaceName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(doc.m_annRect.penWidth, 1);
  EXPECT_EQ(CVexDoc::FormatTextAttr(doc.m_annText), CString(kFont));
  EXPECT_EQ(CVexDoc::FormatTextAttr(doc.m_printTitleFont), CString(kFont));
  EXPECT_EQ(CVexDoc::FormatLineAttr(doc.m_annFreeLine), CString("1,0,0,0"));
  EXPECT_EQ(CVexDoc::FormatShapeAttr(doc.m_annPolygon), CString("1,0,0,0,0,0"));
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const tScaleInfo& s = doc.m_scales[i];
    EXPECT_EQ(s.name, CString(("Scale " + std::to_string(i)).c_str()));
    EXPECT_EQ(s.penColor, 0xff00u);
    EXPECT_EQ(s.pixelUnit, 2);
    // The saved form reads back to the same record and formats to the same bytes.
    CString saved = CVexDoc::FormatScaleInfo(s);
    tScaleInfo again;
    CVexDoc::ParseScaleInfo(saved, again);
    EXPECT_EQ(CVexDoc::FormatScaleInfo(again), saved);
  }
}

TEST_F(VexDocAnnotation, EachKindKeepsItsOwnDefaultsAndSavesThem) {
  doc.SetAnnLineAttr(AnnLineAttr{2, 1, 0, 0x10});
  doc.SetAnnPolyLineAttr(AnnLineAttr{3, 0, 1, 0x20});
  doc.SetAnnFreeLineAttr(AnnLineAttr{4, 0, 0, 0x30});
  doc.SetAnnRectAttr(AnnShapeAttr{5, 0, 0x40, 0x41, 1, 0});
  doc.SetAnnEllipseAttr(AnnShapeAttr{6, 1, 0x50, 0x51, 0, 1});
  doc.SetAnnPolygonAttr(AnnShapeAttr{7, 0, 0x60, 0x61, 0, 0});
  LOGFONTA font = doc.m_annText.font;
  font.lfWeight = 700;
  doc.SetAnnTextAttr(font, 0x70, 0x71, 120, 0);
  AnnLineAttr line;
  doc.GetAnnPolyLineAttr(line);
  EXPECT_EQ(line.penWidth, 3);
  AnnShapeAttr shape;
  doc.GetAnnEllipseAttr(shape);
  EXPECT_EQ(shape.fillColor, 0x51u);
  AnnTextAttr text;
  doc.GetAnnTextAttr(text);
  EXPECT_EQ(text.font.lfWeight, 700);
  EXPECT_EQ(text.fontSize, 120);
  doc.FormatAnnotationTexts();
  EXPECT_EQ(doc.m_strAnnLine, CString("2,1,0,10"));
  EXPECT_EQ(doc.m_strAnnPolyLine, CString("3,0,1,20"));
  EXPECT_EQ(doc.m_strAnnFreeLine, CString("4,0,0,30"));
  EXPECT_EQ(doc.m_strAnnRect, CString("5,0,40,41,1,0"));
  EXPECT_EQ(doc.m_strAnnEllipse, CString("6,1,50,51,0,1"));
  EXPECT_EQ(doc.m_strAnnPolygon, CString("7,0,60,61,0,0"));
  EXPECT_EQ(doc.m_strAnnText, CString("ffffffc0,0,0,0,2bc,0,0,0,80,3,2,1,32,70,71,78,0,FONT=ＭＳ Ｐゴシック"));
}

TEST_F(VexDocAnnotation, MalformedTextsKeepTheRecord) {
  AnnLineAttr line{7, 2, 1, 0xff};
  CVexDoc::ParseLineAttr("1,0,0", line);
  EXPECT_EQ(line.penWidth, 7);
  CVexDoc::ParseLineAttr("1,0,0,0", line);
  EXPECT_EQ(line.penWidth, 1);
  EXPECT_EQ(line.penColor, 0u);

  AnnShapeAttr shape{3, 0, 0, 0, 1, 1};
  CVexDoc::ParseShapeAttr("1,0,0,0,0", shape);
  EXPECT_EQ(shape.penWidth, 3);

  AnnTextAttr text;
  CVexDoc::ParseTextAttr(kFont, text);
  CVexDoc::ParseTextAttr("1,2,FONT=Arial", text);  // numbers kept, face taken
  EXPECT_EQ(text.font.lfHeight, -64);
  EXPECT_STREQ(text.font.lfFaceName, "Arial");
  CVexDoc::ParseTextAttr("FONT=Courier", text);  // nothing before the face: nothing changes
  EXPECT_STREQ(text.font.lfFaceName, "Arial");
}

TEST_F(VexDocAnnotation, ScaleTextsParseOrAreRefused) {
  plat::user::responder::Reset();
  plat::user::responder::Push([](const plat::user::responder::Shown&) { return IDOK; });
  tScaleInfo s;
  CVexDoc::ParseScaleInfo(",1,20,2.5,1,10,20,3,ff,1,0,0,1.0,1.0,1,1.0,2,1,1.0,2,90", s);
  EXPECT_TRUE(s.name.IsEmpty());
  EXPECT_EQ(s.vertical, 1);
  EXPECT_DOUBLE_EQ(s.lengthValue, 2.5);
  EXPECT_EQ(s.barLength, 90);

  tScaleInfo kept = s;
  CVexDoc::ParseScaleInfo("Broken,1,2,3", s);
  EXPECT_EQ(CVexDoc::FormatScaleInfo(s), CVexDoc::FormatScaleInfo(kept));
  auto shown = plat::user::responder::History();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "ERROR in ScaleSetting");
  EXPECT_EQ(shown[0].caption, "Lumora Error");
}

TEST_F(VexDocAnnotation, PresetNamesStayReadable) {
  tScaleInfo s;
  s.name = "10um, objective";
  doc.SetSelectedScale(s);
  EXPECT_EQ(doc.m_scales[0].name, CString("10um  objective"));
  s.name = std::string(100, 'n').c_str();
  doc.SetSelectedScale(s);
  tScaleInfo back;
  CVexDoc::ParseScaleInfo(CVexDoc::FormatScaleInfo(doc.m_scales[0]), back);
  EXPECT_EQ(back.name, CString(std::string(tScaleInfo::kMaxName, 'n').c_str()));
}

TEST_F(VexDocAnnotation, ScaleSelectStaysWithinThePresets) {
  EXPECT_EQ(doc.SetScaleSelect(8), 0);
  EXPECT_EQ(doc.SetScaleSelect(-1), 0);
  EXPECT_EQ(doc.GetScaleSelect(), 0);
  EXPECT_EQ(doc.SetScaleSelect(7), 1);
  EXPECT_EQ(doc.GetScaleSelect(), 7);
  doc.m_nScaleSelect = 12;  // as a damaged INI file leaves it
  EXPECT_EQ(doc.GetScaleSelect(), 0);
  doc.m_scales[0].barLength = 60;
  tScaleInfo out;
  doc.GetSelectedScale(out);
  EXPECT_EQ(out.barLength, 60);
}

TEST_F(VexDocAnnotation, ScaleBarLabelsAndExtents) {
  const struct {
    double value;
    LONG unit;
    const char* label;
  } labels[] = {{10, 2, " 10um"}, {2.5, 2, "  2.5um"}, {0.25, 1, "  0.25mm"}, {3, 7, "  3"}};
  tScaleInfo& p = doc.m_scales[0];
  p.barLength = 120;
  p.thickness = 10;
  p.source = 0;
  for (const auto& c : labels) {
    p.lengthValue = c.value;
    p.unit = c.unit;
    EXPECT_EQ(doc.GetAnnObjInfo(1, 0, 1.0)->m_label, CString(c.label));
  }
  CAnnObj::CAnnObjInfo* info = doc.GetAnnObjInfo(1, 0, 1.0);
  ASSERT_EQ(info->m_points.size(), 4u);
  EXPECT_EQ(info->m_points[0], CPoint(-10, -1));
  EXPECT_EQ(info->m_points[2], CPoint(10, 1));
  EXPECT_EQ(info->m_rubberPoints.size(), 4u);
  EXPECT_EQ(info->m_font.lfHeight, -9);
  EXPECT_EQ(info->m_penWidth, 1);
  EXPECT_EQ(info->m_styleCode, 4);

  p.source = 3;
  p.vertical = 1;
  doc.SetImageHeight(3072);
  info = doc.GetAnnObjInfo(0, 1, 2.0);  // full size at zoom 2: a = 120, b = 10
  EXPECT_TRUE(info->m_label.IsEmpty());
  EXPECT_EQ(info->m_points[3], CPoint(120, -10));
  EXPECT_EQ(info->m_font.lfHeight, -60);
  EXPECT_DOUBLE_EQ(info->m_sin, -1.0);
}

TEST_F(VexDocAnnotation, ResolutionLabelAndBoardRevision) {
  const struct {
    DWORD fine, finePhoto, quick;
    const char* label;
  } cases[] = {{1, 0, 10, "F9"}, {1, 9, 10, "F0"}, {0, 0, 10, "Q3"}, {0, 0, 13, "Q0"}};
  for (const auto& c : cases) {
    doc.SetFineMode(c.fine).SetFinePhotoMode(c.finePhoto).SetQuickPhotoMode(c.quick);
    EXPECT_EQ(doc.GetResolutionLabel(), CString(c.label));
  }
  doc.m_camera.BoardRevision = 216;
  EXPECT_EQ(doc.IsNewCameraRevision(), 0);
  doc.m_camera.BoardRevision = 217;
  EXPECT_EQ(doc.IsNewCameraRevision(), 1);
  doc.SetDisplayCorner(2);
  doc.SetDisplayCorner(4);
  EXPECT_EQ(doc.GetDisplayCorner(), 2);
}

}  // namespace
