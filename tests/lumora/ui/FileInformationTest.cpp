// The file information box and its path static: the size in KB or MB, the creation date,
// a path shortened in its middle on screen but kept whole, and a new path drawn at once.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Config.h"
#include "display/Png.h"
#include "display/Screen.h"
#include "ui/StaticFilespec.h"
#include "ui/VexFileInfoDialog.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

void WriteBytes(const char* path, size_t size) {
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  std::vector<char> bytes(size, 'x');
  DWORD written = 0;
  if (size) WriteFile(h, bytes.data(), static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(h);
}

struct Shown {
  std::string path, size, date, caption;
};

// Runs the box for `path` and reads what it shows.
Shown RunBox(const char* path, const char* shot = nullptr) {
  Shown seen;
  responder::Reset();
  responder::Push([&](const responder::Shown& box) {
    char text[512] = {};
    ::GetDlgItemTextA(box.hwnd, 1160, text, sizeof text);
    seen.path = text;
    ::GetDlgItemTextA(box.hwnd, 1161, text, sizeof text);
    seen.size = text;
    ::GetDlgItemTextA(box.hwnd, 1163, text, sizeof text);
    seen.date = text;
    ::GetWindowTextA(box.hwnd, text, sizeof text);
    seen.caption = text;
    if (shot) {
      ::RedrawWindow(box.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      RECT r;
      ::GetWindowRect(box.hwnd, &r);
      plat::display::SavePng(shot, &r);
    }
    ::SendMessageA(box.hwnd, WM_COMMAND, IDOK, 0);
    return 0;
  });
  CVexFileInfoDialog dlg(nullptr);
  dlg.SetPath(path);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  responder::Reset();
  return seen;
}

TEST(FileInformation, ShowsTheSizeInKilobytesBelowOneMegabyte) {
  CreateDirectoryA("C:\\Info", nullptr);
  const struct {
    const char* path;
    size_t size;
    const char* shown;
  } cases[] = {
      {"C:\\Info\\empty.jpg", 0, "0.00 KB"},
      {"C:\\Info\\small.jpg", 1536, "1.50 KB"},
      {"C:\\Info\\under.jpg", 1048575, "1024.00 KB"},
      {"C:\\Info\\mega.jpg", 1048576, "1.00 MB"},
  };
  for (const auto& c : cases) {
    WriteBytes(c.path, c.size);
    const Shown seen = RunBox(c.path);
    EXPECT_EQ(seen.size, c.shown) << c.path;
    EXPECT_EQ(seen.path, c.path) << "the window keeps the whole path";
    EXPECT_EQ(seen.caption, "File Information");
    EXPECT_EQ(std::string(CVexFileInfoDialog::FormatSize(static_cast<unsigned long>(c.size))), c.shown);
  }
}

TEST(FileInformation, ShowsTheCreationDateAsTheDayItWasMade) {
  CreateDirectoryA("C:\\Info", nullptr);
  WriteBytes("C:\\Info\\dated.jpg", 10);
  const Shown seen = RunBox("C:\\Info\\dated.jpg");
  const CString today = CTime::GetCurrentTime().Format("%A, %B %d, %Y");
  EXPECT_EQ(seen.date, std::string(today));
}

TEST(FileInformation, AFileThatIsGoneShowsNeitherSizeNorDate) {
  const Shown seen = RunBox("C:\\Info\\never-there.jpg");
  EXPECT_EQ(seen.size, "");
  EXPECT_EQ(seen.date, "");
  EXPECT_EQ(seen.path, "C:\\Info\\never-there.jpg");
}

TEST(FileInformation, Screenshot) {
  const char* shots = std::getenv("LUMORA_DISPLAY_SHOTS");
  if (!shots || !*shots) GTEST_SKIP() << "screenshots are written when LUMORA_DISPLAY_SHOTS names a folder";
  CreateDirectoryA("C:\\Pictures of the long summer expedition", nullptr);
  CreateDirectoryA("C:\\Pictures of the long summer expedition\\Microscope session", nullptr);
  const char* path = "C:\\Pictures of the long summer expedition\\Microscope session\\Img_0001.jpg";
  WriteBytes(path, 31130);
  plat::config::Set("FONT", "");  // real letters on the picture
  RunBox(path, (std::string(shots) + "/file-information.png").c_str());
  plat::config::Set("FONT", std::nullopt);
}

// Static windows of one size side by side on a parent, for comparing what they draw.
class PathStatic : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                                nullptr));
  }
  void TearDown() override { parent.DestroyWindow(); }
  void Make(CStaticFilespec& s, const char* text, int y, UINT id) {
    ASSERT_TRUE(s.Create("STATIC", text, WS_CHILD | WS_VISIBLE, CRect(10, y, 190, y + 20), &parent, id));
  }
  static std::vector<plat::display::Pixel> Pixels(CWnd& w) {
    w.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r;
    w.GetWindowRect(&r);
    RECT out;
    return plat::display::Screen::Get().Copy(r, &out);
  }
  // What DrawTextEx makes of `text` in the static's width with `format`.
  static std::string Shortened(CWnd& w, const char* text, UINT format) {
    CClientDC dc(&w);
    CRect rc;
    w.GetClientRect(&rc);
    std::string work(text);
    work.resize(work.size() + 8, '\0');
    ::DrawTextExA(dc.m_hDC, work.data(), -1, &rc, format | DT_MODIFYSTRING | DT_CALCRECT, nullptr);
    return std::string(work.c_str());
  }
  CWnd parent;
};

TEST_F(PathStatic, ALongPathIsDrawnWithItsMiddleLeftOut) {
  const char* path = "C:\\Pictures\\Expedition of the long summer\\Session four\\Img_0001.jpg";
  CStaticFilespec middle(DT_NOPREFIX | DT_VCENTER, FALSE), end(DT_NOPREFIX | DT_VCENTER, FALSE), plain;
  middle.SetPathEllipsis(TRUE);
  Make(middle, path, 10, 1001);
  Make(end, path, 40, 1002);
  const std::string cut = Shortened(middle, path, DT_NOPREFIX | DT_VCENTER | DT_PATH_ELLIPSIS);
  ASSERT_NE(cut, path);
  EXPECT_EQ(cut.rfind("\\Img_0001.jpg"), cut.size() - 13) << cut;
  EXPECT_EQ(cut.compare(0, 3, "C:\\"), 0) << cut;
  EXPECT_NE(cut.find("..."), std::string::npos) << cut;
  Make(plain, cut.c_str(), 70, 1003);
  EXPECT_EQ(Pixels(middle), Pixels(plain)) << "the path is drawn as its shortened form";
  EXPECT_NE(Pixels(middle), Pixels(end)) << "the end ellipsis cuts elsewhere";
  CString kept;
  middle.GetWindowText(kept);
  EXPECT_EQ(std::string(kept), path) << "only the drawing is shortened";
}

TEST_F(PathStatic, ANewTextIsDrawnAtOnceOnTheButtonFace) {
  CStaticFilespec s(DT_NOPREFIX | DT_VCENTER, TRUE);
  Make(s, "C:\\a.jpg", 10, 1001);
  s.UpdateWindow();
  EXPECT_FALSE(::GetUpdateRect(s.m_hWnd, nullptr, FALSE));
  s.SetWindowText("C:\\b.jpg");
  EXPECT_TRUE(::GetUpdateRect(s.m_hWnd, nullptr, FALSE)) << "the new text invalidates the window";
  const auto pixels = Pixels(s);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  size_t faceCount = 0;
  // Pixels are BGRX: blue in the low byte.
  const plat::display::Pixel want = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  for (const auto p : pixels)
    if ((p & 0xFFFFFF) == want) ++faceCount;
  EXPECT_GT(faceCount, pixels.size() / 2) << "the background is the button face";
}

}  // namespace
