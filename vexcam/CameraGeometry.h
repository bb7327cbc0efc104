// The configured camera: frame sizes, line layout and frame timing, one record for the
// whole library. The camera control fills it from the model; capture, readout and white
// balance read it.
#pragma once
#include "WinTypes.h"

struct CameraGeometry {
  LONG SubType = 0;
  LONG FrameWidth = 0, FrameHeight = 0;
  LONG Width2 = 0, Height2 = 0;
  LONG Width3 = 0, Height3 = 0;
  LONG MaxWidth = 0, MaxHeight = 0;
  LONG HalfWidth = 0, HalfHeight = 0;
  LONG LineBytes = 0;
  LONG LineCount = 0;         // sensor lines read per field
  LONG LineOffset = 0;        // first sensor line of the readout window
  LONG PortWindowOffset = 0;
  LONG LinesPerFrame = 0;
  LONG ClocksPerLine = 0;
  LONG FramePeriodMs = 0;
  LONG SettleLine = 0;
  LONG SiteMap[4] = {0, 1, 2, 3};
  LONG GainChannel[4] = {0, 1, 2, 3};
  LONG BlackChannel[4] = {0, 1, 2, 3};
};

CameraGeometry& Geometry();

// The sensor's full frame for the model in bits 8-11 of a camera identity word; a model
// the library does not know keeps the configured geometry's frame.
SIZE ModelFrameSize(LONG cameraVer);
