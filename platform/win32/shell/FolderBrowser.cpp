#include "FolderBrowser.h"

#include <cstring>
#include <map>

#include "DrivePath.h"
#include "WinControls.h"
#include "WinDialog.h"
#include "commdlg/DialogIds.h"
#include "commdlg/FolderListing.h"
#include "commdlg/ItemList.h"
#include "rc/ResourceRegistry.h"
#include "shell/ShellNames.h"
#include "shell/ItemIdList.h"

namespace plat::shell {
namespace {
thread_local std::map<HWND, FolderBrowser*> t_running;
namespace cd = plat::commdlg;
}  // namespace

LPITEMIDLIST FolderBrowser::Run() {
  const plat::rc::Entry* t = plat::rc::Find("ComDlg32", RT_DIALOG, MAKEINTRESOURCEA(IDD_BROWSE_FOLDER));
  if (!t) return nullptr;
  INT_PTR result = DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(t->data), info_.hwndOwner,
                                           &Proc, reinterpret_cast<LPARAM>(this));
  if (result != IDOK || chosen_.empty()) return nullptr;
  if (info_.pszDisplayName) {
    std::string name = chosen_.size() <= 3 ? DriveDisplayName(chosen_[0]) : cd::LastName(chosen_);
    std::strncpy(info_.pszDisplayName, name.c_str(), MAX_PATH - 1);
    info_.pszDisplayName[MAX_PATH - 1] = '\0';
  }
  return MakeIdList(chosen_);
}

INT_PTR CALLBACK FolderBrowser::Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  FolderBrowser* self = nullptr;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<FolderBrowser*>(lParam);
    self->dialog_ = dialog;
    t_running[dialog] = self;
  } else if (auto it = t_running.find(dialog); it != t_running.end()) {
    self = it->second;
  }
  if (msg == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = cd::kItemHeight;
    return TRUE;
  }
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    t_running.erase(dialog);
    return FALSE;
  }
  return self->Handle(msg, wParam, lParam);
}

INT_PTR FolderBrowser::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog_, IDC_BROWSE_TITLE, info_.lpszTitle ? info_.lpszTitle : "");
      Open("");
      if (info_.lpfn) info_.lpfn(dialog_, BFFM_INITIALIZED, 0, info_.lParam);
      return TRUE;
    case BFFM_SETSELECTIONA: {
      std::optional<std::string> path;
      if (wParam) {
        if (lParam) path = plat::path::FullPath(reinterpret_cast<const char*>(lParam));
      } else {
        path = PathOfIdList(reinterpret_cast<LPCITEMIDLIST>(lParam));
      }
      if (path && cd::IsFolder(*path)) Open(*path);
      return TRUE;
    }
    case WM_DRAWITEM:
      cd::DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          chosen_ = Selected();
          if (!chosen_.empty()) EndDialog(dialog_, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog_, IDCANCEL);
          return TRUE;
        case IDC_BROWSE_TREE:
          if (HIWORD(wParam) != LBN_DBLCLK) return FALSE;
          if (auto folder = Selected(); !folder.empty()) Open(folder);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

void FolderBrowser::Open(const std::string& folder) {
  HWND tree = GetDlgItem(dialog_, IDC_BROWSE_TREE);
  SendMessageA(tree, LB_RESETCONTENT, 0, 0);
  entries_.clear();
  std::vector<std::string> chain = folder.empty() ? std::vector<std::string>{} : cd::ChainOf(folder);
  int selected = -1;
  for (const std::string& root : DriveRoots()) {
    entries_.push_back(root);
    int index = static_cast<int>(entries_.size()) - 1;
    cd::AddItem(tree, DriveDisplayName(root[0]), cd::ItemIcon::Drive, 0, index);
    if (chain.empty() || !plat::path::NamesEqual(root, chain.front())) continue;
    selected = index;
    for (size_t i = 1; i < chain.size(); ++i) {
      entries_.push_back(chain[i]);
      selected = static_cast<int>(entries_.size()) - 1;
      cd::AddItem(tree, cd::LastName(chain[i]), cd::ItemIcon::OpenFolder, static_cast<int>(i), selected);
    }
    for (const std::string& sub : cd::ListFolder(folder, {}).folders) {
      entries_.push_back(cd::JoinPath(folder, sub));
      cd::AddItem(tree, sub, cd::ItemIcon::Folder, static_cast<int>(chain.size()),
                  static_cast<int>(entries_.size()) - 1);
    }
  }
  cd::SelectItemWithIndex(tree, selected);
}

std::string FolderBrowser::Selected() const {
  int index = cd::SelectedIndex(GetDlgItem(dialog_, IDC_BROWSE_TREE));
  return index >= 0 && static_cast<size_t>(index) < entries_.size() ? entries_[static_cast<size_t>(index)] : "";
}

}  // namespace plat::shell

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info) {
  if (!info) return nullptr;
  return plat::shell::FolderBrowser(*info).Run();
}
