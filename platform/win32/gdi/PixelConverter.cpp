#include "gdi/PixelConverter.h"

#include <cstring>

namespace plat::gdi {

namespace {
bool SameTable(const Surface& a, const Surface& b) {
  if (a.colorCount != b.colorCount) return false;
  for (int i = 0; i < a.colorCount; ++i)
    if (a.colors[i].rgbRed != b.colors[i].rgbRed || a.colors[i].rgbGreen != b.colors[i].rgbGreen ||
        a.colors[i].rgbBlue != b.colors[i].rgbBlue)
      return false;
  return true;
}
}  // namespace

PixelConverter::PixelConverter(const Surface& from, const Surface& to) { Init(from, to, false, 0, 0, 0); }

PixelConverter::PixelConverter(const Surface& from, const Surface& to, COLORREF srcBk, COLORREF dstText,
                               COLORREF dstBk) {
  Init(from, to, true, srcBk, dstText, dstBk);
}

void PixelConverter::Init(const Surface& from, const Surface& to, bool bltRules, COLORREF srcBk, COLORREF dstText,
                          COLORREF dstBk) {
  from_ = from;
  to_ = to;
  bool monoSrc = bltRules && from.mono && !to.mono;
  bool monoDst = bltRules && to.bpp == 1 && !(from.bpp == 1 && from.mono == to.mono && SameTable(from, to));
  if (!monoSrc && !monoDst) {
    if (from.bpp > 16 && to.bpp > 16) return;  // both 0x00RRGGBB
    if (from.bpp == to.bpp && (from.bpp == 16 || SameTable(from, to))) return;
  }
  if (monoSrc) {
    table_ = {ColorToPixel(to, dstText), ColorToPixel(to, dstBk)};
    mode_ = Mode::Table;
  } else if (monoDst) {
    bkPixel_ = ColorToPixel(from, srcBk);
    mode_ = Mode::MatchBk;
  } else if (from.bpp <= 8) {
    table_.resize(size_t(1) << from.bpp);
    for (size_t i = 0; i < table_.size(); ++i)
      table_[i] = ColorToPixel(to, PixelToColor(from, static_cast<uint32_t>(i)));
    mode_ = Mode::Table;
  } else {
    mode_ = to.bpp > 8 ? Mode::Rgb : Mode::Nearest;
  }
}

void PixelConverter::Convert(const uint32_t* in, uint32_t* out, int n) {
  switch (mode_) {
    case Mode::Identity:
      if (in != out) std::memmove(out, in, sizeof(uint32_t) * static_cast<size_t>(n));
      break;
    case Mode::Table: {
      uint32_t mask = static_cast<uint32_t>(table_.size() - 1);
      for (int i = 0; i < n; ++i) out[i] = table_[in[i] & mask];
      break;
    }
    case Mode::MatchBk:
      for (int i = 0; i < n; ++i) out[i] = in[i] == bkPixel_ ? 1 : 0;
      break;
    case Mode::Rgb:
      for (int i = 0; i < n; ++i) out[i] = ColorToPixel(to_, PixelToColor(from_, in[i]));
      break;
    case Mode::Nearest:
      for (int i = 0; i < n; ++i) {
        auto [it, fresh] = cache_.try_emplace(in[i], 0);
        if (fresh) it->second = ColorToPixel(to_, PixelToColor(from_, in[i]));
        out[i] = it->second;
      }
      break;
  }
}

}  // namespace plat::gdi
