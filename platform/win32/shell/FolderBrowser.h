// The dialog behind SHBrowseForFolderA: the drives, opened down to the chosen folder
// with that folder's subfolders; a double click opens a folder, OK takes the selected one.
#pragma once
#include <string>
#include <vector>

#include "WinShellFolders.h"

namespace plat::shell {

class FolderBrowser {
 public:
  explicit FolderBrowser(BROWSEINFOA& info) : info_(info) {}
  LPITEMIDLIST Run();

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void Open(const std::string& folder);
  std::string Selected() const;

  BROWSEINFOA& info_;
  HWND dialog_ = nullptr;
  std::vector<std::string> entries_;  // full paths behind the tree's entries
  std::string chosen_;
};

}  // namespace plat::shell
