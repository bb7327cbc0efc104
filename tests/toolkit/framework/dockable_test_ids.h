// Ids of the dockable-frame tests' resources and commands.
#pragma once

#define IDR_DT_MAIN 350
#define IDR_DT_NOTE 351
#define IDR_DT_NOTE_DOCKED 352

#define ID_DT_FILE_NEW 0x8350
#define ID_DT_NOTE_STAMP 0x8351
#define ID_DT_DOCKED_STAMP 0x8352
#define ID_DT_WINDOW_CASCADE 0xE132
