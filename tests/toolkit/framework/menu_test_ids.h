// Ids of the menu bar and bitmap menu tests' resources.
#pragma once

#define IDR_MB_FRAME 400
#define IDR_MB_TOOLBAR 401
#define IDR_MB_OTHER 402

#define ID_MB_NEW 0x9101
#define ID_MB_OPEN 0x9102
#define ID_MB_SAVE 0x9103
#define ID_MB_CUT 0x9104
#define ID_MB_COPY 0x9105
#define ID_MB_PASTE 0x9106
#define ID_MB_EXIT 0x9107
#define ID_MB_PRINT 0x9108
#define ID_MB_GRID 0x9109
#define ID_MB_RULER 0x910A
#define ID_MB_ABOUT 0x910B
#define ID_MB_WIDE 0x910C

// The MDI menu bar tests: the main frame's menu and two document types with menus of
// their own.
#define IDR_MDB_MAIN 370
#define IDR_MDB_PICTURE 371
#define IDR_MDB_CHART 372

#define ID_MDB_NEW_PICTURE 0x8370
#define ID_MDB_NEW_CHART 0x8371
#define ID_MDB_ZOOM 0x8372
#define ID_MDB_AXES 0x8373
#define ID_MDB_ABOUT 0x8374
#define ID_MDB_EXIT 0x8375
#define ID_MDB_WINDOW_CASCADE 0xE132  // the framework's window commands, by value
#define ID_MDB_WINDOW_TILE 0xE133
