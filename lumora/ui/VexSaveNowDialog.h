// The saving indicator shown while a picture is written.
#pragma once
#include <afxwin.h>

class CVexSaveNowDialog : public CDialog {
 public:
  using CDialog::CDialog;
  // Shows frame 0-3 of the indicator and waits 100 ms.
  virtual void SetSpinnerFrame(SHORT frame) = 0;
};
