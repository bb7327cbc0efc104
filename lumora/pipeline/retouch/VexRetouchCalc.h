// CVexRetouchCalc: the picture edits of the retouch dialog and its pages. Each works on
// the imaging control it is given, so one edit serves both the preview and the stage's
// working picture. Results: -1 for no control or a value out of range, else the
// control's status (0 success).
#pragma once
#include <windows.h>

class CLead;

class CVexRetouchCalc {
 public:
  CVexRetouchCalc() = default;
  virtual ~CVexRetouchCalc() = default;

  int Rotate(CLead* lead, int degrees, short flags, LONG fill);
  int FlipHorizontal(CLead* lead);
  int FlipVertical(CLead* lead);
  int Grayscale(CLead* lead, short bits);
  int Negative(CLead* lead);
  int SetViewRect(CLead* lead, float left, float top, float width, float height);
  int Brightness(CLead* lead, int value);
  int PreviewBrightness(CLead* lead, int value);
  int Contrast(CLead* lead, int value);
  int PreviewContrast(CLead* lead, int value);
  int Gamma(CLead* lead, int gamma100);
  int PreviewGamma(CLead* lead, int gamma100);
  int Sharpen(CLead* lead, int value);
  int Hue(CLead* lead, int degrees);
  int Saturation(CLead* lead, int value);
  // Moves every sample of one plane of the intensity split (plane 2: the intensity).
  int OffsetPlane(CLead* lead, int plane, int offset);
  // Per-plane curves of the colour split, strengths in per cent for plane slots 2, 1, 0.
  int CurveBalance(CLead* lead, int strength2, int strength1, int strength0);
  // Stretches each plane so that its level becomes 255 (white) or 0 (black).
  int WhiteBalance(CLead* lead, int level2, int level1, int level0);
  int BlackBalance(CLead* lead, int level2, int level1, int level0);
  int Crop(CLead* lead, float left, float top, float width, float height);
  int Resize(CLead* lead, float factor);

 private:
  // The plane of slot `plane` becomes the held picture, the view kept as it was.
  static void LoadPlane(CLead* lead, int plane);
  // Maps the held plane through `table` (values held to 0..255); the control's status.
  static short ApplyTable(CLead* lead, const int (&table)[256]);
  static void StorePlane(CLead* lead, int plane);
  static void EmptyPlaneSlots(CLead* lead);
};
