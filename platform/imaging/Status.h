// Status values of the imaging control's methods: 0 is success, every other value
// names a class of failure that callers tell apart.
#pragma once

namespace plat::imaging {

using Status = short;

namespace status {
inline constexpr Status kOk = 0;
inline constexpr Status kFileNotFound = 2;        // no file (or folder) of that name
inline constexpr Status kNoMemory = 20001;        // the picture does not fit in memory
inline constexpr Status kNoImage = 20002;         // the control holds no picture
inline constexpr Status kInvalidArgument = 20005; // a value the operation cannot take
inline constexpr Status kCannotOpen = 20008;      // the file cannot be opened or created
inline constexpr Status kFileError = 20009;       // read or write failed, or the data is damaged
inline constexpr Status kUnknownFormat = 20014;   // not a picture file the control knows
inline constexpr Status kUnsupported = 20015;     // a known format using what the control cannot read
}  // namespace status

}  // namespace plat::imaging
