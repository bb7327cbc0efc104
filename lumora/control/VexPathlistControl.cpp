#include "VexPathlistControl.h"

#include <algorithm>
#include <cctype>
#include <string>

IMPLEMENT_DYNCREATE(CVexPathlistControl, CView)

namespace {

constexpr int kStartCapacity = 100;
constexpr int kGrowth = 50;

struct PathParts {
  CString folder;  // drive and directory, ending in a separator when there is one
  CString base;
  CString extension;
};

PathParts Split(const CString& path) {
  std::string text = (LPCSTR)path;
  if (text.size() >= MAX_PATH) text.resize(MAX_PATH - 1);
  char drive[MAX_PATH], dir[MAX_PATH], base[MAX_PATH], ext[MAX_PATH];
  _splitpath(text.c_str(), drive, dir, base, ext);
  return {CString(drive) + dir, base, ext};
}

bool IsFile(const CString& path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CVexPathlistControl::CVexPathlistControl() : m_entries(kStartCapacity) { std::fill_n(m_nPageSlot, kSlots, -1); }

int CVexPathlistControl::SetFolder(const CString& folder) {
  m_strFolder = folder;
  const int n = m_strFolder.GetLength();
  if (n > 0 && m_strFolder[n - 1] == '\\') m_strFolder = m_strFolder.Left(n - 1);
  return 1;
}

int CVexPathlistControl::SetExtension(const CString& extension) {
  m_strExtension = extension;
  return 1;
}

void CVexPathlistControl::Reserve(int used) {
  if (GetCapacity() < used + 1) m_entries.resize(m_entries.size() + kGrowth);
}

void CVexPathlistControl::Remove(int index) {
  m_entries.erase(m_entries.begin() + index);
  m_entries.emplace_back();
  --m_nCount;
}

template <typename Take>
void CVexPathlistControl::WalkFolder(Take take) const {
  CString pattern;
  pattern.Format("%s\\*.%s", (LPCSTR)m_strFolder, m_strExtension.IsEmpty() ? "jpg" : (LPCSTR)m_strExtension);
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(pattern, &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) take(CString(found.cFileName), CTime(found.ftLastWriteTime));
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

int CVexPathlistControl::Scan() {
  if (m_nCount != 0) {
    m_entries.assign(kStartCapacity, Entry{});
    m_nCount = 0;
  }
  WalkFolder([this](const CString& name, CTime time) {
    if (HasPicture(name) != 1) return;
    Reserve(m_nCount + 1);
    m_entries[m_nCount++] = Entry{name, 0, 0, time, 0};
  });
  if (m_nCount == 0) {
    m_nFirst = -1;
    return -1;
  }
  SortNewestFirst();
  m_nFirst = 0;
  MarkPage(1);
  return m_nCount;
}

int CVexPathlistControl::Refresh() {
  if (m_nCount == 0) return Scan();
  WalkFolder([this](const CString& name, CTime time) {
    if (HasPicture(name) != 1) return;
    for (int i = 0; i < m_nCount; ++i)
      if (m_entries[i].name.CompareNoCase(name) == 0) return;  // keeps its marks
    Reserve(m_nCount + 1);
    m_entries[m_nCount++] = Entry{name, 0, 0, time, 0};
  });
  for (int i = m_nCount - 1; i >= 0; --i)
    if (!IsFile(m_strFolder + "\\" + m_entries[i].name)) Remove(i);
  if (m_nCount == 0) {
    m_nFirst = -1;
    return -1;
  }
  SortNewestFirst();
  m_nFirst = 0;
  MarkPage(1);
  return m_nCount;
}

int CVexPathlistControl::AddSavedFile(const CString& picturePath) {
  CFileStatus status;
  if (!CFile::GetStatus(picturePath, status)) return m_nCount;
  Reserve(m_nCount + 1);
  MarkPage(0);
  m_entries.insert(m_entries.begin(), Entry{ThumbnailNameOf(picturePath), 0, 0, status.m_mtime, 0});
  m_entries.pop_back();
  ++m_nCount;
  m_nFirst = 0;
  MarkPage(1);
  return m_nCount;
}

// An exchange sort, newest first. Equal times never exchange, but an exchange can carry
// an entry past others of equal time; the listing order it yields is the one the strip
// has always shown.
void CVexPathlistControl::SortNewestFirst() {
  for (int i = 0; i + 1 < m_nCount; ++i)
    for (int j = i; j < m_nCount; ++j)
      if (m_entries[j].time > m_entries[i].time) std::swap(m_entries[i], m_entries[j]);
}

int CVexPathlistControl::CountSelected() const {
  int n = 0;
  for (int i = 0; i < m_nCount; ++i)
    if (m_entries[i].selected != 0) ++n;
  return n;
}

int CVexPathlistControl::IndexOfPosition(int position, int absolute) const {
  if (absolute == 1) return position >= 0 && position < m_nCount ? position : -1;
  if (position < 0 || position >= m_nPageSize || m_nFirst < 0) return -1;
  return m_nFirst + position;
}

int CVexPathlistControl::SetSelected(int value, int position, int absolute) {
  const int i = IndexOfPosition(position, absolute);
  if (i < 0 || i >= m_nCount) return -1;
  m_entries[i].selected = value;
  return 0;
}

int CVexPathlistControl::GetSelected(int position, int absolute) const {
  const int i = IndexOfPosition(position, absolute);
  return i >= 0 && i < m_nCount ? m_entries[i].selected : 0;
}

CString CVexPathlistControl::GetThumbnailPath(int position, int absolute) const {
  const int i = IndexOfPosition(position, absolute);
  if (i < 0) return CString();
  // A slot past the last entry shows nothing: the folder alone.
  if (i >= m_nCount) return m_strFolder + "\\";
  return m_strFolder + "\\" + m_entries[i].name;
}

CString CVexPathlistControl::GetName(int index) const {
  return index >= 0 && index < m_nCount ? m_entries[index].name : CString();
}

CString CVexPathlistControl::GetTimeText(int index) const {
  return index >= 0 && index < m_nCount ? m_entries[index].time.Format("%H時%M分%S秒") : CString();
}

CString CVexPathlistControl::NextSelectedPicture(int restart) {
  const int start = restart != 0 || m_nCursor == -1 ? m_nCount - 1 : m_nCursor - 1;
  for (int i = std::min(start, m_nCount - 1); i >= 0; --i) {
    if (m_entries[i].selected == 0) continue;
    m_nCursor = i;
    return PictureOfThumbnail(m_strFolder + "\\" + m_entries[i].name);
  }
  m_nCursor = -1;
  return CString();
}

void CVexPathlistControl::MarkCursorForDrop() {
  if (m_nCursor >= 0 && m_nCursor < m_nCount) m_entries[m_nCursor].dropMark = 1;
}

int CVexPathlistControl::DropMarked() {
  for (int i = m_nCount - 1; i >= 0; --i)
    if (m_entries[i].dropMark == 1) Remove(i);
  // The walk's position named an entry that may have moved or gone.
  m_nCursor = -1;
  if (m_nCount == 0) {
    m_nFirst = -1;
    return 0;
  }
  m_nFirst += m_nPageSize;
  if (m_nFirst + m_nPageSize > m_nCount) m_nFirst = std::max(m_nCount - m_nPageSize, 0);
  return m_nCount;
}

int CVexPathlistControl::ClearMarks() {
  if (m_nCount == 0) return -1;
  for (int i = 0; i < m_nCount; ++i) m_entries[i].selected = m_entries[i].onPage = m_entries[i].dropMark = 0;
  return m_nCount;
}

void CVexPathlistControl::ClearDropMarks() {
  for (Entry& e : m_entries) e.dropMark = 0;
}

// Pages never come out short: a page that would run past the end starts earlier.
void CVexPathlistControl::MarkPage(int value) {
  if (m_nFirst < 0 || m_nCount == 0) return;
  const int end = std::min(m_nFirst + m_nPageSize, m_nCount);
  if (end - m_nFirst < m_nPageSize) m_nFirst = std::max(end - m_nPageSize, 0);
  for (int i = m_nFirst; i < end; ++i) m_entries[i].onPage = value;
}

int CVexPathlistControl::NextPage() {
  if (m_nCount == 0) return m_nFirst;
  MarkPage(0);
  const int old = m_nFirst;
  m_nFirst += m_nPageSize;
  if (m_nCount < old + 2 * m_nPageSize) m_nFirst = std::max(m_nCount - m_nPageSize, 0);
  MarkPage(1);
  return m_nFirst;
}

int CVexPathlistControl::PrevPage() {
  if (m_nCount == 0) return m_nFirst;
  MarkPage(0);
  m_nFirst = std::max(m_nFirst - m_nPageSize, 0);
  MarkPage(1);
  return m_nFirst;
}

int CVexPathlistControl::NextLine() {
  if (m_nCount == 0) return m_nFirst;
  MarkPage(0);
  const int old = m_nFirst;
  m_nFirst += 1;
  if (m_nCount < old + m_nPageSize + 2) m_nFirst = std::max(m_nCount - m_nPageSize, 0);
  MarkPage(1);
  return m_nFirst;
}

int CVexPathlistControl::PrevLine() {
  if (m_nCount == 0) return m_nFirst;
  MarkPage(0);
  m_nFirst = std::max(m_nFirst - 1, 0);
  MarkPage(1);
  return m_nFirst;
}

int CVexPathlistControl::FirstPage() {
  if (m_nCount > 0) {
    m_nFirst = 0;
    MarkPage(1);
  }
  return m_nFirst;
}

int CVexPathlistControl::LastPage() {
  if (m_nPageSize < m_nCount) {
    m_nFirst = m_nCount - m_nPageSize;
    MarkPage(1);
  }
  return m_nFirst;
}

int CVexPathlistControl::SetFirstIndex(int index) {
  if (index < 0 || index >= m_nCount) return -1;
  MarkPage(0);
  m_nFirst = index;
  MarkPage(1);
  return m_nFirst;
}

int CVexPathlistControl::SetPageSize(int size) {
  if (size != 5 && size != 8) return -1;
  MarkPage(0);
  m_nPageSize = size;
  MarkPage(1);
  return 0;
}

int CVexPathlistControl::SetPageSlot(int slot, int index) {
  if (slot < 0 || slot >= kSlots) return 0;
  m_nPageSlot[slot] = index;
  return 1;
}

int CVexPathlistControl::GetPageSlot(int slot) const { return slot >= 0 && slot < kSlots ? m_nPageSlot[slot] : -1; }

int CVexPathlistControl::IsOnPage(int index) const {
  return index >= 0 && index < m_nCount ? m_entries[index].onPage : 0;
}

int CVexPathlistControl::FillPageSlots() {
  if (m_nCount == 0 || m_nFirst < 0) return -1;
  for (int s = 0; s < kSlots; ++s) {
    const int i = m_nFirst + s;
    if (s >= m_nPageSize || i >= m_nCount) {
      m_nPageSlot[s] = -1;
      continue;
    }
    if (m_entries[i].onPage != 1) return -1;
    m_nPageSlot[s] = i;
  }
  return 0;
}

int CVexPathlistControl::IndexOfPicture(const CString& picturePath) const {
  const CString name = ThumbnailNameOf(picturePath);
  for (int i = 0; i < m_nCount; ++i)
    if (m_entries[i].name.CompareNoCase(name) == 0) return i;
  return -1;
}

int CVexPathlistControl::HasPicture(const CString& thumbnailName) const {
  return PictureOfThumbnail(m_strFolder + "\\" + thumbnailName).IsEmpty() ? 0 : 1;
}

CString CVexPathlistControl::ThumbnailNameOf(const CString& picturePath) {
  const PathParts parts = Split(picturePath);
  CString ext = parts.extension;
  ext.MakeLower();
  CString letter;
  if (ext == ".jpg" || ext == ".jpeg") letter = "j";
  if (ext == ".bmp") letter = "b";
  // ".tiff" shares the letter of ".tif", so that its picture finds its thumbnail again.
  if (ext == ".tif" || ext == ".tiff") letter = "t";
  return parts.base + letter + ".jpg";
}

CString CVexPathlistControl::PictureOfThumbnail(const CString& thumbnailPath) {
  const PathParts parts = Split(thumbnailPath);
  const int baseLength = parts.base.GetLength();
  const int folderLength = parts.folder.GetLength();
  if (baseLength < 1 || folderLength < 2) return CString();
  const char letter = static_cast<char>(tolower(static_cast<unsigned char>(parts.base[baseLength - 1])));
  const char* candidates[2] = {};
  if (letter == 'j') candidates[0] = ".jpg", candidates[1] = ".jpeg";
  if (letter == 'b') candidates[0] = ".bmp";
  if (letter == 't') candidates[0] = ".tif", candidates[1] = ".tiff";
  // The picture lies one level up, beside the "s" folder.
  const CString stem = parts.folder.Left(folderLength - 2) + parts.base.Left(baseLength - 1);
  for (const char* ext : candidates) {
    if (ext && IsFile(stem + ext)) return stem + ext;
  }
  return CString();
}
