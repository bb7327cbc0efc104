#include "CCheckListBox.h"

#include <algorithm>

#include "CDC.h"

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

CCheckListBox::~CCheckListBox() = default;

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CListBox::Create(dwStyle | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, rect, pParentWnd, nID);
}

CRect CCheckListBox::BoxRect(const CRect& item) {
  const int top = item.top + std::max(0, (item.Height() - kBoxSize) / 2);
  return CRect(item.left + 1, top, item.left + 1 + kBoxSize, top + kBoxSize);
}

int CCheckListBox::ItemHeight() const {
  int text = 16;
  if (HDC dc = ::GetDC(m_hWnd)) {
    HGDIOBJ old = nullptr;
    if (HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))) old = ::SelectObject(dc, font);
    TEXTMETRICA tm{};
    if (::GetTextMetricsA(dc, &tm) && tm.tmHeight > 0) text = tm.tmHeight;
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
  }
  return std::max(text, kBoxSize + 2);
}

void CCheckListBox::PreSubclassWindow() {
  CListBox::PreSubclassWindow();
  // The box made its items before this object saw it: size them for the check boxes.
  SendMessage(LB_SETITEMHEIGHT, 0, ItemHeight());
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(ItemHeight());
}

LRESULT CCheckListBox::RawItemData(int nIndex) const {
  // The list box's own item data, past this object's translation to the caller's.
  return const_cast<CCheckListBox*>(this)->CWnd::DefWindowProc(LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0);
}

CCheckListBox::CheckData* CCheckListBox::Data(int nIndex) const {
  const LRESULT raw = RawItemData(nIndex);
  if (raw == LB_ERR) return nullptr;
  auto it = m_data.find(static_cast<DWORD_PTR>(raw));
  return it == m_data.end() ? nullptr : it->second.get();
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
  CheckData* data = Data(nIndex);
  if (!data || data->check == nCheck) return;
  data->check = nCheck;
  CRect item;
  if (SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item)) != LB_ERR)
    ::InvalidateRect(m_hWnd, &item, FALSE);
}

int CCheckListBox::GetCheck(int nIndex) const {
  const CheckData* data = Data(nIndex);
  return data ? data->check : 0;
}

void CCheckListBox::Toggle(int nIndex) {
  if (!Data(nIndex)) return;
  SetCheck(nIndex, GetCheck(nIndex) == 1 ? 0 : 1);
  if (HWND parent = ::GetParent(m_hWnd))
    ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      const LRESULT index = CListBox::WindowProc(message, wParam, lParam);
      if (index >= 0) {
        auto data = std::make_unique<CheckData>();
        const auto raw = reinterpret_cast<DWORD_PTR>(data.get());
        m_data.emplace(raw, std::move(data));
        CWnd::DefWindowProc(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(raw));
      }
      return index;
    }
    case LB_DELETESTRING: {
      const LRESULT raw = RawItemData(static_cast<int>(wParam));
      const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
      if (result != LB_ERR && raw != LB_ERR) m_data.erase(static_cast<DWORD_PTR>(raw));
      return result;
    }
    case LB_RESETCONTENT:
      m_data.clear();
      break;
    case LB_GETITEMDATA: {
      if (CheckData* data = Data(static_cast<int>(wParam))) return static_cast<LRESULT>(data->user);
      break;
    }
    case LB_SETITEMDATA: {
      if (CheckData* data = Data(static_cast<int>(wParam))) {
        data->user = static_cast<DWORD_PTR>(lParam);
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      const LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, lParam);
      const int index = LOWORD(hit);
      const LRESULT result = CListBox::WindowProc(message, wParam, lParam);  // selects the item
      CRect item;
      if (!HIWORD(hit) && ::IsWindow(m_hWnd) &&
          SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
        CRect box = BoxRect(item);
        box.InflateRect(1, 1);
        if (box.PtInRect(point)) Toggle(index);
      }
      return result;
    }
    case WM_CHAR:
      if (wParam == ' ') {
        const int current = static_cast<int>(SendMessage(LB_GETCURSEL));
        if (current >= 0) Toggle(current);
        return 0;
      }
      break;
    default:
      break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const DRAWITEMSTRUCT& di = *lpDrawItemStruct;
  if (static_cast<int>(di.itemID) < 0) return;
  CDC* dc = CDC::FromHandle(di.hDC);
  const CRect item(di.rcItem);
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  const bool enabled = !(di.itemState & ODS_DISABLED);

  CRect box = BoxRect(item);
  dc->FillSolidRect(CRect(item.left, item.top, box.right + 2, item.bottom), ::GetSysColor(COLOR_WINDOW));
  const auto it = m_data.find(static_cast<DWORD_PTR>(di.itemData));
  const int check = it == m_data.end() ? 0 : it->second->check;
  UINT state = check == 2 ? DFCS_BUTTON3STATE | DFCS_CHECKED : DFCS_BUTTONCHECK | (check ? DFCS_CHECKED : 0);
  if (!enabled) state |= DFCS_INACTIVE;
  ::DrawFrameControl(di.hDC, &box, DFC_BUTTON, state);

  CRect text(box.right + 2, item.top, item.right, item.bottom);
  dc->FillSolidRect(text, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  CString label;
  GetText(static_cast<int>(di.itemID), label);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = dc->SetTextColor(
      ::GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  CRect inner = text;
  inner.left += 2;
  dc->DrawText(label, inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc->SetTextColor(oldColour);
  dc->SetBkMode(oldMode);
  if (di.itemState & ODS_FOCUS) dc->DrawFocusRect(text);
}
