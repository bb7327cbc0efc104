#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "binding/CLead.h"

namespace {

// A modeless dialog whose template holds the control, bound to a member by data
// exchange, with the control's mouse events in its sink map, as the retouch dialog has.
class Preview : public CDialog {
 public:
  Preview() : CDialog(100u) {}
  CLead lead;
  std::vector<std::string> events;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1029, lead);
  }
  void OnMouseDownLead(short button, short shift, LONG x, LONG y) {
    events.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(Preview, CDialog)
  ON_EVENT(Preview, 1029, -605, OnMouseDownLead, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
END_EVENTSINK_MAP()

TEST(LeadInDialog, TheTemplatesControlIsBoundByDataExchangeAndSendsItsEvents) {
  AfxEnableControlContainer();
  plat::SetProgramName("Retouch.exe");
  Preview dialog;
  ASSERT_TRUE(dialog.Create(100u));
  ASSERT_EQ(dialog.lead.m_hWnd, ::GetDlgItem(dialog.m_hWnd, 1029));
  EXPECT_EQ(dialog.lead.CreateImage(30, 20, 24), 0);
  EXPECT_EQ(dialog.lead.GetImageWidth(), 30.0f);
  ::SendMessageA(dialog.lead.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
  ::SendMessageA(dialog.lead.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"down 1 7,9"}));
  dialog.DestroyWindow();
}

}  // namespace
