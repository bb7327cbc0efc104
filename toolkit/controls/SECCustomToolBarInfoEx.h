// The toolbar's own part of a bar record: its title and its buttons (command id, 0 for
// a separator, and the button's own data), in archive and profile-section forms.
#pragma once
#include <memory>
#include <vector>

#include "framework/SECControlBarInfo.h"

class SECBtnInfo {
 public:
  UINT m_nID = 0;            // 0: a separator
  std::vector<BYTE> m_data;  // at most 255 bytes, the button's own
};

// The button records, owned.
class SECBtnInfoArray {
 public:
  int GetSize() const { return static_cast<int>(m_entries.size()); }
  SECBtnInfo* operator[](int i) const { return m_entries[static_cast<size_t>(i)].get(); }
  SECBtnInfo* Add(std::unique_ptr<SECBtnInfo> info) {
    m_entries.push_back(std::move(info));
    return m_entries.back().get();
  }
  void RemoveAll() { m_entries.clear(); }
  void Swap(SECBtnInfoArray& other) { m_entries.swap(other.m_entries); }

 private:
  std::vector<std::unique_ptr<SECBtnInfo>> m_entries;
};

class SECCustomToolBarInfoEx : public SECControlBarInfoEx {
  DECLARE_DYNCREATE(SECCustomToolBarInfoEx)
 public:
  SECCustomToolBarInfoEx() = default;

  // Archive: title, count (32-bit), then per button its id (32-bit), data length
  // (8-bit) and data. A damaged record throws and leaves this one as it was.
  void Serialize(CArchive& ar, SECDockState* pDockState) override;
  // Profile section: "Title" (when not empty) and "Buttons" (the buttons one after
  // another in the archive's per-button form). FALSE for a damaged record, which
  // leaves this one as it was.
  BOOL LoadState(LPCSTR lpszSection, SECDockState* pDockState) override;
  BOOL SaveState(LPCSTR lpszSection) override;
  // Tree node: a child "ToolBarInfoEx" with "Title" and the "Buttons" bytes as a binary
  // value. FALSE without the child or for damaged buttons, which leave this record as it was.
  BOOL LoadFromTree(SECPersistentTreeNode* pNode) override;
  BOOL SaveToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode) override;

  // The buttons as the profile's "Buttons" bytes, and back; FALSE when the bytes do
  // not hold whole buttons.
  std::vector<BYTE> ButtonBytes() const;
  static BOOL ParseButtons(const BYTE* pData, size_t nBytes, SECBtnInfoArray& buttons);

  CString m_strTitle;
  SECBtnInfoArray m_btnInfo;
  // Set by a whole load or by the toolbar that filled it: only such a record restores.
  BOOL m_bComplete = FALSE;
};
