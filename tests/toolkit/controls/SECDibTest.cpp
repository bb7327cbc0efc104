// The device-independent bitmap: from a bitmap, its palette, drawing, and the BMP file
// and archive forms with damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Faults.h"
#include "ToolkitFixture.h"
#include "controls/SECDib.h"

namespace toolkit_test {
namespace {

// A BMP file of `width` x `height` at `bits` per pixel with `colors` table entries (all
// grey) and rows of byte `fill`; the header fields can be overridden afterwards.
std::string Bmp(int width, int height, int bits, unsigned colors, char fill = 0x11) {
  const unsigned row = ((width * bits + 31) / 32) * 4;
  const unsigned rows = static_cast<unsigned>(height < 0 ? -height : height);
  std::string table;
  for (unsigned i = 0; i < colors; ++i) table += std::string{char(i), char(i), char(i), 0};
  std::string info = Dword(40) + Dword(static_cast<unsigned>(width)) + Dword(static_cast<unsigned>(height)) + Word(1) +
                     Word(static_cast<unsigned>(bits)) + Dword(0) + Dword(row * rows) + Dword(0) + Dword(0) +
                     Dword(colors == (bits <= 8 ? 1u << bits : 0u) ? 0 : colors) + Dword(0);
  std::string pixels(row * rows, fill);
  return "BM" + Dword(14 + 40 + static_cast<unsigned>(table.size() + pixels.size())) + Dword(0) +
         Dword(14 + 40 + static_cast<unsigned>(table.size())) + info + table + pixels;
}

void Put(std::string& bytes, size_t at, const std::string& value) { bytes.replace(at, value.size(), value); }

BOOL ReadBmp(SECDib& dib, const std::string& bytes) {
  WriteFile("C:\\Dib\\in.bmp", bytes);
  CFile file;
  if (!file.Open("C:\\Dib\\in.bmp", CFile::modeRead)) return FALSE;
  return dib.Read(file);
}

class Dib : public ToolkitTest {};

TEST_F(Dib, TakesABitmapWithItsColourTable) {
  auto loaded = static_cast<HBITMAP>(
      ::LoadImageA(TestModule(), MAKEINTRESOURCEA(IDB_TEST_FACE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(loaded, nullptr);
  CClientDC screen(nullptr);
  SECDib dib;
  ASSERT_TRUE(dib.CreateFromBitmap(&screen, CBitmap::FromHandle(loaded)));
  EXPECT_EQ(dib.GetWidth(), 16);
  EXPECT_EQ(dib.GetHeight(), 16);
  EXPECT_EQ(dib.GetBitsPerPixel(), 8);
  EXPECT_EQ(dib.GetNumColors(), 256);
  EXPECT_EQ(dib.GetRowBytes(), 16);
  EXPECT_EQ(dib.GetBitmapInfo()->bmiHeader.biSizeImage, 256u);
  const RGBQUAD red = dib.GetBitmapInfo()->bmiColors[4];
  EXPECT_EQ(RGB(red.rgbRed, red.rgbGreen, red.rgbBlue), RGB(255, 0, 0));
  EXPECT_EQ(dib.GetBits()[(15 - 5) * 16 + 5], 4);  // rows bottom-up: the red square
  ASSERT_NE(dib.GetPalette(), nullptr);
  PALETTEENTRY entry{};
  EXPECT_EQ(dib.GetPalette()->GetPaletteEntries(4, 1, &entry), 1u);
  EXPECT_EQ(RGB(entry.peRed, entry.peGreen, entry.peBlue), RGB(255, 0, 0));
  EXPECT_EQ(dib.GetPalette()->GetEntryCount(), 256);
  ::DeleteObject(loaded);
}

TEST_F(Dib, ATrueColourBitmapBecomesTwentyFourBitsWithoutPalette) {
  CClientDC screen(nullptr);
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 5, 3));
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  CBitmap* old = dc.SelectObject(&bitmap);
  dc.FillSolidRect(0, 0, 5, 3, RGB(10, 20, 30));
  dc.SetPixel(4, 0, RGB(200, 100, 50));
  dc.SelectObject(old);
  SECDib dib;
  ASSERT_TRUE(dib.CreateFromBitmap(&screen, &bitmap));
  EXPECT_EQ(dib.GetBitsPerPixel(), 24);
  EXPECT_EQ(dib.GetNumColors(), 0);
  EXPECT_EQ(dib.GetRowBytes(), 16);  // 15 bytes padded to 16
  EXPECT_EQ(dib.GetPalette(), nullptr);
  EXPECT_TRUE(dib.CreatePalette());
  const BYTE* top = dib.GetBits() + 2 * 16;  // the top row comes last
  EXPECT_EQ(top[4 * 3 + 0], 50);
  EXPECT_EQ(top[4 * 3 + 1], 100);
  EXPECT_EQ(top[4 * 3 + 2], 200);

  // Drawn 1:1, and stretched through the halftone palette.
  CBitmap target;
  ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 20, 12));
  old = dc.SelectObject(&target);
  dc.FillSolidRect(0, 0, 20, 12, RGB(0, 0, 0));
  EXPECT_EQ(dib.Draw(&dc, 0, 0, 5, 3, 0, 0, 5, 3), 3);
  EXPECT_EQ(dc.GetPixel(4, 0), RGB(200, 100, 50));
  EXPECT_EQ(dc.GetPixel(0, 2), RGB(10, 20, 30));
  dib.SetHalftone(TRUE);
  EXPECT_GT(dib.Draw(&dc, 0, 4, 10, 6, 0, 0, 5, 3), 0);
  EXPECT_EQ(dc.GetPixel(1, 9), RGB(10, 20, 30));
  EXPECT_EQ(::GetStretchBltMode(dc.GetSafeHdc()), BLACKONWHITE);  // put back after drawing
  dc.SelectObject(old);
}

TEST_F(Dib, NoMemoryLeavesItEmpty) {
  CClientDC screen(nullptr);
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 4, 4));
  SECDib dib;
  plat::faults::Scope full("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_FALSE(dib.CreateFromBitmap(&screen, &bitmap));
  EXPECT_FALSE(dib.IsValid());
  EXPECT_EQ(dib.GetBits(), nullptr);
  EXPECT_EQ(dib.Draw(&screen, 0, 0, 4, 4, 0, 0, 4, 4), 0);
}

TEST_F(Dib, FilesAndArchivesKeepTheImage) {
  std::string bytes = Bmp(3, 2, 8, 4, 0x02);
  SECDib dib;
  ASSERT_TRUE(ReadBmp(dib, bytes));
  EXPECT_EQ(dib.GetWidth(), 3);
  EXPECT_EQ(dib.GetRowBytes(), 4);
  EXPECT_EQ(dib.GetNumColors(), 4);
  EXPECT_EQ(dib.GetBits()[0], 0x02);
  EXPECT_EQ(dib.GetPalette()->GetEntryCount(), 4);

  CFile out;
  ASSERT_TRUE(out.Open("C:\\Dib\\out.bmp", CFile::modeCreate | CFile::modeWrite));
  ASSERT_TRUE(dib.Write(out));
  out.Close();
  EXPECT_EQ(ReadFile("C:\\Dib\\out.bmp"), bytes);  // the same layout, byte for byte

  CMemFile memory;
  {
    CArchive ar(&memory, CArchive::store);
    dib.Serialize(ar);
  }
  EXPECT_EQ(memory.GetLength(), bytes.size());
  memory.SeekToBegin();
  SECDib back;
  {
    CArchive ar(&memory, CArchive::load);
    back.Serialize(ar);
  }
  ASSERT_TRUE(back.IsValid());
  EXPECT_EQ(std::memcmp(back.GetBitmapInfo(), dib.GetBitmapInfo(), 40 + 16 + 8), 0);

  // A damaged image in an archive throws, as archives report damage.
  CMemFile damaged;
  damaged.Write("BM", 2);
  damaged.SeekToBegin();
  CArchive ar(&damaged, CArchive::load);
  bool threw = false;
  try {
    back.Serialize(ar);
  } catch (CArchiveException* e) {
    e->Delete();
    threw = true;
  }
  EXPECT_TRUE(threw);
  EXPECT_FALSE(back.IsValid());
}

TEST_F(Dib, ReadsTopDownFilesAndSkipsToTheRows) {
  std::string topDown = Bmp(2, -2, 24, 0, 0x7F);
  SECDib dib;
  ASSERT_TRUE(ReadBmp(dib, topDown));
  EXPECT_EQ(dib.GetHeight(), 2);
  EXPECT_EQ(dib.GetBitmapInfo()->bmiHeader.biHeight, -2);

  // Rows that start after a gap.
  std::string gap = Bmp(4, 1, 8, 2, 0x01);
  gap.insert(14 + 40 + 8, "gap!");
  Put(gap, 10, Dword(14 + 40 + 8 + 4));
  ASSERT_TRUE(ReadBmp(dib, gap));
  EXPECT_EQ(dib.GetBits()[0], 0x01);
}

TEST_F(Dib, DamagedFilesAreRefusedBeforeAnythingIsAllocated) {
  const std::string good = Bmp(4, 4, 8, 16);
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> cases = {
      {"empty", ""},
      {"not a BMP", "XX" + good.substr(2)},
      {"cut in the header", good.substr(0, 30)},
      {"cut in the rows", good.substr(0, good.size() - 1)},
  };
  auto with = [&](const char* what, size_t at, const std::string& value) {
    std::string bytes = good;
    Put(bytes, at, value);
    cases.push_back({what, bytes});
  };
  with("an info header too short", 14, Dword(12));
  with("an info header longer than the file", 14, Dword(0x7FFFFFF0));
  with("no width", 18, Dword(0));
  with("a negative width", 18, Dword(0xFFFFFFFF));
  with("no height", 22, Dword(0));
  with("two planes", 26, Word(2));
  with("three bits a pixel", 28, Word(3));
  with("run-length encoded", 30, Dword(1));
  with("more colours than the depth has", 46, Dword(257));
  with("rows beyond the file", 18, Dword(100000));
  with("a huge image", 18, Dword(0x7FFFFFFF));
  with("rows said to start inside the header", 10, Dword(20));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SECDib dib;
    plat::faults::Scope watch("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY, 1000000);  // counts, never fails
    EXPECT_FALSE(ReadBmp(dib, c.bytes));
    EXPECT_EQ(plat::faults::Hits("GlobalAlloc"), 0);
    EXPECT_FALSE(dib.IsValid());
  }
}

TEST_F(Dib, CopiesPadsAndFrees) {
  SECDib dib;
  ASSERT_TRUE(ReadBmp(dib, Bmp(3, 2, 8, 2, 0)));
  const BYTE tight[] = {1, 2, 3, 4, 5, 6};  // two rows of three bytes
  ASSERT_TRUE(dib.PadRows(tight, sizeof tight));
  const BYTE padded[] = {1, 2, 3, 0, 4, 5, 6, 0};
  EXPECT_EQ(std::memcmp(dib.GetBits(), padded, sizeof padded), 0);
  EXPECT_FALSE(dib.PadRows(tight, 5));  // too few bytes for the image

  SECDib copy;
  ASSERT_TRUE(copy.Copy(dib));
  EXPECT_EQ(copy.GetWidth(), 3);
  EXPECT_EQ(std::memcmp(copy.GetBits(), padded, sizeof padded), 0);
  EXPECT_NE(copy.GetBits(), dib.GetBits());
  ASSERT_NE(copy.GetPalette(), nullptr);
  EXPECT_EQ(copy.GetPalette()->GetEntryCount(), 2);

  dib.Free();
  EXPECT_FALSE(dib.IsValid());
  EXPECT_EQ(dib.GetPalette(), nullptr);
  EXPECT_FALSE(copy.Copy(dib));  // an empty image copies as empty
  EXPECT_FALSE(copy.IsValid());
}

}  // namespace
}  // namespace toolkit_test
