// Private INI files. A file name without a folder lives in the Windows folder.
// Sections and keys are matched without regard to case.
#pragma once
#include "WinTypes.h"

// NULL section: the section names; NULL key: the section's key names; both as a
// list of NUL-terminated strings ended by one more NUL.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName);
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);
// NULL value deletes the key; NULL key deletes the section.
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR fileName);
// `entries`: "key=value" strings, each NUL-terminated, ended by one more NUL.
BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR entries, LPCSTR fileName);
DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR fileName);

#define GetPrivateProfileString GetPrivateProfileStringA
#define GetPrivateProfileInt GetPrivateProfileIntA
#define WritePrivateProfileString WritePrivateProfileStringA
#define GetPrivateProfileSection GetPrivateProfileSectionA
#define WritePrivateProfileSection WritePrivateProfileSectionA
#define GetPrivateProfileSectionNames GetPrivateProfileSectionNamesA
