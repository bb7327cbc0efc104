// The thumbnail strip as the flow control sees it.
#pragma once
#include <windows.h>

class CVexThumbnailView {
 public:
  virtual ~CVexThumbnailView() = default;
  // Shows the slot's picture in thumbnail `index` (0-4) of the strip.
  virtual void ShowThumbnail(SHORT index, SHORT slot) = 0;
};
