// The class library's script lies in the program beside the program's own.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "controls/SECResourceIds.h"

namespace {

TEST(ToolkitResources, StringsAndTheFolderTemplateSitBesideTheProgramsOwn) {
  struct Case {
    UINT id;
    const char* text;
  } cases[] = {
      {IDS_SEC_NOCLOSE, "noclose"},
      {IDS_SEC_SELECT_DIRECTORY, "Select Directory"},
      {IDS_SEC_SELECT_FILE, "Select File"},
      {IDS_SEC_SPLASH_TITLE, "SECSplashWnd"},
      {IDS_SEC_SPLASH_OWNER_TITLE, "SECSplashWndParent"},
      {IDS_SEC_TOOLBAR_TITLE, "ToolBar%d"},
      {IDS_SEC_RESET, "&Reset"},
      {IDS_SEC_DELETE, "&Delete"},
      {IDS_SEC_OTHER_COLOR, "&Other..."},
  };
  for (const Case& c : cases) {
    CString text;
    EXPECT_TRUE(text.LoadString(c.id)) << c.id;
    EXPECT_STREQ(text, c.text);
  }
  HMODULE program = ::GetModuleHandleA(nullptr);
  EXPECT_NE(::FindResourceA(program, MAKEINTRESOURCEA(IDD_SEC_DIRSELECT), RT_DIALOG), nullptr);
  EXPECT_NE(::FindResourceA(program, MAKEINTRESOURCEA(128), RT_MENU), nullptr);  // the program's menu
  for (UINT id : {IDD_SEC_TOOLBARLIST, IDD_SEC_NEWTOOLBAR, IDD_SEC_TOOLBARLIST_PAGE})
    EXPECT_NE(::FindResourceA(program, MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << id;
  // The cursor of a button drag that copies.
  EXPECT_NE(::LoadCursorA(program, MAKEINTRESOURCEA(IDC_SEC_COPYDROP)), nullptr);
}

}  // namespace
