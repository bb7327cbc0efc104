// Resources as the program reads them at run time: string blocks, dialog and menu
// templates, accelerator tables, bitmaps, icons and cursors. Each resource of the
// fuzzed module holds the input.
#include <vector>

#include "FuzzSeeds.h"
#include "ModuleRegistry.h"
#include "rc/ResourceRegistry.h"
#include "user/DialogTemplate.h"
#include "windows.h"

namespace {

std::vector<unsigned char> g_data(1);
plat::rc::Entry g_entries[] = {
    {2, nullptr, 1, nullptr, nullptr, 0},   // bitmap
    {3, nullptr, 1, nullptr, nullptr, 0},   // icon image
    {4, nullptr, 1, nullptr, nullptr, 0},   // menu
    {5, nullptr, 1, nullptr, nullptr, 0},   // dialog
    {6, nullptr, 1, nullptr, nullptr, 0},   // strings 0-15
    {9, nullptr, 1, nullptr, nullptr, 0},   // accelerators
    {12, nullptr, 1, nullptr, nullptr, 0},  // cursor group
    {14, nullptr, 1, nullptr, nullptr, 0},  // icon group
};
HMODULE g_module;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static plat::rc::Registrar registrar("Fuzzed.dll", g_entries, std::size(g_entries));
  plat::ModuleSpec spec;
  spec.fileName = "Fuzzed.dll";
  spec.loaded = true;
  g_module = plat::RegisterModule(spec);
  // A string block with texts 1 and 2, as the resource compiler writes one.
  fuzzseeds::Write("strings", std::vector<uint8_t>{0, 0, 2, 0, 'h', 0, 'i', 0, 1, 0, 0x4B, 0x30});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_data.assign(data, data + size);  // exactly the input, so reads past it are seen
  for (auto& e : g_entries) {
    e.data = g_data.data();
    e.size = uint32_t(size);
  }
  char text[64];
  for (UINT id = 0; id < 16; ++id) LoadStringA(g_module, id, text, sizeof text);
  plat::user::ParseDialogTemplate(data, size);
  if (HMENU m = LoadMenuA(g_module, MAKEINTRESOURCEA(1))) DestroyMenu(m);
  if (HACCEL a = LoadAcceleratorsA(g_module, MAKEINTRESOURCEA(1))) DestroyAcceleratorTable(a);
  if (HBITMAP b = LoadBitmapA(g_module, MAKEINTRESOURCEA(1))) DeleteObject(b);
  if (HICON i = LoadIconA(g_module, MAKEINTRESOURCEA(1))) DestroyIcon(i);
  if (HCURSOR c = LoadCursorA(g_module, MAKEINTRESOURCEA(1))) DestroyCursor(c);
  return 0;
}
