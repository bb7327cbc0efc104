// The thumbnail strip over folders of saved pictures: which slot shows which entry, the
// page buttons and the status pane, paging, ticks by click, range and menu, the picture
// a thumbnail stands for, the comment under it, a vanished thumbnail, and opening a
// picture by a double click.
#include <gtest/gtest.h>

#include <afxdisp.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FrameRig.h"
#include "binding/CLead.h"
#include "control/VexErrorControl.h"
#include "display/Png.h"
#include "pipeline/VexCommentField.h"
#include "ui/VexThumbnailView.h"
#include "user/Driver.h"

namespace {

namespace responder = plat::user::responder;

constexpr int kTitles[5] = {1138, 1137, 1136, 1135, 1134};
constexpr int kComments[5] = {1095, 1087, 1086, 1085, 1084};

class Strip : public FrameRig {
 protected:
  void SetUp() override {
    FrameRig::SetUp();
    // Screenshots show real letters; the tests alone use the quick block font.
    if (std::getenv("LUMORA_DISPLAY_SHOTS")) Set("FONT", "");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntilEnabled(frame));
    view = frame->ThumbnailView();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->AreControlsValid());
    writer = std::make_unique<CLead>();
    ASSERT_TRUE(writer->CreateControl("", WS_CHILD, CRect(0, 0, 8, 8), frame, 0x7001));
    Guard();
  }
  // A modal window nobody expects fails the test instead of waiting for ever.
  static void Guard() {
    for (int i = 0; i < 3; ++i)
      responder::Push([](const responder::Shown& shown) {
        ADD_FAILURE() << "unexpected window: " << shown.caption << " " << shown.text;
        if (!shown.messageBox && shown.hwnd) ::EndDialog(shown.hwnd, IDCANCEL);
        return IDCANCEL;
      });
  }
  void TearDown() override {
    if (writer && writer->GetSafeHwnd()) writer->DestroyWindow();
    writer.reset();
    FrameRig::TearDown();
  }

  // A JPEG of 32 x 24 with the given title (field 36), or with field 36 as raw bytes.
  void WriteJpeg(const CString& path, const char* title, const std::vector<BYTE>* raw = nullptr, COLORREF colour = 0) {
    ASSERT_EQ(writer->CreateImage(32, 24, 24), 0);
    if (colour) {
      // A coloured picture with a dark band, to tell the thumbnails apart.
      const HDC dc = reinterpret_cast<HDC>(static_cast<INT_PTR>(writer->GetImageDC()));
      ASSERT_NE(dc, nullptr);
      const RECT all{0, 0, 32, 24}, band{0, 8, 32, 16};
      const HBRUSH fill = ::CreateSolidBrush(colour), dark = ::CreateSolidBrush(RGB(40, 40, 60));
      ::FillRect(dc, &all, fill);
      ::FillRect(dc, &band, dark);
      ::DeleteObject(fill);
      ::DeleteObject(dark);
      writer->ReleaseImageDC();
    }
    const COleVariant empty;
    for (short id = 0; id < vexcomment::kFieldCount; ++id) writer->SetFileField(id, empty);
    if (title) writer->SetFileField(vexcomment::kTitleField, vexcomment::EncodeText(title));
    if (raw) {
      COleVariant bytes;
      SAFEARRAYBOUND bound{static_cast<ULONG>(raw->size()), 0};
      SAFEARRAY* array = SafeArrayCreate(VT_UI1, 1, &bound);
      void* at = nullptr;
      SafeArrayAccessData(array, &at);
      if (!raw->empty()) memcpy(at, raw->data(), raw->size());
      SafeArrayUnaccessData(array);
      VARIANT v;
      VariantInit(&v);
      v.vt = VT_ARRAY | VT_UI1;
      v.parray = array;
      *static_cast<VARIANT*>(&bytes) = v;
      writer->SetFileField(vexcomment::kTitleField, bytes);
    }
    ASSERT_EQ(writer->SaveFile(path, 98, 24, 2, 0), 0) << (LPCSTR)path;
  }
  static void SetTime(const CString& path, long long seconds) {
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << (LPCSTR)path;
    const unsigned long long ticks = (seconds + 11644473600ULL) * 10000000ULL;
    FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
  }
  // Picture i of `folder` (Img_000i.jpg) with its thumbnail; higher i are newer, so the
  // list (newest first) holds Img_000n first.
  void AddPicture(const CString& folder, int i, const char* comment = nullptr) {
    CString name;
    name.Format("Img_%04d", i);
    std::string text = comment ? comment : "[2004/01/01][Note " + std::to_string(i) + "]";
    const COLORREF colour = RGB(80 + 20 * (i % 8), 140 + 12 * (i % 5), 200 - 15 * (i % 6));
    WriteJpeg(folder + "\\" + name + ".jpg", nullptr, nullptr, colour);
    WriteJpeg(folder + "\\s\\" + name + "j.jpg", text.c_str(), nullptr, colour);
    SetTime(folder + "\\s\\" + name + "j.jpg", 1700000000LL + i);
  }
  CString MakeFolder(const char* name, int pictures) {
    const CString folder = CString("C:\\") + name;
    CreateDirectoryA(folder, nullptr);
    CreateDirectoryA(folder + "\\s", nullptr);
    for (int i = 1; i <= pictures; ++i) AddPicture(folder, i);
    return folder;
  }
  // The strip shows `folder`, as after the save folder was prepared.
  void Show(const CString& folder) {
    doc->SetThumbnailFolder(folder + "\\s");
    view->OnSettingsChanged(0x20000);
  }
  std::string Item(int id) const {
    char text[256] = {};
    ::GetDlgItemTextA(view->m_hWnd, id, text, sizeof text);
    return text;
  }
  std::string Status() const { return std::string(frame->StatusBar().GetPaneText(1)); }
  std::string Title(int slot) const { return Item(kTitles[slot]); }
  bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(view->m_hWnd, id)) != 0; }
  std::string Buttons() const {
    std::string s;
    for (int id : {1117, 1118, 1119, 1120}) s += Enabled(id) ? '1' : '0';
    return s;
  }
  // The thumbnail's frame colour (red on a ticked one).
  LONG Colour(int slot) const {
    LONG colour = 0;
    view->GetThumbnailControl(slot)->GetProperty(224, VT_I4, &colour);
    return colour;
  }
  bool Highlighted(int slot) const { return Colour(slot) == 0x0000FF; }
  LONG Picture(int slot) const { return view->GetThumbnailControl(slot)->GetBitmap(); }
  void Click(int slot, short shift = 0, short button = 1) {
    view->OnMouseDownThumbnail(static_cast<UINT>(1424 + slot), button, shift, 10, 10);
  }

  CVexThumbnailView* view = nullptr;
  std::unique_ptr<CLead> writer;
};

}  // namespace

namespace {

TEST_F(Strip, ShowsOnePageWithItsButtonsAndCounts) {
  const struct {
    const char* folder;
    int pictures;
    const char* status;
    const char* buttons;  // 1117 1118 1119 1120
    const char* titles[5];  // slot 0 (right) to slot 4 (left); "" blank
  } cases[] = {
      {"Empty", 0, "  0     /   0  Check:  0", "0000", {"", "", "", "", ""}},
      {"Three", 3, "  1-  3 /   3  Check:  0", "0000", {"", "", "Img_0003", "Img_0002", "Img_0001"}},
      {"Seven", 7, "  3-  7 /   7  Check:  0", "1100", {"Img_0007", "Img_0006", "Img_0005", "Img_0004", "Img_0003"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    Show(MakeFolder(c.folder, c.pictures));
    EXPECT_EQ(Status(), c.status);
    EXPECT_EQ(Buttons(), c.buttons);
    for (int slot = 0; slot < 5; ++slot) {
      EXPECT_EQ(Title(slot), c.titles[slot]) << slot;
      const std::string title = c.titles[slot];
      if (title.empty()) {
        EXPECT_EQ(Picture(slot), 0) << "a blank slot shows nothing: " << slot;
        EXPECT_EQ(Item(kComments[slot]), "");
      } else {
        EXPECT_NE(Picture(slot), 0) << slot;
        EXPECT_EQ(Item(kComments[slot]), "Note " + title.substr(7)) << slot;
      }
      EXPECT_FALSE(Highlighted(slot));
    }
  }
}

TEST_F(Strip, PagesByButtonsAndJumps) {
  Show(MakeFolder("Paged", 7));
  const struct {
    UINT command;
    int top;
    const char* right;  // the title of slot 0
    const char* buttons;
    const char* status;
  } steps[] = {
      {1117, 2, "Img_0005", "0011", "  1-  5 /   7  Check:  0"},  // a page on: the last full page
      {1120, 1, "Img_0006", "1111", "  2-  6 /   7  Check:  0"},  // one back
      {1119, 0, "Img_0007", "1100", "  3-  7 /   7  Check:  0"},  // a page back
      {1118, 1, "Img_0006", "1111", "  2-  6 /   7  Check:  0"},  // one on
      {32814, 2, "Img_0005", "0011", "  1-  5 /   7  Check:  0"},  // Jump to TOP
      {32815, 0, "Img_0007", "1100", "  3-  7 /   7  Check:  0"},  // Jump to END
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.command);
    if (CWnd* button = view->GetDlgItem(static_cast<int>(s.command))) {
      // The page buttons are clicked where they show on the screen.
      CRect r;
      button->GetWindowRect(&r);
      const POINT centre = r.CenterPoint();
      // Clicked once nothing else lies over it (a window of a start that a busy machine drags out).
      ASSERT_TRUE(PumpUntil([&] { return ::WindowFromPoint(centre) == button->m_hWnd; }));
      plat::user::driver::Click(centre.x, centre.y);
      plat::user::driver::WaitIdle();
    } else {
      view->SendMessage(WM_COMMAND, s.command);  // the jumps come from the strip's menu
    }
    EXPECT_EQ(view->GetTop(), s.top);
    EXPECT_EQ(Title(0), s.right);
    EXPECT_EQ(Buttons(), s.buttons);
    EXPECT_EQ(Status(), s.status);
    EXPECT_TRUE(frame->IsWindowEnabled());
  }
}

TEST_F(Strip, ClicksTickAndAShiftClickTicksTheRangeBeyondThePage) {
  Show(MakeFolder("Ticks", 7));
  Click(0);  // entry 0, the anchor
  EXPECT_TRUE(Highlighted(0));
  EXPECT_EQ(view->GetAnchor(), 0);
  EXPECT_EQ(Status(), "  3-  7 /   7  Check:  1");
  view->SendMessage(WM_COMMAND, 1117);  // entries 2..6 on the page now
  ASSERT_EQ(view->GetTop(), 2);
  EXPECT_FALSE(Highlighted(0)) << "entry 0 is off the page";
  Click(4, 1);  // entry 6 with Shift: 0..6
  for (int i = 0; i < 7; ++i) EXPECT_EQ(doc->GetListSelected(i, 1), 1) << i;
  for (int slot = 0; slot < 5; ++slot) EXPECT_TRUE(Highlighted(slot)) << slot;
  EXPECT_EQ(Status(), "  1-  5 /   7  Check:  7");
  Click(4);  // a second plain click unticks; the anchor stays
  EXPECT_FALSE(Highlighted(4));
  EXPECT_EQ(doc->GetListSelected(6, 1), 0);
  EXPECT_EQ(view->GetAnchor(), 0);
  EXPECT_EQ(Status(), "  1-  5 /   7  Check:  6");
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(Strip, SelectAllAndUnselectAllReachEveryEntry) {
  Show(MakeFolder("All", 7));
  view->SendMessage(WM_COMMAND, 32812);
  EXPECT_EQ(Status(), "  3-  7 /   7  Check:  7");
  for (int slot = 0; slot < 5; ++slot) EXPECT_TRUE(Highlighted(slot)) << slot;
  view->SendMessage(WM_COMMAND, 32813);
  EXPECT_EQ(Status(), "  3-  7 /   7  Check:  0");
  for (int slot = 0; slot < 5; ++slot) EXPECT_FALSE(Highlighted(slot)) << slot;
}

TEST_F(Strip, ClicksOnBlankSlotsDoNothing) {
  Show(MakeFolder("Blank", 3));
  Click(0);
  Click(1, 1);
  EXPECT_EQ(doc->CountSelectedImages(), 0);
  Click(0, 0, 2);
  EXPECT_EQ(std::string(doc->GetLoadPath()), "") << "the context menu of a blank slot has no picture";
  Click(2, 0, 2);
  EXPECT_EQ(std::string(doc->GetLoadPath()), "C:\\Blank\\Img_0003.jpg");
  EXPECT_EQ(doc->CountSelectedImages(), 0) << "a right click ticks nothing";
}

TEST_F(Strip, APictureIsFoundByTheThumbnailsLetter) {
  CreateDirectoryA("C:\\Names", nullptr);
  CreateDirectoryA("C:\\Names\\s", nullptr);
  for (const char* f : {"C:\\Names\\Img_0001.jpeg", "C:\\Names\\Img_0002.jpg", "C:\\Names\\Img_0002.jpeg",
                        "C:\\Names\\Img_0003.bmp", "C:\\Names\\Img_0004.tiff", "C:\\Names\\Img_0005.tif"})
    WriteJpeg(f, nullptr);
  const struct {
    const char* thumbnail;
    const char* full;
    const char* name;
  } cases[] = {
      {"C:\\Names\\s\\Img_0001j.jpg", "C:\\Names\\Img_0001.jpeg", "Img_0001"},  // only .jpeg exists
      {"C:\\Names\\s\\Img_0002J.jpg", "C:\\Names\\Img_0002.jpg", "Img_0002"},   // .jpg first
      {"C:\\Names\\s\\Img_0003b.jpg", "C:\\Names\\Img_0003.bmp", "Img_0003"},
      {"C:\\Names\\s\\Img_0004t.jpg", "C:\\Names\\Img_0004.tiff", "Img_0004"},
      {"C:\\Names\\s\\Img_0005T.jpg", "C:\\Names\\Img_0005.tif", "Img_0005"},
      {"C:\\Names\\s\\Img_0001x.jpg", "", ""},  // no such letter
      {"C:\\Names\\s\\Img_0009j.jpg", "", ""},  // no picture
      {"C:\\Names\\s\\j.jpg", "", ""},          // a letter alone
      {"j.jpg", "", ""},                        // no folder to cut
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.thumbnail);
    EXPECT_EQ(std::string(CVexThumbnailView::ResolveImagePath(c.thumbnail, TRUE)), c.full);
    EXPECT_EQ(std::string(CVexThumbnailView::ResolveImagePath(c.thumbnail, FALSE)), c.name);
  }
}

TEST(StripTexts, TheCommentsSecondGroupAndATitleCutOnWholeCharacters) {
  const struct {
    const char* comment;
    const char* label;
  } comments[] = {
      {"[2004/01/01][Sample]", "Sample"},
      {"[2004/01/01][Sample][more]", "Sample"},
      {"[only one group]", ""},
      {"[a][never closed", ""},
      {"no brackets", ""},
      {"", ""},
  };
  for (const auto& c : comments) EXPECT_EQ(std::string(CVexThumbnailView::ExtractBracketed(c.comment)), c.label) << c.comment;
  const struct {
    const char* name;
    const char* shown;
  } titles[] = {
      {"Img_0001", "Img_0001"},
      {"abcdefghijklmno", "abcdefghijklmno"},    // 15 bytes: whole
      {"xabcdefghijklmno", "abcdefghijklmno"},   // 16: the last 15
      {"\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8A\x78",  // five kana and x: 16 bytes
       "\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8A\x78"},             // never half a kana
      {"a\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8A",     // a and five kana
       "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8A"},
  };
  for (const auto& t : titles) EXPECT_EQ(std::string(CVexThumbnailView::CutTitle(t.name)), t.shown) << t.name;
}

TEST_F(Strip, ADamagedCommentLeavesTheLabelEmpty) {
  const CString folder = MakeFolder("Damaged", 0);
  const std::vector<BYTE> raws[] = {
      {'A', 'S', 'C'},                                   // shorter than its header
      {'B', 'S', 'C', 'I', 'I', 0, 0, 0, '[', 'x', ']'},  // another character code
      {},                                                // nothing at all
  };
  for (int i = 0; i < 3; ++i) {
    CString name;
    name.Format("Img_%04d", i + 1);
    WriteJpeg(folder + "\\" + name + ".jpg", nullptr);
    WriteJpeg(folder + "\\s\\" + name + "j.jpg", nullptr, &raws[i]);
    SetTime(folder + "\\s\\" + name + "j.jpg", 1700000000LL + i);
  }
  Show(folder);
  EXPECT_EQ(Status(), "  1-  3 /   3  Check:  0");
  for (int slot = 2; slot < 5; ++slot) {
    EXPECT_EQ(Item(kComments[slot]), "") << slot;
    EXPECT_NE(Title(slot), "") << slot;
  }
}

TEST_F(Strip, AVanishedThumbnailRebuildsTheListOnce) {
  const CString folder = MakeFolder("Vanished", 7);
  Show(folder);
  ASSERT_TRUE(DeleteFileA(folder + "\\s\\Img_0004j.jpg"));
  view->SendMessage(WM_COMMAND, 1117);
  EXPECT_EQ(view->GetCount(), 6);
  EXPECT_EQ(Status(), "  2-  6 /   6  Check:  0");
  for (int slot = 0; slot < 5; ++slot) EXPECT_NE(Title(slot), "Img_0004") << slot;
  EXPECT_TRUE(frame->IsWindowEnabled());
}

class RedisplayRecorder : public CMainFrame::Observer {
 public:
  void OnRedisplay() override { ++redisplays; }
  int redisplays = 0;
};

TEST_F(Strip, ADoubleClickOpensThePictureAndABlankSlotNothing) {
  Show(MakeFolder("Open", 3));
  RedisplayRecorder seen;
  frame->SetObserver(&seen);
  view->OnDblClickThumbnail(1424);  // blank
  EXPECT_EQ(seen.redisplays, 0);
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_FALSE(frame->IsBusy());
  const int live = frame->IsLiveRunning();
  view->OnDblClickThumbnail(1426);  // entry 0: Img_0003
  EXPECT_EQ(seen.redisplays, 1);
  EXPECT_EQ(doc->GetImageState(), 3);
  EXPECT_EQ(std::string(doc->GetLoadPath()), "C:\\Open\\Img_0003.jpg");
  CString title;
  frame->GetWindowText(title);
  EXPECT_NE(std::string(title).find("Img_0003.jpg"), std::string::npos) << "the title names it";
  EXPECT_TRUE(Highlighted(2)) << "a double click ticks as a click does";
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_FALSE(frame->IsBusy());
  EXPECT_EQ(frame->IsLiveRunning(), live);
  // The picture has gone since the list was made: nothing is opened.
  ASSERT_TRUE(DeleteFileA("C:\\Open\\Img_0002.jpg"));
  view->OnDblClickThumbnail(1427);
  EXPECT_EQ(seen.redisplays, 1);
  frame->SetObserver(nullptr);
}

TEST_F(Strip, PropertyShowsTheFileInformationOfThePictureRightClicked) {
  Show(MakeFolder("Info", 3));
  Click(2, 0, 2);
  std::string path, size, date;
  responder::Reset();
  responder::Push([&](const responder::Shown& shown) {
    char text[256] = {};
    ::GetDlgItemTextA(shown.hwnd, 1160, text, sizeof text);
    path = text;
    ::GetDlgItemTextA(shown.hwnd, 1161, text, sizeof text);
    size = text;
    ::GetDlgItemTextA(shown.hwnd, 1163, text, sizeof text);
    date = text;
    ::SendMessageA(shown.hwnd, WM_COMMAND, IDOK, 0);
    return 0;
  });
  Guard();
  view->SendMessage(WM_COMMAND, 32821);
  EXPECT_EQ(path, "C:\\Info\\Img_0003.jpg");
  EXPECT_NE(size.find(" KB"), std::string::npos) << size;
  EXPECT_NE(date.find(", "), std::string::npos) << date;
  // Nothing right-clicked: nothing opens.
  doc->SetLoadPath("");
  view->SendMessage(WM_COMMAND, 32821);
}

TEST_F(Strip, Screenshot) {
  const CString folder = MakeFolder("Shot", 7);
  Show(folder);
  Click(1);
  Click(3);
  view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  RECT r;
  view->GetWindowRect(&r);
  EXPECT_EQ(r.right - r.left, 640);
  const char* shots = std::getenv("LUMORA_DISPLAY_SHOTS");
  if (shots && *shots) { EXPECT_TRUE(plat::display::SavePng(std::string(shots) + "/thumbnail-strip.png", &r)); }
}

}  // namespace
