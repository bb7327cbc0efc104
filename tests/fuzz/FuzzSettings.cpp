// The program's INI file and setting files, read as the document reads them at start
// and when the user loads a setting file.
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "Config.h"
#include "FuzzSeeds.h"
#include "control/VexDoc.h"

namespace {
std::unique_ptr<CVexDoc> g_doc;
std::string g_native;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char dir[] = "/tmp/lumora-fuzz-XXXXXX";
  if (mkdtemp(dir)) plat::config::Set("DRIVE_C", dir);
  CreateDirectoryA("C:\\Lumora", nullptr);
  g_native = std::string(dir) + "/Lumora/fuzz.ini";
  g_doc = std::make_unique<CVexDoc>();
  g_doc->SaveSettingFile("C:\\Lumora\\seed.vex");
  std::ifstream in(std::string(dir) + "/Lumora/seed.vex", std::ios::binary);
  fuzzseeds::Write("setting.vex", std::string(std::istreambuf_iterator<char>(in), {}));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(g_native, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
  g_doc->ReadUserSection("C:\\Lumora\\fuzz.ini");
  g_doc->ReadSystemSection("C:\\Lumora\\fuzz.ini");
  g_doc->ReadCameraSection("C:\\Lumora\\fuzz.ini");
  g_doc->CheckUserValues(true);
  g_doc->LoadSettingFile("C:\\Lumora\\fuzz.ini");
  return 0;
}
