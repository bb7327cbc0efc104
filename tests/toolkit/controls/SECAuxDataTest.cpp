#include <gtest/gtest.h>

#include "Config.h"
#include "ToolkitFixture.h"
#include "controls/SECAuxData.h"

namespace {

TEST(SECAuxData, HoldsTheSystemColoursUntilAskedToReread) {
  EXPECT_EQ(secData.clrBtnFace, ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(secData.clrWindowFrame, ::GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(secData.clrHighlightText, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_TRUE(secData.bWin4);
  EXPECT_EQ(secData.cxBorder2, 2);
  EXPECT_EQ(secData.cyBorder2, 2);
  EXPECT_NE(secData.hcurArrow, nullptr);
  EXPECT_EQ(secData.lcidUser, static_cast<LCID>(0x0411));

  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  {
    toolkit_test::SysColours changed{{COLOR_BTNFACE, RGB(1, 2, 3)}, {COLOR_3DDKSHADOW, RGB(4, 5, 6)}};
    EXPECT_EQ(secData.clrBtnFace, face);
    secData.UpdateSysColors();
    EXPECT_EQ(secData.clrBtnFace, RGB(1, 2, 3));
    EXPECT_EQ(secData.clr3DDkShadow, RGB(4, 5, 6));
  }
  secData.UpdateSysColors();
  EXPECT_EQ(secData.clrBtnFace, face);
}

TEST(SECAuxData, WindowsFourIsTheMajorVersionAboveThree) {
  struct Case {
    const char* platform;
    const char* version;
    BOOL win4;
  } cases[] = {
      {"NT", "5.1.2600", TRUE}, {"NT", "4.0.1381", TRUE}, {"9x", "4.10.2222", TRUE},
      {"NT", "3.51.1057", FALSE}, {"Win32s", "3.10.0", FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    plat::config::Set("PLATFORM", c.platform);
    plat::config::Set("WINVER", c.version);
    EXPECT_EQ(IsWindows4OrLater(), c.win4);
    EXPECT_EQ(SECAuxData().bWin4, c.win4);
    EXPECT_EQ(SECAuxData().cxBorder2, c.win4 ? 2 : 1);
  }
  plat::config::Set("PLATFORM", std::nullopt);
  plat::config::Set("WINVER", std::nullopt);
}

}  // namespace
