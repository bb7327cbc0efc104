#include "imaging/Dib.h"

#include <cstdlib>
#include <cstring>

namespace plat::imaging {

bool Dib::SizeAllowed(int width, int height, int bits) {
  if (bits != 8 && bits != 24) return false;
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  return size_t(StrideFor(width, bits)) * size_t(height) <= kMaxBytes;
}

Dib Dib::Create(int width, int height, int bits) {
  Dib d;
  if (!SizeAllowed(width, height, bits)) return d;
  const int stride = StrideFor(width, bits);
  const size_t bytes = size_t(stride) * size_t(height);
  // calloc rather than new[]: a failed allocation is a status, not an exception, and
  // a large block comes as untouched zero pages, so padding is zero and a decoder that
  // gives up early (a damaged file claiming a huge size) has used no memory for it.
  void* mem = std::calloc(bytes, 1);
  if (!mem) return d;
  d.pixels_ = std::shared_ptr<uint8_t>(static_cast<uint8_t*>(mem), [](uint8_t* p) { std::free(p); });
  d.width_ = width;
  d.height_ = height;
  d.bits_ = bits;
  d.stride_ = stride;
  if (bits == 8) {
    for (int i = 0; i < 256; ++i) d.palette_[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  }
  return d;
}

bool Dib::HasGreyPalette() const {
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD& q = palette_[i];
    if (q.rgbBlue != i || q.rgbGreen != i || q.rgbRed != i) return false;
  }
  return true;
}

LONG Dib::GetPixel(int x, int y) const {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const uint8_t* row = Row(y);
  if (bits_ == 8) {
    const RGBQUAD& q = palette_[row[x]];
    return LONG(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
  }
  const uint8_t* p = row + size_t(x) * 3;
  return LONG(RGB(p[2], p[1], p[0]));
}

std::vector<uint8_t> Dib::BitmapInfo() const {
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + (bits_ == 8 ? 256 * sizeof(RGBQUAD) : 0), 0);
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width_;
  h->biHeight = height_;  // positive: bottom-up, as the pixels are kept
  h->biPlanes = 1;
  h->biBitCount = WORD(bits_);
  h->biCompression = BI_RGB;
  h->biSizeImage = DWORD(ByteSize());
  if (bits_ == 8) {
    h->biClrUsed = 256;
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), palette_.data(), 256 * sizeof(RGBQUAD));
  }
  return info;
}

Dib Dib::Clone() const {
  if (Empty()) return Dib();
  Dib d = Create(width_, height_, bits_);
  if (d.Empty()) return d;
  std::memcpy(d.pixels_.get(), pixels_.get(), ByteSize());
  d.palette_ = palette_;
  return d;
}

bool Dib::SamePixels(const Dib& other) const {
  if (width_ != other.width_ || height_ != other.height_ || bits_ != other.bits_) return false;
  if (Empty() || other.Empty()) return Empty() == other.Empty();
  const size_t used = size_t(width_) * size_t(bits_ / 8);
  for (int y = 0; y < height_; ++y)
    if (std::memcmp(Row(y), other.Row(y), used) != 0) return false;
  return bits_ != 8 || std::memcmp(palette_.data(), other.palette_.data(), sizeof(palette_)) == 0;
}

}  // namespace plat::imaging
