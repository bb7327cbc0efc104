// The scale dialog driven as a user would, on a document of its own and without a main
// window: the calibration sources and what "1 pixel =" shows, the resolution factor on
// what is shown and typed, refused entries, Enter, the preset list and the details.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "annotation/dialogs/VexScaleDialog.h"
#include "control/VexDoc.h"
#include "user/Driver.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

class VexScaleDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    TheSettingSources() = VexSettingSources{};
    doc = std::make_unique<CVexDoc>();
    doc->m_camera.BoardRevision = 216;  // the older pitch, 6.7 um
  }
  void TearDown() override {
    if (dlg && dlg->GetSafeHwnd()) dlg->DestroyWindow();
    responder::Reset();
  }
  // Changes preset `index` of the document before the dialog opens.
  void EditPreset(int index, const std::function<void(tScaleInfo&)>& edit) {
    const int selected = doc->GetScaleSelect();
    doc->SetScaleSelect(index);
    tScaleInfo p;
    doc->GetSelectedScale(p);
    edit(p);
    doc->SetSelectedScale(p);
    doc->SetScaleSelect(selected);
  }
  // Opens the dialog as the frame does: created, then told the resize code.
  void Open(int code = 0) {
    dlg = std::make_unique<CVexScaleDialog>(doc.get());
    ASSERT_TRUE(dlg->Create(CVexScaleDialog::IDD));
    dlg->ShowWindow(SW_SHOW);
    dlg->OnSettingsChanged(CVexScaleDialog::kUpdateFlag, code);
  }
  HWND Item(int id) const { return ::GetDlgItem(dlg->m_hWnd, id); }
  std::string Text(int id) const {
    char text[256] = {};
    ::GetDlgItemTextA(dlg->m_hWnd, id, text, sizeof text);
    return text;
  }
  void Notify(int id, int code) const {
    ::SendMessageA(dlg->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
  }
  // Types `text` into an edit (or a combo's edit field) and leaves it.
  void Type(int id, const char* text) const {
    ::SetDlgItemTextA(dlg->m_hWnd, id, text);
    char cls[32] = {};
    ::GetClassNameA(Item(id), cls, sizeof cls);
    Notify(id, std::string(cls) == "ComboBox" ? CBN_KILLFOCUS : EN_KILLFOCUS);
  }
  void Click(int id) const { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
  void Pick(int id, int index) const {
    ::SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(id, CBN_SELCHANGE);
  }
  // Every message box from now on is kept and answered OK.
  void KeepBoxes() {
    for (int i = 0; i < 8; ++i)
      responder::Push([this](const responder::Shown& shown) {
        boxes.push_back(shown.caption + "|" + shown.text + ((shown.type & MB_ICONMASK) == MB_ICONERROR ? "|error" : ""));
        return IDOK;
      });
  }
  std::string Pixel() const { return Text(1189) + " " + Text(1191) + " / " + Text(1186) + " " + Text(1190); }

  std::unique_ptr<CVexDoc> doc;
  std::unique_ptr<CVexScaleDialog> dlg;
  std::vector<std::string> boxes;
};

TEST_F(VexScaleDialogTest, TheOpticalSourceShowsThePixelSizeAndWorksOutTheBar) {
  const struct {
    LONG revision;
    const char *lens, *mag, *shown;
    LONG bar;
  } cases[] = {
      {216, " 10", "  1", "0.22 um / 0.67 um", 448},  // 6.7e-6 / 30: 1e-4 / 2.2333e-7 = 447.8
      {217, " 20", "  1", "0.11 um / 0.32 um", 930},  // the newer pitch, 6.45
      {216, "200", "  1", "0.01 um / 0.03 um", 8955},
      {216, "200", "0.35", "0.03 um / 0.10 um", 3134},
      {216, "1000", "  1", "2.23 nm / 6.70 nm", 44776},  // below 0.005 um: shown in nm
  };
  for (const auto& c : cases) {
    doc->m_camera.BoardRevision = c.revision;
    EditPreset(0, [](tScaleInfo& p) {
      p.source = 0;
      p.lengthValue = 100;
      p.unit = 2;
      p.measuredUnit = 2;
    });
    Open();
    Type(1172, c.lens);
    Type(1174, c.mag);
    EXPECT_EQ(Pixel(), c.shown) << c.lens << " x " << c.mag;
    EXPECT_EQ(dlg->GetPreset(0).barLength, c.bar) << c.lens << " x " << c.mag;
    EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, 1168));
    dlg->DestroyWindow();
  }
}

TEST_F(VexScaleDialogTest, WhatIsShownAndTypedFollowsTheResolutionFactor) {
  doc->SetResizeSave(1);
  EditPreset(0, [](tScaleInfo& p) { p.thickness = 40; });
  Open(1);  // 0.5
  EXPECT_EQ(dlg->GetResolutionFactor(), 0.5);
  EXPECT_EQ(Text(1153), "  20");
  Type(1153, "50");
  EXPECT_EQ(dlg->GetPreset(0).thickness, 100);
  EXPECT_EQ(Text(1153), "  50");
  Pick(1153, 3);  // "  20" from the list
  EXPECT_EQ(dlg->GetPreset(0).thickness, 40);

  // A measured line of 300 pixels on a picture at 0.25 is 1200 pixels at full size.
  dlg->OnSettingsChanged(CVexScaleDialog::kUpdateFlag, 2);
  dlg->SetMeasuredPixels(300);
  EXPECT_EQ(dlg->GetPreset(0).measuredPixels, 1200);
  EXPECT_EQ(Text(1193), "300   ");
  EXPECT_EQ(Text(1192), "100");

  // The typed pixel counts too: 150 Fine, 25.5 Quick.
  Click(1170);
  Type(1184, "150");
  EXPECT_EQ(dlg->GetPreset(0).pixelCount, 600);
  Type(1185, "25.5");
  EXPECT_EQ(dlg->GetPreset(0).pixelCount, 306);
  EXPECT_EQ(Text(1184), "77");
  EXPECT_EQ(Text(1185), "25.50");

  // Without resize-on-save every code gives 1.0.
  doc->SetResizeSave(0);
  dlg->OnSettingsChanged(CVexScaleDialog::kUpdateFlag, 1);
  EXPECT_EQ(dlg->GetResolutionFactor(), 1.0);
  EXPECT_EQ(Text(1153), "  40");
  EXPECT_EQ(dlg->OnSettingsChanged(0x1000, 2), 0);
  EXPECT_EQ(dlg->GetResolutionFactor(), 1.0);
}

TEST_F(VexScaleDialogTest, NoneShowsNoneAndKeepsTheBarLength) {
  EditPreset(0, [](tScaleInfo& p) {
    p.source = 3;
    p.barLength = 777;
    p.lengthValue = 50;
  });
  Open();
  EXPECT_EQ(Pixel(), "None  / None ");
  Type(1158, "60");
  Click(1187);
  EXPECT_EQ(Pixel(), "None  / None ");
  EXPECT_EQ(dlg->GetPreset(0).source, 3);
  EXPECT_EQ(dlg->GetPreset(0).barLength, 777);
  EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, 1187));
  EXPECT_FALSE(IsDlgButtonChecked(dlg->m_hWnd, 1170));
}

TEST_F(VexScaleDialogTest, RefusedEntriesAreToldAndKeepTheStoredValue) {
  EditPreset(0, [](tScaleInfo& p) { p.source = 2; });
  Open();
  const auto stored = [this] {
    const tScaleInfo& p = dlg->GetPreset(0);
    return CVexDoc::FormatScaleInfo(p);
  };
  const struct {
    int id;
    const char* text;
    UINT message;
    const char* shownAgain;
  } cases[] = {
      {1158, "abc", 62572, "0.00"},      {1158, "1.2.3", 62572, "0.00"}, {1158, "1 2", 62572, "0.00"},
      {1158, "-5", 62572, "0.00"},       {1158, "1000000", 62572, "0.00"}, {1153, "0", 62573, "  10"},
      {1153, "1000", 62573, "  10"},     {1153, "2.5", 62573, "  10"},   {1172, "0.001", 62574, "  1"},
      {1174, "10000", 62574, "  1"},     {1176, "0", 62575, "1.00"},     {1184, "10000", 62571, "1"},
      {1184, "1.5", 62571, "1"},         {1185, "0", 62574, "0.33"},     {1181, "x", 62575, "1.00"},
      {1181, "1e3", 62575, "1.00"},
  };
  for (const auto& c : cases) {
    const CString before = stored();
    boxes.clear();
    KeepBoxes();
    Type(c.id, c.text);
    CString message;
    message.LoadString(c.message);
    ASSERT_FALSE(boxes.empty()) << c.id << " " << c.text;
    EXPECT_EQ(boxes.front(), "Lumora Error|" + std::string(message) + "|error") << c.id << " " << c.text;
    EXPECT_EQ(Text(c.id), c.shownAgain) << c.id << " " << c.text;
    EXPECT_EQ(stored(), before) << c.id << " " << c.text;
    responder::Reset();
  }
  // An empty field puts the stored value back without a word.
  boxes.clear();
  KeepBoxes();
  Type(1158, "   ");
  EXPECT_EQ(Text(1158), "0.00");
  EXPECT_TRUE(boxes.empty());
  // A good one is taken whole, blanks around it allowed.
  Type(1158, " 12.5 ");
  EXPECT_EQ(dlg->GetPreset(0).lengthValue, 12.5);
}

TEST_F(VexScaleDialogTest, EnterAndEscapeMoveTheFocusToApply) {
  Open();
  for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
    ::SetFocus(Item(1158));
    MSG msg{Item(1158), WM_KEYDOWN, key, 0, 0, {0, 0}};
    EXPECT_TRUE(dlg->PreTranslateMessage(&msg));
    EXPECT_EQ(::GetFocus(), Item(1166));
    EXPECT_TRUE(::IsWindow(dlg->m_hWnd));
  }
  MSG other{Item(1158), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  ::SetFocus(Item(1158));
  dlg->PreTranslateMessage(&other);
  EXPECT_EQ(::GetFocus(), Item(1158));
}

TEST_F(VexScaleDialogTest, ChoosingAPresetShowsAllOfIt) {
  EditPreset(0, [](tScaleInfo& p) {
    p.penColor = RGB(0, 255, 0);
    p.filled = 0;
  });
  EditPreset(5, [](tScaleInfo& p) {
    p.name = "Objective 5";
    p.vertical = 1;
    p.thickness = 60;
    p.lengthValue = 2.5;
    p.unit = 1;
    p.divide = 4;
    p.penColor = RGB(255, 0, 0);
    p.filled = 1;
    p.fillColor = RGB(0, 0, 128);
    p.source = 2;
    p.pixelCount = 300;
    p.pixelLength = 1;
    p.pixelUnit = 1;
  });
  Open();
  EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, 1149));
  Pick(1167, 5);
  EXPECT_EQ(dlg->GetCurrentIndex(), 5);
  EXPECT_EQ(Text(1167), "Objective 5");
  EXPECT_EQ(Text(1158), "2.50");
  EXPECT_EQ(Text(1159), "mm");
  EXPECT_EQ(Text(1153), "  60");
  EXPECT_EQ(Text(1151), "   4");
  EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, 1170));
  EXPECT_EQ(Text(1184), "300");
  EXPECT_EQ(Text(1185), "100");
  EXPECT_EQ(Text(1181), "1.00");
  EXPECT_EQ(Pixel(), "3.33 um / 10.00 um");
  EXPECT_EQ(dlg->GetPreset(5).barLength, 750);
  // Direction, colours and fill are the chosen preset's too.
  EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, 1150));
  EXPECT_FALSE(IsDlgButtonChecked(dlg->m_hWnd, 1149));
  EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, 1196));
  const auto* line = dynamic_cast<CScaleLineColor*>(CWnd::FromHandlePermanent(Item(1162)));
  const auto* back = dynamic_cast<CScaleBackColorButton*>(CWnd::FromHandlePermanent(Item(1164)));
  ASSERT_TRUE(line && back);
  EXPECT_EQ(line->GetColor(), RGB(255, 0, 0));
  EXPECT_EQ(back->GetColor(), RGB(0, 0, 128));
  Pick(1167, 0);
  EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, 1149));
  EXPECT_FALSE(IsDlgButtonChecked(dlg->m_hWnd, 1196));
  EXPECT_EQ(line->GetColor(), RGB(0, 255, 0));
  EXPECT_EQ(back->GetColor(), GetSysColor(COLOR_BTNFACE));
  // A click edits what is shown: the fill goes on for preset 0.
  Click(1196);
  EXPECT_EQ(dlg->GetPreset(0).filled, 1);
  EXPECT_EQ(dlg->GetPreset(5).filled, 1);
}

// The direction radios lie under their group box, which lets the user's clicks through.
TEST_F(VexScaleDialogTest, TheDirectionRadiosTakeClicksWhereTheyAreShown) {
  Open();
  for (int id : {1150, 1149}) {
    RECT r;
    ::GetWindowRect(Item(id), &r);
    plat::user::driver::Click(r.left + 5, (r.top + r.bottom) / 2);
    plat::user::driver::WaitIdle();
    EXPECT_TRUE(IsDlgButtonChecked(dlg->m_hWnd, id)) << id;
    EXPECT_EQ(dlg->GetPreset(dlg->GetCurrentIndex()).vertical, id == 1150 ? 1 : 0);
  }
}

TEST_F(VexScaleDialogTest, ColoursComeFromTheChooserAndTheBoxColourOnlyWhileFilled) {
  Open();
  int choosers = 0;
  // Every colour chooser picks (10, 20, 30) through its fields.
  for (int i = 0; i < 3; ++i)
    responder::Push([&choosers](const responder::Shown& shown) {
      ++choosers;
      ::SendMessageA(::GetDlgItem(shown.hwnd, COLOR_MIX), BM_CLICK, 0, 0);
      ::SetDlgItemInt(shown.hwnd, COLOR_RED, 10, FALSE);
      ::SetDlgItemInt(shown.hwnd, COLOR_GREEN, 20, FALSE);
      ::SetDlgItemInt(shown.hwnd, COLOR_BLUE, 30, FALSE);
      ::SendMessageA(::GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
      return 0;
    });
  Click(1162);
  EXPECT_EQ(dlg->GetPreset(0).penColor, RGB(10, 20, 30));
  Click(1164);  // the box is not filled: no chooser
  EXPECT_EQ(choosers, 1);
  Click(1196);
  Click(1164);
  EXPECT_EQ(choosers, 2);
  EXPECT_EQ(dlg->GetPreset(0).fillColor, RGB(10, 20, 30));
  EXPECT_EQ(dlg->GetPreset(0).filled, 1);
  const auto* back = dynamic_cast<CScaleBackColorButton*>(CWnd::FromHandlePermanent(Item(1164)));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetColor(), RGB(10, 20, 30));
  Click(1196);  // off again: the swatch shows the button face, the colour is kept
  EXPECT_EQ(back->GetColor(), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(dlg->GetPreset(0).fillColor, RGB(10, 20, 30));
}

TEST_F(VexScaleDialogTest, ADivideCodeOutsideTheListIsLeftAlone) {
  EditPreset(0, [](tScaleInfo& p) { p.divide = 3; });
  Open();
  EXPECT_EQ(::SendMessageA(Item(1151), CB_GETCURSEL, 0, 0), CB_ERR);
  Type(1158, "5");
  EXPECT_EQ(dlg->GetPreset(0).divide, 3);
  Pick(1151, 5);
  EXPECT_EQ(dlg->GetPreset(0).divide, 10);
}

TEST_F(VexScaleDialogTest, APresetNameIsStoredAsTheDocumentStoresIt) {
  Open();
  // A comma and 30 three-byte characters: cut to 63 bytes at a whole character.
  std::string name = "A,B";
  for (int i = 0; i < 30; ++i) name += "目";
  ::SetDlgItemTextA(dlg->m_hWnd, 1167, name.c_str());
  Notify(1167, CBN_KILLFOCUS);
  const CString stored = dlg->GetPreset(0).name;
  EXPECT_EQ(stored.GetLength(), 3 + 20 * 3);
  EXPECT_EQ(std::string(stored).substr(0, 3), "A B");
  char item[256] = {};
  ::SendMessageA(Item(1167), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(CString(item), stored);
  EXPECT_EQ(Text(1167), std::string(stored));
}

TEST_F(VexScaleDialogTest, NoMeasuredLineKeepsTheStoredCount) {
  EditPreset(0, [](tScaleInfo& p) { p.measuredPixels = 250; });
  Open();
  KeepBoxes();
  for (int pixels : {0, -4}) dlg->SetMeasuredPixels(pixels);
  EXPECT_EQ(dlg->GetPreset(0).measuredPixels, 250);
  ASSERT_EQ(boxes.size(), 2u);
  CString message;
  message.LoadString(62581);
  EXPECT_EQ(boxes[0], "Lumora Error|" + std::string(message) + "|error");
}

TEST_F(VexScaleDialogTest, DetailsShowAndHideTheLowerPart) {
  Open();
  CRect collapsed, expanded;
  dlg->GetWindowRect(&collapsed);
  EXPECT_EQ(dlg->IsDetailsShown(), 0);
  EXPECT_EQ(dlg->GetDetailsButton().IsExpanded(), 0);
  Click(1001);
  dlg->GetWindowRect(&expanded);
  EXPECT_EQ(expanded.Height(), collapsed.Height() + 290);
  EXPECT_EQ(expanded.TopLeft(), collapsed.TopLeft());
  EXPECT_EQ(dlg->GetDetailsButton().IsExpanded(), 1);
  // Redraws, pressed or not, never turn the triangle.
  for (int i = 0; i < 3; ++i) dlg->GetDlgItem(1001)->RedrawWindow();
  EXPECT_EQ(dlg->GetDetailsButton().IsExpanded(), 1);
  Click(1001);
  dlg->GetWindowRect(&expanded);
  EXPECT_EQ(expanded.Height(), collapsed.Height());
  EXPECT_EQ(dlg->GetDetailsButton().IsExpanded(), 0);
}

TEST_F(VexScaleDialogTest, UnitsAndNumbersAreShownAsTheListsShowThem) {
  EXPECT_EQ(CVexScaleDialog::FormatNumber(10), CString(" 10"));
  EXPECT_EQ(CVexScaleDialog::FormatNumber(0.5), CString("  0.5"));
  EXPECT_EQ(CVexScaleDialog::FormatNumber(1.25), CString("  1.25"));
  EXPECT_EQ(CVexScaleDialog::FormatNumber(1.82), CString("  1.82"));
  EXPECT_STREQ(CVexScaleDialog::UnitName(3), "nm");
  EXPECT_EQ(CVexScaleDialog::MetresPerUnit(0), 0.01);
  EXPECT_EQ(CVexScaleDialog::MetresPerUnit(9), 1e-9);  // a stored unit beyond the list
  Open();
  EXPECT_EQ(::SendMessageA(Item(1172), CB_GETCOUNT, 0, 0), 15);
  EXPECT_EQ(::SendMessageA(Item(1174), CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(::SendMessageA(Item(1153), CB_GETCOUNT, 0, 0), 8);
  EXPECT_EQ(::SendMessageA(Item(1151), CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(::SendMessageA(Item(1167), CB_GETCOUNT, 0, 0), 8);
  char caption[64] = {};
  ::GetWindowTextA(dlg->m_hWnd, caption, sizeof caption);
  EXPECT_STREQ(caption, "Scale");
}

}  // namespace
