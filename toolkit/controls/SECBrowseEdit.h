// Browse edits: an edit control of a dialog taken over and given a small "..." button
// beside it, which opens a folder or file picker and writes the choice into the edit.
#pragma once
#include <afxwin.h>

class SECBrowseButton;

class SECBrowseEditBase : public CEdit {
  DECLARE_DYNAMIC(SECBrowseEditBase)
 public:
  SECBrowseEditBase() = default;
  ~SECBrowseEditBase() override;

  // Takes over dialog item `nID` of `pParent` and adds the button; FALSE when the item
  // cannot be subclassed.
  virtual BOOL Initialize(UINT nID, CWnd* pParent);
  void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
  SECBrowseButton* GetButton() const { return m_pButton; }

  // The button was clicked.
  virtual void OnBrowse() {}

 protected:
  // The directory test of both edits, on the caller's copy of the text.
  static BOOL IsDirectory(CString path);

  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  SECBrowseButton* m_pButton = nullptr;  // deletes itself with its window
  CString m_strTitle;

  friend class SECBrowseButton;
};

// The "..." button. It deletes itself after its window has been destroyed.
class SECBrowseButton : public CButton {
  DECLARE_DYNAMIC(SECBrowseButton)
 public:
  explicit SECBrowseButton(SECBrowseEditBase* pEdit) : m_pEdit(pEdit) {}
  ~SECBrowseButton() override;

  // Creates the button beside the edit (in its parent's client coordinates).
  BOOL Create(const RECT& rect, CWnd* pParent, UINT nID);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  void PostNcDestroy() override;

  SECBrowseEditBase* m_pEdit;
  UINT m_nID = 0;

  friend class SECBrowseEditBase;
};

class SECBrowseDirEdit : public SECBrowseEditBase {
  DECLARE_DYNAMIC(SECBrowseDirEdit)
 public:
  SECBrowseDirEdit();
  // Bit 0 of the flags picks the older folder dialog; it is set on systems before
  // Windows 4 whatever is asked. Bit 1 changes nothing in these pickers.
  void SetBrowseFlags(WORD wFlags);
  WORD GetBrowseFlags() const { return m_wFlags; }
  void OnBrowse() override;

 protected:
  WORD m_wFlags = 1;
};

class SECBrowseFileEdit : public SECBrowseEditBase {
  DECLARE_DYNAMIC(SECBrowseFileEdit)
 public:
  SECBrowseFileEdit();
  void SetFilter(LPCSTR lpszFilter) { m_strFilter = lpszFilter; }
  void OnBrowse() override;

 protected:
  CString m_strFilter = "All files (*.*)|*.*||";
  CString m_strInitialFile;
  CString m_strDefaultExt;
  DWORD m_dwFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
};
