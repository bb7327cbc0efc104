#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "afxwin.h"
#include "Image.h"
#include "PhotoList.h"
#include "TrueImage.h"

namespace {

struct FormatCase {
  LONG w, h, c;
  LONG stride;
  DWORD fileSize, offset;
  WORD bits;
};

TEST(Header, SetFormatFillsEveryHeader) {
  const FormatCase cases[] = {{641, 480, 3, 1924, 923574, 54, 24}, {100, 10, 1, 100, 1054, 1078, 8}, {1, 1, 3, 4, 58, 54, 24}};
  for (const auto& c : cases) {
    CHeader h;
    EXPECT_EQ(h.SetFormat(c.w, c.h, c.c), c.stride);
    BITMAPFILEHEADER file = h.m_FileHeader;  // packed: compare copies of its fields
    EXPECT_EQ(WORD(file.bfType), 0x4D42);
    EXPECT_EQ(DWORD(file.bfSize), c.fileSize);
    EXPECT_EQ(DWORD(file.bfOffBits), c.offset);
    EXPECT_EQ(h.m_pInfo->bmiHeader.biSize, 40u);
    EXPECT_EQ(h.m_pInfo->bmiHeader.biWidth, c.w);
    EXPECT_EQ(h.m_pInfo->bmiHeader.biHeight, c.h);
    EXPECT_EQ(h.m_pInfo->bmiHeader.biBitCount, c.bits);
    EXPECT_EQ(h.m_Bitmap.bmWidthBytes, c.stride);
    EXPECT_EQ(h.m_nStride, c.stride);
  }
}

TEST(TrueImage, CreateDibGivesPixelsAndSetBitsLends) {
  CTrueImage image;
  BYTE outside[64];
  EXPECT_EQ(image.SetBits(outside), nullptr);  // no pixels yet: nothing changes
  EXPECT_EQ(image.m_pBits, nullptr);

  image.SetFormat(5, 3, 3);
  ASSERT_TRUE(image.CreateDIB());
  BYTE* own = image.m_pBits;
  ASSERT_NE(own, nullptr);
  own[0] = 7;
  EXPECT_EQ(image.SetBits(outside), own);
  EXPECT_EQ(image.m_pBits, outside);
  EXPECT_EQ(image.SetBits(nullptr), nullptr);
  EXPECT_EQ(image.m_pBits, outside);

  image.SetFormat(8, 8, 3);
  ASSERT_TRUE(image.CreateDIB());  // a new size releases the old section first
  EXPECT_NE(image.m_pBits, outside);
  image.Clear();
  EXPECT_EQ(image.m_pBits, nullptr);
}

// A picture filled with one colour per row, drawn into a screen-compatible target.
class DrawTest : public ::testing::Test {
 protected:
  void Fill(CTrueImage& image, LONG w, LONG h) {
    image.SetFormat(w, h, 3);
    ASSERT_TRUE(image.CreateDIB());
    for (LONG y = 0; y < h; ++y)
      for (LONG x = 0; x < w; ++x) {
        BYTE* p = image.m_pBits + (h - 1 - y) * image.m_nStride + 3 * x;  // bottom-up
        p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 200;
      }
  }
  void Target(int w, int h) {
    dc.CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    target.Attach(CreateDIBSection(dc.m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels = static_cast<DWORD*>(bits);
    width = w;
    std::memset(pixels, 0, size_t(w) * h * 4);
    dc.SelectObject(&target);
  }
  DWORD At(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }

  CDC dc;
  CBitmap target;
  DWORD* pixels = nullptr;
  int width = 0;
};

// Tiles of 640 x 480 at most; the remainder of the division stays undrawn.
TEST_F(DrawTest, TilesLeaveTheRemainderUndrawn) {
  CTrueImage image;
  Fill(image, 1280, 1024);
  Target(1300, 1000);
  ASSERT_TRUE(image.Draw(0, 0, 1300, 1000, &dc, 0, 0, 1.0));
  EXPECT_EQ(At(0, 0), 0xC80000u);
  EXPECT_EQ(At(10, 20), 0xC8140Au);
  EXPECT_EQ(At(433, 333), 0xC84DB1u);   // tiles join without a seam
  EXPECT_EQ(At(1270, 998), 0xC8E6F6u);  // x 1270 -> 0xF6, y 998 -> 0xE6
  EXPECT_EQ(At(10, 999), 0u);  // three rows of 333: the picture's row 999 is not drawn
}

// Zoom 2 copies the bits out and stretches them; zoom 0.5 stretches from the DC; a picture
// whose bitmap was dropped draws straight from its pixel pointer.
TEST_F(DrawTest, ZoomsUpAndDown) {
  struct ZoomCase {
    double zoom;
    LONG w, h;
    int x, y, sx, sy;
  };
  const ZoomCase cases[] = {{2.0, 40, 30, 10, 6, 5, 3}, {0.5, 80, 60, 10, 6, 20, 12}, {1.0, 40, 30, 7, 9, 7, 9}};
  for (const auto& c : cases) {
    CTrueImage image;
    Fill(image, c.w, c.h);
    int dw = int(c.w * c.zoom), dh = int(c.h * c.zoom);
    Target(dw, dh);
    ASSERT_TRUE(image.Draw(0, 0, dw, dh, &dc, 0, 0, c.zoom)) << c.zoom;
    DWORD p = At(c.x, c.y);
    EXPECT_EQ(p >> 16, 200u) << c.zoom;
    EXPECT_NEAR(int(p & 0xFF), c.sx, 1) << c.zoom;
    EXPECT_NEAR(int((p >> 8) & 0xFF), c.sy, 1) << c.zoom;
    EXPECT_DOUBLE_EQ(image.m_dZoom, c.zoom);
    dc.DeleteDC();
    target.DeleteObject();
  }
}

TEST_F(DrawTest, DrawsFromThePixelsWhenNoBitmapHoldsThem) {
  CTrueImage image;
  Fill(image, 40, 30);
  image.m_pBitmap = nullptr;
  Target(40, 30);
  ASSERT_TRUE(image.Draw(0, 0, 40, 30, &dc, 0, 0, 1.0));
  EXPECT_EQ(At(7, 9), 0xC80907u);
}

TEST_F(DrawTest, RefusesBadPositionsSizesAndZooms) {
  CTrueImage image;
  Fill(image, 40, 30);
  Target(50, 50);
  EXPECT_FALSE(image.Draw(0, 0, 40, 30, &dc, 41, 0, 1.0));
  EXPECT_FALSE(image.Draw(0, 0, 40, 30, &dc, 0, 31, 1.0));
  EXPECT_FALSE(image.Draw(0, 0, -1, 30, &dc, 0, 0, 1.0));
  EXPECT_FALSE(image.Draw(0, 0, 40, 30, &dc, 0, 0, 0.0));
  EXPECT_FALSE(image.Draw(0, 0, 40, 30, &dc, 0, 0, -2.0));
  EXPECT_EQ(At(5, 5), 0u);  // nothing drawn by any of them
}

CImage* MakeImage(LONG w, LONG h) {
  auto* image = new CImage;
  image->SetFormat(w, h, 3);
  image->m_Data = CString(' ', int(h * RowStride(w, 3)));
  for (int i = 0; i < image->m_Data.GetLength(); ++i) image->m_Data.SetAt(i, char(i % 251));
  image->m_Text1 = "first";
  image->m_Text2 = "顕微鏡";
  image->m_Time1 = CTime(1000000000);
  image->m_Time2 = CTime(1100000000);
  return image;
}

std::vector<BYTE> Store(CObject& object) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
  }
  std::vector<BYTE> bytes(size_t(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), UINT(bytes.size()));
  return bytes;
}

BOOL Load(CObject& object, std::vector<BYTE>& bytes) {
  CMemFile file(bytes.data(), UINT(bytes.size()));
  CArchive ar(&file, CArchive::load);
  BOOL ok = TRUE;
  TRY { object.Serialize(ar); }
  CATCH(CArchiveException, e) { ok = FALSE; }
  END_CATCH
  return ok;
}

TEST(ImageArchive, RoundTripsEveryItem) {
  std::unique_ptr<CImage> original(MakeImage(5, 3));
  std::vector<BYTE> bytes = Store(*original);
  CImage loaded;
  ASSERT_TRUE(Load(loaded, bytes));
  EXPECT_EQ(loaded.m_nWidth, 5);
  EXPECT_EQ(loaded.m_nHeight, 3);
  EXPECT_EQ(loaded.m_nStride, 16);
  EXPECT_EQ(loaded.m_Data.GetLength(), 48);
  EXPECT_EQ(0, std::memcmp(static_cast<LPCSTR>(loaded.m_Data), static_cast<LPCSTR>(original->m_Data), 48));
  EXPECT_STREQ(loaded.m_Text2, "顕微鏡");
  EXPECT_EQ(loaded.m_Time2.GetTime(), 1100000000);
  EXPECT_EQ(DWORD(loaded.m_FileHeader.bfSize), DWORD(original->m_FileHeader.bfSize));
  EXPECT_EQ(loaded.m_Bitmap.bmWidthBytes, 16);
  EXPECT_NE(loaded.m_pBitmap, nullptr);  // the device bitmap is rebuilt
  // Items in order: three header strings of 14, 44 and 24 bytes first.
  EXPECT_EQ(bytes[0], 14);
  EXPECT_EQ(bytes[15], 44);
  EXPECT_EQ(bytes[60], 24);
}

// Each damaged archive ends in an exception and leaves the picture as it was.
TEST(ImageArchive, RefusesDamagedArchives) {
  struct Damage {
    const char* what;
    void (*apply)(CImage&);
  };
  const Damage damages[] = {
      {"8-bit info block", [](CImage& i) { i.m_pInfo->bmiHeader.biBitCount = 8; }},
      {"width text disagrees", [](CImage& i) { i.m_nWidth = 6; }},
      {"zero height", [](CImage& i) { i.m_nHeight = 0; }},
      {"short pixel data", [](CImage& i) { i.m_Data = "abc"; }},
      {"colour masks promised", [](CImage& i) { i.m_pInfo->bmiHeader.biCompression = BI_BITFIELDS; }},
      {"longer info header", [](CImage& i) { i.m_pInfo->bmiHeader.biSize = 108; }},
      {"short info header", [](CImage& i) { i.m_pInfo->bmiHeader.biSize = 12; }},
      {"two planes", [](CImage& i) { i.m_pInfo->bmiHeader.biPlanes = 2; }},
      {"largest size, 3 GB of rows claimed", [](CImage& i) {
         i.m_pInfo->bmiHeader.biWidth = i.m_pInfo->bmiHeader.biHeight = 32767;
         i.m_nWidth = i.m_nHeight = 32767;
       }},
  };
  for (const auto& d : damages) {
    std::unique_ptr<CImage> source(MakeImage(5, 3));
    d.apply(*source);
    std::vector<BYTE> bytes = Store(*source);
    CImage loaded;
    loaded.m_Text1 = "untouched";
    EXPECT_FALSE(Load(loaded, bytes)) << d.what;
    EXPECT_STREQ(loaded.m_Text1, "untouched") << d.what;
    EXPECT_EQ(loaded.m_nWidth, 0) << d.what;
  }

  std::unique_ptr<CImage> source(MakeImage(5, 3));
  std::vector<BYTE> bytes = Store(*source);
  bytes[0] = 13;  // a file header string one byte short
  CImage loaded;
  EXPECT_FALSE(Load(loaded, bytes));
  std::vector<BYTE> cut = Store(*source);
  cut.resize(cut.size() - 5);  // the height text is missing
  EXPECT_FALSE(Load(loaded, cut));
}

TEST(PhotoList, StoresPicturesWithTheirClass) {
  CPhotoList list;
  list.AddTail(MakeImage(2, 2));
  list.AddTail(MakeImage(3, 1));
  std::vector<BYTE> bytes = Store(list);
  CPhotoList loaded;
  ASSERT_TRUE(Load(loaded, bytes));
  ASSERT_EQ(loaded.GetCount(), 2);
  auto* second = dynamic_cast<CImage*>(loaded.GetTail());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->m_nWidth, 3);
  for (CPhotoList* l : {&list, &loaded})
    while (!l->IsEmpty()) delete l->RemoveHead();
}

// The archive names an object it has written already by a reference back to it: a list
// naming one picture twice loads as one picture, and the load is refused there, so that
// emptying the list deletes each picture once. Entries that are no pictures are refused.
TEST(PhotoList, RefusesAPictureNamedTwiceAndEntriesThatAreNoPictures) {
  CImage* shared = MakeImage(2, 2);
  CPhotoList twice;
  twice.AddTail(shared);
  twice.AddTail(MakeImage(3, 1));
  twice.AddTail(shared);
  CStringArray text;
  CObList other;
  other.AddTail(&text);
  for (CObList* list : {static_cast<CObList*>(&twice), &other}) {
    std::vector<BYTE> bytes = Store(*list);
    CPhotoList loaded;
    EXPECT_FALSE(Load(loaded, bytes));
    EXPECT_EQ(loaded.GetCount(), list == &twice ? 2 : 0);
    while (!loaded.IsEmpty()) delete loaded.RemoveHead();
  }
  twice.RemoveTail();  // the second naming of the shared picture
  while (!twice.IsEmpty()) delete twice.RemoveHead();
}

}  // namespace
