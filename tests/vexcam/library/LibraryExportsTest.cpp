#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "TestEnv.h"

namespace {

// The shared object a program links by name exports all 18 functions by their plain names.
TEST(LibraryExports, AllEighteenResolveByName) {
  std::string path = testenv::BinaryDir() + "/libvexcam.so";
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const char* names[] = {"KQ_BitsArrayFromPlanesRaw", "KQ_CaptureImage_Factory", "KQ_CheckCameraPower",
                         "KQ_CheckStatus", "KQ_GetMallocSize", "KQ_ImageFromBuffer", "KQ_MemoryShot",
                         "KQ_OHPContinue", "KQ_OnShutter", "KQ_PowerOff", "KQ_PowerOn", "KQ_RGBplaneUnit_Factory",
                         "KQ_SetAdTop", "KQ_SetAGCGain", "KQ_SetCDSGain", "KQ_SetExposure", "KQ_WhiteBalance",
                         "KQ_WriteCDSParamToEEPROM"};
  for (const char* name : names) EXPECT_NE(dlsym(library, name), nullptr) << name;
  EXPECT_EQ(dlsym(library, "_KQ_GetMallocSize@24"), nullptr);
  dlclose(library);
}

}  // namespace
