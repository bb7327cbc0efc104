#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "Config.h"
#include "TestEnv.h"

namespace testenv {
namespace {
std::string g_scratch;
std::string g_driveC;
}  // namespace

const std::string& ScratchDir() { return g_scratch; }
const std::string& DriveC() { return g_driveC; }
std::string DataPath(const std::string& name) { return std::string(LUMORA_TEST_DATA) + "/" + name; }
std::string BinaryDir() { return LUMORA_BINARY_DIR; }

}  // namespace testenv

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::string templ = (fs::temp_directory_path() / "lumora-test-XXXXXX").string();
  if (!mkdtemp(templ.data())) return 2;
  testenv::g_scratch = templ;
  testenv::g_driveC = templ + "/drive_c";
  fs::create_directories(testenv::g_driveC);
  // Child processes started by a test see the same stand-in settings.
  setenv("LUMORA_DRIVE_C", testenv::g_driveC.c_str(), 1);
  setenv("LUMORA_DISPLAY", "headless", 1);
  setenv("LUMORA_FONT", "test", 1);
  setenv("LUMORA_PRINT_CUPS", "0", 1);  // no print server is asked during tests
  setenv("LUMORA_OPENER", "none", 1);    // documents opened by tests are recorded, not shown

  testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  std::error_code ec;
  if (!getenv("LUMORA_KEEP_SCRATCH")) fs::remove_all(templ, ec);
  return rc;
}
