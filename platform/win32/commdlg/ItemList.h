// Entries of the dialogs' folder and file lists: a small picture, an indent and the
// owner's index, kept in the entry's item data; owner-drawn lists paint them.
#pragma once
#include <string>

#include "WinUser.h"
#include "WinUserUi.h"

namespace plat::commdlg {

enum class ItemIcon : int { File, Folder, OpenFolder, Drive };

constexpr int kItemHeight = 18;

// Appends an entry to a list box or combo box (owner-drawn or not) and answers its position.
int AddItem(HWND control, const std::string& text, ItemIcon icon, int indent, int index);
// The owner's index of entry `item` (-1 when there is none).
int IndexOfItem(HWND control, int item);
int SelectedIndex(HWND control);  // of the selected entry, -1 when none
void SelectItemWithIndex(HWND control, int index);

// WM_DRAWITEM of such a list or combo box.
void DrawItem(const DRAWITEMSTRUCT& di);

}  // namespace plat::commdlg
