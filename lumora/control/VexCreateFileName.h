// CVexCreateFileName: expands the date, counter and setting-name tokens of a save-name
// template ($YYYY, $MM, $###, $VEX ...) in place.
#pragma once
#include <afx.h>

class CVexCreateFileName {
 public:
  // A negative counter leaves the counter tokens ($###, $##, $#) as they are.
  void Expand(CString& name, LONG counter, const CString& settingName) const;
};
