// The folder list: scanning, sorting, pages, the selection walk, drop marks and the
// thumbnail name rules.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "control/VexDoc.h"
#include "control/VexPathlistControl.h"

namespace {

// A file with the given last-write time (seconds since 1970).
void Touch(const CString& path, long long seconds = 1700000000) {
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << (LPCSTR)path;
  const unsigned long long ticks = (seconds + 11644473600ULL) * 10000000ULL;
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
}

class VexPathlistControl : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\Pics", nullptr);
    CreateDirectoryA("C:\\Pics\\s", nullptr);
    list.SetFolder("C:\\Pics\\s\\");
  }
  // A picture and its thumbnail, both written at `seconds`.
  static void AddPicture(const CString& name, long long seconds = 1700000000, const CString& folder = "C:\\Pics") {
    Touch(folder + "\\" + name, seconds);
    Touch(folder + "\\s\\" + CVexPathlistControl::ThumbnailNameOf(name), seconds);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i) names.emplace_back((LPCSTR)list.GetName(i));
    return names;
  }
  CVexPathlistControl list;
};

TEST_F(VexPathlistControl, EmptyFolderOrOrphanThumbnailsListNothing) {
  EXPECT_EQ(list.Scan(), -1);
  EXPECT_EQ(list.GetCount(), -1);
  EXPECT_EQ(list.GetFirstIndex(), -1);
  Touch("C:\\Pics\\s\\Ghostj.jpg");  // its picture is gone
  EXPECT_EQ(list.Scan(), -1);
  EXPECT_EQ(list.Refresh(), -1);
  EXPECT_EQ(list.GetFirstIndex(), -1);
  EXPECT_EQ(list.NextPage(), -1);
  EXPECT_STREQ(list.GetFolder(), "C:\\Pics\\s");
}

TEST_F(VexPathlistControl, ScanListsNewestFirstAndEqualTimesTheSameWayEachTime) {
  AddPicture("A.jpg", 1000);
  AddPicture("B.bmp", 1000);
  AddPicture("C.tif", 2000);
  EXPECT_EQ(list.Scan(), 3);
  // Found as A, B, C; the exchange that brings C forward carries A past B.
  EXPECT_EQ(Names(), (std::vector<std::string>{"Ct.jpg", "Bb.jpg", "Aj.jpg"}));
  EXPECT_EQ(list.GetFirstIndex(), 0);
  EXPECT_STREQ(list.GetTimeText(0), CTime(2000).Format("%H時%M分%S秒"));
  EXPECT_STREQ(list.GetTimeText(3), "");
  EXPECT_EQ(list.Scan(), 3);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Ct.jpg", "Bb.jpg", "Aj.jpg"}));
}

TEST_F(VexPathlistControl, PagesNeverComeOutShort) {
  const struct {
    int count, pageSize;
    const char* moves;  // N next page, P previous page, n next line, p previous line, F first, L last
    std::vector<int> firsts;
  } cases[] = {
      {7, 5, "NNPnpL", {2, 2, 0, 1, 0, 2}},
      {12, 5, "NNNPPP", {5, 7, 7, 2, 0, 0}},
      {12, 5, "nnnnnnnnp", {1, 2, 3, 4, 5, 6, 7, 7, 6}},
      {12, 8, "NPLF", {4, 0, 4, 0}},
      {3, 5, "NLnF", {0, 0, 0, 0}},
      {20, 8, "NNNP", {8, 12, 12, 4}},
  };
  for (const auto& c : cases) {
    CString folder;
    folder.Format("C:\\Pages%d_%d", c.count, c.pageSize);
    CreateDirectoryA(folder, nullptr);
    CreateDirectoryA(folder + "\\s", nullptr);
    for (int i = 0; i < c.count; ++i) {
      CString name;
      name.Format("P%02d.jpg", i);
      AddPicture(name, 1000 + i, folder);
    }
    CVexPathlistControl pages;
    pages.SetFolder(folder + "\\s");
    ASSERT_EQ(pages.Scan(), c.count);
    ASSERT_EQ(pages.SetPageSize(c.pageSize), 0);
    for (size_t m = 0; c.moves[m]; ++m) {
      int first = -2;
      switch (c.moves[m]) {
        case 'N': first = pages.NextPage(); break;
        case 'P': first = pages.PrevPage(); break;
        case 'n': first = pages.NextLine(); break;
        case 'p': first = pages.PrevLine(); break;
        case 'F': first = pages.FirstPage(); break;
        case 'L': first = pages.LastPage(); break;
      }
      EXPECT_EQ(first, c.firsts[m]) << c.count << "/" << c.pageSize << " move " << m;
    }
    // The page in force is marked and fills the slots; slots past the list stay empty.
    ASSERT_EQ(pages.FillPageSlots(), 0);
    const int f = pages.GetFirstIndex();
    for (int s = 0; s < 8; ++s) {
      const int expected = s < c.pageSize && f + s < c.count ? f + s : -1;
      EXPECT_EQ(pages.GetPageSlot(s), expected) << c.count << "/" << c.pageSize << " slot " << s;
      if (expected >= 0) {
        EXPECT_EQ(pages.IsOnPage(expected), 1);
      }
    }
  }
  EXPECT_EQ(list.SetPageSize(6), -1);
  EXPECT_EQ(list.GetPageSize(), 5);
}

TEST_F(VexPathlistControl, GrowsBeforeTheLastSpareElementIsUsed) {
  for (int i = 0; i < 99; ++i) {
    CString name;
    name.Format("G%03d.jpg", i);
    AddPicture(name, 1000 + i);
  }
  EXPECT_EQ(list.Scan(), 99);
  EXPECT_EQ(list.GetCapacity(), 100);
  AddPicture("G099.jpg", 5000);
  EXPECT_EQ(list.Scan(), 100);
  EXPECT_EQ(list.GetCapacity(), 150);
  EXPECT_STREQ(list.GetName(0), "G099j.jpg");
  EXPECT_STREQ(list.GetName(99), "G000j.jpg");
  EXPECT_EQ(list.LastPage(), 95);
}

TEST_F(VexPathlistControl, ThumbnailNamesLeadBackToTheirPictures) {
  const struct {
    const char* picture;
    const char* thumbnail;
  } cases[] = {
      {"C:\\Pics\\a1.jpg", "a1j.jpg"}, {"C:\\Pics\\a2.JPEG", "a2j.jpg"}, {"C:\\Pics\\a3.bmp", "a3b.jpg"},
      {"C:\\Pics\\a4.TIF", "a4t.jpg"}, {"C:\\Pics\\a5.tiff", "a5t.jpg"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(CVexPathlistControl::ThumbnailNameOf(c.picture), c.thumbnail);
    Touch(c.picture);
    const CString back = CVexPathlistControl::PictureOfThumbnail(CString("C:\\Pics\\s\\") + c.thumbnail);
    EXPECT_EQ(back.CompareNoCase(c.picture), 0) << c.picture << " came back as " << (LPCSTR)back;
  }
  EXPECT_STREQ(CVexPathlistControl::ThumbnailNameOf("x.png"), "x.jpg");
  const struct {
    const char* thumbnail;
    const char* picture;
  } reverse[] = {
      {"C:\\Pics\\s\\a1J.jpg", "C:\\Pics\\a1.jpg"},   // either case of the letter
      {"C:\\Pics\\s\\a2j.jpg", "C:\\Pics\\a2.jpeg"},  // .jpg first, then .jpeg
      {"C:\\Pics\\s\\a4T.jpg", "C:\\Pics\\a4.tif"},
      {"C:\\Pics\\s\\a9j.jpg", ""},                   // no picture
      {"C:\\Pics\\s\\a1x.jpg", ""},                   // no format letter
      {"a1j.jpg", ""},                                // no folder to step out of
  };
  for (const auto& r : reverse) {
    const CString back = CVexPathlistControl::PictureOfThumbnail(r.thumbnail);
    EXPECT_EQ(back.CompareNoCase(r.picture), 0) << r.thumbnail << " gave " << (LPCSTR)back;
  }
}

TEST_F(VexPathlistControl, SelectionIsWalkedFromTheLastEntry) {
  for (int i = 0; i < 5; ++i) {
    CString name;
    name.Format("W%d.jpg", i);
    AddPicture(name, 1000 - i);  // W0 newest: entry i is W<i>
  }
  ASSERT_EQ(list.Scan(), 5);
  EXPECT_EQ(list.SetSelected(1, 0, 1), 0);
  EXPECT_EQ(list.SetSelected(1, 2, 0), 0);  // slot 2 of the page
  EXPECT_EQ(list.SetSelected(1, 3, 1), 0);
  EXPECT_EQ(list.SetSelected(1, 5, 1), -1);
  EXPECT_EQ(list.SetSelected(1, 5, 0), -1);
  EXPECT_EQ(list.GetSelected(2, 1), 1);
  EXPECT_EQ(list.CountSelected(), 3);
  EXPECT_STREQ(list.NextSelectedPicture(1), "C:\\Pics\\W3.jpg");
  EXPECT_STREQ(list.NextSelectedPicture(0), "C:\\Pics\\W2.jpg");
  EXPECT_STREQ(list.NextSelectedPicture(0), "C:\\Pics\\W0.jpg");
  EXPECT_STREQ(list.NextSelectedPicture(0), "");
  EXPECT_STREQ(list.NextSelectedPicture(0), "C:\\Pics\\W3.jpg");  // the walk starts again

  EXPECT_STREQ(list.GetThumbnailPath(1, 0), "C:\\Pics\\s\\W1j.jpg");
  EXPECT_STREQ(list.GetThumbnailPath(5, 0), "");
  list.SetPageSize(8);
  EXPECT_STREQ(list.GetThumbnailPath(6, 0), "C:\\Pics\\s\\");  // past the last entry
  EXPECT_STREQ(list.GetThumbnailPath(6, 1), "");
}

TEST_F(VexPathlistControl, DocumentWalksAndDropsTheDeletedPictures) {
  CVexDoc doc;
  doc.SetListFolder("C:\\Pics\\s");
  for (int i = 0; i < 4; ++i) {
    CString name;
    name.Format("D%d.jpg", i);
    AddPicture(name, 1000 - i);
  }
  ASSERT_EQ(doc.ScanList(), 4);
  for (int i = 0; i < 4; ++i) doc.SetListSelected(i != 1, i, 1);
  EXPECT_EQ(doc.CountSelectedImages(), 3);
  EXPECT_STREQ(doc.GetSelectedImagePath(1, 0), "C:\\Pics\\D3.jpg");
  EXPECT_STREQ(doc.GetSelectedImagePath(2, 0), "C:\\Pics\\D2.jpg");
  EXPECT_STREQ(doc.GetSelectedImagePath(3, 1), "C:\\Pics\\D0.jpg");
  EXPECT_STREQ(doc.GetSelectedImagePath(-1, 0), "");
  // D2 and D0 deleted: their entries go at the next drop.
  doc.GetSelectedImagePath(2, 1);
  doc.MarkListCursorForDrop();
  doc.GetSelectedImagePath(3, 1);
  doc.MarkListCursorForDrop();
  EXPECT_EQ(doc.DropMarkedFromList(), 2);
  EXPECT_STREQ(doc.GetListName(0), "D1j.jpg");
  EXPECT_STREQ(doc.GetListName(1), "D3j.jpg");
  EXPECT_EQ(doc.GetListPageStart(), 0);
  EXPECT_STREQ(doc.GetSelectedImagePath(1, 0), "C:\\Pics\\D3.jpg");  // starts again from the end
  EXPECT_EQ(doc.ClearListMarks(), 2);
  EXPECT_EQ(doc.CountSelectedImages(), 0);
}

TEST_F(VexPathlistControl, RefreshKeepsMarksAddsNewAndForgetsRemovedThumbnails) {
  AddPicture("R0.jpg", 1000);
  AddPicture("R1.jpg", 2000);
  ASSERT_EQ(list.Scan(), 2);
  list.SetSelected(1, 1, 1);  // R0
  AddPicture("R2.jpg", 3000);
  DeleteFileA("C:\\Pics\\s\\R1j.jpg");
  EXPECT_EQ(list.Refresh(), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"R2j.jpg", "R0j.jpg"}));
  EXPECT_EQ(list.GetSelected(1, 1), 1);
  EXPECT_EQ(list.GetSelected(0, 1), 0);
}

TEST_F(VexPathlistControl, SavedPictureJoinsOnlyTheListOfItsFolder) {
  CVexDoc doc;
  doc.SetListFolder("C:\\Pics\\s\\");
  AddPicture("Old.jpg", 1000);
  ASSERT_EQ(doc.ScanList(), 1);
  CreateDirectoryA("C:\\Other", nullptr);
  Touch("C:\\Other\\New.jpg");
  Touch("C:\\Pics\\New.BMP", 500);
  const struct {
    const char* saved;
    int count;
  } cases[] = {
      {"C:\\Other\\New.jpg", -1},  // another folder
      {"C:\\Pics\\Gone.jpg", -1},  // not on disk
      {"C:\\PICS\\New.BMP", 2},    // folders compare without regard to case
      {"C:\\Pics\\New.bmp", 2},    // listed already
      {"C:\\Pics\\Old.jpg", 2},
  };
  for (const auto& c : cases) {
    doc.SetSavePath(c.saved, 6, 24, 0);
    const int before = doc.PathList().GetCount();
    EXPECT_EQ(doc.AddSavedFile(), c.count < 0 ? before : c.count) << c.saved;
  }
  EXPECT_STREQ(doc.GetListName(0), "Newb.jpg");  // at the front, whatever its time
  EXPECT_EQ(doc.GetListPageStart(), 0);
}

}  // namespace
