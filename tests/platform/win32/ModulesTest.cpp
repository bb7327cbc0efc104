#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Faults.h"
#include "ModuleRegistry.h"
#include "windows.h"

namespace {

INT_PTR WINAPI Answer() { return 42; }

std::string FileNameOf(HMODULE h) {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(h, buf, sizeof buf);
  return n ? std::string(buf, n) : std::string("<fails>");
}

TEST(Modules, ProgramModuleAnswersItsPath) {
  EXPECT_EQ(GetModuleHandleA(nullptr), plat::ProgramModule());
  EXPECT_EQ(FileNameOf(nullptr), "C:\\Lumora\\Lumora.exe");
  plat::SetProgramName("setup.exe");
  EXPECT_EQ(FileNameOf(nullptr), "C:\\Lumora\\setup.exe");
  EXPECT_EQ(FileNameOf(GetModuleHandleA("SETUP.EXE")), "C:\\Lumora\\setup.exe");
  plat::SetProgramName("Lumora.exe");
  EXPECT_EQ(GetModuleHandleA("setup.exe"), nullptr);
}

TEST(Modules, TheSystemLibraryOffersItsFunctionsForRunTimeLookUp) {
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(FileNameOf(kernel), "C:\\WINDOWS\\SYSTEM32\\kernel32.dll");
  using DiskFree = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  FARPROC proc = GetProcAddress(kernel, "GetDiskFreeSpaceExA");
  auto diskFree = reinterpret_cast<DiskFree>(reinterpret_cast<void (*)()>(proc));
  ASSERT_NE(diskFree, nullptr);
  ULARGE_INTEGER avail{}, total{};
  EXPECT_TRUE(diskFree("C:\\", &avail, &total, nullptr));
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_EQ(GetProcAddress(kernel, "GetDiskFreeSpaceExW"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(kernel)) << "it stays for the life of the process";
  EXPECT_EQ(GetModuleHandleA("kernel32"), kernel);
}

TEST(Modules, AFaultPointMakesOneFunctionLookMissing) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  {
    plat::faults::Scope missing("GetProcAddress:GetDiskFreeSpaceExA", ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(kernel, "GetDiskFreeSpaceExA"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  }
  EXPECT_NE(GetProcAddress(kernel, "GetDiskFreeSpaceExA"), nullptr);
}

TEST(Modules, ModuleFileNameIsCutSafelyInAShortBuffer) {
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(GetModuleFileNameA(nullptr, buf, sizeof buf), 8u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_STREQ(buf, "C:\\Lumo");  // terminated, never overrun
}

TEST(Modules, LoadLibraryFindsRegisteredModulesByAnySpellingOfTheName) {
  HMODULE registered = plat::RegisterModule({"Vexdemo.dll", "C:\\Lumora", {{"Answer", Answer}}, {}, false});
  ASSERT_NE(registered, nullptr);
  // Registered but not loaded: not yet a module of the process.
  EXPECT_EQ(GetModuleHandleA("Vexdemo"), nullptr);
  EXPECT_EQ(GetModuleFileNameA(registered, nullptr, 0), 0u);

  for (const char* spelling : {"Vexdemo", "VEXDEMO.DLL", "vexdemo.dll", "C:\\Lumora\\VexDemo.dll"}) {
    HMODULE h = LoadLibraryA(spelling);
    EXPECT_EQ(h, registered) << spelling;
  }
  EXPECT_EQ(FileNameOf(registered), "C:\\Lumora\\Vexdemo.dll");
  EXPECT_EQ(GetModuleHandleA("vexdemo"), registered);
  FARPROC f = GetProcAddress(registered, "Answer");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f(), 42);
  EXPECT_EQ(GetProcAddress(registered, "answer"), nullptr);  // export names keep their case
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

  // A trailing dot means "no extension", so this names another file.
  EXPECT_EQ(LoadLibraryA("vexdemo."), nullptr);
  // Four loads need four frees; a fifth free is refused.
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(FreeLibrary(registered)) << i;
  EXPECT_EQ(GetModuleHandleA("vexdemo"), nullptr);
  EXPECT_EQ(GetProcAddress(registered, "Answer"), nullptr);
  EXPECT_FALSE(FreeLibrary(registered));
}

TEST(Modules, UnknownAndFailingLoadsReportTheirError) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("Nowhere"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibraryA(""), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));

  plat::RegisterModule({"Faulty.dll"});
  plat::faults::Scope fail("LoadLibrary", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(LoadLibraryA("Faulty"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST(Modules, LaterRegistrationAddsSymbolsAndData) {
  HMODULE h = plat::RegisterModule({"Quillon.dll", "C:\\Lumora", {}, std::any(7), true});
  EXPECT_EQ(GetModuleHandleA("quillon"), h);  // registered as loaded: no LoadLibrary needed
  EXPECT_EQ(plat::RegisterModule({"quillon", "C:\\Lumora", {{"Answer", Answer}}, {}, false}), h);
  EXPECT_NE(GetProcAddress(h, "Answer"), nullptr);
  ASSERT_NE(plat::ModuleData(h), nullptr);
  EXPECT_EQ(std::any_cast<int>(*plat::ModuleData(h)), 7);
  EXPECT_TRUE(FreeLibrary(h));  // a module loaded for good stays
  EXPECT_EQ(GetModuleHandleA("quillon"), h);
}

}  // namespace
