#include "CCommandLineInfo.h"

#include <strings.h>

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) {
  if (bFlag) {
    if (strcasecmp(pszParam, "p") == 0)
      m_nShellCommand = FilePrint;
    else if (strcasecmp(pszParam, "pt") == 0)
      m_nShellCommand = FilePrintTo;
    else if (strcasecmp(pszParam, "dde") == 0)
      m_nShellCommand = FileDDE;
    else if (strcasecmp(pszParam, "Embedding") == 0)
      m_bRunEmbedded = TRUE;
    else if (strcasecmp(pszParam, "Automation") == 0)
      m_bRunAutomated = TRUE;
    else if (strcasecmp(pszParam, "Unregister") == 0 || strcasecmp(pszParam, "Unregserver") == 0)
      m_nShellCommand = AppUnregister;
  } else if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
  } else if (m_nShellCommand == FilePrintTo) {
    if (m_strPrinterName.IsEmpty())
      m_strPrinterName = pszParam;
    else if (m_strDriverName.IsEmpty())
      m_strDriverName = pszParam;
    else if (m_strPortName.IsEmpty())
      m_strPortName = pszParam;
  }
  if (bLast) {
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty()) m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
  }
}

std::vector<std::string> plat::afx::SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0, n = line.size();
  while (i < n) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    for (; i < n && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
      if (line[i] == '"')
        quoted = !quoted;
      else
        arg += line[i];
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string plat::afx::JoinCommandLine(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args) {
    if (!line.empty()) line += ' ';
    const bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
    if (quote) line += '"';
    // A quote cannot be part of a Windows argument here; it would only toggle quoting.
    for (char c : arg)
      if (c != '"') line += c;
    if (quote) line += '"';
  }
  return line;
}
