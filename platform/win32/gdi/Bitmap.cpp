#include "gdi/Bitmap.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

#include "gdi/Palette.h"

namespace plat::gdi {

namespace {
constexpr int64_t kMaxBytes = int64_t(1) << 30;  // refuse absurd sizes instead of failing later
constexpr size_t kOwnPagesFrom = size_t(1) << 20;

bool Supported(const Bitmap::Format& f) {
  switch (f.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  return f.width > 0 && f.height > 0 &&
         int64_t(WIDTHBYTES(int64_t(f.width) * f.bpp)) * f.height <= kMaxBytes;
}

void FillTable(Bitmap::Format& f) {
  if (f.bpp > 8) {
    f.colors.clear();
    return;
  }
  size_t n = size_t(1) << f.bpp;
  if (f.colors.empty()) f.colors = DefaultColorTable(f.bpp);
  f.colors.resize(n, RGBQUAD{0, 0, 0, 0});
}
}  // namespace

std::vector<RGBQUAD> DefaultColorTable(int bpp) {
  std::vector<RGBQUAD> t;
  auto add = [&t](BYTE r, BYTE g, BYTE b) { t.push_back(RGBQUAD{b, g, r, 0}); };
  if (bpp == 1) {
    add(0, 0, 0);
    add(255, 255, 255);
  } else if (bpp == 4) {
    static const BYTE vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                    {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (auto& c : vga) add(c[0], c[1], c[2]);
  } else if (bpp == 8) {
    for (const PALETTEENTRY& e : HalftoneEntries()) add(e.peRed, e.peGreen, e.peBlue);
  }
  return t;
}

std::shared_ptr<Bitmap> Bitmap::Create(Format format) {
  if (!Supported(format)) return nullptr;
  FillTable(format);
  auto bm = std::shared_ptr<Bitmap>(new Bitmap());
  bm->format_ = std::move(format);
  bm->stride_ = WIDTHBYTES(bm->format_.width * bm->format_.bpp);
  const size_t bytes = static_cast<size_t>(bm->stride_) * static_cast<size_t>(bm->format_.height);
  // A large bitmap gets pages of its own, as a DIB section does: they take memory only
  // once written, so a bitmap whose memory is never written (a capture that draws into
  // other memory) costs none, even where the heap would hand back pages used before.
  if (bytes >= kOwnPagesFrom) {
    void* mem = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mem == MAP_FAILED) return nullptr;
    bm->owner_ = std::shared_ptr<void>(mem, [bytes](void* p) { munmap(p, bytes); });
    bm->bits_ = static_cast<uint8_t*>(mem);
    return bm;
  }
  void* mem = std::calloc(bytes, 1);
  if (!mem) return nullptr;
  bm->owner_ = std::shared_ptr<void>(mem, [](void* p) { std::free(p); });
  bm->bits_ = static_cast<uint8_t*>(mem);
  return bm;
}

std::shared_ptr<Bitmap> Bitmap::Over(Format format, uint8_t* bits, std::shared_ptr<void> owner) {
  if (!bits || !Supported(format)) return nullptr;
  FillTable(format);
  auto bm = std::shared_ptr<Bitmap>(new Bitmap());
  bm->format_ = std::move(format);
  bm->stride_ = WIDTHBYTES(bm->format_.width * bm->format_.bpp);
  bm->bits_ = bits;
  bm->owner_ = std::move(owner);
  return bm;
}

std::shared_ptr<Bitmap> Bitmap::DefaultMono() {
  Format f;
  f.width = f.height = 1;
  f.bpp = 1;
  auto bm = Create(f);
  bm->bits_[0] = 0xFF;  // a new memory DC's single pixel is white
  return bm;
}

Surface Bitmap::Pixels() {
  Surface s;
  s.bits = bits_;
  s.width = format_.width;
  s.height = format_.height;
  s.bpp = format_.bpp;
  s.stride = stride_;
  s.bottomUp = format_.bottomUp;
  s.colors = format_.colors.empty() ? nullptr : format_.colors.data();
  s.colorCount = static_cast<int>(format_.colors.size());
  s.mono = IsMono();
  return s;
}

BITMAPINFOHEADER Bitmap::InfoHeader() const {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = format_.width;
  h.biHeight = format_.bottomUp ? format_.height : -format_.height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(format_.bpp);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(stride_ * format_.height);
  h.biClrUsed = format_.bpp <= 8 ? static_cast<DWORD>(format_.colors.size()) : 0;
  return h;
}

int Bitmap::Describe(int size, void* out) const {
  BITMAP bm{};
  bm.bmWidth = format_.width;
  bm.bmHeight = format_.height;
  // Device bitmaps answer in the word-aligned rows of GetBitmapBits; DIB sections in DIB rows.
  bm.bmWidthBytes = format_.dibSection ? static_cast<LONG>(stride_) : ((format_.width * format_.bpp + 15) / 16) * 2;
  bm.bmPlanes = 1;
  bm.bmBitsPixel = static_cast<WORD>(format_.bpp);
  bm.bmBits = format_.dibSection ? bits_ : nullptr;
  int full = format_.dibSection ? int(sizeof(DIBSECTION)) : int(sizeof(BITMAP));
  if (!out) return full;
  if (format_.dibSection && size >= int(sizeof(DIBSECTION))) {
    DIBSECTION ds{};
    ds.dsBm = bm;
    ds.dsBmih = InfoHeader();
    std::memcpy(out, &ds, sizeof ds);
    return sizeof(DIBSECTION);
  }
  return CopyDescription(&bm, sizeof bm, offsetof(BITMAP, bmBits), size, out);
}

}  // namespace plat::gdi
