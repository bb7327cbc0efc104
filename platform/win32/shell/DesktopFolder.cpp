// The desktop folder: the root of the name space, which parses paths into item id lists.
#include <atomic>
#include <cstring>

#include "DrivePath.h"
#include "WinError.h"
#include "WinFile.h"
#include "WinShellFolders.h"
#include "rc/ResourceRegistry.h"
#include "shell/ItemIdList.h"
#include "shell/ShellNames.h"

namespace {

class DesktopFolder final : public IShellFolder {
 public:
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT ParseDisplayName(HWND, LPBC, LPWSTR displayName, ULONG* eaten, LPITEMIDLIST* idList,
                           ULONG* attributes) override {
    if (!displayName || !idList) return E_INVALIDARG;
    *idList = nullptr;
    size_t length = 0;
    while (displayName[length]) ++length;
    std::string text = plat::rc::Utf16ToUtf8(reinterpret_cast<const uint16_t*>(displayName), length);
    // A display name "C:" is the drive itself, not the current folder of that drive.
    if (text.size() == 2 && text[1] == ':') text += '\\';
    // Only existing file-system paths have a place in the name space.
    auto full = plat::shell::OnDiskPath(text);
    if (!full) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    *idList = plat::shell::MakeIdList(*full);
    if (!*idList) return E_OUTOFMEMORY;
    if (eaten) *eaten = static_cast<ULONG>(length);
    if (attributes) *attributes = 0;
    return S_OK;
  }

 private:
  ~DesktopFolder() = default;
  std::atomic<ULONG> refs_{1};
};

}  // namespace

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
  if (!folder) return E_INVALIDARG;
  *folder = new DesktopFolder;  // freed by its last Release
  return S_OK;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST idList, LPSTR path) {
  if (!path) return FALSE;
  path[0] = '\0';
  auto p = plat::shell::PathOfIdList(idList);
  if (!p || p->size() >= MAX_PATH) return FALSE;
  std::memcpy(path, p->c_str(), p->size() + 1);
  return TRUE;
}
