#include "Config.h"
#include "ControlFixture.h"
#include "user/Input.h"

namespace controls_test {
namespace {

class Edits : public ControlTest {};

TEST_F(Edits, TextTheProgramSetsIsAChangeToo) {
  HWND e = Make("Edit", ES_AUTOHSCROLL, 7);
  Events().clear();
  SetWindowTextA(e, "12.5");
  EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 7 1024", "cmd 7 768"}));  // EN_UPDATE, EN_CHANGE
  EXPECT_EQ(Text(e), "12.5");
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), 0);  // set, not typed
}

TEST_F(Edits, FocusMovesWithKillFocusBeforeSetFocus) {
  HWND a = Make("Edit", ES_AUTOHSCROLL, 1);
  HWND b = Make("Edit", ES_AUTOHSCROLL, 2, "", {10, 40, 110, 64});
  SetFocus(a);
  Events().clear();
  Click(b, 5, 5);
  EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 1 512", "cmd 2 256"}));
  EXPECT_EQ(GetFocus(), b);
}

// Keys reach the window that has the focus when they are read: typed right behind a click
// into another edit, before anything handled the click, they land in the clicked edit.
TEST_F(Edits, KeysTypedAtOnceAfterAClickReachTheClickedEdit) {
  HWND a = Make("Edit", ES_AUTOHSCROLL, 1);
  HWND b = Make("Edit", ES_AUTOHSCROLL, 2, "", {10, 40, 110, 64});
  SetFocus(a);
  const POINT inB = Screen(b, 5, 5);
  plat::user::driver::Click(inB.x, inB.y);
  plat::user::driver::TypeText("C:\\x");
  plat::user::driver::PressKey(VK_LEFT, plat::user::driver::kShift);
  plat::user::driver::TypeText("y");
  plat::user::driver::WaitIdle();
  EXPECT_EQ(Text(a), "");
  EXPECT_EQ(Text(b), "C:\\y");
  EXPECT_EQ(GetFocus(), b);
}

TEST_F(Edits, TypingInsertsAtTheCaretAndReportsEachChange) {
  HWND e = Make("Edit", ES_AUTOHSCROLL, 3);
  SetFocus(e);
  Type("ab");
  Press(VK_LEFT);
  Type("X");
  EXPECT_EQ(Text(e), "aXb");
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), 1);
  int changes = 0;
  for (auto& ev : Events()) changes += ev == "cmd 3 768";
  EXPECT_EQ(changes, 3);
  Press(VK_HOME, plat::user::driver::kNone);
  Press(VK_END, plat::user::driver::kShift);
  DWORD start = 0, end = 0;
  SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 3u);
}

TEST_F(Edits, NeverSplitsAUtf8Character) {
  HWND e = Make("Edit", ES_AUTOHSCROLL, 4);
  SetFocus(e);
  plat::user::input::Chars("日本");
  plat::user::driver::WaitIdle();
  EXPECT_EQ(Text(e), "日本");
  Press(VK_BACK);
  EXPECT_EQ(Text(e), "日");
  // A limit that falls inside a character keeps the character out.
  SendMessageA(e, EM_LIMITTEXT, 5, 0);
  Events().clear();
  SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("語"));
  EXPECT_EQ(Text(e), "日");
  EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 4 1281"}));  // EN_MAXTEXT, nothing changed
  // Reading into a short buffer stops before a character that does not fit whole.
  SetWindowTextA(e, "a日");
  char buf[3];
  EXPECT_EQ(GetWindowTextA(e, buf, sizeof buf), 1);
  EXPECT_STREQ(buf, "a");
  // A selection asked for inside a character starts at the character.
  SendMessageA(e, EM_SETSEL, 2, 4);
  DWORD start = 0, end = 0;
  SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
}

TEST_F(Edits, StylesFilterWhatIsTyped) {
  struct Case {
    DWORD style;
    const char* typed;
    const char* result;
  } cases[] = {
      {ES_NUMBER, "1a2", "12"},
      {ES_UPPERCASE, "ab1", "AB1"},
      {ES_LOWERCASE, "AB1", "ab1"},
      {ES_READONLY, "abc", "start"},
  };
  int id = 10;
  for (const auto& c : cases) {
    HWND e = Make("Edit", ES_AUTOHSCROLL | c.style, id++, "start");
    if (!(c.style & ES_READONLY)) SetWindowTextA(e, "");
    SetFocus(e);
    Type(c.typed);
    EXPECT_EQ(Text(e), c.result) << c.style;
    DestroyWindow(e);
  }
}

TEST_F(Edits, LimitStopsTypingAndTellsTheParent) {
  HWND e = Make("Edit", ES_AUTOHSCROLL, 5);
  SendMessageA(e, EM_LIMITTEXT, 3, 0);
  SetFocus(e);
  Type("abcd");
  EXPECT_EQ(Text(e), "abc");
  EXPECT_EQ(Events().back(), "cmd 5 1281");
  // Without auto-scrolling a single line takes only what fits its width.
  HWND narrow = Make("Edit", 0, 6, "", {10, 40, 40, 64});
  SetFocus(narrow);
  Type("wwwwwwwwwwwwwwwwwwww");
  std::string shown = Text(narrow);
  EXPECT_LT(shown.size(), 20u);
  EXPECT_FALSE(shown.empty());
}

TEST_F(Edits, ClipboardCutCopyPasteAndUndo) {
  HWND e = Make("Edit", ES_AUTOHSCROLL, 8, "hello world");
  SetFocus(e);
  SendMessageA(e, EM_SETSEL, 0, 5);
  SendMessageA(e, WM_CUT, 0, 0);
  EXPECT_EQ(Text(e), " world");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "hello");
  GlobalUnlock(data);
  CloseClipboard();
  Press(VK_END);
  Press('V', plat::user::driver::kControl);
  EXPECT_EQ(Text(e), " worldhello");
  EXPECT_TRUE(SendMessageA(e, EM_CANUNDO, 0, 0));
  SendMessageA(e, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(e), " world");
  SendMessageA(e, EM_UNDO, 0, 0);  // undoing the undo brings the paste back
  EXPECT_EQ(Text(e), " worldhello");
  // Typing runs are one undo step.
  SetWindowTextA(e, "");
  Type("abc");
  SendMessageA(e, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(e), "");
}

TEST_F(Edits, MultiLineWithWantReturnKeepsLines) {
  HWND e = Make("Edit", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 9, "", {10, 10, 200, 100});
  EXPECT_TRUE(SendMessageA(e, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
  SetFocus(e);
  Type("one");
  Press(VK_RETURN);
  Type("two");
  EXPECT_EQ(Text(e), "one\r\ntwo");
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 1, 0), 5);
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 6, 0), 1);
  Press(VK_UP);
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
  char line[16] = {};
  *reinterpret_cast<WORD*>(line) = sizeof line;
  EXPECT_EQ(SendMessageA(e, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 3);
  EXPECT_EQ(std::string(line, 3), "two");
  HWND single = Make("Edit", ES_AUTOHSCROLL, 19, "", {10, 120, 200, 144});
  EXPECT_FALSE(SendMessageA(single, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
}

// The lines an edit reports, read back with EM_LINEINDEX, EM_LINELENGTH and EM_GETLINE.
std::vector<std::string> ReportedLines(HWND e) {
  std::vector<std::string> out;
  int count = static_cast<int>(SendMessageA(e, EM_GETLINECOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    auto start = SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
    auto length = SendMessageA(e, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    char buf[256] = {};
    *reinterpret_cast<WORD*>(buf) = sizeof buf;
    auto got = SendMessageA(e, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    EXPECT_EQ(got, length) << i;
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0), i);
    out.emplace_back(buf, static_cast<size_t>(got));
  }
  return out;
}

TEST_F(Edits, MultiLineWithoutAutoScrollWrapsAtWordsAndCharacters) {
  HWND e = Make("Edit", ES_MULTILINE, 9, "", {10, 10, 110, 200});
  RECT client;
  GetClientRect(e, &client);
  HDC dc = GetDC(e);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  auto width = [&](const std::string& s) {
    SIZE size{};
    GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return static_cast<int>(size.cx);
  };
  struct Case {
    const char* text;
    bool words;  // lines end after a space (else between characters)
  } cases[] = {
      {"The quick brown fox jumps over the lazy dog again and again", true},
      {"試料の画像は撮影した順に並び、日付と時刻の名前で保存されます", false},
      {"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz", false},  // one word wider than the field
  };
  for (const Case& c : cases) {
    SetWindowTextA(e, c.text);
    auto lines = ReportedLines(e);
    ASSERT_GT(lines.size(), 1u) << c.text;
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      joined += line;
      ASSERT_FALSE(line.empty()) << c.text;
      EXPECT_NE(static_cast<unsigned char>(line[0]) & 0xC0, 0x80u) << "starts inside a character: " << line;
      std::string shown = line.substr(0, line.find_last_not_of(' ') + 1);
      EXPECT_LE(width(shown), client.right - 4) << line;
      if (c.words && i + 1 < lines.size()) {
        EXPECT_EQ(line.back(), ' ') << line;
      }
    }
    EXPECT_EQ(joined, c.text);  // soft breaks add and lose nothing
  }
  // Hard breaks still end lines; a field that scrolls sideways does not wrap.
  SetWindowTextA(e, "one\r\ntwo");
  EXPECT_EQ(ReportedLines(e), (std::vector<std::string>{"one", "two"}));
  HWND scrolling = Make("Edit", ES_MULTILINE | ES_AUTOHSCROLL, 10, cases[0].text, {10, 210, 110, 260});
  EXPECT_EQ(SendMessageA(scrolling, EM_GETLINECOUNT, 0, 0), 1);
  // A wider field takes longer lines.
  SetWindowTextA(e, cases[0].text);
  int narrow = static_cast<int>(SendMessageA(e, EM_GETLINECOUNT, 0, 0));
  SetWindowPos(e, nullptr, 0, 0, 300, 190, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_LT(SendMessageA(e, EM_GETLINECOUNT, 0, 0), narrow);
  SelectObject(dc, old);
  ReleaseDC(e, dc);
}

// Typing on the keyboard a locale's machine has (a Japanese 106-key keyboard for the
// Japanese locale, a US one otherwise): every printable key types its own character, once.
class KeyboardTyping : public ControlTest, public testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    plat::config::Set("LCID", GetParam());
    ControlTest::SetUp();
  }
  void TearDown() override {
    ControlTest::TearDown();
    plat::config::Set("LCID", std::nullopt);
  }
};

TEST_P(KeyboardTyping, APathWithBackslashesArrivesWhole) {
  HWND e = Make("Edit", ES_AUTOHSCROLL, 5, "", {10, 10, 300, 34});
  Click(e, 5, 5);
  Type("C:\\Image\\x.jpg");
  EXPECT_EQ(Text(e), "C:\\Image\\x.jpg");
}

TEST_P(KeyboardTyping, EveryPrintableCharacterOnce) {
  HWND e = Make("Edit", ES_AUTOHSCROLL, 6, "", {10, 10, 390, 34});
  Click(e, 5, 5);
  std::string all;
  for (char c = ' '; c < 0x7F; ++c) all += c;
  Type(all);
  EXPECT_EQ(Text(e), all);
}

INSTANTIATE_TEST_SUITE_P(Locales, KeyboardTyping, testing::Values("0x0411", "0x0409"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param) == "0x0411" ? "Japanese" : "English";
                         });

}  // namespace
}  // namespace controls_test
