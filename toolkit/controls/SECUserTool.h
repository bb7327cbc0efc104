// SECUserTool: one outside program that the user registered: its menu text, the
// command to start with its arguments and initial folder, whether the caller waits for
// it, and how its first window shows. Commands, arguments and folder may hold macros.
#pragma once
#include <afx.h>

class SECUserTool : public CObject {
  DECLARE_SERIAL(SECUserTool)
 public:
  SECUserTool();
  SECUserTool(const SECUserTool& other);
  SECUserTool& operator=(const SECUserTool& other);

  SECUserTool* Clone() const;
  // The six fields in the order of the tool list file.
  void Serialize(CArchive& ar) override;

  // Replaces the macros ("KEY=VALUE" entries, in list order) in the command, arguments
  // and folder and starts the program. `pMacros` may be null or empty.
  BOOL Execute(const CStringList* pMacros);
  // Starts `lpszCommandLine` in `lpszDirectory` (none when empty) and, with `bWait`,
  // waits for its end while the user interface goes on. FALSE when it cannot start.
  virtual BOOL RunProcess(LPCSTR lpszDirectory, LPSTR lpszCommandLine, int nShowCmd, BOOL bWait);
  // Splits "KEY=VALUE" at the first "="; TRUE only with both halves non-empty.
  static BOOL SplitMacro(LPCSTR lpszPair, CString& strKey, CString& strValue);

  BOOL m_bWait;            // the caller waits until the program ends
  CString m_strMenuText;   // the menu item's text
  CString m_strCommand;    // the program: a path or a name
  CString m_strArguments;
  CString m_strDirectory;  // the initial folder; empty: the caller's
  int m_nShowCmd;          // SW_ value for the program's first window
};

// Replaces every `lpszFrom` in `text` by `lpszTo`, comparing bytes (upper-cased with
// `bIgnoreCase`); the count, or -1 for an empty or missing `lpszFrom` or missing `lpszTo`.
int ReplaceAll(CString& text, LPCSTR lpszFrom, LPCSTR lpszTo, BOOL bIgnoreCase);
