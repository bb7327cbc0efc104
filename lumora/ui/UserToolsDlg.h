// CUserToolsDlg: the editor of the user tools ("Property"): add, delete and reorder the
// tools and set each one's menu text, command, arguments and initial folder. It works on
// copies; OK hands the copies to the caller's array, Cancel leaves the array as it was.
#pragma once
#include <afxwin.h>

#include <memory>
#include <vector>

class SECBrowseDirEdit;
class SECBrowseFileEdit;
class SECUserTool;

class CUserToolsDlg : public CDialog {
 public:
  enum { IDD = 235, kMaxTools = 9 };
  enum {
    kList = 43078,
    kAdd = 43079,
    kDelete = 43080,
    kMoveUp = 43081,
    kMoveDown = 43082,
    kCommand = 43083,
    kTitle = 43085,
    kArguments = 43086,
    kDirectory = 43087,
  };
  explicit CUserToolsDlg(CWnd* pParent = nullptr);
  ~CUserToolsDlg() override;

  // The caller's array of SECUserTool, which owns its tools.
  void SetTools(CObArray* pTools) { m_pTools = pTools; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnAdd();
  afx_msg void OnDelete();
  afx_msg void OnMoveUp();
  afx_msg void OnMoveDown();
  afx_msg void OnSelChange();
  afx_msg void OnTitleChange();
  afx_msg void OnTitleKillFocus();
  DECLARE_MESSAGE_MAP()

 private:
  SECUserTool* ToolAt(int line) const;
  // Stores the edits into the tool shown, then shows the selected line's tool.
  void ShowSelection();
  void StoreEdits();
  void Move(int by);
  void UpdateControls();

  CListBox m_listTools;
  CObArray* m_pTools = nullptr;
  std::unique_ptr<SECBrowseFileEdit> m_pCommandEdit;
  std::unique_ptr<SECBrowseDirEdit> m_pDirectoryEdit;
  SECUserTool* m_pCurrent = nullptr;
  // The copies the lines stand for, until OK hands them over or Cancel drops them.
  std::vector<std::unique_ptr<SECUserTool>> m_copies;
  bool m_bLoaded = false;
  bool m_bFilling = false;  // the edits are being filled, not typed in
  bool m_bEnding = false;   // OK or Cancel: the edits lose the focus as the dialog goes
};
