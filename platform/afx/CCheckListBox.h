// CCheckListBox: an owner-drawn list box with a check box before each item. A click on
// the box, or the space bar on the current item, toggles it and tells the parent
// CLBN_CHKCHANGE. The item data callers set and read stays theirs: the check state
// is kept beside it.
#pragma once
#include <memory>
#include <unordered_map>

#include "AfxControls.h"
#include "AfxMessageMap.h"

#define CLBN_CHKCHANGE 40
#define ON_CLBN_CHKCHANGE(id, memberFxn) ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)

class CCheckListBox : public CListBox {
  DECLARE_DYNAMIC(CCheckListBox)
 public:
  CCheckListBox() = default;
  ~CCheckListBox() override;

  // The list box must be owner-drawn (fixed) with strings.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // 0 unchecked, 1 checked, 2 indeterminate.
  void SetCheck(int nIndex, int nCheck);
  int GetCheck(int nIndex) const;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  void PreSubclassWindow() override;

  // The box's side in pixels, and its place within an item rectangle.
  static constexpr int kBoxSize = 13;
  static CRect BoxRect(const CRect& item);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct CheckData {
    int check = 0;
    DWORD_PTR user = 0;
  };
  LRESULT RawItemData(int nIndex) const;
  CheckData* Data(int nIndex) const;
  void Toggle(int nIndex);
  int ItemHeight() const;

  // Every item's record, by the raw item data that points at it.
  std::unordered_map<DWORD_PTR, std::unique_ptr<CheckData>> m_data;
};
