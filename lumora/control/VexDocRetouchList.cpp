// CVexDoc: the list of edits the retouch dialog has made to the shown picture.
#include <cmath>
#include <initializer_list>

#include "VexDoc.h"

namespace {
// Fractions (gamma, factors, crop edges) are kept in hundredths.
LONG Hundredths(double value) { return static_cast<LONG>(std::lround(value * 100.0)); }
}  // namespace

int CVexDoc::QueueRetouch(int kind, std::initializer_list<LONG> values) {
  tRetouchOpList& list = m_retouchList;
  if (list.count >= tRetouchOpList::kCapacity) return -1;
  tRetouchOp& op = list.ops[list.count++];
  op = tRetouchOp{};
  op.kind = kind;
  int i = 0;
  for (LONG v : values) op.value[i++] = v;
  return 0;
}

int CVexDoc::QueueEnhance(int brightness, int contrast, float gamma, int sharpness) {
  return QueueRetouch(tRetouchOpList::kEnhance, {brightness, contrast, Hundredths(gamma), sharpness});
}

int CVexDoc::QueueColorAdjust(int hue, int saturation, int intensity, int balance2, int balance1, int balance0) {
  return QueueRetouch(tRetouchOpList::kColorAdjust, {hue, saturation, intensity, balance2, balance1, balance0});
}

int CVexDoc::QueueResize(float factor) { return QueueRetouch(tRetouchOpList::kResize, {Hundredths(factor)}); }

int CVexDoc::QueueWhiteBalance(int level0, int level1, int level2) {
  return QueueRetouch(tRetouchOpList::kWhiteBalance, {level0, level1, level2});
}

int CVexDoc::QueueBlackBalance(int level0, int level1, int level2) {
  return QueueRetouch(tRetouchOpList::kBlackBalance, {level0, level1, level2});
}

int CVexDoc::QueueRotate90CW() { return QueueRetouch(tRetouchOpList::kRotate90CW, {}); }
int CVexDoc::QueueRotate90CCW() { return QueueRetouch(tRetouchOpList::kRotate90CCW, {}); }
int CVexDoc::QueueRotate180() { return QueueRetouch(tRetouchOpList::kRotate180, {}); }
int CVexDoc::QueueFlipHorizontal() { return QueueRetouch(tRetouchOpList::kFlipHorizontal, {}); }
int CVexDoc::QueueFlipVertical() { return QueueRetouch(tRetouchOpList::kFlipVertical, {}); }
int CVexDoc::QueueGrayscale() { return QueueRetouch(tRetouchOpList::kGrayscale, {}); }
int CVexDoc::QueueNegative() { return QueueRetouch(tRetouchOpList::kNegative, {}); }

int CVexDoc::QueueCrop(float left, float top, float width, float height) {
  return QueueRetouch(tRetouchOpList::kCrop, {Hundredths(left), Hundredths(top), Hundredths(width), Hundredths(height)});
}

void CVexDoc::ClearRetouchList() { m_retouchList.count = 0; }
