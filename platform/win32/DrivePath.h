// Windows paths over the native file system: drive letters mapped to native folders,
// `\` and `/` both separators, names matched without regard to case, and the
// process's current folder. Every file service of the stand-in maps paths here.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "WinTypes.h"

namespace plat::path {

// Fixed folders of the Windows side (created on first use of drive C:).
inline constexpr const char* kProgramFolder = "C:\\Lumora";
inline constexpr const char* kWindowsFolder = "C:\\WINDOWS";
inline constexpr const char* kSystemFolder = "C:\\WINDOWS\\SYSTEM32";

// Native folder behind a drive letter (either case), without a trailing '/';
// nullopt when the drive is not mapped. Drive C: and its standard folders are
// created the first time they are asked for.
std::optional<std::string> DriveRoot(char letter);

// The absolute Windows form of `path`: current folder and drive applied, '/' turned
// into '\', "." and ".." resolved, trailing dots and blanks of names dropped, the
// drive letter in upper case. "\\.\NAME" device paths come back unchanged.
// nullopt (and *error set) when the path is empty or has a bad drive part.
std::optional<std::string> FullPath(std::string_view path, DWORD* error = nullptr);

// The native path of a Windows path. Each component that exists on disk is matched
// to its name there without regard to case; the rest keep the case given. nullopt
// with *error set when the drive is not mapped (ERROR_PATH_NOT_FOUND) or the path
// is malformed (ERROR_INVALID_NAME).
std::optional<std::string> ToNative(std::string_view path, DWORD* error = nullptr);

// The Windows form of a native absolute path: under the folder of a mapped drive it
// takes that drive (the deepest mapping wins), anything else goes through Z:.
std::string ToWindows(std::string_view nativePath);

// "NAME" of a "\\.\NAME" (or "//./NAME") device path; nullopt for other paths.
std::optional<std::string> DeviceName(std::string_view path);

// True when the last component is the NUL device ("NUL", "nul.txt" ...), which
// Windows answers in every folder.
bool IsNulDevice(std::string_view path);

// The process's current folder, in Windows form (default: the program folder).
std::string CurrentFolder();
// Fails with ERROR_FILE_NOT_FOUND (missing) or ERROR_DIRECTORY (not a folder).
bool SetCurrentFolder(std::string_view path, DWORD* error = nullptr);
// Makes the process's native working folder its current folder, in Windows form (see
// ToWindows), as a Windows program starts in the folder of whoever started it. A program
// that wants that asks for it at start; the default stays the program folder. False,
// with nothing changed, when the native folder cannot be read or has no Windows name.
bool AdoptNativeWorkingFolder(DWORD* error = nullptr);

// Compares two names the way Windows does: without regard to ASCII case.
bool NamesEqual(std::string_view a, std::string_view b);

}  // namespace plat::path
