// What the file dialogs and the folder browser show of a folder, in Windows paths.
#pragma once
#include <string>
#include <vector>

namespace plat::commdlg {

struct FolderContents {
  std::vector<std::string> folders;  // names, sorted without regard to case
  std::vector<std::string> files;    // names that match the patterns, sorted likewise
};

// Hidden entries (the hidden attribute or a leading dot) are left out.
FolderContents ListFolder(const std::string& folder, const std::vector<std::string>& patterns);

std::string JoinPath(const std::string& folder, const std::string& name);
// "C:\a\b" -> "C:\a"; a drive root stays itself.
std::string ParentOf(const std::string& folder);
// "C:\a\b" -> {"C:\", "C:\a", "C:\a\b"}.
std::vector<std::string> ChainOf(const std::string& folder);
// The last name of a folder path ("b" of "C:\a\b"; "C:\" for a root).
std::string LastName(const std::string& folder);

bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);

}  // namespace plat::commdlg
