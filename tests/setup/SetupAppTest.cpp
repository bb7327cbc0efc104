// The application object and the launcher's resources.
#include <cstring>

#include "SetupFixture.h"
#include "rc/ResourceRegistry.h"
#include "user/DialogTemplate.h"

namespace {

using setuptest::SetupTest;

TEST_F(SetupTest, StartUpRunsTheDialogAsMainWindowAndEndsWithoutALoop) {
  CWnd* mainDuringDialog = nullptr;
  HWND dialog = nullptr;
  setuptest::responder::Push([&](const setuptest::responder::Shown& s) {
    mainDuringDialog = AfxGetMainWnd();
    dialog = s.hwnd;
    SendMessageA(s.hwnd, WM_COMMAND, IDCANCEL, 0);
    return 0;
  });
  EXPECT_FALSE(app_.InitInstance());
  ASSERT_NE(mainDuringDialog, nullptr);
  EXPECT_EQ(mainDuringDialog->m_hWnd, nullptr);  // the dialog object is gone with its window
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(app_.m_pMainWnd, nullptr);
  // The main window's end asks the loop that never runs to stop.
  bool quit = false;
  for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) quit = quit || msg.message == WM_QUIT;
  EXPECT_TRUE(quit);
}

TEST_F(SetupTest, DialogThatCannotBeMadeLeavesNoMainWindowBehind) {
  setuptest::responder::FailNextDialog();
  EXPECT_FALSE(app_.InitInstance());
  // The framework would otherwise close a window object that no longer exists.
  EXPECT_EQ(app_.m_pMainWnd, nullptr);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

TEST_F(SetupTest, HelpCommandIsTakenByTheApplication) {
  EXPECT_TRUE(app_.OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, nullptr));
  EXPECT_FALSE(app_.OnCmdMsg(ID_APP_ABOUT, CN_COMMAND, nullptr, nullptr));
}

std::optional<plat::user::DialogTemplateInfo> Template(int id) {
  const plat::rc::Entry* e = plat::rc::Find("setup", RT_DIALOG, MAKEINTRESOURCEA(id));
  if (!e) return std::nullopt;
  return plat::user::ParseDialogTemplate(e->data, e->size);
}

struct Item {
  DWORD id;
  WORD cls;          // 0x80 button, 0x82 static
  const char* text;  // "#n": the icon with id n
  DWORD style;       // the control's own style bits (the low word)
  short x, y, cx, cy;
};

void ExpectItems(const plat::user::DialogTemplateInfo& t, const std::vector<Item>& items) {
  ASSERT_EQ(t.items.size(), items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    const plat::user::DialogItem& got = t.items[i];
    const Item& want = items[i];
    EXPECT_EQ(got.id & 0xFFFF, want.id);
    EXPECT_TRUE(got.cls.isId);
    EXPECT_EQ(got.cls.id, want.cls);
    std::string text = got.text.isId ? "#" + std::to_string(got.text.id) : got.text.text;
    EXPECT_EQ(text, want.text);
    EXPECT_EQ(got.style & 0xFFFF, want.style);
    EXPECT_EQ(got.style & WS_VISIBLE, static_cast<DWORD>(WS_VISIBLE));
    EXPECT_EQ((std::vector<short>{got.x, got.y, got.cx, got.cy}), (std::vector<short>{want.x, want.y, want.cx, want.cy}));
  }
}

TEST_F(SetupTest, DialogTemplatesAreAsDesigned) {
  auto failure = Template(IDD_SETUP_DIALOG);
  ASSERT_TRUE(failure);
  EXPECT_TRUE(failure->extended);
  EXPECT_EQ(failure->caption, "Setup is failed");
  EXPECT_EQ((std::vector<short>{failure->cx, failure->cy}), (std::vector<short>{173, 95}));
  const DWORD style = DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
  EXPECT_EQ(failure->style, style);
  EXPECT_EQ(failure->exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));  // a taskbar button of its own
  EXPECT_EQ(failure->pointSize, 9);
  EXPECT_EQ(failure->face, "ＭＳ ゴシック");
  ExpectItems(*failure, {
                            {IDC_BUTTON_OK, 0x80, "OK", BS_PUSHBUTTON, 51, 77, 71, 14},  // not the default
                            {IDC_STATIC_MESSAGE, 0x82, "", SS_LEFT | SS_NOTIFY, 9, 9, 155, 45},
                            {0xFFFF, 0x80, "", BS_GROUPBOX, 3, 0, 167, 62},
                            {IDC_STATIC_ERRORCODE, 0x82, "", SS_RIGHT, 57, 65, 111, 8},
                        });

  auto about = Template(IDD_ABOUTBOX);
  ASSERT_TRUE(about);
  EXPECT_FALSE(about->extended);
  EXPECT_EQ(about->caption, "setupのﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ((std::vector<short>{about->cx, about->cy}), (std::vector<short>{235, 55}));
  EXPECT_EQ(about->style, static_cast<DWORD>(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT));
  EXPECT_EQ(about->pointSize, 9);
  EXPECT_EQ(about->face, "ＭＳ Ｐゴシック");
  ExpectItems(*about, {
                          {0xFFFF, 0x82, "#128", SS_ICON, 11, 17, 20, 20},
                          {0xFFFF, 0x82, "setup Version 1.0", SS_LEFT | SS_NOPREFIX, 40, 10, 119, 8},
                          {0xFFFF, 0x82, "Copyright (C) Valdane", SS_LEFT, 40, 25, 119, 8},
                          {IDOK, 0x80, "OK", BS_DEFPUSHBUTTON, 178, 7, 50, 14},
                      });
  // The system-menu text.
  CString item;
  EXPECT_TRUE(item.LoadString(IDS_ABOUTBOX));
  EXPECT_EQ(item, "setup のﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

TEST_F(SetupTest, IconAndVersionBlockAreThere) {
  // Icon 128 holds a 32 x 32 and a 16 x 16 picture.
  const plat::rc::Entry* icon = plat::rc::Find("setup", RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(icon, nullptr);
  ASSERT_GE(icon->size, 6u + 2 * 16u);
  EXPECT_EQ(icon->data[4], 2);
  EXPECT_EQ(icon->data[6], 32);
  EXPECT_EQ(icon->data[6 + 16], 16);

  const plat::rc::Entry* version = plat::rc::Find("setup", RT_VERSION, MAKEINTRESOURCEA(1));
  ASSERT_NE(version, nullptr);
  std::string bytes(reinterpret_cast<const char*>(version->data), version->size);
  auto dword = [&](size_t at) {
    uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  size_t fixed = bytes.find(std::string("\xBD\x04\xEF\xFE", 4));
  ASSERT_NE(fixed, std::string::npos);
  EXPECT_EQ(dword(fixed + 8), 0x00010000u);   // file version 1.0
  EXPECT_EQ(dword(fixed + 12), 0x00020003u);  // .2.3
  EXPECT_EQ(dword(fixed + 16), 0x00010000u);  // product version
  EXPECT_EQ(dword(fixed + 20), 0x00020003u);
  auto utf16 = [](const std::string& s) {
    std::string out;
    for (char c : s) out += std::string{c, '\0'};
    return out;
  };
  for (const char* text : {"setup MFC application", "setup application", "setup", "setup.EXE"})
    EXPECT_NE(bytes.find(utf16(text)), std::string::npos) << text;
}

}  // namespace
