// Property sheets: a dialog holding a tab control, one page per tab, modal with OK, Cancel
// and Apply or modeless (also as a child window) without them. Each page is a child
// dialog made from its template the first time it is shown.
#pragma once
#include <memory>
#include <type_traits>
#include <vector>

#include "AfxCommonControls.h"
#include "CDialog.h"

#define ID_APPLY_NOW 0x3021
#define AFX_IDC_TAB_CONTROL 0x3020

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  // The tab shows string nIDCaption, or the template's caption when it is 0.
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

  // FALSE keeps the page from being shown.
  virtual BOOL OnSetActive() { return TRUE; }
  // FALSE keeps the page in front (its data did not validate).
  virtual BOOL OnKillActive() { return UpdateData(TRUE); }
  // OK and Cancel of the sheet reach every page that was shown; they do not end anything.
  void OnOK() override {}
  void OnCancel() override {}
  virtual BOOL OnApply() {
    OnOK();
    return TRUE;
  }
  void SetModified(BOOL bChanged = TRUE);
  BOOL IsModified() const { return m_bModified; }

  CString m_strCaption;  // set to override the tab text
  // The page header: PSP_USEHICON with hIcon, or PSP_USEICONID with pszIcon (of hInstance,
  // else of the resources), puts an icon on the tab.
  PROPSHEETPAGE m_psp{};

 private:
  friend class CPropertySheet;
  CString TabText() const;
  HICON TabIcon() const;
  UINT m_nIDCaption = 0;
  BOOL m_bModified = FALSE;
  class CPropertySheet* m_pSheet = nullptr;
};

class CPropertySheet : public CDialog {
  DECLARE_DYNAMIC(CPropertySheet)
 public:
  explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  void AddPage(CPropertyPage* pPage);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const;
  int GetPageIndex(const CPropertyPage* pPage) const;
  CPropertyPage* GetActivePage() const { return GetPage(GetActiveIndex()); }
  int GetActiveIndex() const { return m_nActive; }
  // Before the sheet is up this only chooses the first page.
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
  CTabCtrl* GetTabControl() { return m_tab.m_hWnd ? &m_tab : nullptr; }
  void SetTitle(LPCSTR lpszText) { m_strCaption = lpszText; }

  int DoModal() override;
  // Modeless, without OK, Cancel and Apply; dwStyle -1 makes a popup with a caption,
  // WS_CHILD a sheet inside pParentWnd.
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
  BOOL OnInitDialog() override;

 protected:
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnApplyNow();
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  DECLARE_MESSAGE_MAP()

 private:
  friend class CPropertyPage;
  BOOL Activate(int nPage);
  BOOL CreatePage(CPropertyPage* page);
  void Layout();
  BOOL ApplyAll();
  void BuildTemplate(DWORD style, DWORD exStyle);
  CString Caption() const;
  void InsertTab(int nPage);

  CString m_strCaption;
  UINT m_nIDCaption = 0;
  BOOL m_bModeless = FALSE;
  // The tabs' icons, drawn small; the sheet owns the list the tab control shows.
  struct ImageListFree {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
  };
  std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListFree> m_tabImages;
  int AddTabImage(HICON icon);
  std::vector<CPropertyPage*> m_pages;  // owned by the caller, as each page is
  int m_nActive = -1;
  CSize m_pageSize;
  CTabCtrl m_tab;
  CButton m_ok, m_cancel, m_apply;
  std::vector<WORD> m_template;
};
