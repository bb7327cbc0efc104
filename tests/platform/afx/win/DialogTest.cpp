// Dialogs from templates: the modal loop with its disabled owner and result, data
// exchange on entry and on OK, WM_CLOSE as Cancel, modeless dialogs.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "ModuleRegistry.h"
#include "afxwin.h"
#include "frame_ids.h"
#include "user/Driver.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

HINSTANCE Resources() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"FrameRes.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(m);
}

class CFormDialog : public CDialog {
 public:
  explicit CFormDialog(CWnd* parent) : CDialog(IDD_FORM, parent) {}
  CString name = "initial";
  int radio = 1;
  int check = 0;
  int maxChars = 20;
  // What the dialog does once it is up, as a user would.
  std::string script;
  BOOL ownerWasDisabled = FALSE;
  int initCalls = 0;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_NAME, name);
    DDV_MaxChars(pDX, name, maxChars);
    DDX_Radio(pDX, IDC_RADIO1, radio);
    DDX_Check(pDX, IDC_CHECK, check);
  }
  BOOL OnInitDialog() override {
    ++initCalls;
    CDialog::OnInitDialog();
    ownerWasDisabled = m_pParentWnd && !m_pParentWnd->IsWindowEnabled();
    if (script == "edit-ok") {
      SetDlgItemText(IDC_NAME, "changed");
      CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO3);
      PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(IDOK)->m_hWnd));
    } else if (script == "close") {
      SetDlgItemText(IDC_NAME, "discarded");
      PostMessage(WM_CLOSE);
    } else if (script == "too-long-then-cancel") {
      SetDlgItemText(IDC_NAME, "much too long");
      PostMessage(WM_COMMAND, IDOK);
      PostMessage(WM_COMMAND, IDCANCEL);
    } else if (script == "end-now") {
      EndDialog(42);
    }
    return TRUE;
  }
};

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    AfxSetResourceHandle(Resources());
    plat::afx::SetMessageBoxHook([](HWND, LPCSTR text, LPCSTR, UINT) -> int {
      prompt = text;
      return IDOK;
    });
    prompt.clear();
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  }
  void TearDown() override {
    plat::afx::SetMessageBoxHook(nullptr);
    AfxSetResourceHandle(nullptr);
  }
  static inline std::string prompt;
  CWnd owner;
};

TEST_F(Dialog, ModalDialogExchangesDataAndReturnsItsCode) {
  CFormDialog dlg(&owner);
  dlg.script = "edit-ok";
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(dlg.ownerWasDisabled);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(dlg.m_hWnd, nullptr);  // the window is gone, the object stays
  EXPECT_EQ(dlg.name, "changed");
  EXPECT_EQ(dlg.radio, 2);
}

TEST_F(Dialog, CloseCancelsAndKeepsTheMembers) {
  CFormDialog dlg(&owner);
  dlg.script = "close";
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.name, "initial");
}

TEST_F(Dialog, RefusedOkKeepsTheDialogOpen) {
  CFormDialog dlg(&owner);
  dlg.maxChars = 5;
  dlg.script = "too-long-then-cancel";
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(prompt, "Please enter no more than 5 characters.");
  EXPECT_EQ(dlg.name, "much too long");  // exchanged before its check failed
}

TEST_F(Dialog, EndDialogDuringInitialisationEndsAtOnce) {
  CFormDialog dlg(&owner);
  dlg.script = "end-now";
  EXPECT_EQ(dlg.DoModal(), 42);
  EXPECT_EQ(dlg.initCalls, 1);
}

// A dialog that nothing answers goes to the script for unscripted dialogs, which a test
// uses to fail instead of waiting for ever; a queued script comes first.
TEST_F(Dialog, AnUnscriptedDialogGoesToItsOwnScript) {
  int unscripted = 0;
  responder::OnUnscriptedDialog([&](const responder::Shown& shown) {
    ++unscripted;
    EndDialog(shown.hwnd, IDABORT);
    return 0;
  });
  CFormDialog plain(&owner);
  EXPECT_EQ(plain.DoModal(), IDABORT);
  EXPECT_EQ(unscripted, 1);
  responder::Push([](const responder::Shown& shown) {
    EndDialog(shown.hwnd, IDOK);
    return 0;
  });
  CFormDialog scripted(&owner);
  EXPECT_EQ(scripted.DoModal(), IDOK);
  EXPECT_EQ(unscripted, 1) << "a scripted dialog is the script's";
  responder::Reset();
}

TEST_F(Dialog, MissingTemplateGivesMinusOne) {
  CDialog dlg(999, &owner);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_TRUE(owner.IsWindowEnabled());
}

// A test script answers the dialog as a user would, once it is up and shown.
TEST_F(Dialog, ScriptedAnswerActsOnTheShownDialog) {
  struct Case {
    const char* what;
    std::function<void(HWND)> act;
    int result;
    const char* name;
    int radio;
  };
  auto click = [](HWND dlg, int id) { ::SendMessageA(::GetDlgItem(dlg, id), BM_CLICK, 0, 0); };
  const Case cases[] = {
      {"edits and presses OK",
       [&](HWND dlg) {
         ::SetDlgItemTextA(dlg, IDC_NAME, "typed");
         click(dlg, IDC_RADIO1);
         click(dlg, IDOK);
       },
       IDOK, "typed", 0},
      {"edits and presses Cancel",
       [&](HWND dlg) {
         ::SetDlgItemTextA(dlg, IDC_NAME, "typed");
         click(dlg, IDCANCEL);
       },
       IDCANCEL, "initial", 1},
      {"ends it with the plain call", [](HWND dlg) { ::EndDialog(dlg, 7); }, 7, "initial", 1},
      {"closes it", [](HWND dlg) { ::SendMessageA(dlg, WM_CLOSE, 0, 0); }, IDCANCEL, "initial", 1},
      // Keys go through the dialog's own loop, as the user's do.
      {"presses Enter", [](HWND) { plat::user::driver::PressKey(VK_RETURN); }, IDOK, "initial", 1},
      {"presses Escape", [](HWND) { plat::user::driver::PressKey(VK_ESCAPE); }, IDCANCEL, "initial", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    responder::Reset();
    CFormDialog dlg(&owner);
    bool sawDialog = false;
    responder::Push([&](const responder::Shown& shown) {
      sawDialog = CWnd::FromHandlePermanent(shown.hwnd) == &dlg && ::IsWindowVisible(shown.hwnd) &&
                  !owner.IsWindowEnabled();
      CString text;
      dlg.GetDlgItemText(IDC_NAME, text);
      EXPECT_EQ(text, "initial");  // exchanged into the controls before the script
      c.act(shown.hwnd);
      return 0;
    });
    EXPECT_EQ(dlg.DoModal(), c.result);
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(dlg.name, c.name);
    EXPECT_EQ(dlg.radio, c.radio);
    EXPECT_TRUE(owner.IsWindowEnabled());
    auto shown = responder::History();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].messageBox);
    EXPECT_EQ(shown[0].caption, "Form");
  }
}

TEST_F(Dialog, ScriptedAnswerMeetsTheRefusalPromptInTurn) {
  plat::afx::SetMessageBoxHook(nullptr);  // the prompt goes to the scripts too
  CFormDialog dlg(&owner);
  dlg.maxChars = 5;
  bool stayedOpen = false;
  responder::Push([&](const responder::Shown& shown) {
    ::SetDlgItemTextA(shown.hwnd, IDC_NAME, "much too long");
    ::SendMessageA(::GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    stayedOpen = ::IsWindowVisible(shown.hwnd);
    ::SendMessageA(::GetDlgItem(shown.hwnd, IDCANCEL), BM_CLICK, 0, 0);
    return 0;
  });
  responder::Push([](const responder::Shown&) { return IDOK; });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(stayedOpen);
  auto shown = responder::History();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "Form");
  EXPECT_TRUE(shown[1].messageBox);
  EXPECT_EQ(shown[1].text, "Please enter no more than 5 characters.");
}

TEST_F(Dialog, FailedCreationGivesMinusOneOnce) {
  responder::FailNextDialog();
  CFormDialog failed(&owner);
  EXPECT_EQ(failed.DoModal(), -1);
  EXPECT_EQ(failed.initCalls, 0);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_TRUE(responder::History().empty());
  CFormDialog next(&owner);
  next.script = "end-now";
  EXPECT_EQ(next.DoModal(), 42);
}

TEST_F(Dialog, ModelessDialogLivesUntilDestroyed) {
  CFormDialog dlg(&owner);
  ASSERT_TRUE(dlg.Create(IDD_FORM, &owner));
  EXPECT_NE(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.initCalls, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(dlg.m_hWnd), &dlg);
  CString text;
  dlg.GetDlgItemText(IDC_NAME, text);
  EXPECT_EQ(text, "initial");
  EXPECT_EQ(::IsDlgButtonChecked(dlg.m_hWnd, IDC_RADIO2), 1u);
  EXPECT_TRUE(owner.IsWindowEnabled());
  dlg.DestroyWindow();
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(Dialog, IconsAreTheDialogsOwn) {
  CFormDialog dlg(&owner);
  ASSERT_TRUE(dlg.Create(IDD_FORM, &owner));
  HICON big = ::LoadIconA(nullptr, IDI_APPLICATION), small = ::LoadIconA(nullptr, IDI_WARNING);
  EXPECT_EQ(dlg.SetIcon(big, TRUE), nullptr);
  EXPECT_EQ(dlg.SetIcon(small, FALSE), nullptr);
  EXPECT_EQ(dlg.GetIcon(TRUE), big);
  EXPECT_EQ(dlg.GetIcon(FALSE), small);
  EXPECT_EQ(dlg.SetIcon(big, FALSE), small);  // the one it replaces
  EXPECT_EQ(owner.GetIcon(TRUE), nullptr);
  dlg.DestroyWindow();
}

TEST_F(Dialog, TemplateMenuAndInitialDataAreThereWhenTheDialogStarts) {
  CDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_LISTS));
  CMenu* bar = dialog.GetMenu();
  ASSERT_NE(bar, nullptr);
  CString title;
  bar->GetMenuString(0, title, MF_BYPOSITION);
  EXPECT_EQ(title, "&File");
  EXPECT_EQ(dialog.SendDlgItemMessage(IDC_COMBO, CB_GETCOUNT), 2);
  char text[32] = {};
  dialog.SendDlgItemMessage(IDC_COMBO, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "75%");
  dialog.SendDlgItemMessage(IDC_LIST, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "撮影");
  dialog.DestroyWindow();
}

TEST_F(Dialog, InitialDataCutShortEndsTheDialog) {
  CDialog dialog(IDD_CUT_SHORT);
  EXPECT_EQ(dialog.DoModal(), -1);
}

class CPaneDoc : public CDocument {
  DECLARE_DYNCREATE(CPaneDoc)
};
IMPLEMENT_DYNCREATE(CPaneDoc, CDocument)

class CPaneForm : public CFormView {
  DECLARE_DYNCREATE(CPaneForm)
 public:
  CPaneForm() : CFormView(IDD_PANE) {}
  CString text = "shown";
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, text); }
};
IMPLEMENT_DYNCREATE(CPaneForm, CFormView)

TEST_F(Dialog, FormViewIsATemplateInAFrame) {
  CPaneDoc doc;
  doc.m_bAutoDelete = FALSE;  // lives on the stack
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CPaneForm);
  context.m_pCurrentDoc = &doc;
  auto* frame = new CFrameWnd;  // deletes itself with its window
  ASSERT_TRUE(frame->Create(nullptr, "form", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, nullptr, 0, &context));
  frame->InitialUpdateFrame(&doc, TRUE);
  auto* form = dynamic_cast<CPaneForm*>(frame->GetActiveView());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->GetDocument(), &doc);
  CString text;
  form->GetDlgItemText(IDC_NAME, text);
  EXPECT_EQ(text, "shown");  // exchanged by the initial update
  CSize total = form->GetTotalSize();
  EXPECT_EQ(total, CSize(150, 75));  // 100 x 50 dialog units
  form->ResizeParentToFit(FALSE);
  CRect client;
  form->GetClientRect(&client);
  EXPECT_EQ(client.Size(), total);
  frame->DestroyWindow();
}

}  // namespace
