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
