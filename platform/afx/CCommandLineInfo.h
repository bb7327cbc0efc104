// CCommandLineInfo: what ParseCommandLine found on the command line.
#pragma once
#include <string>
#include <vector>

#include "afx.h"

class CCommandLineInfo : public CObject {
 public:
  CCommandLineInfo() = default;
  // Called for each argument, without its leading slash or dash when it is a flag.
  virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand = FileNew;
  BOOL m_bShowSplash = TRUE;
  BOOL m_bRunEmbedded = FALSE;
  BOOL m_bRunAutomated = FALSE;
  CString m_strFileName;
  CString m_strPrinterName;
  CString m_strDriverName;
  CString m_strPortName;
};

namespace plat::afx {
// Splits a command line into arguments the way the C runtime does (quotes group).
std::vector<std::string> SplitCommandLine(const std::string& line);
// The command line of a program started with `args` (a native argv without the program
// name): arguments holding a blank, or empty, are quoted, so SplitCommandLine gives
// them back.
std::string JoinCommandLine(const std::vector<std::string>& args);
}  // namespace plat::afx
