// Creating a DIB section over memory another module owns.
//
// The imaging control keeps each picture in its own buffer and must hand out a DC whose
// selected bitmap is that very memory: drawing through the DC changes the buffer and the
// control's own writes show through the DC. The bitmap keeps `owner` alive until it is
// deleted (and deselected), so the memory outlives every DC that draws on it.
#pragma once
#include <memory>

#include "WinGdi.h"

namespace plat::gdi {

// `info` describes the pixels as CreateDIBSection's BITMAPINFO does (1, 4, 8, 16, 24 or 32
// bits, BI_RGB; biHeight < 0 for top-down rows; the colour table follows the header for
// 8 bits or fewer). `bits` holds the rows, each padded to 4 bytes. Returns nullptr for an
// unsupported format or a null pointer.
HBITMAP CreateDibSectionOver(const BITMAPINFO* info, void* bits, std::shared_ptr<void> owner);

}  // namespace plat::gdi
