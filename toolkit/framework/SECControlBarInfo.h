// SECControlBarInfo: the saved state of one bar as the class library keeps it: the
// framework's record and the library's sizes, shares and styles, with the bar's own
// extra data in an extended record (SECControlBarInfoEx). It is stored in the profile
// (section "<profile>-Bar<n>"), an archive, or a tree node "Bar-<n>".
#pragma once
#include <afxext.h>

class SECControlBarManager;
class SECControlBarInfoEx;
class SECDockState;
class SECPersistentTreeNode;
class SECPTNFactory;

class SECControlBarInfo : public CControlBarInfo {
 public:
  SECControlBarInfo();
  ~SECControlBarInfo() override;
  SECControlBarInfo(const SECControlBarInfo&) = delete;
  SECControlBarInfo& operator=(const SECControlBarInfo&) = delete;

  virtual BOOL LoadFromTree(SECPersistentTreeNode* pNode, SECDockState* pDockState);
  virtual BOOL LoadState(LPCSTR lpszProfileName, int nIndex, SECDockState* pDockState);
  // FALSE, writing nothing, without a parent or for a dock bar not worth keeping.
  virtual BOOL SaveToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent, int nIndex);
  virtual BOOL SaveState(LPCSTR lpszProfileName, int nIndex);
  virtual BOOL LoadStandardFromTree(SECPersistentTreeNode* pNode, SECDockState* pDockState);
  virtual BOOL LoadExtraFromTree(SECPersistentTreeNode* pNode);
  virtual BOOL SaveStandardToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode);
  virtual BOOL SaveExtraToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode);
  void Serialize(CArchive& ar, SECDockState* pDockState);

  // The share of a row as stored: the share times a million, truncated.
  static CString ShareText(float fShare);
  // A stored share read back; text that is no number reads as 0.
  static float ShareFromText(const CString& text);

  CSize m_szMRUHorzDock;
  CSize m_szMRUVertDock;
  CSize m_szMRUFloat;
  int m_nMRUDockingState = 0;  // the docking sides kept while docking is switched off
  DWORD m_dwDockStyle = 0;
  float m_fPctWidth = 0.0f;
  DWORD m_dwStyle = 0;
  DWORD m_dwExStyle = 0;
  BOOL m_bPrevFloating = FALSE;
  BOOL m_bMDIChild = FALSE;
  WINDOWPLACEMENT m_wpMDIChild{};
  CString m_strClassName;
  CString m_strWindowName;
  UINT m_nResourceID = 0;
  SECControlBarInfoEx* m_pBarInfoEx = nullptr;  // owned
  int m_nTypeID = 0;
  SECControlBarManager* m_pOwner = nullptr;     // not owned

 private:
  CString Section(LPCSTR lpszProfileName, int nIndex) const;
  // Asks the owner for the extended record when there is none yet.
  SECControlBarInfoEx* ExtendedFromOwner();
};

// The extended part of a bar record, for bars with data of their own; this base has none
// and stores nothing.
class SECControlBarInfoEx : public CObject {
  DECLARE_DYNCREATE(SECControlBarInfoEx)
 public:
  SECControlBarInfoEx() = default;
  ~SECControlBarInfoEx() override = default;

  using CObject::Serialize;
  virtual void Serialize(CArchive& ar, SECDockState* pDockState) {}
  virtual BOOL LoadFromTree(SECPersistentTreeNode* pNode) { return pNode != nullptr; }
  virtual BOOL LoadState(LPCSTR lpszSection, SECDockState* pDockState) { return FALSE; }
  virtual BOOL SaveToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode) { return pNode != nullptr; }
  virtual BOOL SaveState(LPCSTR lpszSection) { return FALSE; }
};
