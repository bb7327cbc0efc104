// The camera library's shared object: it registers itself as "Vexcam.dll" beside the
// program, with its exports, and runs its application object's start and end as the
// object is loaded and unloaded.
#include "ModuleRegistry.h"
#include "VexcamApi.h"
#include "VexcamApp.h"

namespace {

CVexcamApp& TheApp() {
  static CVexcamApp app;
  return app;
}

template <class F>
FARPROC Export(F* f) {
  // Exports are looked up as untyped entry points, as GetProcAddress hands them out.
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

plat::SymbolTable Exports() {
  return {
      {"KQ_BitsArrayFromPlanesRaw", Export(&KQ_BitsArrayFromPlanesRaw)},
      {"KQ_CaptureImage_Factory", Export(&KQ_CaptureImage_Factory)},
      {"KQ_CheckCameraPower", Export(&KQ_CheckCameraPower)},
      {"KQ_CheckStatus", Export(&KQ_CheckStatus)},
      {"KQ_GetMallocSize", Export(&KQ_GetMallocSize)},
      {"KQ_ImageFromBuffer", Export(&KQ_ImageFromBuffer)},
      {"KQ_MemoryShot", Export(&KQ_MemoryShot)},
      {"KQ_OHPContinue", Export(&KQ_OHPContinue)},
      {"KQ_OnShutter", Export(&KQ_OnShutter)},
      {"KQ_PowerOff", Export(&KQ_PowerOff)},
      {"KQ_PowerOn", Export(&KQ_PowerOn)},
      {"KQ_RGBplaneUnit_Factory", Export(&KQ_RGBplaneUnit_Factory)},
      {"KQ_SetAdTop", Export(&KQ_SetAdTop)},
      {"KQ_SetAGCGain", Export(&KQ_SetAGCGain)},
      {"KQ_SetCDSGain", Export(&KQ_SetCDSGain)},
      {"KQ_SetExposure", Export(&KQ_SetExposure)},
      {"KQ_WhiteBalance", Export(&KQ_WhiteBalance)},
      {"KQ_WriteCDSParamToEEPROM", Export(&KQ_WriteCDSParamToEEPROM)},
  };
}

// Start at load, end at unload: the application object is built on first use, inside
// this object's constructor, so it outlives it.
struct LibraryLifetime {
  LibraryLifetime() {
    plat::ModuleSpec spec;
    spec.fileName = "Vexcam.dll";
    spec.symbols = Exports();
    spec.loaded = true;
    TheApp().m_hInstance = plat::RegisterModule(std::move(spec));
    TheApp().InitInstance();
  }
  ~LibraryLifetime() { TheApp().ExitInstance(); }
} lifetime;

}  // namespace
