// The Save page's folder, prefix and body edits refuse what cannot stand in a path or a
// file name, whether typed or pasted; everything else, control characters included,
// reaches the edit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SettingsSheetRig.h"

namespace {

enum { kSave = 1, kFolder = 1015, kPrefix = 1017, kBody = 1019 };

class FilterEdits : public SettingsSheetRig {
 protected:
  std::string TypeInto(int id, const std::string& keys) {
    Put(kSave, id, "");
    for (char c : keys) ::SendMessageA(Item(kSave, id), WM_CHAR, static_cast<unsigned char>(c), 1);
    return Text(kSave, id);
  }
  std::string PasteInto(int id, const std::string& start, const std::string& pasted) {
    Put(kSave, id, start);
    ::SendMessageA(Item(kSave, id), EM_SETSEL, start.size(), start.size());
    HWND owner = Page(kSave);
    EXPECT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, pasted.size() + 1);
    std::memcpy(::GlobalLock(mem), pasted.c_str(), pasted.size() + 1);
    ::GlobalUnlock(mem);
    ::SetClipboardData(CF_TEXT, mem);
    ::CloseClipboard();
    ::SendMessageA(Item(kSave, id), WM_PASTE, 0, 0);
    return Text(kSave, id);
  }
};

TEST_F(FilterEdits, TypedCharactersPassOrAreSwallowedByEachEdit) {
  StartSheet();
  struct Case {
    const char* keys;
    const char* folder;
    const char* name;  // the prefix and the body alike
  } cases[] = {
      {"C:", "C:", "C"},                        // a colon right after the drive letter
      {"C:\\a:b", "C:\\ab", "C\\ab"},           // a later colon is swallowed
      {":x", "x", "x"},                          // no colon before a drive letter
      {"a.b", "ab", "ab"},
      {"a%b", "a%b", "ab"},                      // the percent sign only in names
      {"$###", "$###", "$###"},                  // the name templates' signs pass
      {"?*\"/<>|+x", "x", "x"},
      {"ab\b", "a", "a"},                        // control characters reach the edit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TypeInto(kFolder, c.keys), c.folder) << "folder: " << c.keys;
    EXPECT_EQ(TypeInto(kPrefix, c.keys), c.name) << "prefix: " << c.keys;
    EXPECT_EQ(TypeInto(kBody, c.keys), c.name) << "body: " << c.keys;
  }
}

TEST_F(FilterEdits, PastedTextPassesTheSameFilter) {
  StartSheet();
  struct Case {
    int id;
    const char* start;
    const char* pasted;
    const char* result;
  } cases[] = {
      {kPrefix, "", "a?b", "ab"},
      {kBody, "x", "%$#.", "x$#"},
      {kFolder, "", "a?b", "ab"},
      {kFolder, "", "D:\\Pics:2", "D:\\Pics2"},
      {kFolder, "C:", "\\x:y", "C:\\xy"},
  };
  for (const Case& c : cases) EXPECT_EQ(PasteInto(c.id, c.start, c.pasted), c.result) << c.id << " " << c.pasted;
  EXPECT_STREQ(doc->GetSaveFolder(), "C:\\xy") << "pasting is typing: the page stores it";
}

}  // namespace
