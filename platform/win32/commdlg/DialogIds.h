// Templates and control ids of the common dialogs (the classic ids, which custom
// templates of programs use too).
#pragma once

#define IDD_FILE_OLDSTYLE 1536
#define IDD_FILE_EXPLORER 1537
#define IDD_BROWSE_FOLDER 1538

#define IDC_FILE_FOLDERPATH 1088  // the old style's current folder
#define IDC_FILE_TYPELABEL 1089
#define IDC_FILE_NAMELABEL 1090
#define IDC_FILE_DRIVELABEL 1091
#define IDC_FILE_FILES 1120       // file list (Explorer style: folders and files)
#define IDC_FILE_FOLDERS 1121     // the old style's folder list
#define IDC_FILE_TYPES 1136
#define IDC_FILE_DRIVES 1137      // the old style's drives; Explorer style: "Look in"
#define IDC_FILE_NAME 1152
#define IDC_FILE_READONLY 1040
#define IDC_FILE_HELP 1038
#define IDC_FILE_NETWORK 1037
#define IDC_FILE_UP 1024          // Explorer style: one folder up

#define IDC_BROWSE_TITLE 1101
#define IDC_BROWSE_TREE 1102
