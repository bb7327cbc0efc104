// Image lists: each image is kept as its own bitmap (and a monochrome mask when the list
// is masked), so adding and removing never shifts pixels between images.
#include <memory>
#include <vector>

#include "../HandleTable.h"
#include "../WinImageList.h"
#include "../WinUser.h"

namespace {

// A GDI object owned for its lifetime.
struct OwnedBitmap {
  HBITMAP h = nullptr;
  explicit OwnedBitmap(HBITMAP b) : h(b) {}
  ~OwnedBitmap() {
    if (h) DeleteObject(h);
  }
  OwnedBitmap(const OwnedBitmap&) = delete;
  OwnedBitmap& operator=(const OwnedBitmap&) = delete;
};

// A memory DC with one bitmap selected, released in order.
class MemoryDc {
 public:
  explicit MemoryDc(HBITMAP b) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, b)) {}
  ~MemoryDc() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

struct Image {
  std::unique_ptr<OwnedBitmap> colour;
  std::unique_ptr<OwnedBitmap> mask;  // 1 where the image is transparent
};

struct ImageList {
  int cx = 0, cy = 0;
  bool masked = false;
  std::vector<Image> images;
};

plat::HandleTable<ImageList>& Lists() {
  static plat::HandleTable<ImageList> table(plat::HandleKind::ImageList);
  return table;
}

std::shared_ptr<ImageList> Find(HIMAGELIST h) { return Lists().Find(plat::HandleId(h)); }

HBITMAP ScreenBitmap(int cx, int cy) {
  HDC screen = GetDC(nullptr);
  HBITMAP b = CreateCompatibleBitmap(screen, cx, cy);
  ReleaseDC(nullptr, screen);
  return b;
}

// Cuts the bitmap into images; `maskOf` makes each image's mask from its colour slice.
template <class MaskOf>
int AddSlices(ImageList& list, HBITMAP source, MaskOf maskOf) {
  BITMAP info{};
  if (!source || !GetObjectA(source, sizeof info, &info) || info.bmWidth < list.cx || info.bmHeight <= 0) return -1;
  int first = static_cast<int>(list.images.size());
  MemoryDc from(source);
  for (int x = 0; x + list.cx <= info.bmWidth; x += list.cx) {
    Image image;
    image.colour = std::make_unique<OwnedBitmap>(ScreenBitmap(list.cx, list.cy));
    if (!image.colour->h) return -1;
    {
      MemoryDc to(image.colour->h);
      BitBlt(to.Dc(), 0, 0, list.cx, list.cy, from.Dc(), x, 0, SRCCOPY);
    }
    if (list.masked) {
      image.mask = std::make_unique<OwnedBitmap>(CreateBitmap(list.cx, list.cy, 1, 1, nullptr));
      if (!image.mask->h) return -1;
      maskOf(image, x);
    }
    list.images.push_back(std::move(image));
  }
  return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto list = std::make_shared<ImageList>();
  list->cx = cx;
  list->cy = cy;
  list->masked = (flags & ILC_MASK) != 0;
  return plat::ToHandle<HIMAGELIST>(Lists().Insert(std::move(list)));
}

BOOL ImageList_Destroy(HIMAGELIST himl) { return Lists().Remove(plat::HandleId(himl)) != nullptr; }

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
  auto list = Find(himl);
  if (!list) return -1;
  return AddSlices(*list, hbmImage, [&](Image& image, int x) {
    MemoryDc to(image.mask->h);
    if (!hbmMask) {
      PatBlt(to.Dc(), 0, 0, list->cx, list->cy, BLACKNESS);  // no mask given: wholly opaque
      return;
    }
    MemoryDc from(hbmMask);
    BitBlt(to.Dc(), 0, 0, list->cx, list->cy, from.Dc(), x, 0, SRCCOPY);
  });
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
  auto list = Find(himl);
  if (!list) return -1;
  return AddSlices(*list, hbmImage, [&](Image& image, int) {
    MemoryDc colour(image.colour->h);
    MemoryDc mask(image.mask->h);
    // Colour to monochrome: pixels of the source's background colour become 1.
    SetBkColor(colour.Dc(), crMask);
    BitBlt(mask.Dc(), 0, 0, list->cx, list->cy, colour.Dc(), 0, 0, SRCCOPY);
    // Transparent pixels turn black in the image, so drawing can OR it over the hole
    // the mask cuts.
    SetBkColor(colour.Dc(), RGB(255, 255, 255));
    SetTextColor(colour.Dc(), RGB(0, 0, 0));
    BitBlt(colour.Dc(), 0, 0, list->cx, list->cy, mask.Dc(), 0, 0, 0x00220326);  // D and not S
  });
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
  auto list = Find(himl);
  if (!list || i < 0 || i >= static_cast<int>(list->images.size()) || !hdcDst) return FALSE;
  const Image& image = list->images[static_cast<size_t>(i)];
  COLORREF text = SetTextColor(hdcDst, RGB(0, 0, 0));
  COLORREF back = SetBkColor(hdcDst, RGB(255, 255, 255));
  if (fStyle & ILD_MASK) {
    if (image.mask) {
      MemoryDc mask(image.mask->h);
      BitBlt(hdcDst, x, y, list->cx, list->cy, mask.Dc(), 0, 0, SRCCOPY);
    } else {
      PatBlt(hdcDst, x, y, list->cx, list->cy, BLACKNESS);
    }
  } else if (image.mask) {
    MemoryDc mask(image.mask->h);
    MemoryDc colour(image.colour->h);
    BitBlt(hdcDst, x, y, list->cx, list->cy, mask.Dc(), 0, 0, SRCAND);
    BitBlt(hdcDst, x, y, list->cx, list->cy, colour.Dc(), 0, 0, SRCPAINT);
  } else {
    MemoryDc colour(image.colour->h);
    BitBlt(hdcDst, x, y, list->cx, list->cy, colour.Dc(), 0, 0, SRCCOPY);
  }
  SetTextColor(hdcDst, text);
  SetBkColor(hdcDst, back);
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
  auto list = Find(himl);
  return list ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  auto list = Find(himl);
  if (!list || !cx || !cy) return FALSE;
  *cx = list->cx;
  *cy = list->cy;
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
  auto list = Find(himl);
  if (!list || i < -1 || i >= static_cast<int>(list->images.size())) return FALSE;
  if (i == -1) list->images.clear();
  else list->images.erase(list->images.begin() + i);
  return TRUE;
}
