// The status bar window wrapped: parts, their texts and types, simple mode, and the
// owner-drawn parts it draws itself through DrawItem.
#pragma once
#include "AfxControls.h"
#include "WinCommCtrl.h"

class CStatusBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CStatusBarCtrl)
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  BOOL SetText(LPCSTR lpszText, int nPane, int nType) {
    return static_cast<BOOL>(SendMessage(SB_SETTEXT, static_cast<WPARAM>(nPane | nType), reinterpret_cast<LPARAM>(lpszText)));
  }
  // The pane's text; pType (if given) receives its SBT_ type.
  CString GetText(int nPane, int* pType = nullptr) const;
  int GetTextLength(int nPane, int* pType = nullptr) const;
  BOOL SetParts(int nParts, int* pWidths) {
    return static_cast<BOOL>(SendMessage(SB_SETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pWidths)));
  }
  int GetParts(int nParts, int* pParts) const {
    return static_cast<int>(SendMessage(SB_GETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pParts)));
  }
  BOOL GetBorders(int* pBorders) const { return static_cast<BOOL>(SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(pBorders))); }
  BOOL GetBorders(int& nHorz, int& nVert, int& nSpacing) const;
  void SetMinHeight(int nMin) { SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(nMin)); }
  BOOL SetSimple(BOOL bSimple = TRUE) {
    SendMessage(SB_SIMPLE, static_cast<WPARAM>(bSimple));
    return TRUE;
  }
  BOOL IsSimple() const { return static_cast<BOOL>(SendMessage(SB_ISSIMPLE)); }
  BOOL GetRect(int nPane, LPRECT lpRect) const {
    return static_cast<BOOL>(SendMessage(SB_GETRECT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(lpRect)));
  }
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
