#include "VexRetouchCalc.h"

#include <algorithm>

#include "binding/CLead.h"

namespace {
bool InShortRange(int value) { return value >= -1000 && value <= 1000; }
}  // namespace

int CVexRetouchCalc::Rotate(CLead* lead, int degrees, short flags, LONG fill) {
  if (!lead || degrees < -360 || degrees > 360) return -1;
  return lead->Rotate(static_cast<LONG>(degrees) * 100, flags, fill);
}

int CVexRetouchCalc::FlipHorizontal(CLead* lead) { return lead ? lead->FlipHorizontal() : -1; }
int CVexRetouchCalc::FlipVertical(CLead* lead) { return lead ? lead->FlipVertical() : -1; }
int CVexRetouchCalc::Grayscale(CLead* lead, short bits) { return lead ? lead->Grayscale(bits) : -1; }
int CVexRetouchCalc::Negative(CLead* lead) { return lead ? lead->Negative() : -1; }

int CVexRetouchCalc::SetViewRect(CLead* lead, float left, float top, float width, float height) {
  if (!lead) return -1;
  lead->SetDisplayRect(left, top, width, height);
  return 0;
}

int CVexRetouchCalc::Brightness(CLead* lead, int value) {
  if (!lead || !InShortRange(value)) return -1;
  return lead->ChangeBrightness(static_cast<short>(value));
}

int CVexRetouchCalc::PreviewBrightness(CLead* lead, int value) {
  if (!lead || !InShortRange(value)) return -1;
  lead->SetPaintBrightness(static_cast<short>(value));
  return 0;
}

int CVexRetouchCalc::Contrast(CLead* lead, int value) {
  if (!lead || !InShortRange(value)) return -1;
  return lead->ChangeContrast(static_cast<short>(value));
}

int CVexRetouchCalc::PreviewContrast(CLead* lead, int value) {
  if (!lead || !InShortRange(value)) return -1;
  lead->SetPaintContrast(static_cast<short>(value));
  return 0;
}

int CVexRetouchCalc::Gamma(CLead* lead, int gamma100) {
  return lead ? lead->ApplyGamma(static_cast<short>(gamma100)) : -1;
}

int CVexRetouchCalc::PreviewGamma(CLead* lead, int gamma100) {
  if (!lead || gamma100 < 5 || gamma100 > 2000) return -1;
  lead->SetPaintGamma(static_cast<short>(gamma100));
  return 0;
}

int CVexRetouchCalc::Sharpen(CLead* lead, int value) {
  if (!lead || !InShortRange(value)) return -1;
  return lead->Sharpen(static_cast<short>(value));
}

int CVexRetouchCalc::Hue(CLead* lead, int degrees) { return lead ? lead->ChangeHue(static_cast<short>(degrees)) : -1; }

int CVexRetouchCalc::Saturation(CLead* lead, int value) {
  if (!lead || !InShortRange(value)) return -1;
  return lead->ChangeSaturation(static_cast<short>(value));
}

void CVexRetouchCalc::LoadPlane(CLead* lead, int plane) {
  // Switching the held picture would lay the view out again; the caller's view is kept.
  const float v28 = lead->GetValue28(), v27 = lead->GetValue27(), v26 = lead->GetValue26(), v25 = lead->GetValue25();
  lead->SetValue146(0);
  lead->SetBitmap(lead->GetImageSlot(static_cast<short>(plane)));
  lead->SetValue28(v28);
  lead->SetValue27(v27);
  lead->SetValue26(v26);
  lead->SetValue25(v25);
}

short CVexRetouchCalc::ApplyTable(CLead* lead, const int (&table)[256]) {
  for (int i = 0; i < 256; ++i) lead->SetLutEntry(static_cast<short>(i), static_cast<short>(std::clamp(table[i], 0, 255)));
  return lead->ApplyLookupTable(0);
}

void CVexRetouchCalc::StorePlane(CLead* lead, int plane) {
  lead->SetImageSlot(static_cast<short>(plane), lead->GetBitmap());
}

void CVexRetouchCalc::EmptyPlaneSlots(CLead* lead) {
  for (short slot = 0; slot < 3; ++slot) lead->SetImageSlot(slot, 0);
}

int CVexRetouchCalc::OffsetPlane(CLead* lead, int plane, int offset) {
  if (!lead) return -1;
  if (const short st = lead->SplitColorPlanes(2)) return st;
  LoadPlane(lead, plane);
  int table[256];
  for (int i = 0; i < 256; ++i) table[i] = i + offset;
  if (const short st = ApplyTable(lead, table)) return st;
  StorePlane(lead, plane);
  if (const short st = lead->MergeColorPlanes(2)) return st;
  EmptyPlaneSlots(lead);
  return 0;
}

int CVexRetouchCalc::CurveBalance(CLead* lead, int strength2, int strength1, int strength0) {
  if (!lead) return -1;
  if (const short st = lead->SplitColorPlanes(0)) return st;
  const int strengths[3] = {strength0, strength1, strength2};
  for (int plane = 2; plane >= 0; --plane) {
    const int s = strengths[plane];
    if (s == 0) continue;
    LoadPlane(lead, plane);
    // The added term i - i*i/255 is 0 at both ends and largest in the middle.
    int table[256];
    for (int i = 0; i < 256; ++i) table[i] = static_cast<int>(i + (i - i * i / 255.0) * s / 100.0);
    if (const short st = ApplyTable(lead, table)) return st;
    StorePlane(lead, plane);
  }
  if (const short st = lead->MergeColorPlanes(0)) return st;
  EmptyPlaneSlots(lead);
  return 0;
}

int CVexRetouchCalc::WhiteBalance(CLead* lead, int level2, int level1, int level0) {
  if (!lead) return -1;
  lead->SplitColorPlanes(0);
  const int levels[3] = {level0, level1, level2};
  for (int plane = 2; plane >= 0; --plane) {
    const int w = levels[plane];
    if (w == 255) continue;
    LoadPlane(lead, plane);
    int table[256];
    for (int i = 0; i < 256; ++i) table[i] = w == 0 ? 255 : i * 255 / w;
    ApplyTable(lead, table);
    StorePlane(lead, plane);
  }
  lead->MergeColorPlanes(0);
  EmptyPlaneSlots(lead);
  return 0;
}

int CVexRetouchCalc::BlackBalance(CLead* lead, int level2, int level1, int level0) {
  if (!lead) return -1;
  lead->SplitColorPlanes(0);
  const int levels[3] = {level0, level1, level2};
  for (int plane = 2; plane >= 0; --plane) {
    const int k = levels[plane];
    if (k == 0) continue;
    LoadPlane(lead, plane);
    int table[256];
    if (k == 255) {
      std::fill(std::begin(table), std::end(table), 0);
    } else {
      // Level k goes to 0 and 255 stays near 255.
      const float offset = static_cast<float>(255.0 - 255.0 * 255.0 / (255 - k));
      for (int i = 0; i < 256; ++i) table[i] = static_cast<int>(i * 255 / (255 - k) + offset);
    }
    ApplyTable(lead, table);
    StorePlane(lead, plane);
  }
  lead->MergeColorPlanes(0);
  EmptyPlaneSlots(lead);
  return 0;
}

int CVexRetouchCalc::Crop(CLead* lead, float left, float top, float width, float height) {
  if (!lead) return -1;
  lead->CropImage(left, top, width, height);
  return 0;
}

int CVexRetouchCalc::Resize(CLead* lead, float factor) {
  if (!lead) return -1;
  const float width = lead->GetImageWidth(), height = lead->GetImageHeight();
  return lead->ResizeImage(width * factor, height * factor, 2);
}
