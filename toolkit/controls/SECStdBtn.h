// SECStdBtn: one button (or separator) of a customisable toolbar. It sizes itself from
// its bar's metrics, follows the mouse while pressed, draws itself off screen through
// the bar's draw context with the image the bitmap manager holds for its command, and
// tells its bar's owner about itself with a notification record.
#pragma once
#include <afxext.h>

class SECCustomToolBar;
class SECBtnDrawContext;
class SECStdBtn;
class SECBtnInfo;

// Button states of the class library beyond the framework's TBBS_ bits.
#define SEC_TBBS_DROPDOWN 0x00000008L       // pressing sends the drop-down notification
#define SEC_TBBS_CUSTSELECTED 0x01000000L   // selected in customise mode
#define SEC_TBBS_HOT 0x02000000L            // under the mouse in cool look
#define SEC_TBBS_NOAUTODISABLE 0x10000000L  // never disabled for want of a handler
#define SEC_TBBS_VCENTER 0x20000000L        // centred vertically in its row

// Button kinds (SECStdBtn::m_nType).
#define SEC_BTNTYPE_STANDARD 0
#define SEC_BTNTYPE_FOCUS 3        // holds the keyboard focus, image 0
#define SEC_BTNTYPE_FOCUS_OTHER 4  // holds the keyboard focus
#define SEC_BTNTYPE_TRAILING 5     // the last button of a stretched bar goes to the far end

// Notification codes a button sends its bar's owner.
#define SEC_TBN_DROPDOWN 0xFFFFFD3AU  // TBN_DROPDOWN

// A button class: how to make one, and the class it derives from.
struct SECButtonClass {
  SECStdBtn* (*pfnCreateButton)();
  const SECButtonClass* pBaseClass;
};

// A change of a button's state: bits cleared by the mask, then set.
struct SECBtnStateChange {
  UINT nMask = 0;
  UINT nSet = 0;
};

// The record a button's notification carries (NMHDR first, then the fields in order).
struct SECBtnNotify {
  NMHDR hdr;        // the bar's window, the bar's control id, the code
  int iItem;        // the button's command id
  BYTE reserved[28];
  int nIndex;       // the button's index in its bar
  int nValue1;
  int nValue2;
  int nZero;
};

class SECStdBtn {
 public:
  SECStdBtn() = default;
  SECStdBtn(const SECStdBtn&) = delete;
  SECStdBtn& operator=(const SECStdBtn&) = delete;

  static const SECButtonClass classSECStdBtn;
  static SECStdBtn* CreateButton();

  virtual void SetOrientation(DWORD dwAlignment) {}
  virtual void SetStyle(UINT nStyle) { m_nStyle = nStyle; }
  virtual UINT GetStyle() const { return m_nStyle; }
  virtual BOOL HasStyle(UINT nStyle) const { return (m_nStyle & nStyle) == nStyle; }
  virtual void SetPos(int x, int y);
  virtual void Invalidate(BOOL bErase = FALSE) const;
  virtual void Init(SECCustomToolBar* pToolBar, const UINT* pData);
  virtual BOOL CanDrag() const { return TRUE; }
  virtual void Draw(CDC& dc, SECBtnDrawContext& ctx);
  virtual BOOL BtnPressDown(CPoint point);
  virtual void BtnPressMouseMove(CPoint point);
  virtual void BtnPressCancel();
  virtual UINT BtnPressUp(CPoint point);
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {}
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
  virtual void ApplyStateChange(int nCode, const SECBtnStateChange& change);
  virtual void AdjustSize();
  virtual void GetBarInfo(SECBtnInfo* pInfo) {}
  virtual void SetBarInfo(const SECBtnInfo* pInfo) {}
  virtual LRESULT SendNotify(UINT nCode, int nValue1 = 0, int nValue2 = 0);
  // Draws the face and image; the rectangle comes back less the frame drawn round it.
  virtual void DrawFace(SECBtnDrawContext& ctx, BOOL bPlain, int& x, int& y, int& cx, int& cy, int nImageWidth = -1);
  virtual void DrawDisabled(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
  virtual void DrawChecked(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
  virtual void DrawIndeterminate(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
  virtual void DrawConfigFocus(SECBtnDrawContext& ctx);
  virtual void SelectBitmap(SECBtnDrawContext& ctx);
  virtual void DrawSeparator(CDC& dc);
  virtual void DrawButton(SECBtnDrawContext& ctx);
  virtual void BlitImage(SECBtnDrawContext& ctx, int x, int y);
  virtual void DrawTransparent(CDC& dc, SECBtnDrawContext& ctx);
  virtual void DrawConfigFocusIfSelected(SECBtnDrawContext& ctx);
  virtual void CopyToScreen(CDC& dc, SECBtnDrawContext& ctx);
  virtual ~SECStdBtn() = default;
  virtual const SECButtonClass* GetButtonClass() const { return &classSECStdBtn; }

  void SetToolBar(SECCustomToolBar* pToolBar);
  CRect GetRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
  BOOL IsSeparator() const { return (m_nStyle & TBBS_SEPARATOR) != 0; }
  // The button's place in its bar, -1 when it is in none.
  int GetIndex() const;

  UINT m_nID = 0;
  int m_nImage = 0;
  UINT m_nStyle = 0;
  int m_x = -1, m_y = -1;
  int m_cx = 23, m_cy = 22;
  int m_nType = SEC_BTNTYPE_STANDARD;
  SECCustomToolBar* m_pToolBar = nullptr;

 protected:
  // Face and highlight pixels of the work rectangle white, all others black.
  void MakeMask(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
  // The image DC holds this command's image for this paint.
  BOOL m_bHasImage = FALSE;
};
