// CVexCustumSec: the date/time control that holds the time-lapse interval on the Timer
// page; it remembers which field to keep in view.
#pragma once
#include "controls/SECDateTimeCtrl.h"

class CVexCustumSec : public SECDateTimeCtrl {
 public:
  // Stores the index and scrolls that field into view.
  void SetFieldIndex(int index);
  int GetFieldIndex() const { return m_nFieldIndex; }

 private:
  int m_nFieldIndex = 0;
};
