// Resource ids of the program's script (resources/lumora/Lumora.rc): its commands, the
// main window's panes and child windows, and the templates the code names. The script
// and the code both take them from here; the framework's own commands (ID_FILE_OPEN,
// ID_APP_ABOUT, ...) come from AfxMsg.h.
#pragma once

// ---- templates, menus, icons and cursors
#define IDR_MAINFRAME 128        // the main menu, accelerators and toolbar
#define IDR_ANNOTATION_MENU 144  // the still display's context menu
#define IDR_RETOUCH_MENU 132
#define IDR_THUMBNAIL_MENU 230   // the thumbnail strip's context menu
#define IDD_ABOUTBOX 100
#define IDD_JPEG_QUALITY 203
#define IDD_FILE_DELETE 205
#define IDD_PRINT_NOW 211
#define IDD_THUMBNAIL_MAKE 213
#define IDD_OVERLAY_SELECT 244
#define IDD_PRINT_TYPE 132
#define IDD_FULL_SCREEN 236
#define IDD_ERROR 231
#define IDD_RETOUCH 139
#define IDD_RETOUCH_COLOR 136
#define IDD_RETOUCH_SIZE 137
#define IDD_RETOUCH_WBALANCE 138
#define IDD_RETOUCH_ENHANCE 140
#define IDI_WHITE_BALANCE 130
#define IDI_BLACK_BALANCE 131
#define IDC_BLACK_SAMPLE_CURSOR 134
#define IDC_VERSION 1131
#define IDC_COPYRIGHT 1132
#define IDC_NOTICE 1133
#define IDC_ERROR_CODE 1143
#define IDC_ERROR_MESSAGE 1144
#define IDS_ABOUT_COPYRIGHT 62463
#define IDS_ABOUT_NOTICE 62465

// ---- File
#define ID_LOAD_SETTING_FILE 32796
#define ID_SAVE_SETTING_FILE 32797
#define ID_DELETE_IMAGES 32804
#define ID_PRINT_PICTURE 32808
#define ID_PRINT_PICTURE_PREVIEW 32809
#define ID_LAYOUT_PRINT 32806
#define ID_LAYOUT_PREVIEW 32807

// ---- Image
#define ID_RETOUCH 32805
#define ID_SCALE_TOOL 32845
#define ID_ANNOTATION_TOOL 32846

// ---- View: the still picture
#define ID_STILL_ZOOM_IN 32799
#define ID_STILL_ZOOM_OUT 32800
#define ID_ZOOM_RECT 32801
#define ID_STILL_ZOOM_FIT 32802
#define ID_STILL_FULL_SCREEN 32819
#define ID_REFRESH_THUMBNAIL 32803

// ---- Live
#define ID_LIVE_ON 32837
#define ID_LIVE_DISPLAY_RIGHT 32838
#define ID_LIVE_ZOOM_IN 32839
#define ID_LIVE_ZOOM_OUT 32840
#define ID_LIVE_ZOOM_FIT 32841
#define ID_LIVE_FULL_SCREEN 32842

// ---- Option; the user tools the Option menu lists take one command each
#define ID_EXTERNAL_TRIGGER 32843
#define ID_LAUNCHER_PROPERTY 32844
#define ID_USER_TOOL_FIRST 43044
#define ID_USER_TOOL_LAST 43052

// ---- toolbar buttons of their own: the mouse tools, the two displays by side, and
// the buttons that have no handler and stay disabled
#define ID_ANNOTATION_BUTTON 32829
#define ID_SCALE_BUTTON 32830
#define ID_STANDARD_CURSOR 32811
#define ID_HAND_CURSOR 32792
#define ID_SWAP_DISPLAYS 32825
#define ID_LIVE_ON_BUTTON 32820
#define ID_LEFT_ZOOM_IN 32847
#define ID_LEFT_ZOOM_OUT 32848
#define ID_LEFT_ZOOM_FIT 32849
#define ID_LEFT_FULL_SCREEN 32822
#define ID_RIGHT_ZOOM_IN 32824
#define ID_RIGHT_ZOOM_OUT 32826
#define ID_RIGHT_ZOOM_FIT 32828
#define ID_RIGHT_FULL_SCREEN 32827
#define ID_INERT_BUTTON_1 32831
#define ID_INERT_BUTTON_2 32832
#define ID_INERT_BUTTON_3 32833
#define ID_INERT_BUTTON_4 32834
#define ID_INERT_BUTTON_5 32835
#define ID_INERT_BUTTON_6 32836

// ---- annotation editing (the still display's context menu and the accelerators)
#define ID_ANN_COPY 32775
#define ID_ANN_CUT 32777
#define ID_ANN_PASTE 32780
#define ID_ANN_DELETE 32782
#define ID_ANN_ROTATE 32784
#define ID_ANN_PROPERTY 32787
#define ID_ANN_RESHAPE 32791
#define ID_ANN_SELECT_ALL 32850

// ---- the thumbnail strip's context menu
#define ID_THUMB_SELECT_ALL 32812
#define ID_THUMB_UNSELECT_ALL 32813
#define ID_THUMB_JUMP_TO_TOP 32814
#define ID_THUMB_JUMP_TO_END 32815
#define ID_THUMB_PROPERTY 32821

// ---- the retouch dialog's menu
#define ID_RETOUCH_ROTATE_90CW 32771
#define ID_RETOUCH_ROTATE_90CCW 32772
#define ID_RETOUCH_ROTATE_180 32774
#define ID_RETOUCH_FLIP_HORIZONTAL 32776
#define ID_RETOUCH_FLIP_VERTICAL 32778
#define ID_RETOUCH_GRAYSCALE 32779
#define ID_RETOUCH_NEGATIVE 32781
#define ID_RETOUCH_CROP 32783
#define ID_RETOUCH_UNDO 32786

// ---- the status bar's panes (their texts are the widest each shows)
#define ID_INDICATOR_THUMBNAILS 32818
#define ID_INDICATOR_PIXEL 32817
#define ID_INDICATOR_CLOCK 32816

// ---- the main window's hidden pipeline objects, child windows of the frame
#define IDW_BUFFER_CONTROL 1124
#define IDW_ERROR_CONTROL 1127
#define IDW_FLOW_CONTROL 1128
#define IDW_CCD_INPUT 1129
#define IDW_FILE_INPUT 1130
#define IDW_FILE_OUTPUT 1131
#define IDW_FILE_DELETE 1132
#define IDW_PRINTER_OUTPUT 1133
#define IDW_PROFILE_PROCESS 1134
#define IDW_FOCUS_PROCESS 1135
#define IDW_RETOUCH_PROCESS 1136
#define IDW_RESIZE_PROCESS 1137
#define IDW_NOISE_CUT_PROCESS 1138
#define IDW_RGB_PROCESS 1139
#define IDW_SHADING_PROCESS 1140
