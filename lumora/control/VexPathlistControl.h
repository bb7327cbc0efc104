// CVexPathlistControl: the thumbnails of one picture folder whose pictures still exist,
// newest first, shown in pages of five (or eight), with the user's selection and the
// marks of entries whose pictures were deleted. A hidden view: never shown.
#pragma once
#include <afxwin.h>

#include <vector>

class CVexPathlistControl : public CView {
  DECLARE_DYNCREATE(CVexPathlistControl)
 public:
  CVexPathlistControl();

  int SetFolder(const CString& folder);
  const CString& GetFolder() const { return m_strFolder; }
  int SetExtension(const CString& extension);

  // Both answer the count, or -1 when nothing is listed.
  int Scan();
  int Refresh();
  int AddSavedFile(const CString& picturePath);
  int GetCount() const { return m_nCount > 0 ? m_nCount : -1; }
  int GetCapacity() const { return static_cast<int>(m_entries.size()); }

  // With `absolute` 1 the position is an entry index, otherwise a slot of the page.
  int CountSelected() const;
  int SetSelected(int value, int position, int absolute);
  int GetSelected(int position, int absolute) const;
  CString GetThumbnailPath(int position, int absolute) const;
  CString GetName(int index) const;
  CString GetTimeText(int index) const;

  // Walks the selected entries from the last towards the first.
  CString NextSelectedPicture(int restart);
  void MarkCursorForDrop();
  int DropMarked();
  int ClearMarks();
  void ClearDropMarks();

  int NextPage();
  int PrevPage();
  int NextLine();
  int PrevLine();
  int FirstPage();
  int LastPage();
  int GetFirstIndex() const { return m_nFirst; }
  int SetFirstIndex(int index);
  int SetPageSize(int size);
  int GetPageSize() const { return m_nPageSize; }
  int SetPageSlot(int slot, int index);
  int GetPageSlot(int slot) const;
  int FillPageSlots();
  int IsOnPage(int index) const;

  int IndexOfPicture(const CString& picturePath) const;
  int HasPicture(const CString& thumbnailName) const;
  static CString ThumbnailNameOf(const CString& picturePath);
  static CString PictureOfThumbnail(const CString& thumbnailPath);

 protected:
  void OnDraw(CDC*) override {}

 private:
  struct Entry {
    CString name;
    int selected = 0;
    int onPage = 0;
    CTime time;
    int dropMark = 0;
  };
  static constexpr int kSlots = 8;

  // Grows by 50 whenever `used` entries would leave no spare element.
  void Reserve(int used);
  void Remove(int index);
  void SortNewestFirst();
  void MarkPage(int value);
  int IndexOfPosition(int position, int absolute) const;
  // Calls `take` with the name and last-write time of every file the pattern finds.
  template <typename Take>
  void WalkFolder(Take take) const;

  CString m_strFolder;
  CString m_strExtension;
  int m_nPageSlot[kSlots];
  int m_nCursor = -1;
  int m_nFirst = -1;
  int m_nPageSize = 5;
  int m_nCount = 0;
  std::vector<Entry> m_entries;  // the capacity; entries past the count are empty
};
