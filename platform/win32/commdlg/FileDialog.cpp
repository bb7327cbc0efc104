#include "FileDialog.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "DrivePath.h"
#include "FolderListing.h"
#include "ItemList.h"
#include "WinDialog.h"
#include "WinFile.h"
#include "commdlg/DialogIds.h"
#include "rc/ResourceRegistry.h"
#include "shell/ShellNames.h"

namespace plat::commdlg {
namespace {

thread_local std::map<HWND, FileDialog*> t_running;

std::string Trimmed(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  while (!s.empty() && s.back() == ' ') s.pop_back();
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return s;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

std::string TextOf(HWND control) {
  char buffer[MAX_PATH * 2] = {};
  GetWindowTextA(control, buffer, sizeof buffer);
  return buffer;
}

void Show(HWND control, bool show) {
  if (control) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

// Programs' own templates may ask their lists to sort; the dialog puts entries in its own order.
void DropSorting(HWND control, LONG flag) {
  if (!control) return;
  LONG style = GetWindowLongA(control, GWL_STYLE);
  if (style & flag) SetWindowLongA(control, GWL_STYLE, style & ~flag);
}

}  // namespace

BOOL FileDialog::Run() {
  if (ofn_.lStructSize != sizeof(OPENFILENAMEA)) error_ = CDERR_STRUCTSIZE;
  else if (!ofn_.lpstrFile || ofn_.nMaxFile == 0) error_ = CDERR_INITIALIZATION;
  else if ((ofn_.Flags & OFN_ENABLEHOOK) && !ofn_.lpfnHook) error_ = CDERR_NOHOOK;
  if (error_) {
    SetExtendedError(error_);
    return FALSE;
  }
  INT_PTR result = -1;
  auto param = reinterpret_cast<LPARAM>(this);
  bool custom = (ofn_.Flags & OFN_ENABLETEMPLATE) && !(ofn_.Flags & OFN_EXPLORER);
  if (custom) {
    // The program's own old-style template replaces the whole dialog.
    if (!FindResourceA(reinterpret_cast<HMODULE>(ofn_.hInstance), ofn_.lpTemplateName, RT_DIALOG)) {
      SetExtendedError(CDERR_FINDRESFAILURE);
      return FALSE;
    }
    result = DialogBoxParamA(ofn_.hInstance, ofn_.lpTemplateName, ofn_.hwndOwner, &Proc, param);
  } else {
    explorer_ = (ofn_.Flags & OFN_EXPLORER) != 0;
    int id = explorer_ ? IDD_FILE_EXPLORER : IDD_FILE_OLDSTYLE;
    const plat::rc::Entry* t = plat::rc::Find("ComDlg32", RT_DIALOG, MAKEINTRESOURCEA(id));
    if (!t) {
      SetExtendedError(CDERR_LOADRESFAILURE);
      return FALSE;
    }
    result = DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(t->data), ofn_.hwndOwner, &Proc,
                                     param);
  }
  if (result == -1) error_ = CDERR_DIALOGFAILURE;
  SetExtendedError(error_);
  return result == IDOK && !error_;
}

INT_PTR CALLBACK FileDialog::Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  FileDialog* self = nullptr;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<FileDialog*>(lParam);
    self->dialog_ = dialog;
    t_running[dialog] = self;
  } else if (auto it = t_running.find(dialog); it != t_running.end()) {
    self = it->second;
  }
  if (!self) {
    // Owner-drawn lists are measured while the template's controls are made.
    if (msg == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
      return TRUE;
    }
    return FALSE;
  }
  if (msg == WM_NCDESTROY) {
    t_running.erase(dialog);
    return FALSE;
  }
  return self->Handle(msg, wParam, lParam);
}

INT_PTR FileDialog::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  LPOFNHOOKPROC hook = (ofn_.Flags & OFN_ENABLEHOOK) ? ofn_.lpfnHook : nullptr;
  if (msg == WM_INITDIALOG) {
    Init();
    // The hook sees the dialog once it is filled; its answer decides the focus as usual.
    if (hook) return static_cast<INT_PTR>(hook(dialog_, WM_INITDIALOG, wParam, reinterpret_cast<LPARAM>(&ofn_)));
    return FALSE;
  }
  // Every other message goes to the hook first; a non-zero answer means it handled it.
  if (hook && hook(dialog_, msg, wParam, lParam)) return TRUE;
  switch (msg) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
      return TRUE;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      return Command(LOWORD(wParam), HIWORD(wParam));
    default:
      return FALSE;
  }
}

bool FileDialog::Command(int id, int code) {
  switch (id) {
    case IDOK:
      OnOk();
      return true;
    case IDCANCEL:
      EndDialog(dialog_, IDCANCEL);
      return true;
    case IDC_FILE_UP:
      Navigate(ParentOf(folder_));
      return true;
    case IDC_FILE_TYPES:
      if (code != CBN_SELCHANGE) return false;
      typedPatterns_.clear();
      FillFiles();
      return true;
    case IDC_FILE_DRIVES:
      if (code != CBN_SELCHANGE) return false;
      if (auto target = SelectedEntry(id); !target.empty() && IsFolder(target)) Navigate(target);
      else Navigate(folder_);  // a drive that cannot be read: stay where we are
      return true;
    case IDC_FILE_FOLDERS:
      if (code != LBN_DBLCLK) return false;
      if (auto target = SelectedEntry(id); !target.empty()) Navigate(target);
      return true;
    case IDC_FILE_FILES: {
      std::string entry = SelectedEntry(id);
      if (entry.empty()) return false;
      bool folder = IsFolder(entry);
      if (code == LBN_SELCHANGE && !folder) SetDlgItemTextA(dialog_, IDC_FILE_NAME, NameOf(entry).c_str());
      if (code == LBN_DBLCLK) {
        if (folder) {
          Navigate(entry);
        } else {
          SetDlgItemTextA(dialog_, IDC_FILE_NAME, NameOf(entry).c_str());
          OnOk();
        }
      }
      return code == LBN_SELCHANGE || code == LBN_DBLCLK;
    }
    default:
      return false;
  }
}

void FileDialog::Init() {
  filters_ = ParseFilter(ofn_.lpstrFilter);
  HWND types = Item(IDC_FILE_TYPES);
  DropSorting(types, CBS_SORT);
  DropSorting(Item(IDC_FILE_DRIVES), CBS_SORT);
  DropSorting(Item(IDC_FILE_FILES), LBS_SORT);
  DropSorting(Item(IDC_FILE_FOLDERS), LBS_SORT);
  for (const FilterPair& f : filters_) SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.text.c_str()));
  size_t chosen = ofn_.nFilterIndex >= 1 && ofn_.nFilterIndex <= filters_.size() ? ofn_.nFilterIndex - 1 : 0;
  SendMessageA(types, CB_SETCURSEL, chosen, 0);

  SetWindowTextA(dialog_, ofn_.lpstrTitle ? ofn_.lpstrTitle : (save_ ? "Save As" : "Open"));
  if (explorer_ && save_) SetDlgItemTextA(dialog_, IDOK, "&Save");
  Show(Item(IDC_FILE_READONLY), !(ofn_.Flags & OFN_HIDEREADONLY));
  CheckDlgButton(dialog_, IDC_FILE_READONLY, (ofn_.Flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);
  Show(Item(IDC_FILE_HELP), (ofn_.Flags & OFN_SHOWHELP) != 0);
  Show(Item(IDC_FILE_NETWORK), false);  // no network drives here

  // The folder: the one named in the initial file name, else the initial folder, else the
  // current one; a folder that has gone gives way to its nearest existing parent.
  std::string initial(ofn_.lpstrFile, strnlen(ofn_.lpstrFile, ofn_.nMaxFile));
  std::string folder, name;
  if (!initial.empty()) {
    auto full = plat::path::FullPath(initial);
    bool hasFolder = initial.find_first_of("\\/:") != std::string::npos;
    if (full && IsFolder(*full)) {
      folder = *full;
    } else if (full && hasFolder) {
      folder = ParentOf(*full);
      name = NameOf(*full);
    } else {
      name = initial;
    }
  }
  if (folder.empty() && ofn_.lpstrInitialDir && *ofn_.lpstrInitialDir)
    if (auto full = plat::path::FullPath(ofn_.lpstrInitialDir)) folder = *full;
  if (folder.empty()) folder = plat::path::CurrentFolder();
  while (!IsFolder(folder) && ParentOf(folder) != folder) folder = ParentOf(folder);
  if (!IsFolder(folder)) folder = plat::path::CurrentFolder();
  SetDlgItemTextA(dialog_, IDC_FILE_NAME, name.c_str());
  Navigate(folder);
  // The dialog itself is still hidden here: the field's own style says whether it shows.
  if (HWND edit = Item(IDC_FILE_NAME); edit && (GetWindowLongA(edit, GWL_STYLE) & WS_VISIBLE)) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
  }
}

int FileDialog::Remember(const std::string& path) {
  entries_.push_back(path);
  return static_cast<int>(entries_.size()) - 1;
}

std::string FileDialog::SelectedEntry(int listId) const {
  int index = SelectedIndex(Item(listId));
  return index >= 0 && static_cast<size_t>(index) < entries_.size() ? entries_[static_cast<size_t>(index)] : "";
}

void FileDialog::Navigate(const std::string& folder) {
  folder_ = folder;
  entries_.clear();
  FillFolders();
  FillFiles();
}

void FileDialog::FillFolders() {
  std::vector<std::string> chain = ChainOf(folder_);
  HWND drives = Item(IDC_FILE_DRIVES);
  if (drives) {
    SendMessageA(drives, CB_RESETCONTENT, 0, 0);
    int current = -1;
    for (const std::string& root : plat::shell::DriveRoots()) {
      int index = Remember(root);
      AddItem(drives, plat::shell::DriveDisplayName(root[0]), ItemIcon::Drive, 0, index);
      if (!plat::path::NamesEqual(root, chain.front())) continue;
      current = index;
      // "Look in" also shows the way down to the folder.
      if (explorer_)
        for (size_t i = 1; i < chain.size(); ++i) {
          current = Remember(chain[i]);
          AddItem(drives, LastName(chain[i]), ItemIcon::OpenFolder, static_cast<int>(i), current);
        }
    }
    SelectItemWithIndex(drives, current);
  }
  EnableWindow(Item(IDC_FILE_UP), ParentOf(folder_) != folder_);
  if (HWND path = Item(IDC_FILE_FOLDERPATH)) SetWindowTextA(path, folder_.c_str());
  HWND folders = Item(IDC_FILE_FOLDERS);
  if (!folders) return;
  // The old style's folder list: the way down to the folder, then its subfolders.
  SendMessageA(folders, LB_RESETCONTENT, 0, 0);
  int current = -1;
  for (size_t i = 0; i < chain.size(); ++i) {
    current = Remember(chain[i]);
    AddItem(folders, i == 0 ? chain[i] : LastName(chain[i]), ItemIcon::OpenFolder, static_cast<int>(i), current);
  }
  for (const std::string& sub : ListFolder(folder_, {}).folders)
    AddItem(folders, sub, ItemIcon::Folder, static_cast<int>(chain.size()), Remember(JoinPath(folder_, sub)));
  SelectItemWithIndex(folders, current);
}

void FileDialog::FillFiles() {
  HWND files = Item(IDC_FILE_FILES);
  if (!files) return;
  std::vector<std::string> patterns = typedPatterns_;
  if (patterns.empty()) {
    auto chosen = static_cast<int>(SendMessageA(Item(IDC_FILE_TYPES), CB_GETCURSEL, 0, 0));
    if (chosen >= 0 && static_cast<size_t>(chosen) < filters_.size()) patterns = filters_[static_cast<size_t>(chosen)].patterns;
    else patterns = {"*.*"};
  }
  FolderContents contents = ListFolder(folder_, patterns);
  SendMessageA(files, LB_RESETCONTENT, 0, 0);
  if (explorer_) {
    // Explorer style lists the subfolders too, under a ".." that leads up.
    if (ParentOf(folder_) != folder_) AddItem(files, "..", ItemIcon::Folder, 0, Remember(ParentOf(folder_)));
    for (const std::string& sub : contents.folders) AddItem(files, sub, ItemIcon::Folder, 0, Remember(JoinPath(folder_, sub)));
  }
  for (const std::string& file : contents.files) AddItem(files, file, ItemIcon::File, 0, Remember(JoinPath(folder_, file)));
}

std::optional<std::string> FileDialog::Resolve(std::string typed) const {
  std::replace(typed.begin(), typed.end(), '/', '\\');
  if (typed.size() >= 2 && typed[1] == ':') return plat::path::FullPath(typed);
  if (typed[0] == '\\') return plat::path::FullPath(folder_.substr(0, 2) + typed);
  return plat::path::FullPath(JoinPath(folder_, typed));
}

int FileDialog::Box(const std::string& text, UINT type) const {
  return MessageBoxA(dialog_, text.c_str(), TextOf(dialog_).c_str(), type);
}

void FileDialog::OnOk() {
  // OK on a folder list entry other than the open folder opens that entry, as Enter does.
  HWND focus = GetFocus();
  int listId = explorer_ ? IDC_FILE_FILES : IDC_FILE_FOLDERS;
  if (focus && focus == Item(listId)) {
    std::string entry = SelectedEntry(listId);
    if (!entry.empty() && IsFolder(entry) && !plat::path::NamesEqual(entry, folder_)) {
      Navigate(entry);
      return;
    }
  }
  std::string typed = Trimmed(TextOf(Item(IDC_FILE_NAME)));
  if (typed.empty()) return;
  if (auto wild = WildcardsOf(typed); !wild.empty()) {
    typedPatterns_ = wild;
    FillFiles();
    return;
  }
  auto full = typed.find_first_of("<>|\"") == std::string::npos ? Resolve(typed) : std::nullopt;
  if (!full) {
    Box(typed + "\nThe file name is not valid.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (IsFolder(*full)) {
    SetDlgItemTextA(dialog_, IDC_FILE_NAME, "");
    Navigate(*full);
    return;
  }
  Accept(*full);
}

void FileDialog::Accept(std::string path) {
  std::string name = NameOf(path);
  if (ofn_.lpstrDefExt && *ofn_.lpstrDefExt && name.find('.') == std::string::npos) {
    path += std::string(".") + ofn_.lpstrDefExt;
    name = NameOf(path);
  }
  if ((ofn_.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !IsFolder(ParentOf(path))) {
    Box(path + "\nPath does not exist.\nCheck the path and try again.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  bool exists = IsFile(path);
  if ((ofn_.Flags & OFN_FILEMUSTEXIST) && !exists) {
    Box(name + "\nFile not found.\nCheck the file name and try again.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (save_ && (ofn_.Flags & OFN_OVERWRITEPROMPT) && exists &&
      Box(name + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return;

  if (path.size() + 1 > ofn_.nMaxFile) {
    // The caller learns the size it needs in the first two bytes of its buffer.
    if (ofn_.nMaxFile >= 2) {
      auto needed = static_cast<WORD>(std::min<size_t>(path.size() + 1, 0xFFFF));
      std::memcpy(ofn_.lpstrFile, &needed, sizeof needed);
    }
    error_ = FNERR_BUFFERTOOSMALL;
    EndDialog(dialog_, IDCANCEL);
    return;
  }
  std::memcpy(ofn_.lpstrFile, path.c_str(), path.size() + 1);
  size_t offset = path.size() - name.size();
  size_t dot = name.find_last_of('.');
  ofn_.nFileOffset = static_cast<WORD>(offset);
  if (dot == std::string::npos) ofn_.nFileExtension = static_cast<WORD>(path.size());
  else if (dot + 1 == name.size()) ofn_.nFileExtension = 0;
  else ofn_.nFileExtension = static_cast<WORD>(offset + dot + 1);
  if (ofn_.lpstrFileTitle && ofn_.nMaxFileTitle > name.size())
    std::memcpy(ofn_.lpstrFileTitle, name.c_str(), name.size() + 1);
  if (!filters_.empty())
    ofn_.nFilterIndex = static_cast<DWORD>(SendMessageA(Item(IDC_FILE_TYPES), CB_GETCURSEL, 0, 0) + 1);
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  bool different = ofn_.lpstrDefExt && !plat::path::NamesEqual(ext, ofn_.lpstrDefExt);
  ofn_.Flags = (ofn_.Flags & ~(OFN_EXTENSIONDIFFERENT | OFN_READONLY)) | (different ? OFN_EXTENSIONDIFFERENT : 0) |
               (IsDlgButtonChecked(dialog_, IDC_FILE_READONLY) == BST_CHECKED ? OFN_READONLY : 0);

  // The hook has the last word on the name.
  if ((ofn_.Flags & OFN_ENABLEHOOK) && ofn_.lpfnHook) {
    if (explorer_) {
      OFNOTIFYA notify{{dialog_, 0, CDN_FILEOK}, &ofn_, ofn_.lpstrFile};
      SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, 0);
      if (ofn_.lpfnHook(dialog_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify)) &&
          GetWindowLongPtrA(dialog_, DWLP_MSGRESULT))
        return;
    } else if (ofn_.lpfnHook(dialog_, RegisterWindowMessageA(FILEOKSTRINGA), 0, reinterpret_cast<LPARAM>(&ofn_))) {
      return;
    }
  }
  if (!(ofn_.Flags & OFN_NOCHANGEDIR)) SetCurrentDirectoryA(ParentOf(path).c_str());
  EndDialog(dialog_, IDOK);
}

}  // namespace plat::commdlg

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  if (!ofn) {
    plat::commdlg::SetExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  return plat::commdlg::FileDialog(*ofn, false).Run();
}

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) {
  if (!ofn) {
    plat::commdlg::SetExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  return plat::commdlg::FileDialog(*ofn, true).Run();
}
