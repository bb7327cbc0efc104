#include <gtest/gtest.h>

#include "ModuleRegistry.h"
#include "binding/CLead.h"

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(LeadInDialog, TheTemplatesControlIsBoundByDataExchange) {
  AfxEnableControlContainer();
  plat::SetProgramName("Retouch.exe");
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, Quiet, 0);
  ASSERT_NE(dialog, nullptr);
  CWnd form;
  ASSERT_TRUE(form.Attach(dialog));
  CLead lead;
  CDataExchange dx(&form, FALSE);
  DDX_Control(&dx, 1029, lead);
  ASSERT_EQ(lead.m_hWnd, GetDlgItem(dialog, 1029));
  EXPECT_EQ(lead.CreateImage(30, 20, 24), 0);
  EXPECT_EQ(lead.GetImageWidth(), 30.0f);
  lead.UnsubclassWindow();
  form.Detach();
  DestroyWindow(dialog);
}

}  // namespace
