// Dialog data exchange: values go to the controls and come back; refused input
// shows the framework's prompt, gives the control the focus and stops the exchange.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "afxwin.h"

namespace {

std::string g_prompt;
int RecordPrompt(HWND, LPCSTR text, LPCSTR, UINT) {
  g_prompt = text;
  return IDOK;
}

// A stand-in for a radio button or check box: it keeps its check state and says
// what kind of button it is.
class CFakeButton : public CWnd {
 public:
  explicit CFakeButton(bool radio = true) : radio_(radio) {}
  int check = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_GETDLGCODE: return radio_ ? DLGC_RADIOBUTTON | DLGC_BUTTON : DLGC_BUTTON;
      case BM_GETCHECK: return check;
      case BM_SETCHECK: check = static_cast<int>(wParam); return 0;
      default: return CWnd::WindowProc(message, wParam, lParam);
    }
  }
  bool radio_;
};

struct Values {
  int i = 0;
  UINT u = 0;
  LONG l = 0;
  DWORD dw = 0;
  short s = 0;
  BYTE b = 0;
  float f = 0;
  double d = 0;
  CString text;
  int radio = 0;
  int check = 0;
};

class CForm : public CWnd {
 public:
  Values v;
  BOOL validate = FALSE;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, 10, v.i);
    DDX_Text(pDX, 11, v.u);
    DDX_Text(pDX, 12, v.l);
    DDX_Text(pDX, 13, v.dw);
    DDX_Text(pDX, 14, v.s);
    DDX_Text(pDX, 15, v.b);
    DDX_Text(pDX, 16, v.f);
    DDX_Text(pDX, 17, v.d);
    DDX_Text(pDX, 18, v.text);
    if (validate) {
      DDV_MinMaxInt(pDX, v.i, -5, 5);
      DDV_MaxChars(pDX, v.text, 4);
    }
    DDX_Radio(pDX, 20, v.radio);
    DDX_Check(pDX, 30, v.check);
  }
};

// Its control reports a change while the exchange writes to it.
class CNotifiedForm : public CWnd {
 public:
  int changes = 0;
  int value = 3;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, 10, value);
    SendMessage(WM_COMMAND, MAKEWPARAM(10, EN_CHANGE), reinterpret_cast<LPARAM>(GetDlgItem(10)->m_hWnd));
  }

 protected:
  afx_msg void OnChange() { ++changes; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CNotifiedForm, CWnd)
  ON_EN_CHANGE(10, OnChange)
END_MESSAGE_MAP()

class DataExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::afx::SetMessageBoxHook(&RecordPrompt);
    g_prompt.clear();
    ASSERT_TRUE(form.CreateEx(0, nullptr, "form", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr));
    for (int id = 10; id <= 18; ++id) {
      edits[id - 10] = std::make_unique<CWnd>();
      ASSERT_TRUE(edits[id - 10]->Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &form, id));
    }
    // Radio group 20..23 with a label in the middle, then a check box that starts a new group.
    ASSERT_TRUE(radios[0].Create(nullptr, "r0", WS_CHILD | WS_GROUP, CRect(0, 0, 10, 10), &form, 20));
    ASSERT_TRUE(radios[1].Create(nullptr, "r1", WS_CHILD, CRect(0, 0, 10, 10), &form, 21));
    ASSERT_TRUE(label.Create(nullptr, "label", WS_CHILD, CRect(0, 0, 10, 10), &form, 22));
    ASSERT_TRUE(radios[2].Create(nullptr, "r2", WS_CHILD, CRect(0, 0, 10, 10), &form, 23));
    ASSERT_TRUE(checkBox.Create(nullptr, "c", WS_CHILD | WS_GROUP, CRect(0, 0, 10, 10), &form, 30));
  }
  void TearDown() override { plat::afx::SetMessageBoxHook(nullptr); }
  void SetText(int id, const char* text) { form.SetDlgItemText(id, text); }
  CString Text(int id) {
    CString t;
    form.GetDlgItemText(id, t);
    return t;
  }
  CForm form;
  std::unique_ptr<CWnd> edits[9];
  CFakeButton radios[3];
  CWnd label;
  CFakeButton checkBox{false};
};

TEST_F(DataExchange, ValuesRoundTripThroughTheControls) {
  form.v = Values{-42, 4000000000u, -2000000000, 4294967295u, -32768, 255, 1.5f, 0.1, "文字列", 2, 1};
  ASSERT_TRUE(form.UpdateData(FALSE));
  struct Case {
    int id;
    const char* text;
  };
  const Case shown[] = {{10, "-42"}, {11, "4000000000"}, {12, "-2000000000"}, {13, "4294967295"}, {14, "-32768"},
                        {15, "255"}, {16, "1.5"},        {17, "0.1"},         {18, "文字列"}};
  for (const Case& c : shown) EXPECT_EQ(Text(c.id), c.text) << c.id;
  EXPECT_EQ(radios[0].check + radios[1].check * 2 + radios[2].check * 4, 4);  // the third radio
  EXPECT_EQ(checkBox.check, 1);

  Values loaded = form.v;
  form.v = Values{};
  ASSERT_TRUE(form.UpdateData(TRUE));
  EXPECT_EQ(form.v.i, loaded.i);
  EXPECT_EQ(form.v.u, loaded.u);
  EXPECT_EQ(form.v.l, loaded.l);
  EXPECT_EQ(form.v.dw, loaded.dw);
  EXPECT_EQ(form.v.s, loaded.s);
  EXPECT_EQ(form.v.b, loaded.b);
  EXPECT_EQ(form.v.f, loaded.f);
  EXPECT_EQ(form.v.d, loaded.d);
  EXPECT_EQ(form.v.text, loaded.text);
  EXPECT_EQ(form.v.radio, 2);
  EXPECT_EQ(form.v.check, 1);
}

TEST_F(DataExchange, RadioIndexCountsOnlyRadiosAndIsMinusOneWhenNoneIsChecked) {
  ASSERT_TRUE(form.UpdateData(FALSE));
  struct Case {
    int checked;  // which fake radio is checked, -1 none
    int expected;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {2, 2}, {-1, -1}};
  for (const Case& c : cases) {
    for (int i = 0; i < 3; ++i) radios[i].check = i == c.checked;
    ASSERT_TRUE(form.UpdateData(TRUE));
    EXPECT_EQ(form.v.radio, c.expected) << c.checked;
  }
}

TEST_F(DataExchange, RefusedInputPromptsFocusesAndKeepsTheOldValues) {
  ASSERT_TRUE(form.UpdateData(FALSE));
  struct Case {
    int id;
    const char* text;
    const char* prompt;
  };
  const Case cases[] = {
      {10, "12x", "Please enter an integer."},
      {10, "99999999999", "Please enter an integer."},  // does not fit
      {11, "-1", "Please enter a positive integer."},
      {14, "40000", "Please enter an integer."},
      {15, "256", "Please enter an integer between 0 and 255."},
      {16, "1e39", "Please enter a number."},
      {17, "", "Please enter a number."},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(form.UpdateData(FALSE));  // all fields valid again
    SetText(c.id, c.text);
    g_prompt.clear();
    form.v.radio = 77;  // a field after the failing one must not be touched
    EXPECT_FALSE(form.UpdateData(TRUE)) << c.text;
    EXPECT_EQ(g_prompt, c.prompt) << c.text;
    EXPECT_EQ(::GetFocus(), form.GetDlgItem(c.id)->m_hWnd) << c.text;
    EXPECT_EQ(form.v.radio, 77);
  }
}

TEST_F(DataExchange, RangeAndLengthChecksUseTheFrameworkPrompts) {
  form.validate = TRUE;
  ASSERT_TRUE(form.UpdateData(FALSE));
  SetText(10, "6");
  EXPECT_FALSE(form.UpdateData(TRUE));
  EXPECT_EQ(g_prompt, "Please enter an integer between -5 and 5.");
  SetText(10, "5");
  SetText(18, "abcde");
  EXPECT_FALSE(form.UpdateData(TRUE));
  EXPECT_EQ(g_prompt, "Please enter no more than 4 characters.");
  SetText(18, "abcd");
  EXPECT_TRUE(form.UpdateData(TRUE));
}

TEST_F(DataExchange, ControlNotificationsAreIgnoredDuringTheExchange) {
  CNotifiedForm notified;
  ASSERT_TRUE(notified.CreateEx(0, nullptr, "n", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  CWnd edit;
  ASSERT_TRUE(edit.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &notified, 10));
  ASSERT_TRUE(notified.UpdateData(FALSE));
  EXPECT_EQ(notified.changes, 0);
  notified.SendMessage(WM_COMMAND, MAKEWPARAM(10, EN_CHANGE), reinterpret_cast<LPARAM>(edit.m_hWnd));
  EXPECT_EQ(notified.changes, 1);
}

}  // namespace
