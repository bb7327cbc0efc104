// The edits made in one retouch, in the order made: a kind and six values each.
#pragma once
#include <windows.h>

struct tRetouchOp {
  int kind = 0;
  LONG value[6] = {};
};

struct tRetouchOpList {
  enum { kCapacity = 100 };
  enum Kind {
    kEnhance = 1, kColorAdjust, kResize, kWhiteBalance, kBlackBalance, kRotate90CW, kRotate90CCW, kRotate180,
    kFlipHorizontal, kFlipVertical, kGrayscale, kNegative, kCrop
  };
  int count = 0;
  tRetouchOp ops[kCapacity];
};
