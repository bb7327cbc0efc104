// The user tool list file: counts, class tags, schemas and strings of any value. Loading
// never fails hard: a damaged list gives FALSE and the array holds whole tools only, each
// of the tool class, none of them twice and no gaps.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_set>

#include "afxwin.h"
#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"

namespace {

// The list file the inputs are written to, through drive Z: (the native root).
std::string g_native;
std::string g_windows;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char name[] = "/tmp/lumora-fuzz-tools-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) abort();
  close(fd);
  g_native = name;
  g_windows = "Z:" + g_native;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* f = std::fopen(g_native.c_str(), "wb");
  if (!f) abort();
  if (size && std::fwrite(data, 1, size, f) != size) abort();
  std::fclose(f);

  CObArray tools;
  LoadUserTools(g_windows.c_str(), &tools);
  std::unordered_set<CObject*> seen;
  for (int i = 0; i < tools.GetSize(); ++i) {
    CObject* tool = tools.GetAt(i);
    if (!tool || tool->GetRuntimeClass() != RUNTIME_CLASS(SECUserTool) || !seen.insert(tool).second) abort();
  }
  // What loads must save and load again to the same tools.
  if (tools.GetSize() > 0) {
    if (!SaveUserTools(g_windows.c_str(), &tools)) abort();
    CObArray again;
    if (!LoadUserTools(g_windows.c_str(), &again) || again.GetSize() != tools.GetSize()) abort();
    for (int i = 0; i < tools.GetSize(); ++i) {
      auto* a = static_cast<SECUserTool*>(tools.GetAt(i));
      auto* b = static_cast<SECUserTool*>(again.GetAt(i));
      if (a->m_strMenuText != b->m_strMenuText || a->m_strCommand != b->m_strCommand ||
          a->m_strArguments != b->m_strArguments || a->m_strDirectory != b->m_strDirectory ||
          a->m_bWait != b->m_bWait || a->m_nShowCmd != b->m_nShowCmd)
        abort();
    }
    ClearUserTools(&again);
  }
  ClearUserTools(&tools);
  return 0;
}
