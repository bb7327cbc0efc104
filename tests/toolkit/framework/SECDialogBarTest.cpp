// A dialog bar whose template names a control by its class id: the control is made with
// the bar when the control is known, and the bar is refused when it is not.
#include <gtest/gtest.h>

#include <memory>

#include <afxdisp.h>

#include "FrameworkFixture.h"
#include "OleControl.h"
#include "framework/SECDialogBar.h"

namespace framework_test {
namespace {

const CLSID kBarControl = {0x5A1E0B42, 0x0D0C, 0x4B4E, {0x8A, 0x11, 0x00, 0x00, 0x00, 0x00, 0xCA, 0xFE}};

class QuietControl : public plat::ole::Control {
 public:
  HRESULT Invoke(DISPID, WORD, VARIANT*, UINT, VARIANT*, std::string*) override { return DISP_E_MEMBERNOTFOUND; }
};

class DialogBarTest : public FrameworkTest {
 protected:
  void TearDown() override {
    plat::ole::ControlRegistry::Unregister(kBarControl);
    FrameworkTest::TearDown();
  }
};

TEST_F(DialogBarTest, AControlNamedInTheTemplateIsMadeWithTheBar) {
  plat::ole::ControlRegistry::Register(kBarControl, [] { return std::make_unique<QuietControl>(); });
  AfxEnableControlContainer();
  auto* bar = new SECDialogBar;
  bar->m_bAutoDelete = TRUE;
  ASSERT_TRUE(bar->Create(frame, IDD_TEST_CONTROLBAR, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, ID_TEST_CONTROLBAR));
  CWnd* control = bar->GetDlgItem(IDC_TEST_CONTROL);
  ASSERT_NE(control, nullptr);
  EXPECT_NE(plat::ole::ControlRegistry::Find(control->m_hWnd), nullptr);
  // The control keeps its place in the bar's proportional layout.
  ASSERT_TRUE(bar->m_childRects.has_value());
  bool recorded = false;
  for (const auto& [hwnd, rect] : *bar->m_childRects) recorded = recorded || hwnd == control->m_hWnd;
  EXPECT_TRUE(recorded);
  frame->DockControlBar(bar);
  frame->RecalcLayout();
  Settle();
  EXPECT_TRUE(control->IsWindowVisible());
}

TEST_F(DialogBarTest, ABarNamingAnUnknownControlIsRefusedAndLeavesNoWindow) {
  plat::ole::ControlRegistry::Unregister(kBarControl);
  SECDialogBar bar;
  EXPECT_FALSE(bar.Create(frame, IDD_TEST_CONTROLBAR, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, ID_TEST_CONTROLBAR));
  EXPECT_EQ(bar.m_hWnd, nullptr);
  EXPECT_EQ(frame->GetDlgItem(ID_TEST_CONTROLBAR), nullptr);
}

}  // namespace
}  // namespace framework_test
