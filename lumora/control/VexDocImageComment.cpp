// CVexDoc: the texts the file output stores inside a saved picture.
#include "VexDoc.h"

namespace {

// Denominators of the exposure steps 0..32 (seconds = 1 / value).
constexpr LONG kExposureDenominators[33] = {12000, 6000, 4000, 3000, 2500, 2000, 1500, 1200, 1000, 750, 600,
                                            500,   400,  300,  250,  200,  150,  120,  100,  75,   60,  50,
                                            40,    30,   25,   20,   15,   12,   6,    4,    3,    2,   1};

CString NowText() { return CTime::GetCurrentTime().Format("%Y:%m:%d %H:%M:%S"); }

// The second bracketed part of a title: "[a][Fine 640x480][..]" gives "[Fine 640x480]".
CString SecondBracket(const CString& title) {
  const int firstEnd = title.Find(']');
  if (firstEnd < 0) return CString();
  const int open = title.Find('[', firstEnd + 1);
  if (open < 0) return CString();
  const int close = title.Find(']', open + 1);
  return close < 0 ? title.Mid(open) : title.Mid(open, close - open + 1);
}

}  // namespace

void CVexDoc::BuildImageComment(LPCSTR caption) {
  const tShotParameters& shot = m_shot;
  CString mode;
  if (shot.retouched != 0 || shot.resizeCode != 0) {
    mode = m_nFineMode == 1 ? "F" : "Q";
    if (shot.retouched != 0) mode += "R";
    if (shot.resizeCode == 1) mode += ":75%";
    if (shot.resizeCode == 2) mode += ":50%";
    if (shot.resizeCode == 3) mode += ":25%";
  } else {
    mode = m_nFineMode == 1 ? "Fine" : "Quick";
  }
  CString line;
  line.Format("[%-5s %dx%d][%3d,%x,%x]", (LPCSTR)mode, static_cast<int>(m_nImageWidth),
              static_cast<int>(m_nImageHeight), static_cast<int>(shot.version), static_cast<unsigned>(m_nSensitivity),
              static_cast<unsigned>(shot.resizeCode));
  m_strCommentTitle.Format("[%s]%s", caption, (LPCSTR)line);
  m_strOriginalDateTime = m_strDigitizedDateTime = NowText();
  if (m_nLongExposureMode == 1) {
    m_nExposureNumerator = static_cast<LONG>(m_nLongExposureTime);
    m_nExposureDenominator = 1;
  } else {
    // The setting is checked on load; a step set past the table reads as its end.
    const DWORD step = m_nExposureTime < 33 ? m_nExposureTime : 32;
    m_nExposureNumerator = 1;
    m_nExposureDenominator = kExposureDenominators[step];
  }
}

void CVexDoc::BuildShortImageComment(LPCSTR caption) {
  const CString kind = SecondBracket(m_strCommentTitle);
  const bool retouched = m_shot.retouched != 0;
  LPCSTR form = "[%s][%dx%d]";
  if (kind.Find("Fine") >= 0)
    form = retouched ? "[%s][FR %dx%d]" : "[%s][Fine %dx%d]";
  else if (kind.Find("Quick") >= 0)
    form = retouched ? "[%s][QR %dx%d]" : "[%s][Quick %dx%d]";
  else if (kind.Find("QR ") >= 0)
    form = "[%s][QR %dx%d]";
  else if (kind.Find("FR ") >= 0)
    form = "[%s][FR %dx%d]";
  m_strCommentTitle.Format(form, caption, static_cast<int>(m_nImageWidth), static_cast<int>(m_nImageHeight));
  m_strOriginalDateTime = m_strDigitizedDateTime = NowText();
}
