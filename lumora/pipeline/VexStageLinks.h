// CVexStageLinks: what the main frame gives every pipeline object and pane at start:
// its own imaging control where it has one, the image slots and the error control. An
// object that keeps any of these overrides its step; the others ignore it. All of it
// runs once on the user-interface thread, before any worker starts.
#pragma once
#include <windows.h>

class CVexBufferControl;
class CVexErrorControl;

class CVexStageLinks {
 public:
  virtual ~CVexStageLinks() = default;
  // Makes the object's hidden imaging control; TRUE for an object that has none.
  virtual BOOL CreateImagingControl(const RECT*) { return TRUE; }
  virtual int SetBufferControl(CVexBufferControl*) { return 0; }
  virtual void SetErrorControl(CVexErrorControl*) {}
};
