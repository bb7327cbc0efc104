// Bitmap menus: which items become owner-drawn, what they measure and how they are
// drawn (image box, check mark, selection, disabled and default items), menu characters,
// colour and setting changes, the radio dot, and string items put back at the end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "MenuFixture.h"
#include "controls/SECBmpMgr.h"
#include "controls/SECToolBarManager.h"
#include "framework/SECBmpMenuPlugIn.h"
#include "framework/SECMenuBarFeature.h"
#include "user/Driver.h"

namespace menu_test {
namespace {

namespace drv = plat::user::driver;

using BmpMenuTest = MenuTest;

// The plug-in of a frame made with bitmap menus.
SECBmpMenuPlugIn* PlugInOf(TestFrame* frame) { return dynamic_cast<SECBmpMenuPlugIn*>(frame->GetMenuPlugIn()); }

MENUITEMINFOA ItemInfo(HMENU menu, UINT pos) {
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STATE;
  ::GetMenuItemInfoA(menu, pos, TRUE, &mii);
  return mii;
}

TEST_F(BmpMenuTest, StringItemsBecomeOwnerDrawnAndOthersStayAsTheyAre) {
  MakeFrame(true, false);
  SECBmpMenuPlugIn* plugIn = PlugInOf(frame);
  ASSERT_NE(plugIn, nullptr);
  EXPECT_TRUE(plugIn->IsPluggedIn());
  EXPECT_FALSE(dynamic_cast<SECMenuBarFeature*>(plugIn));
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, 100, "&Alpha\tCtrl+A");
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, 0xF020, "Minimise");      // system commands stay strings
  ::AppendMenuA(menu, MF_OWNERDRAW, 300, reinterpret_cast<LPCSTR>(0x77));  // somebody else's
  HBITMAP picture = ::CreateBitmap(8, 8, 1, 1, nullptr);
  ::AppendMenuA(menu, MF_BITMAP, 301, reinterpret_cast<LPCSTR>(picture));
  ::AppendMenuA(menu, MF_STRING, 0xFEFF, "Window 9");
  ::AppendMenuA(menu, MF_STRING, 0xFF00, "Beyond");
  plugIn->OnInitMenuPopup(CMenu::FromHandle(menu), 0, FALSE);
  plugIn->OnInitMenuPopup(CMenu::FromHandle(menu), 0, FALSE);  // a second pass adds nothing

  const struct {
    UINT pos;
    bool ownerDrawn;
  } expected[] = {{0, true}, {1, false}, {2, false}, {3, true}, {4, false}, {5, false}, {6, true}};
  for (const auto& e : expected)
    EXPECT_EQ((ItemInfo(menu, e.pos).fType & MFT_OWNERDRAW) != 0, e.ownerDrawn) << e.pos;
  EXPECT_TRUE(ItemInfo(menu, 1).fType & MFT_SEPARATOR);
  EXPECT_EQ(ItemInfo(menu, 3).dwItemData, 0x77u);
  EXPECT_TRUE(plugIn->IsForeignID(300));
  const auto& info = *plugIn->GetMenuMap().at(menu);
  ASSERT_EQ(info.m_items.size(), 2u);
  const SECBmpMenuItemInfo* alpha = info.FindID(100);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(ItemInfo(menu, 0).dwItemData, reinterpret_cast<ULONG_PTR>(alpha));
  EXPECT_STREQ(alpha->m_strText, "&Alpha\tCtrl+A");
  EXPECT_EQ(alpha->m_nMnemonic, static_cast<UINT>('a'));
  // The system menu is never converted.
  HMENU sys = ::GetSystemMenu(frame->m_hWnd, FALSE);
  plugIn->OnInitMenuPopup(CMenu::FromHandle(sys), 0, TRUE);
  EXPECT_EQ(plugIn->GetMenuMap().count(sys), 0u);
  ::DestroyMenu(menu);
  ::DeleteObject(picture);
}

TEST(BmpMenuItemInfo, MnemonicsAndTextsAreWholeCharacters) {
  const struct {
    const char* text;
    UINT mnemonic;
  } cases[] = {
      {"&File", 'f'},
      {"Save &As...", 'a'},
      {"No mnemonic", 0},
      {"Ends in &", 0},
      {"", 0},
      {"&1 Recent", '1'},
      {"表示(&V)", 'v'},
      {"&表示", 0x8868},  // a whole UTF-8 character, as its code point
  };
  for (const auto& c : cases) EXPECT_EQ(SECBmpMenuItemInfo::MnemonicOf(c.text), c.mnemonic) << c.text;
  // An item's text is kept to 255 bytes, never cut inside a character.
  std::string longText(253, 'x');
  longText += "表表";
  SECBmpMenuItemInfo item(5, longText.c_str());
  EXPECT_EQ(item.m_strText.GetLength(), 253);
  std::string fits(252, 'y');
  fits += "表";
  EXPECT_EQ(SECBmpMenuItemInfo(6, fits.c_str()).m_strText.GetLength(), 255);
}

TEST_F(BmpMenuTest, ItemsMeasureTheirTextTheImageAndThirtyPixels) {
  MakeFrame(true, false);
  SECBmpMenuPlugIn* plugIn = PlugInOf(frame);
  HMENU file = Popup(0);
  plugIn->OnInitMenuPopup(CMenu::FromHandle(file), 0, FALSE);
  const auto* record = plugIn->GetMenuMap().at(file)->FindID(ID_MB_OPEN);
  ASSERT_NE(record, nullptr);
  // The expected text size in the system menu font.
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  CFont font;
  font.CreateFontIndirect(&ncm.lfMenuFont);
  CWindowDC dc(nullptr);
  CFont* old = dc.SelectObject(&font);
  CRect text(0, 0, 0, 0);
  dc.DrawText(record->m_strText, &text, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
  dc.SelectObject(old);

  MEASUREITEMSTRUCT mis{ODT_MENU, 0, ID_MB_OPEN, 0, 0, reinterpret_cast<ULONG_PTR>(record)};
  EXPECT_EQ(frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  EXPECT_EQ(static_cast<int>(mis.itemWidth), text.Width() + 16 + 30);
  EXPECT_EQ(static_cast<int>(mis.itemHeight), std::max({static_cast<int>(text.Height()), 15 + 4, ::GetSystemMetrics(SM_CYMENU)}));
  EXPECT_TRUE(frame->log.empty());  // the frame never saw it

  // Another component's item goes to the frame.
  MEASUREITEMSTRUCT foreign{ODT_MENU, 0, 777, 0, 0, 0x1234};
  frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign));
  EXPECT_EQ(frame->log, std::vector<std::string>{"measure 777"});
}

// Draws one converted item of `menu` into a fresh 200 x 24 bitmap and returns the DC.
class ItemCanvas {
 public:
  ItemCanvas() {
    dc.CreateCompatibleDC(nullptr);
    CWindowDC screen(nullptr);
    bitmap.CreateCompatibleBitmap(&screen, 200, 24);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 200, 24, RGB(1, 2, 3));
  }
  void Draw(CWnd* frame, HMENU menu, UINT pos, UINT state) {
    const MENUITEMINFOA mii = ItemInfo(menu, pos);
    DRAWITEMSTRUCT dis{ODT_MENU, 0, mii.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu), dc.m_hDC,
                       RECT{0, 0, 200, 24}, mii.dwItemData};
    handled = frame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  }
  COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
  // How many pixels of the text area (past the image box) have `colour`.
  int Count(COLORREF colour) {
    int n = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 21; x < 200; ++x) n += dc.GetPixel(x, y) == colour;
    return n;
  }
  CDC dc;
  CBitmap bitmap;
  LRESULT handled = 0;
};

// Counts the bold font's making: the default item is drawn in it, others are not.
class BoldCounting : public SECBmpMenuPlugIn {
 public:
  int bold = 0;
  BOOL CreateBoldMenuFont() override {
    ++bold;
    return SECBmpMenuPlugIn::CreateBoldMenuFont();
  }
};

TEST_F(BmpMenuTest, ItemsDrawTheirImageBoxTextAndState) {
  MakeFrame(true, false);
  SECBmpMenuPlugIn* plugIn = PlugInOf(frame);
  AddToolbarImages(plugIn->GetBitmapManager());
  HMENU file = Popup(0);
  plugIn->OnInitMenuPopup(CMenu::FromHandle(file), 0, FALSE);
  ::SetMenuDefaultItem(file, ID_MB_EXIT, FALSE);
  const COLORREF menuColour = ::GetSysColor(COLOR_MENU), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  // The images of the tests' toolbar: a coloured square at (4..11, 3..11) of each.
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0);
  // The image box is 20 wide; the image sits 2 in, centred in a box of 19 in 24 rows.
  const int ix = 2, iy = (24 - 19) / 2 + 2;

  ItemCanvas plain;
  plain.Draw(frame, file, 0, 0);  // New: image 0
  EXPECT_TRUE(plain.handled);
  EXPECT_EQ(plain.At(ix + 8, iy + 7), red);
  EXPECT_EQ(plain.At(ix + 1, iy + 1), ::GetSysColor(COLOR_BTNFACE));  // the image's grey
  EXPECT_EQ(plain.At(0, 0), menuColour);
  EXPECT_EQ(plain.At(100, 1), menuColour);
  EXPECT_GT(plain.Count(::GetSysColor(COLOR_MENUTEXT)), 0);

  ItemCanvas selected;
  selected.Draw(frame, file, 1, ODS_SELECTED);  // Open: image 1, raised edge, highlighted text
  EXPECT_EQ(selected.At(ix + 8, iy + 7), green);
  EXPECT_EQ(selected.At(0, iy - 2), ::GetSysColor(COLOR_BTNHIGHLIGHT));  // the edge's top left
  EXPECT_EQ(selected.At(100, 1), highlight);
  EXPECT_GT(selected.Count(::GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);

  ItemCanvas checked;
  checked.Draw(frame, file, 1, ODS_CHECKED);  // sunken edge; the image's grey becomes the dither
  EXPECT_EQ(checked.At(0, iy - 2), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(checked.At(ix + 8, iy + 7), green);
  const COLORREF d0 = checked.At(ix, iy), d1 = checked.At(ix + 1, iy);
  EXPECT_NE(d0, d1);  // a checkerboard of face and highlight
  EXPECT_TRUE((d0 == ::GetSysColor(COLOR_BTNFACE) && d1 == ::GetSysColor(COLOR_BTNHIGHLIGHT)) ||
              (d1 == ::GetSysColor(COLOR_BTNFACE) && d0 == ::GetSysColor(COLOR_BTNHIGHLIGHT)));

  ItemCanvas disabled;
  disabled.Draw(frame, file, 2, ODS_GRAYED);  // Save: the embossed image, grey text
  EXPECT_EQ(disabled.At(ix + 8, iy + 7), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(disabled.At(ix + 12, iy + 12), ::GetSysColor(COLOR_BTNHIGHLIGHT));  // the emboss, one pixel down right
  EXPECT_GT(disabled.Count(::GetSysColor(COLOR_GRAYTEXT)), 0);
  EXPECT_GT(disabled.Count(::GetSysColor(COLOR_BTNHIGHLIGHT)), 0);
  EXPECT_EQ(disabled.Count(::GetSysColor(COLOR_MENUTEXT)), 0);

  ItemCanvas noImage, noImageSelected;
  noImage.Draw(frame, file, 4, 0);  // Print: no image, no check: an empty box
  noImageSelected.Draw(frame, file, 4, ODS_SELECTED);
  EXPECT_EQ(noImage.At(ix + 8, iy + 7), menuColour);
  EXPECT_EQ(noImageSelected.At(ix + 8, iy + 7), highlight);

  ItemCanvas tick;
  tick.Draw(frame, file, 4, ODS_CHECKED);  // the library's check mark, black in the box
  int black = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 20; ++x) black += tick.At(x, y) == RGB(0, 0, 0);
  EXPECT_GT(black, 10);

  // The default item is drawn in the bold menu font (weight 700), the others not.
  BoldCounting counting;
  ASSERT_TRUE(counting.PlugInTo(frame));
  HMENU own = ::CreatePopupMenu();
  ::AppendMenuA(own, MF_STRING, ID_MB_EXIT, "E&xit");
  counting.OnInitMenuPopup(CMenu::FromHandle(own), 0, FALSE);
  ItemCanvas canvas;
  auto drawWith = [&](UINT pos, UINT state) {
    const MENUITEMINFOA mii = ItemInfo(own, pos);
    DRAWITEMSTRUCT dis{ODT_MENU, 0, mii.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(own), canvas.dc.m_hDC,
                       RECT{0, 0, 200, 24}, mii.dwItemData};
    LRESULT result = 0;
    counting.OnWndMsg(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), &result);
  };
  drawWith(0, 0);
  EXPECT_EQ(counting.bold, 0);
  drawWith(0, ODS_DEFAULT);
  EXPECT_EQ(counting.bold, 1);
  counting.UnPlug();
  ::DestroyMenu(own);

  // Items of a menu that is gone, and another component's items, are left alone.
  ItemCanvas foreign;
  DRAWITEMSTRUCT dis{ODT_MENU, 0, 777, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(file), foreign.dc.m_hDC,
                     RECT{0, 0, 200, 24}, 0x1234};
  frame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(foreign.At(100, 10), RGB(1, 2, 3));
  HMENU gone = ::CreatePopupMenu();
  ::AppendMenuA(gone, MF_STRING, 1, "&Gone");
  plugIn->OnInitMenuPopup(CMenu::FromHandle(gone), 0, FALSE);
  const MENUITEMINFOA goneItem = ItemInfo(gone, 0);
  ::DestroyMenu(gone);
  DRAWITEMSTRUCT stale{ODT_MENU, 0, 1, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(gone), foreign.dc.m_hDC,
                       RECT{0, 0, 200, 24}, goneItem.dwItemData};
  frame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&stale));
  EXPECT_EQ(foreign.At(100, 10), RGB(1, 2, 3));
}

TEST_F(BmpMenuTest, MenuCharactersExecuteOneMatchAndStepThroughSeveral) {
  MakeFrame(true, false);
  SECBmpMenuPlugIn* plugIn = PlugInOf(frame);
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, 10, "&Print");
  ::AppendMenuA(menu, MF_STRING, 11, "&Open");
  ::AppendMenuA(menu, MF_STRING, 12, "&Paste");
  ::AppendMenuA(menu, MF_STRING, 13, "Pre&view");
  ::AppendMenuA(menu, MF_STRING, 14, "&Properties");
  plugIn->OnInitMenuPopup(CMenu::FromHandle(menu), 0, FALSE);
  auto press = [&](char ch, int hilite) {
    for (UINT i = 0; i < 5; ++i) {
      MENUITEMINFOA mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_STATE;
      mii.fState = static_cast<int>(i) == hilite ? MFS_HILITE : 0;
      ::SetMenuItemInfoA(menu, i, TRUE, &mii);
    }
    return frame->SendMessage(WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), reinterpret_cast<LPARAM>(menu));
  };
  EXPECT_EQ(press('z', -1), 0);                              // no match: default processing
  EXPECT_EQ(press('O', -1), MAKELRESULT(1, MNC_EXECUTE));    // one: executed, any case
  EXPECT_EQ(press('v', 2), MAKELRESULT(3, MNC_EXECUTE));
  EXPECT_EQ(press('p', -1), MAKELRESULT(0, MNC_SELECT));     // several: the next after the highlight
  EXPECT_EQ(press('p', 0), MAKELRESULT(2, MNC_SELECT));
  EXPECT_EQ(press('p', 2), MAKELRESULT(4, MNC_SELECT));
  EXPECT_EQ(press('p', 4), MAKELRESULT(0, MNC_SELECT));      // wrapping round
  ::DestroyMenu(menu);
}

TEST_F(BmpMenuTest, TwoItemsWithOneLetterAreSelectedInTurnInAnOpenMenu) {
  MakeFrame(true, false);
  // "&Print" and "&Paste" are both P; "&Open" is executed at once.
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, ID_MB_PRINT, "&Print");
  ::AppendMenuA(menu, MF_STRING, ID_MB_OPEN, "&Open");
  ::AppendMenuA(menu, MF_STRING, ID_MB_PASTE, "&Paste");
  std::vector<int> selected;
  auto hilite = [&] {
    for (int i = 0; i < 3; ++i)
      if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
  };
  frame->script = {[&] { drv::TypeText("p"); }, [&] { selected.push_back(hilite()); drv::TypeText("p"); },
                   [&] { selected.push_back(hilite()); drv::TypeText("p"); },
                   [&] { selected.push_back(hilite()); drv::TypeText("o"); }};
  ::TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, frame->m_hWnd, nullptr);
  EXPECT_EQ(selected, (std::vector<int>{0, 2, 0}));
  ::DestroyMenu(menu);
}

TEST_F(BmpMenuTest, TheFrameFinishesWhatItsUpdateHandlersChanged) {
  MakeFrame(true, false);
  frame->renameOpen = TRUE;
  HMENU file = Popup(0);
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
  // The update handler turned "Open" back into a string; the plug-in converted it again.
  SECBmpMenuPlugIn* plugIn = PlugInOf(frame);
  const MENUITEMINFOA open = ItemInfo(file, 1);
  ASSERT_TRUE(open.fType & MFT_OWNERDRAW);
  const SECBmpMenuItemInfo* record = plugIn->GetMenuMap().at(file)->Find(open.dwItemData);
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->m_strText, "&Open Again");
  EXPECT_TRUE(ItemInfo(file, 2).fState & MF_GRAYED);  // Save, disabled by its handler
  // At idle time the record no item points at any more goes.
  const size_t before = plugIn->GetMenuMap().at(file)->m_items.size();
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(plugIn->GetMenuMap().at(file)->m_items.size(), before - 1);
}

TEST_F(BmpMenuTest, SettingChangesKeepItemsAndDropMenusThatAreGone) {
  MakeFrame(true, false);
  SECBmpMenuPlugIn* plugIn = PlugInOf(frame);
  HMENU file = Popup(0);
  HMENU gone = ::CreatePopupMenu();
  ::AppendMenuA(gone, MF_STRING, 1, "&Gone");
  plugIn->OnInitMenuPopup(CMenu::FromHandle(file), 0, FALSE);
  plugIn->OnInitMenuPopup(CMenu::FromHandle(gone), 0, FALSE);
  ::DestroyMenu(gone);
  const MENUITEMINFOA before = ItemInfo(file, 0);
  frame->SendMessage(WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(plugIn->GetMenuMap().count(gone), 0u);
  const MENUITEMINFOA after = ItemInfo(file, 0);
  EXPECT_TRUE(after.fType & MFT_OWNERDRAW);
  EXPECT_EQ(after.dwItemData, before.dwItemData);
  // Measured again, with new fonts, the same way.
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, ID_MB_NEW, 0, 0, after.dwItemData};
  EXPECT_EQ(frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  EXPECT_GT(mis.itemWidth, 46u);
  // A colour change keeps them too and the images reload.
  frame->SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_TRUE(ItemInfo(file, 0).fType & MFT_OWNERDRAW);
}

TEST_F(BmpMenuTest, DestructionPutsBackStringItems) {
  auto plugIn = std::make_unique<SECBmpMenuPlugIn>();
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, 10, "&One\tF1");
  ::AppendMenuA(menu, MF_STRING | MF_CHECKED, 11, "&Two");
  HMENU gone = ::CreatePopupMenu();
  ::AppendMenuA(gone, MF_STRING, 12, "&Three");
  plugIn->OnInitMenuPopup(CMenu::FromHandle(menu), 0, FALSE);
  plugIn->OnInitMenuPopup(CMenu::FromHandle(gone), 0, FALSE);
  ::DestroyMenu(gone);
  ASSERT_TRUE(ItemInfo(menu, 0).fType & MFT_OWNERDRAW);
  plugIn.reset();
  for (UINT pos : {0u, 1u}) {
    const MENUITEMINFOA mii = ItemInfo(menu, pos);
    EXPECT_FALSE(mii.fType & MFT_OWNERDRAW) << pos;
    EXPECT_EQ(mii.dwItemData, 0u) << pos;
  }
  char text[64];
  ::GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&One\tF1");
  EXPECT_TRUE(::GetMenuState(menu, 11, MF_BYCOMMAND) & MF_CHECKED);
  ::DestroyMenu(menu);
}

TEST_F(BmpMenuTest, TheLibrarysRadioDotAndTheToolbarManagersImages) {
  MakeFrame(true, false);
  SECBmpMenuPlugIn* own = PlugInOf(frame);
  EXPECT_FALSE(own->UsesOwnDot());
  // A menu bar's plug-in draws its own dot: 16 x 15, rows 5 to 9 holding 6, 15, 15, 15, 6.
  SECMenuBarFeature feature;
  EXPECT_EQ(AfxGetMenuDotBitmap(), SECBmpMenuPlugIn::LibraryMenuDot());
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(CBitmap::FromHandle(SECBmpMenuPlugIn::LibraryMenuDot()));
  std::vector<std::string> rows;
  for (int y = 0; y < 15; ++y) {
    std::string row;
    for (int x = 0; x < 16; ++x) row += dc.GetPixel(x, y) == RGB(0, 0, 0) ? '#' : '.';
    rows.push_back(row);
  }
  dc.SelectObject(old);
  EXPECT_EQ(rows[4], "................");
  EXPECT_EQ(rows[5], ".......##.......");
  EXPECT_EQ(rows[6], "......####......");
  EXPECT_EQ(rows[9], ".......##.......");
  EXPECT_EQ(rows[10], "................");

  // With bitmap menus and a toolbar manager, the plug-in shows the manager's images.
  app.m_pMainWnd = nullptr;
  frame->DestroyWindow();
  Settle();
  frame = new TestFrame;
  SECToolBarManager manager(frame);
  frame->SetManager(&manager);
  frame->EnableBitmapMenus(TRUE);
  ASSERT_TRUE(frame->LoadFrame(IDR_MB_FRAME, WS_OVERLAPPEDWINDOW));
  ASSERT_NE(PlugInOf(frame), nullptr);
  EXPECT_EQ(PlugInOf(frame)->GetBitmapManager(), manager.GetBmpMgr());
  frame->DestroyWindow();
  frame = nullptr;
}

// A kept screenshot is drawn with the installed fonts (the test font draws blocks).
struct ShotFonts {
  ShotFonts() : keep(std::getenv("LUMORA_DISPLAY_SHOTS") != nullptr) {
    if (keep) setenv("LUMORA_FONT", "", 1);
  }
  ~ShotFonts() {
    if (keep) setenv("LUMORA_FONT", "test", 1);
  }
  bool keep;
};

TEST_F(BmpMenuTest, ARadioItemShowsTheDotAndTheMenuLooksRight) {
  ShotFonts fonts;
  MakeFrame(true, false);
  SECBmpMenuPlugIn* plugIn = PlugInOf(frame);
  AddToolbarImages(plugIn->GetBitmapManager());
  // A popup with every look: images, the default item, a selection, a disabled item, a
  // checked image, the check mark and the radio dot (through their update handlers).
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, ID_MB_NEW, "&New\tCtrl+N");
  ::AppendMenuA(menu, MF_STRING, ID_MB_OPEN, "&Open...");
  ::AppendMenuA(menu, MF_STRING, ID_MB_SAVE, "&Save\tCtrl+S");
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING | MF_CHECKED, ID_MB_CUT, "Cu&t");
  ::AppendMenuA(menu, MF_STRING, ID_MB_RULER, "&Ruler");
  ::AppendMenuA(menu, MF_STRING, ID_MB_GRID, "&Grid");
  ::AppendMenuA(menu, MF_STRING, ID_MB_EXIT, "E&xit");
  ::SetMenuDefaultItem(menu, ID_MB_NEW, FALSE);
  CRect shot;
  frame->script = {[&] { drv::PressKey(VK_DOWN); }, [&] { drv::PressKey(VK_DOWN); },
                   [&] {
                     HWND popup = ::FindWindowA("#32768", nullptr);
                     ASSERT_TRUE(popup);
                     ::GetWindowRect(popup, &shot);
                     shot.InflateRect(4, 4);
                     Screenshot("bitmap-menu.png", shot);
                     drv::PressKey(VK_ESCAPE);
                   }};
  CRect window;
  frame->GetWindowRect(&window);
  ::TrackPopupMenu(menu, TPM_RETURNCMD, window.left + 20, window.top + 40, 0, frame->m_hWnd, nullptr);
  EXPECT_FALSE(shot.IsRectEmpty());
  MENUITEMINFOA marks{};
  marks.cbSize = sizeof marks;
  marks.fMask = MIIM_CHECKMARKS | MIIM_STATE | MIIM_FTYPE;
  ::GetMenuItemInfoA(menu, ID_MB_GRID, FALSE, &marks);
  EXPECT_TRUE(marks.fState & MFS_CHECKED);
  EXPECT_TRUE(marks.fType & MFT_OWNERDRAW);
  EXPECT_EQ(marks.hbmpChecked, AfxGetMenuDotBitmap());
  ::DestroyMenu(menu);
}

}  // namespace
}  // namespace menu_test
