// CVexDoc: the annotation defaults and scale presets as texts, and the scale bar built
// from the selected preset.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "VexDoc.h"

namespace {

template <typename... Args>
CString Printf(const char* format, Args... args) {
  int n = std::snprintf(nullptr, 0, format, args...);
  std::string text(static_cast<size_t>(n), '\0');
  std::snprintf(text.data(), text.size() + 1, format, args...);
  return CString(text.c_str());
}

// Face names are cut at a whole character so a multi-byte name never ends broken.
void CopyFaceName(char (&face)[LF_FACESIZE], const char* name) {
  size_t n = std::min(std::strlen(name), static_cast<size_t>(LF_FACESIZE - 1));
  while (n > 0 && n < std::strlen(name) && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
  std::memcpy(face, name, n);
  face[n] = '\0';
}

}  // namespace

CString CVexDoc::FormatTextAttr(const AnnTextAttr& a) {
  const LOGFONTA& f = a.font;
  return Printf("%lx,%lx,%lx,%lx,%lx,%x,%x,%x,%x,%x,%x,%x,%x,%lx,%lx,%x,%x,FONT=%s",
                static_cast<unsigned long>(static_cast<DWORD>(f.lfHeight)),
                static_cast<unsigned long>(static_cast<DWORD>(f.lfWidth)),
                static_cast<unsigned long>(static_cast<DWORD>(f.lfEscapement)),
                static_cast<unsigned long>(static_cast<DWORD>(f.lfOrientation)),
                static_cast<unsigned long>(static_cast<DWORD>(f.lfWeight)), unsigned(f.lfItalic), unsigned(f.lfUnderline),
                unsigned(f.lfStrikeOut), unsigned(f.lfCharSet), unsigned(f.lfOutPrecision), unsigned(f.lfClipPrecision),
                unsigned(f.lfQuality), unsigned(f.lfPitchAndFamily), static_cast<unsigned long>(a.textColor),
                static_cast<unsigned long>(a.backColor), static_cast<unsigned>(a.fontSize),
                static_cast<unsigned>(a.backFilled), f.lfFaceName);
}

CString CVexDoc::FormatLineAttr(const AnnLineAttr& a) {
  return Printf("%x,%x,%x,%lx", unsigned(a.penWidth), unsigned(a.styleCode), unsigned(a.lineType),
                static_cast<unsigned long>(a.penColor));
}

CString CVexDoc::FormatShapeAttr(const AnnShapeAttr& a) {
  return Printf("%x,%x,%lx,%lx,%x,%x", unsigned(a.penWidth), unsigned(a.lineType),
                static_cast<unsigned long>(a.penColor), static_cast<unsigned long>(a.fillColor), unsigned(a.square),
                unsigned(a.filled));
}

CString CVexDoc::FormatScaleInfo(const tScaleInfo& s) {
  return Printf("%s,%d,%d,%f,%d,%d,%d,%d,%lx,%d,%lx,%d,%f,%f,%d,%f,%d,%d,%f,%d,%d", (LPCSTR)s.name, s.vertical,
                s.thickness, s.lengthValue, s.unit, s.posX, s.posY, s.divide, static_cast<unsigned long>(s.penColor),
                s.filled, static_cast<unsigned long>(s.fillColor), s.source, s.lens, s.magnification, s.measuredPixels,
                s.measuredLength, s.measuredUnit, s.pixelCount, s.pixelLength, s.pixelUnit, s.barLength);
}

void CVexDoc::ParseTextAttr(const CString& text, AnnTextAttr& a) {
  const char* t = text;
  const char* font = std::strstr(t, "FONT=");
  if (font == t) return;
  unsigned long v[7] = {};
  unsigned b[10] = {};
  int n = std::sscanf(t, "%lx,%lx,%lx,%lx,%lx,%x,%x,%x,%x,%x,%x,%x,%x,%lx,%lx,%x,%x", &v[0], &v[1], &v[2], &v[3],
                      &v[4], &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7], &v[5], &v[6], &b[8], &b[9]);
  if (n == 17) {
    AnnTextAttr r;
    r.font.lfHeight = static_cast<LONG>(v[0]);
    r.font.lfWidth = static_cast<LONG>(v[1]);
    r.font.lfEscapement = static_cast<LONG>(v[2]);
    r.font.lfOrientation = static_cast<LONG>(v[3]);
    r.font.lfWeight = static_cast<LONG>(v[4]);
    r.font.lfItalic = static_cast<BYTE>(b[0]);
    r.font.lfUnderline = static_cast<BYTE>(b[1]);
    r.font.lfStrikeOut = static_cast<BYTE>(b[2]);
    r.font.lfCharSet = static_cast<BYTE>(b[3]);
    r.font.lfOutPrecision = static_cast<BYTE>(b[4]);
    r.font.lfClipPrecision = static_cast<BYTE>(b[5]);
    r.font.lfQuality = static_cast<BYTE>(b[6]);
    r.font.lfPitchAndFamily = static_cast<BYTE>(b[7]);
    r.textColor = static_cast<COLORREF>(v[5]);
    r.backColor = static_cast<COLORREF>(v[6]);
    r.fontSize = static_cast<LONG>(b[8]);
    r.backFilled = static_cast<LONG>(b[9]);
    std::memcpy(r.font.lfFaceName, a.font.lfFaceName, LF_FACESIZE);
    a = r;
  }
  // Without "FONT=" the face name is taken from the end of the text.
  const char* face = font ? font + 5 : std::strrchr(t, ',') ? std::strrchr(t, ',') + 1 : t;
  CopyFaceName(a.font.lfFaceName, face);
}

void CVexDoc::ParseLineAttr(const CString& text, AnnLineAttr& a) {
  unsigned w, s, l;
  unsigned long c;
  if (std::sscanf(text, "%x,%x,%x,%lx", &w, &s, &l, &c) != 4) return;
  a = AnnLineAttr{LONG(w), LONG(s), LONG(l), COLORREF(c)};
}

void CVexDoc::ParseShapeAttr(const CString& text, AnnShapeAttr& a) {
  unsigned w, l, sq, f;
  unsigned long pc, fc;
  if (std::sscanf(text, "%x,%x,%lx,%lx,%x,%x", &w, &l, &pc, &fc, &sq, &f) != 6) return;
  a = AnnShapeAttr{LONG(w), LONG(l), COLORREF(pc), COLORREF(fc), LONG(sq), LONG(f)};
}

bool CVexDoc::ParseScaleInfo(const CString& text, tScaleInfo& s) {
  const char* t = text;
  tScaleInfo r;
  char name[tScaleInfo::kMaxName + 1] = {};
  unsigned long pen = 0, fill = 0;
  int n;
  int want;
  // The name is read up to the first comma and at most kMaxName bytes; a longer one
  // leaves the rest where a number should be, and the text is refused.
  if (t[0] == ',') {
    want = 20;
    n = std::sscanf(t, ",%d,%d,%lf,%d,%d,%d,%d,%lx,%d,%lx,%d,%lf,%lf,%d,%lf,%d,%d,%lf,%d,%d", &r.vertical, &r.thickness,
                    &r.lengthValue, &r.unit, &r.posX, &r.posY, &r.divide, &pen, &r.filled, &fill, &r.source, &r.lens,
                    &r.magnification, &r.measuredPixels, &r.measuredLength, &r.measuredUnit, &r.pixelCount,
                    &r.pixelLength, &r.pixelUnit, &r.barLength);
  } else {
    want = 21;
    n = std::sscanf(t, "%63[^,],%d,%d,%lf,%d,%d,%d,%d,%lx,%d,%lx,%d,%lf,%lf,%d,%lf,%d,%d,%lf,%d,%d", name, &r.vertical,
                    &r.thickness, &r.lengthValue, &r.unit, &r.posX, &r.posY, &r.divide, &pen, &r.filled, &fill,
                    &r.source, &r.lens, &r.magnification, &r.measuredPixels, &r.measuredLength, &r.measuredUnit,
                    &r.pixelCount, &r.pixelLength, &r.pixelUnit, &r.barLength);
  }
  if (n != want) {
    MessageBoxA(nullptr, "ERROR in ScaleSetting", "Lumora Error", MB_ICONERROR);
    return false;
  }
  r.penColor = static_cast<COLORREF>(pen);
  r.fillColor = static_cast<COLORREF>(fill);
  r.name = name;
  s = r;
  return true;
}

void CVexDoc::ParseAnnotationTexts() {
  m_annText = AnnTextAttr{};
  ParseTextAttr(m_strAnnText, m_annText);
  ParseLineAttr(m_strAnnLine, m_annLine);
  ParseLineAttr(m_strAnnPolyLine, m_annPolyLine);
  ParseLineAttr(m_strAnnFreeLine, m_annFreeLine);
  ParseShapeAttr(m_strAnnRect, m_annRect);
  ParseShapeAttr(m_strAnnEllipse, m_annEllipse);
  ParseShapeAttr(m_strAnnPolygon, m_annPolygon);
  for (int i = 0; i < 8; ++i) {
    m_scales[i].name = Printf("Scale %d", i);
    // A text that could not be read is not kept: the defaults replace it.
    const bool read = ParseScaleInfo(m_strScale[i], m_scales[i]);
    m_strScaleAsLoaded[i] = read ? m_strScale[i] : CString();
    m_strScaleLoadedForm[i] = read ? FormatScaleInfo(m_scales[i]) : CString();
  }
  m_printTitleFont = AnnTextAttr{};
  ParseTextAttr(m_strPrintTitleFont, m_printTitleFont);
}

void CVexDoc::FormatAnnotationTexts() {
  m_strAnnText = FormatTextAttr(m_annText);
  m_strAnnLine = FormatLineAttr(m_annLine);
  m_strAnnRect = FormatShapeAttr(m_annRect);
  m_strAnnEllipse = FormatShapeAttr(m_annEllipse);
  m_strAnnPolygon = FormatShapeAttr(m_annPolygon);
  m_strAnnPolyLine = FormatLineAttr(m_annPolyLine);
  m_strAnnFreeLine = FormatLineAttr(m_annFreeLine);
  m_strPrintTitleFont = FormatTextAttr(m_printTitleFont);
  // A preset nobody changed keeps the very text it was read from ("0.0" stays "0.0"
  // rather than becoming "0.000000"); a changed one is written in the full form.
  for (int i = 0; i < 8; ++i) {
    const CString now = FormatScaleInfo(m_scales[i]);
    m_strScale[i] = now == m_strScaleLoadedForm[i] ? m_strScaleAsLoaded[i] : now;
  }
}

int CVexDoc::SetScaleSelect(int index) {
  if (index < 0 || index > 7) return 0;
  m_nScaleSelect = index;
  return 1;
}

CString CVexDoc::FitScaleName(const CString& name) {
  // A comma would end the name early when the preset is read back.
  std::string fitted = (LPCSTR)name;
  for (char& c : fitted)
    if (c == ',') c = ' ';
  if (fitted.size() > static_cast<size_t>(tScaleInfo::kMaxName)) {
    size_t n = tScaleInfo::kMaxName;
    while (n > 0 && (static_cast<unsigned char>(fitted[n]) & 0xC0) == 0x80) --n;
    fitted.resize(n);
  }
  return fitted.c_str();
}

void CVexDoc::SetSelectedScale(const tScaleInfo& in) {
  tScaleInfo& s = m_scales[GetScaleSelect()];
  s = in;
  s.name = FitScaleName(in.name);
}

void CVexDoc::BuildScaleAnnotation(int live, int fullSize, double zoom) {
  const tScaleInfo& p = m_scales[GetScaleSelect()];
  CAnnObj::CAnnObjInfo& info = m_scaleInfo;
  info.m_flag = 0;
  info.ClearPoints();
  double length, thickness;
  int fontLimit;
  if (live == 1) {
    length = p.barLength / 6.0;
    thickness = p.thickness / 6.0;
    fontLimit = 512 / 10;
  } else {
    const double scale = fullSize == 1 ? zoom : zoom / 3;
    length = scale * p.barLength;
    thickness = scale * p.thickness;
    fontLimit = m_nImageHeight / 10;
  }
  const int a = static_cast<int>(length / 2 + 0.5);
  const int b = static_cast<int>(thickness / 2 + 0.5);
  int h = a / 2;
  if (h <= 9) h = 9;
  if (h >= fontLimit) h = fontLimit;
  for (CPoint pt : {CPoint(-a, -b), CPoint(-a, b), CPoint(a, b), CPoint(a, -b)}) {
    info.m_points.push_back(pt);
    info.m_rubberPoints.push_back(pt);
  }
  info.m_cos = p.vertical ? 0.0 : 1.0;
  info.m_sin = p.vertical ? -1.0 : 0.0;
  info.m_origin = CPoint(p.posX, p.posY);

  CString label;
  if (p.barLength != 0 && p.thickness != 0 && p.source != 3) {
    const double v = p.lengthValue;
    if (v == std::trunc(v))
      label = Printf("%3d", static_cast<int>(v));
    else if (v * 10 == std::trunc(v * 10))
      label = Printf("  %3.1f", v);
    else
      label = Printf("  %3.2f", v);
    static const char* const kUnits[] = {"cm", "mm", "um", "nm"};
    if (p.unit >= 0 && p.unit <= 3) label += kUnits[p.unit];
  }
  info.m_label = label;

  LOGFONTA f{};
  f.lfHeight = -h;
  f.lfWeight = 400;
  f.lfOutPrecision = 1;
  f.lfClipPrecision = 2;
  f.lfQuality = 1;
  f.lfPitchAndFamily = 0x34;
  std::strcpy(f.lfFaceName, "Arial");
  info.m_font = f;
  info.m_penWidth = b;
  info.m_styleCode = 4;
  info.m_lineType = 0;
  info.m_square = 0;
  info.m_penColor = p.penColor;
  info.m_fillColor = p.fillColor;
  info.m_fill = p.filled;
  info.m_scroll = CPoint(0, 0);
  info.m_divide = p.divide;
}

CString CVexDoc::GetResolutionLabel() const {
  if (m_nFineMode == 1) return Printf("F%d", 9 - static_cast<int>(m_nFinePhotoMode));
  return Printf("Q%d", 13 - static_cast<int>(m_nQuickPhotoMode));
}
