// SECTBMenuBtn: a toolbar button that shows a text label and drops a menu when pressed
// (the buttons of a menu bar). Its mnemonic is the character after the label's "&".
#pragma once
#include "controls/SECStdBtn.h"

// What a menu button is made from: the menu, the popup's position in it, the label and
// a value of the bar's own. A button-class entry's data for this class points at one.
struct SECTBMenuBtnInfo {
  UINT nIDMenu = 0;
  int nSubMenu = 0;
  LPCSTR lpszLabel = nullptr;
  int nExtra = 0;
};

class SECTBMenuBtn : public SECStdBtn {
 public:
  SECTBMenuBtn();

  static const SECButtonClass classSECTBMenuBtn;
  static SECStdBtn* CreateButton();

  // `pData` points at a SECTBMenuBtnInfo, or is null.
  void Init(SECCustomToolBar* pToolBar, const UINT* pData) override;
  BOOL BtnPressDown(CPoint point) override;
  void AdjustSize() override;
  void DrawFace(SECBtnDrawContext& ctx, BOOL bPlain, int& x, int& y, int& cx, int& cy, int nImageWidth = -1) override;
  ~SECTBMenuBtn() override = default;
  const SECButtonClass* GetButtonClass() const override { return &classSECTBMenuBtn; }
  virtual void DropMenu();
  virtual void UpdateMnemonic();

  // The label's font: the bar's menu font, else its normal font.
  HFONT LabelFont() const;

  CString m_strLabel;
  UINT m_nIDMenu = 0;
  int m_nSubMenu = 0;
  UINT m_nMnemonic = 0;  // lower case, 0 for none
  int m_nExtra = 0;
};
