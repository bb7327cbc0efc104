// The main frame's scale tool: opening and closing the scale dialog, what Apply, OK and
// Cancel leave in the document and ask of the displays, the update broadcast reaching the
// dialog, and a calibration round trip through the Measuring Pixels mode.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "AnnotationFrame.h"
#include "annotation/dialogs/VexScaleDialog.h"

namespace {

namespace responder = plat::user::responder;

class MainFrameScale : public AnnotationFrameTest {
 protected:
  void SetUp() override {
    AnnotationFrameTest::SetUp();
    live = DisplayDouble::MakeIn(*frame, liveCalls);
    ASSERT_NE(live, nullptr);
    CMainFrame::LiveStages stages;
    stages.liveDisplay = live;
    frame->SetLiveStages(stages);
  }
  void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }
  CVexScaleDialog* Dialog() const { return frame->GetScaleDialog(); }
  HWND Item(int id) const { return ::GetDlgItem(Dialog()->m_hWnd, id); }
  void DialogClick(int id) const { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
  void Type(int id, const char* text) const {
    ::SetDlgItemTextA(Dialog()->m_hWnd, id, text);
    ::SendMessageA(Dialog()->m_hWnd, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(Item(id)));
  }
  void Pick(int id, int index) const {
    ::SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(Dialog()->m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
  }
  // Where control `id` sits in the dialog's client area.
  CRect Place(int id) const {
    CRect r;
    ::GetWindowRect(Item(id), &r);
    Dialog()->ScreenToClient(&r);
    return r;
  }
  // The placement cache the frame hands the still display, from the document.
  std::string Cache() const {
    return "cache " + std::to_string(doc->GetShootExposureMode() == 5 ? 1 : 0) + "," +
           std::to_string(doc->GetShootBufferSize()) + "," + std::to_string(doc->GetDir90());
  }
  std::string Caption() const {
    char text[64] = {};
    ::GetWindowTextA(Dialog()->m_hWnd, text, sizeof text);
    return text;
  }
  // The next message box: caption, text and icon kept, OK answered.
  void OnBox() {
    responder::Push([this](const responder::Shown& shown) {
      box = shown.caption + "|" + shown.text + "|" + std::to_string(shown.type & MB_ICONMASK);
      return IDOK;
    });
  }

  DisplayCalls liveCalls;
  DisplayDouble* live = nullptr;
  std::string box;
};

TEST_F(MainFrameScale, OpensOnceWithTheResizeCodeInForce) {
  doc->SetResizeSave(1);
  doc->SetResizeSaveSize(1);
  frame->StartLive();
  Command(32845);  // Image > Scale
  CVexScaleDialog* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->IsWindowVisible());
  EXPECT_EQ(dialog->GetResolutionFactor(), 0.5);
  EXPECT_EQ(frame->IsLiveRunning(), 1);
  EXPECT_EQ(calls.scale, (std::vector<std::string>{"edit 1", Cache()}));
  Command(32830);  // the toolbar button: open already
  EXPECT_EQ(Dialog(), dialog);
  EXPECT_EQ(calls.scale.size(), 2u);

  // The broadcast of a capture reaches it; the start-up broadcast of everything does not.
  frame->BroadcastUpdate(0x200000, 2);
  EXPECT_EQ(dialog->GetResolutionFactor(), 0.25);
  frame->UpdateAll();
  EXPECT_EQ(dialog->GetResolutionFactor(), 0.25);

  const HWND window = dialog->m_hWnd;
  frame->CloseScaleTool();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(calls.scale.back(), "edit 0");
  Pump();

  // A resize code outside 0-2 opens it at full size; closing keeps scale editing on while
  // the still picture shows the scale.
  doc->SetResizeSaveSize(7);
  doc->m_bScaleOnCaptured = 1;
  calls.scale.clear();
  Command(32845);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(Dialog()->GetResolutionFactor(), 1.0);
  frame->CloseScaleTool();
  EXPECT_EQ(calls.scale, (std::vector<std::string>{"edit 1", Cache(), "edit 0", "edit 1"}));
}

TEST_F(MainFrameScale, WhileThePaletteIsOpenTheScaleToolIsRefused) {
  Command(32846);
  ASSERT_NE(frame->GetAnnotationPalette(), nullptr);
  OnBox();
  Command(32845);
  EXPECT_EQ(box, "Lumora Caution|アノテーションツールを閉じてください|" + std::to_string(MB_ICONWARNING));
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_TRUE(calls.scale.empty());
}

TEST_F(MainFrameScale, ApplyWritesPresetsAndSwitchesAndPlacesTheOverlays) {
  Command(32845);
  ASSERT_NE(Dialog(), nullptr);
  calls.scale.clear();
  DialogClick(1148);  // Captured Image
  DialogClick(1165);  // Live Image
  Pick(1167, 2);
  Type(1158, "7");
  // Meanwhile the operator drags preset 2's bar on the picture.
  doc->m_scales[2].posX = 123;
  doc->m_scales[2].posY = 45;
  DialogClick(1166);  // Apply
  EXPECT_EQ(doc->GetScaleSelect(), 2);
  EXPECT_EQ(doc->m_scales[2].lengthValue, 7.0);
  EXPECT_EQ(doc->m_scales[2].posX, 123);
  EXPECT_EQ(doc->m_scales[2].posY, 45);
  EXPECT_EQ(doc->m_bScaleOnCaptured, 1u);
  EXPECT_EQ(doc->m_bScaleOnLive, 1u);
  EXPECT_EQ(calls.scale, (std::vector<std::string>{"update 0", Cache(), "place 0,0", "edit 1"}));
  EXPECT_EQ(liveCalls.scale, (std::vector<std::string>{"update 1", "place 1,0"}));
  EXPECT_NE(Dialog(), nullptr);  // Apply keeps the dialog open
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(MainFrameScale, CancelReturnsToTheLastApply) {
  Command(32845);
  ASSERT_NE(Dialog(), nullptr);
  DialogClick(1148);
  Pick(1167, 1);
  DialogClick(1166);  // Apply: preset 1, captured on
  Pick(1167, 3);
  DialogClick(1165);
  Type(1158, "9");
  const HWND window = Dialog()->m_hWnd;
  DialogClick(IDCANCEL);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(doc->GetScaleSelect(), 1);
  EXPECT_EQ(doc->m_bScaleOnCaptured, 1u);
  EXPECT_EQ(doc->m_bScaleOnLive, 0u);
  EXPECT_EQ(doc->m_scales[3].lengthValue, 0.0);  // never applied
  Pump();                                         // the dialog is freed
  Command(32845);
  EXPECT_NE(Dialog(), nullptr);
}

TEST_F(MainFrameScale, OkAppliesAndCloses) {
  Command(32845);
  ASSERT_NE(Dialog(), nullptr);
  Type(1158, "25");
  const HWND window = Dialog()->m_hWnd;
  DialogClick(IDOK);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(doc->m_scales[0].lengthValue, 25.0);
  Pump();
}

TEST_F(MainFrameScale, MeasuringNeedsAPicture) {
  doc->m_scales[0].source = 1;
  Command(32845);
  ASSERT_NE(Dialog(), nullptr);
  OnBox();
  DialogClick(1194);
  EXPECT_EQ(box, "Lumora Caution|画像が表示されていません。\n操作を中止します。|" + std::to_string(MB_ICONERROR));
  EXPECT_FALSE(IsDlgButtonChecked(Dialog()->m_hWnd, 1194));
  EXPECT_EQ(Caption(), "Scale");
  EXPECT_EQ(Dialog()->IsMeasuring(), 0);
  // With a picture but another source the button only comes back up.
  doc->UpdateImageStatus(1, 0);
  DialogClick(1168);
  DialogClick(1194);
  EXPECT_FALSE(IsDlgButtonChecked(Dialog()->m_hWnd, 1194));
  EXPECT_EQ(Dialog()->IsMeasuring(), 0);
  EXPECT_EQ(calls.scale.size(), 2u);  // opening only: no calibration began
}

TEST_F(MainFrameScale, AMeasuringRoundTripStoresTheLineLength) {
  doc->m_scales[0].source = 1;
  doc->SetResizeSave(1);
  doc->SetResizeSaveSize(1);  // pictures at half size
  doc->UpdateImageStatus(1, 0);
  Command(32845);
  ASSERT_NE(Dialog(), nullptr);
  CRect full;
  Dialog()->GetWindowRect(&full);
  full.bottom += 290;  // the full window shows the details
  calls.scale.clear();

  DialogClick(1194);
  EXPECT_EQ(Caption(), "Measuring Pixels");
  EXPECT_EQ(Dialog()->IsMeasuring(), 1);
  EXPECT_EQ(frame->IsCalibrating(), 1);
  EXPECT_EQ(calls.scale, (std::vector<std::string>{"begin", "update 0"}));
  CRect small;
  Dialog()->GetWindowRect(&small);
  EXPECT_EQ(small.Width(), full.Width() - 285);
  EXPECT_EQ(small.Height(), full.Height() - 345);
  EXPECT_EQ(Place(1199), CRect(40, 5, 90, 25));
  EXPECT_EQ(Place(1148).TopLeft(), CPoint(162, 10));
  EXPECT_EQ(Place(1165).TopLeft(), CPoint(239, 10));
  EXPECT_EQ(Place(1167).TopLeft(), CPoint(112, 40));
  DialogClick(IDCANCEL);  // ignored while measuring
  ASSERT_NE(Dialog(), nullptr);

  calls.calibrationLength = 300;
  DialogClick(1199);
  EXPECT_EQ(Caption(), "Scale");
  EXPECT_EQ(Dialog()->IsMeasuring(), 0);
  EXPECT_EQ(frame->IsCalibrating(), 0);
  EXPECT_EQ(calls.scale.back(), "apply");
  CRect restored;
  Dialog()->GetWindowRect(&restored);
  EXPECT_EQ(restored, full);
  EXPECT_EQ(Dialog()->IsDetailsShown(), 1);
  EXPECT_EQ(Dialog()->GetDetailsButton().IsExpanded(), 1);
  EXPECT_EQ(Place(1148), CRect(12, 10, 117, 30));
  EXPECT_EQ(Place(1165).TopLeft(), CPoint(139, 10));
  EXPECT_EQ(Place(1167).TopLeft(), CPoint(12, 40));
  EXPECT_LT(Place(1199).right, 0);
  EXPECT_FALSE(IsDlgButtonChecked(Dialog()->m_hWnd, 1194));
  // 300 pixels of a half-size picture are 600 at full size; shown as measured.
  EXPECT_EQ(Dialog()->GetPreset(0).measuredPixels, 600);
  char shown[32] = {};
  ::GetDlgItemTextA(Dialog()->m_hWnd, 1193, shown, sizeof shown);
  EXPECT_STREQ(shown, "300   ");
  DialogClick(IDCANCEL);
  EXPECT_EQ(Dialog(), nullptr);
}

}  // namespace
