// Ids of the MDI framework tests' resources (the framework's commands by value).
#define IDR_MAINFRAME 128
#define IDR_PICTURE 129
#define ID_PICTURE_ONLY 1001
#define IDM_FILE_NEW 0xE100
#define IDM_WINDOW_NEW 0xE130
#define IDM_WINDOW_CASCADE 0xE132
#define IDM_WINDOW_TILE_HORZ 0xE133
