// The stage operations of the image pipeline. Stages never call each other: the flow
// control calls each stage with image slot numbers. A stage answers 1 on success and
// 0 on failure, and before it fails it records its error pair in the document
// (CVexDoc::SetLastError with value 1).
#pragma once
#include <windows.h>

// Takes a picture into a slot (camera, file).
class CVexImageInput {
 public:
  virtual ~CVexImageInput() = default;
  virtual SHORT Input(SHORT slot) = 0;
};

// Works on a picture from one slot into another (retouch, resize, noise cut, ...).
class CVexItoIProcess {
 public:
  virtual ~CVexItoIProcess() = default;
  virtual SHORT Process(SHORT source, SHORT destination) = 0;
};

// Works on the live picture and shows its result beside it (focus).
class CVexItoVProcess {
 public:
  virtual ~CVexItoVProcess() = default;
  virtual SHORT Process(SHORT source, SHORT destination) = 0;
};

// Puts a slot's picture somewhere (a display pane, a file, the printer).
class CVexImageOutput {
 public:
  virtual ~CVexImageOutput() = default;
  virtual SHORT Output(SHORT slot) = 0;
};
