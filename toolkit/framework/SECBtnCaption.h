// SECBtnCaption: the menu-bar button that shows a maximised child window's three caption
// buttons (minimise, restore, close) at the far end of the bar and sends the child the
// command of the box pressed and released. SECCapMenuBtn: the button with the child's
// icon, which drops the child's system menu.
#pragma once
#include "SECTBMenuBtn.h"

class SECBtnCaption : public SECStdBtn {
 public:
  static constexpr UINT kShown = 0x80000;
  static constexpr UINT kMinRestoreEnabled = 0x20000;
  static constexpr UINT kInitialFlags = 0xB0000;

  SECBtnCaption();

  static const SECButtonClass classSECBtnCaption;
  static SECStdBtn* CreateButton();

  void AdjustSize() override;
  BOOL BtnPressDown(CPoint point) override;
  void BtnPressMouseMove(CPoint point) override;
  void BtnPressCancel() override;
  UINT BtnPressUp(CPoint point) override;
  void DrawButton(SECBtnDrawContext& ctx) override;
  const SECButtonClass* GetButtonClass() const override { return &classSECBtnCaption; }

  // The box under a point of the bar (0 minimise, 1 restore, 2 close), -1 for none.
  int BoxAt(CPoint point) const;
  // The window the boxes act on: the active MDI child of the bar's frame (or, outside
  // MDI, its active frame), or null.
  CWnd* TargetWindow() const;

  UINT m_nCaptionFlags = kInitialFlags;
  int m_cxBox;
  int m_cyBox;
  int m_nPressedBox = -1;
};

class SECCapMenuBtn : public SECTBMenuBtn {
 public:
  SECCapMenuBtn();

  static const SECButtonClass classSECCapMenuBtn;
  static SECStdBtn* CreateButton();

  void AdjustSize() override;
  void DrawFace(SECBtnDrawContext& ctx, BOOL bPlain, int& x, int& y, int& cx, int& cy, int nImageWidth = -1) override;
  void DropMenu() override;
  const SECButtonClass* GetButtonClass() const override { return &classSECCapMenuBtn; }

  HICON m_hIcon = nullptr;
};
