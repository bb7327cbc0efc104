// The dialog behind GetOpenFileNameA and GetSaveFileNameA: one object per run. It shows
// a folder, its subfolders and the files the chosen filter lets through, checks the
// chosen name against the OFN_ flags and writes the answer into the caller's record.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "FileFilter.h"
#include "WinCommDlg.h"

namespace plat::commdlg {

class FileDialog {
 public:
  FileDialog(OPENFILENAMEA& ofn, bool save) : ofn_(ofn), save_(save) {}
  BOOL Run();

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  bool Command(int id, int code);
  void Init();
  void Navigate(const std::string& folder);
  void FillFolders();
  void FillFiles();
  void OnOk();
  void Accept(std::string path);
  std::optional<std::string> Resolve(std::string typed) const;
  int Remember(const std::string& path);
  int Box(const std::string& text, UINT type) const;
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  std::string SelectedEntry(int listId) const;

  OPENFILENAMEA& ofn_;
  bool save_;
  bool explorer_ = false;
  HWND dialog_ = nullptr;
  DWORD error_ = 0;
  std::vector<FilterPair> filters_;
  std::vector<std::string> typedPatterns_;  // a wildcard name typed by the user
  std::string folder_;
  std::vector<std::string> entries_;        // full paths behind the list entries
};

}  // namespace plat::commdlg
