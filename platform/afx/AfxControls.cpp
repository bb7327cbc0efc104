#include "AfxControls.h"

#include <strings.h>

#include <vector>

#include "AfxCommonControls.h"
#include "CStatusBarCtrl.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

void plat::afx::ItemText(const CWnd* box, UINT lenMessage, UINT textMessage, int index, CString& rString) {
  rString.Empty();
  LRESULT len = box->SendMessage(lenMessage, static_cast<WPARAM>(index));
  if (len <= 0) return;  // no such item, or an empty one
  std::vector<char> text(static_cast<size_t>(len) + 1, '\0');
  box->SendMessage(textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  rString = text.data();
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (pResult) *pResult = TRUE;
  return TRUE;
}

namespace {
// Owner-draw list and combo boxes: the four item messages go to the virtual members.
template <class T>
BOOL ItemNotify(T* self, UINT message, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = TRUE;
  switch (message) {
    case WM_DRAWITEM: self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); break;
    case WM_MEASUREITEM: self->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); break;
    case WM_COMPAREITEM: result = self->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)); break;
    case WM_DELETEITEM: self->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); break;
    default: return FALSE;
  }
  if (pResult) *pResult = result;
  return TRUE;
}
}  // namespace

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ItemNotify(this, message, lParam, pResult) || CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ItemNotify(this, message, lParam, pResult) || CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

CScrollBar* plat::afx::ScrollBarFromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  if (auto* bar = dynamic_cast<CScrollBar*>(CWnd::FromHandle(hWnd))) return bar;
  // Not in the handle map and never destroying the window it names.
  struct Alias : CScrollBar {
    ~Alias() override { m_hWnd = nullptr; }
  };
  thread_local Alias alias;
  alias.m_hWnd = hWnd;
  return &alias;
}

std::unique_ptr<CWnd> plat::afx::MakeControlObject(HWND hWnd) {
  char name[64] = "";
  ::GetClassNameA(hWnd, name, sizeof name);
  if (strcasecmp(name, "BUTTON") == 0) return std::make_unique<CButton>();
  if (strcasecmp(name, "EDIT") == 0) return std::make_unique<CEdit>();
  if (strcasecmp(name, "STATIC") == 0) return std::make_unique<CStatic>();
  if (strcasecmp(name, "LISTBOX") == 0) return std::make_unique<CListBox>();
  if (strcasecmp(name, "COMBOBOX") == 0) return std::make_unique<CComboBox>();
  if (strcasecmp(name, "SCROLLBAR") == 0) return std::make_unique<CScrollBar>();
  if (strcasecmp(name, TRACKBAR_CLASS) == 0) return std::make_unique<CSliderCtrl>();
  if (strcasecmp(name, UPDOWN_CLASS) == 0) return std::make_unique<CSpinButtonCtrl>();
  if (strcasecmp(name, PROGRESS_CLASS) == 0) return std::make_unique<CProgressCtrl>();
  if (strcasecmp(name, WC_TABCONTROL) == 0) return std::make_unique<CTabCtrl>();
  if (strcasecmp(name, STATUSCLASSNAME) == 0) return std::make_unique<CStatusBarCtrl>();
  return std::make_unique<CWnd>();
}
