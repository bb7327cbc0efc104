#include "VexcamCalls.h"

#include "VexcamApi.h"

const tVexcamCalls& VexcamLibraryCalls() {
  static const tVexcamCalls calls = {&KQ_GetMallocSize, &KQ_OnShutter,    &KQ_CheckCameraPower, &KQ_SetExposure,
                                     &KQ_SetCDSGain,    &KQ_WhiteBalance, &KQ_CheckStatus,      &KQ_PowerOff};
  return calls;
}
