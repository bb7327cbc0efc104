// The C run-time's Windows extras: path splitting, folders, file status, access
// tests and listings. Paths are Windows paths; strings are UTF-8 and are never cut
// inside a character.
#pragma once
#include <cstddef>
#include <cstdint>
#include <ctime>

#include "WinTypes.h"

#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext);
// `buffer` NULL: a malloc'ed string of at least `size` bytes, which the caller frees.
char* _fullpath(char* buffer, const char* path, size_t size);

int _mkdir(const char* path);
int _rmdir(const char* path);
int _chdir(const char* path);
char* _getcwd(char* buffer, int size);
// The drive of the current folder: 1 for A:, 3 for C:, ...
int _getdrive();

#define _S_IFMT 0xF000
#define _S_IFDIR 0x4000
#define _S_IFCHR 0x2000
#define _S_IFREG 0x8000
#define _S_IREAD 0x0100
#define _S_IWRITE 0x0080
#define _S_IEXEC 0x0040

// The native <sys/stat.h> names its times through st_atim.tv_sec; struct _stat takes
// the same shape, so that both headers can be included in either order.
#ifndef st_atime
#define st_atime st_atim.tv_sec
#define st_mtime st_mtim.tv_sec
#define st_ctime st_ctim.tv_sec
#endif

// Times: seconds since 1970. st_ctime is the creation time, as on Windows.
struct _stat {
  unsigned int st_dev;  // drive number, 0 = A:
  unsigned short st_ino;
  unsigned short st_mode;
  short st_nlink;
  short st_uid;
  short st_gid;
  unsigned int st_rdev;
  LONG st_size;
  struct {
    time_t tv_sec;
  } st_atim, st_mtim, st_ctim;
};
int _stat(const char* path, struct _stat* status);
// mode: 0 exists, 2 writable, 4 readable, 6 both. 0 or -1 with errno.
int _access(const char* path, int mode);

#define _A_NORMAL 0x00
#define _A_RDONLY 0x01
#define _A_HIDDEN 0x02
#define _A_SYSTEM 0x04
#define _A_SUBDIR 0x10
#define _A_ARCH 0x20

struct _finddata_t {
  unsigned attrib;
  time_t time_create;  // -1 where unknown
  time_t time_access;
  time_t time_write;
  uint32_t size;
  char name[260];
};
intptr_t _findfirst(const char* pattern, struct _finddata_t* data);
int _findnext(intptr_t handle, struct _finddata_t* data);
int _findclose(intptr_t handle);
