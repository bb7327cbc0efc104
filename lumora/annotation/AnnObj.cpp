#include "AnnObj.h"

#include <cstring>

CAnnObj::CAnnObjInfo::CAnnObjInfo() {
  SetFontSize(120);
  m_font.lfWeight = 400;
  m_font.lfCharSet = 128;
  m_font.lfOutPrecision = 3;
  m_font.lfClipPrecision = 2;
  m_font.lfQuality = 1;
  m_font.lfPitchAndFamily = 0x32;
  std::strncpy(m_font.lfFaceName, "ＭＳ Ｐゴシック", LF_FACESIZE - 1);
}

void CAnnObj::CAnnObjInfo::SetFontSize(int tenths) { m_font.lfHeight = -(tenths * 96 + 360) / 720; }
