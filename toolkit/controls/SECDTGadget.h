// SECDTGadget: one field of the date/time control, a small non-window object that the
// control owns, places, draws and feeds with input. A gadget tells its control what the
// user did (code, gadget id, data) and the control decides whether the value changes.
// SECDTStaticGadget is the literal text between the fields.
#pragma once
#include <afxwin.h>

class SECDateTimeCtrl;

class SECDTGadget : public CObject {
  DECLARE_DYNAMIC(SECDTGadget)
 public:
  // Style bits.
  enum {
    WantFocus = 0x1,  // can be the active field
    WantMouse = 0x2,  // takes mouse input
    IsFixed = 0x4,    // right-aligned, never scrolled (the button and the spin)
    IsEmpty = 0x8     // partial-date mode: no value yet, placeholders are drawn
  };

  // Notification codes, gadget to control.
  enum {
    CodeStepUp = 1,
    CodeStepDown = 2,
    CodeSpinUp = 3,  // data: the step
    CodeSpinDown = 4,
    CodeButton = 5,
    CodeTest = 6,  // data: value or list index; nothing changes
    CodeSet = 7,
    CodeFirst = 8,
    CodeLast = 9,
    CodeTyping = 10,  // data: 1 typing began, 0 it ended
    CodeComplete = 11
  };

  SECDTGadget() = default;
  ~SECDTGadget() override;

  void Initialise(SECDateTimeCtrl* pCtrl, int nID);

  virtual void GetText(CString& text) const;
  // Sets the rectangle to the gadget's size at the origin; bottom -1 asks for the full height.
  virtual void CalcSize(CDC& dc) = 0;
  virtual void Draw(CDC& dc) = 0;
  virtual BOOL SetActive(BOOL bActive);
  virtual void OnKeyDown(UINT nChar);
  virtual void OnChar(UINT nChar);
  virtual void OnLButtonDown(UINT nFlags, CPoint point);
  virtual void OnLButtonUp(UINT nFlags, CPoint point);
  virtual void OnMouseMove(UINT nFlags, CPoint point);
  virtual void OnCancelMode();
  virtual void OnTimer();
  virtual void OnSysColorChange();

  const CRect& GetRect() const { return m_rect; }
  void SetRect(const CRect& rect) { m_rect = rect; }
  int GetStyle() const { return m_nStyle; }
  void SetStyle(int nStyle) { m_nStyle = nStyle; }
  int GetID() const { return m_nID; }
  int GetValue() const { return m_nValue; }
  // Shows a value the control decided on.
  virtual void SetValue(int nValue) { m_nValue = nValue; }
  BOOL IsActive() const { return m_bActive; }
  BOOL TakesFocus() const { return (m_nStyle & WantFocus) != 0; }
  BOOL TakesMouse() const { return (m_nStyle & WantMouse) != 0; }
  BOOL IsFixedGadget() const { return (m_nStyle & IsFixed) != 0; }

  // The gadget whose timer `nIDEvent` is; null for a timer of no gadget.
  static SECDTGadget* FromTimer(UINT_PTR nIDEvent);

 protected:
  BOOL Notify(int nCode, int nData);
  void Invalidate(BOOL bUpdate = FALSE);
  void CaptureMouse(BOOL bCapture);
  void StartTimer(UINT nElapse);
  void StopTimer();
  BOOL HasTimer() const;
  // Single-line text in `rect` (DT_* alignment), or its extent with DT_CALCRECT.
  static CSize TextExtent(CDC& dc, const CString& text);
  static void DrawTextIn(CDC& dc, const CString& text, CRect rect, UINT nAlign);

  CRect m_rect;
  int m_bActive = 0;
  int m_nStyle = WantFocus;
  int m_nID = -1;
  int m_nValue = 0;
  SECDateTimeCtrl* m_pCtrl = nullptr;
};

// Literal text between the fields.
class SECDTStaticGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTStaticGadget)
 public:
  SECDTStaticGadget() { m_nStyle = 0; }
  void Initialise(SECDateTimeCtrl* pCtrl, LPCSTR lpszText, int nID = -1);

  void GetText(CString& text) const override { text = m_strText; }
  void CalcSize(CDC& dc) override;
  void Draw(CDC& dc) override;

 protected:
  CString m_strText;
};
