// Child-window ids under which the main frame creates its hidden pipeline objects.
#pragma once

enum PipelineObjectIds : unsigned {
  kIdBufferControl = 1124,
  kIdErrorControl = 1127,
  kIdFlowControl = 1128,
  kIdCCDInput = 1129,
  kIdFileInput = 1130,
  kIdFileOutput = 1131,
  kIdFileDelete = 1132,
  kIdPrinterOutput = 1133,
  kIdProfileProcess = 1134,
  kIdFocusProcess = 1135,
  kIdRetouchProcess = 1136,
  kIdResizeProcess = 1137,
  kIdNoiseCutProcess = 1138,
  kIdRGBProcess = 1139,
  kIdShadingProcess = 1140,
};
