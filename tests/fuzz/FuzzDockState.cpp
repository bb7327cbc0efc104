// The saved arrangement of bars, read from untrusted places: the archive form (a cut or
// damaged one throws and leaves the state empty; a whole one of this screen stores back to
// bytes that load to the same), the profile form (every count bounded; what loads saves and loads
// again to as many records), and the tree form read from a store (the lines of the input
// as "path|key=value" and "path>child"), with every binary value decoded.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSeeds.h"
#include "afxwin.h"
#include "framework/SECControlBarInfo.h"
#include "framework/SECDockState.h"
#include "framework/SECPTNMemoryStore.h"
#include "framework/SECPersistentTreeNode.h"

namespace {

std::vector<uint8_t> Stored(SECDockState& state) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    state.Serialize(ar);
    ar.Close();
  }
  std::vector<uint8_t> out(size_t(file.GetLength()));
  file.SeekToBegin();
  if (!out.empty()) file.Read(out.data(), UINT(out.size()));
  return out;
}

bool Load(SECDockState& state, const uint8_t* data, size_t size) {
  CMemFile file(const_cast<BYTE*>(data), UINT(size));
  try {
    CArchive ar(&file, CArchive::load);
    state.Serialize(ar);
    ar.Close();
    return true;
  } catch (CException* e) {
    e->Delete();
    return false;
  }
}

const std::string& NativeProfile() {
  static const std::string path = (std::filesystem::temp_directory_path() / "fuzz-dockstate.ini").string();
  return path;
}

CWinApp* App() {
  static CWinApp app("FuzzDockState");
  static const std::string windowsPath = "Z:" + NativeProfile();  // Z: is the native root
  app.m_pszProfileName = windowsPath.c_str();
  return &app;
}

std::vector<CString> Split(const std::string& path) {
  std::vector<CString> parts;
  size_t at = 0;
  while (at <= path.size()) {
    size_t slash = path.find('/', at);
    if (slash == std::string::npos) slash = path.size();
    parts.emplace_back(path.substr(at, slash - at).c_str());
    at = slash + 1;
  }
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SECDockState state;
  auto* info = new SECControlBarInfo;
  info->m_nBarID = 0x101;
  info->m_bVisible = TRUE;
  info->m_bDocking = TRUE;
  info->m_fPctWidth = 0.25f;
  info->m_arrBarID.Add(BarIDEntry(0));
  info->m_arrBarID.Add(BarIDEntry(0x10102));
  state.m_arrBarInfo.Add(info);
  fuzzseeds::Write("archive", Stored(state));
  fuzzseeds::Write("profile.ini", std::string("[F-Summary]\nBars=1\nScreenCX=800\nScreenCY=600\n[F-Bar0]\nBarID=257\n"
                                              "PctWidth=250000\nBars=3\nBar#0=0\nBar#1=65794\nBar#2=0\n"
                                              "MDIChild=1\nMDIChildWindowPlacement=LCAAAAAA\n"));
  fuzzseeds::Write("tree", std::string("Root>DockState\nRoot/DockState|Bars=1\nRoot/DockState>Bar-0\n"
                                       "Root/DockState/Bar-0|BarID=257\nRoot/DockState/Bar-0|Bars=2\n"
                                       "Root/DockState/Bar-0|MDIChild=True\n"
                                       "Root/DockState/Bar-0|MDIChildWindowPlacement_BinCount=1\n"
                                       "Root/DockState/Bar-0|MDIChildWindowPlacement_BinVal0=LCAA\n"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Archive form.
  {
    SECDockState state;
    if (Load(state, data, size)) {
      if (state.m_dwVersion != 2) __builtin_trap();
      const std::vector<uint8_t> again = Stored(state);
      SECDockState reloaded;
      if (!Load(reloaded, again.data(), again.size()) || reloaded.GetBarCount() != state.GetBarCount()) __builtin_trap();
      // Places saved on another screen were scaled to this one as they loaded (and would be
      // again): only a state of this screen comes back the same.
      if (!state.m_bScaling && Stored(reloaded) != again) __builtin_trap();
    } else if (state.GetBarCount() != 0) {
      __builtin_trap();
    }
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  // Profile form.
  {
    App();
    std::ofstream(NativeProfile(), std::ios::binary | std::ios::trunc) << text;
    SECDockState state;
    state.LoadState("F");
    if (state.GetBarCount() > SECDockState::kMaxBars) __builtin_trap();
    for (INT_PTR i = 0; i < state.GetBarCount(); ++i) {
      const SECControlBarInfo* info = state.GetBarInfo(i);
      if (info->m_arrBarID.GetSize() > CControlBarInfo::kMaxBarIDs || info->m_fPctWidth < 0.0f) __builtin_trap();
      if (info->m_szMRUFloat.cx < 0 || info->m_szMRUHorzDock.cy < 0 || info->m_szMRUVertDock.cx < 0) __builtin_trap();
    }
    state.SaveState("G");
    SECDockState again;
    again.LoadState("G");
    if (again.GetBarCount() > state.GetBarCount()) __builtin_trap();
  }
  // Tree form.
  {
    SECPTNMemoryStore store;
    size_t at = 0;
    while (at < text.size()) {
      size_t end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(at, end - at);
      at = end + 1;
      if (size_t bar = line.find('|'); bar != std::string::npos) {
        const std::string rest = line.substr(bar + 1);
        const size_t eq = rest.find('=');
        store.At(Split(line.substr(0, bar))).values.emplace_back(rest.substr(0, eq).c_str(),
                                                                 eq == std::string::npos ? "" : rest.substr(eq + 1).c_str());
      } else if (size_t gt = line.find('>'); gt != std::string::npos) {
        store.At(Split(line.substr(0, gt))).children.emplace_back(line.substr(gt + 1).c_str());
      }
    }
    SECPTNFactory factory;
    SECPersistentTreeNode* root = factory.CreateNode("Root", nullptr);
    root->LoadTree(&store);
    SECDockState state;
    state.LoadFromTree(root);
    if (SECPersistentTreeNode* node = root->FindChild("DockState")) {
      for (SECPersistentTreeNode* child : node->GetChildren())
        for (const auto& pair : child->GetValues()) {
          BYTE* bytes = nullptr;
          UINT length = 0;
          if (child->GetBinaryValue(pair->m_strKey, bytes, length) == 0) {
            if (!bytes || length == 0) __builtin_trap();
            delete[] bytes;
          } else if (bytes || length) {
            __builtin_trap();
          }
        }
    }
    SECPTNFactory out;
    SECPersistentTreeNode* saved = out.CreateNode("Saved", nullptr);
    state.SaveToTree(&out, saved);
    SECDockState again;
    if (!again.LoadFromTree(saved) || again.GetBarCount() > state.GetBarCount()) __builtin_trap();
  }
  return 0;
}
