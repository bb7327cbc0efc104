// The camera input stage: the one stage that calls the camera library. The flow
// control uses its stage operation and, for white balance, its measurement.
#pragma once
#include "pipeline/VexStages.h"

class CVexCCDInput : public CVexImageInput {
 public:
  // Measures the white balance on the calling thread; 1 on success, 0 with the error
  // recorded in the document.
  virtual int MeasureWhiteBalance() = 0;
};
