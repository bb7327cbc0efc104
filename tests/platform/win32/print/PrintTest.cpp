#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "DrivePath.h"
#include "Faults.h"
#include "PdfPages.h"
#include "TestEnv.h"
#include "print/PrinterTarget.h"
#include "windows.h"

namespace {

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
  HBRUSH brush = CreateSolidBrush(c);
  RECT rc{l, t, r, b};
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

TEST(Printing, PrinterDcsAnswerThePagesGeometry) {
  HDC dc = CreateDCA("WINSPOOL", "Lumora PDF", nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  struct Case {
    int index, value;
  } cases[] = {{TECHNOLOGY, DT_RASPRINTER}, {LOGPIXELSX, 300}, {LOGPIXELSY, 300}, {PHYSICALWIDTH, 2480},
               {PHYSICALHEIGHT, 3508},      {PHYSICALOFFSETX, 50}, {HORZRES, 2380}, {VERTRES, 3408}};
  for (auto& c : cases) EXPECT_EQ(GetDeviceCaps(dc, c.index), c.value) << c.index;
  DeleteDC(dc);
  SetLastError(0);
  EXPECT_EQ(CreateDCA("WINSPOOL", "No Such Printer", nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
}

TEST(Printing, AJobBecomesAPdfWithItsPagesAndPictures) {
  HDC dc = CreateDCA(nullptr, "", nullptr, nullptr);  // the default printer
  ASSERT_NE(dc, nullptr);
  DOCINFOA info{sizeof info, "顕微鏡 写真/1", nullptr, nullptr, 0};
  ASSERT_GT(StartDocA(dc, &info), 0);
  ASSERT_GT(StartPage(dc), 0);
  Fill(dc, 0, 0, 600, 600, RGB(0, 0, 0));  // top left of the printable area
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(StartPage(dc), 0);
  Fill(dc, 1700, 2800, 2380, 3408, RGB(255, 0, 0));  // bottom right
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(EndDoc(dc), 0);
  DeleteDC(dc);
  std::string pdf = plat::print::LastOutput();
  ASSERT_TRUE(std::filesystem::exists(pdf)) << pdf;
  EXPECT_NE(pdf.find("顕微鏡 写真_1.pdf"), std::string::npos);  // the title names the file, made safe
  if (!printing::HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
  EXPECT_EQ(printing::PdfPageCount(pdf), 2);
  // Page 1 at 30 dots per inch: 248 x 351 pixels, the margin 5 pixels wide.
  const printing::PagePicture page = printing::RenderPdfPage(pdf, 1, 30);
  ASSERT_FALSE(page.rgb.empty());
  EXPECT_EQ(page.width, 248);
  EXPECT_EQ(page.height, 351);
  // The renderer's scaling may move a level by a step or two.
  auto near = [&](int x, int y, int r, int g, int b) {
    const unsigned char* p = &page.rgb[(static_cast<size_t>(y) * page.width + x) * 3];
    return std::abs(p[0] - r) <= 3 && std::abs(p[1] - g) <= 3 && std::abs(p[2] - b) <= 3;
  };
  EXPECT_TRUE(near(20, 20, 0, 0, 0));         // inside the black square
  EXPECT_TRUE(near(2, 2, 255, 255, 255));     // the margin stays white
  EXPECT_TRUE(near(200, 300, 255, 255, 255));  // page 1 has no red
}

int CALLBACK StopAtOnce(HDC, int) { return FALSE; }

TEST(Printing, AbortedJobsWriteNothing) {
  namespace fs = std::filesystem;
  auto countPdfs = [] {
    int n = 0;
    for (auto& e : fs::directory_iterator(plat::print::PdfFolder())) n += e.path().extension() == ".pdf";
    return n;
  };
  int before = countPdfs();
  HDC dc = CreateDCA(nullptr, "Lumora PDF", nullptr, nullptr);
  DOCINFOA info{sizeof info, "aborted", nullptr, nullptr, 0};
  ASSERT_GT(StartDocA(dc, &info), 0);
  StartPage(dc);
  EXPECT_GT(AbortDoc(dc), 0);
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  ASSERT_GT(StartDocA(dc, &info), 0);
  SetAbortProc(dc, StopAtOnce);
  StartPage(dc);
  EXPECT_EQ(EndPage(dc), SP_APPABORT);
  SetAbortProc(dc, nullptr);
  {
    plat::faults::Scope full("EndPage", ERROR_DISK_FULL);
    ASSERT_GT(StartDocA(dc, &info), 0);
    StartPage(dc);
    EXPECT_EQ(EndPage(dc), SP_OUTOFDISK);
  }
  DeleteDC(dc);
  EXPECT_EQ(countPdfs(), before);
}

TEST(Printing, OutputCanBeNamedAsAWindowsPath) {
  CreateDirectoryA("C:\\Out", nullptr);
  HDC dc = CreateDCA(nullptr, "Lumora PDF", nullptr, nullptr);
  DOCINFOA info{sizeof info, "named", "C:\\Out\\Sheet.pdf", nullptr, 0};
  ASSERT_GT(StartDocA(dc, &info), 0);
  StartPage(dc);
  EndPage(dc);
  ASSERT_GT(EndDoc(dc), 0);
  DeleteDC(dc);
  auto native = plat::path::ToNative("C:\\Out\\Sheet.pdf");
  ASSERT_TRUE(native);
  std::ifstream f(*native, std::ios::binary);
  std::string head(8, '\0');
  f.read(head.data(), 8);
  EXPECT_EQ(head.substr(0, 5), "%PDF-");
}

}  // namespace
