#include "FolderListing.h"

#include "FileFilter.h"
#include "WinFile.h"

namespace plat::commdlg {

FolderContents ListFolder(const std::string& folder, const std::vector<std::string>& patterns) {
  FolderContents out;
  WIN32_FIND_DATAA data{};
  HANDLE find = FindFirstFileA(JoinPath(folder, "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = data.cFileName;
    if (name.empty() || name[0] == '.' || (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      out.folders.push_back(name);
    else if (MatchesAny(name, patterns))
      out.files.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return out;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string ParentOf(const std::string& folder) {
  size_t slash = folder.find_last_of('\\');
  if (slash == std::string::npos || folder.size() <= 3) return folder;
  return slash <= 2 ? folder.substr(0, 3) : folder.substr(0, slash);
}

std::vector<std::string> ChainOf(const std::string& folder) {
  std::vector<std::string> chain;
  for (std::string f = folder;; f = ParentOf(f)) {
    chain.insert(chain.begin(), f);
    if (ParentOf(f) == f) break;
  }
  return chain;
}

std::string LastName(const std::string& folder) {
  if (folder.size() <= 3) return folder;
  return folder.substr(folder.find_last_of('\\') + 1);
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace plat::commdlg
