// The capture progress window, with its stop button, as the flow control uses it.
#pragma once
#include <afxwin.h>

class CVexProcessDialog : public CDialog {
 public:
  using CDialog::CDialog;
  // Resets the window for capture kinds 0-3 or white balance (4).
  virtual void Begin(SHORT kind) = 0;
  // Shows the document's progress; 1 once the user has pressed stop.
  virtual int UpdateProgress() = 0;
};
