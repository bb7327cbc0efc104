#include "VexDisplaySpace.h"

namespace vexspace {

POINT PictureToDisplay(POINT p, SHORT mode) {
  switch (mode) {
    case 1: return {512 - p.y, p.x};
    case 2: return {640 - p.x, 512 - p.y};
    case 3: return {p.y, 640 - p.x};
    case 4: return {640 - p.x, p.y};
    case 5: return {512 - p.y, 640 - p.x};
    case 6: return {p.x, 512 - p.y};
    case 7: return {p.y, p.x};
    default: return p;
  }
}

POINT DisplayToPicture(POINT p, SHORT mode) {
  switch (mode) {
    case 1: return {p.y, 512 - p.x};
    case 2: return {640 - p.x, 512 - p.y};
    case 3: return {640 - p.y, p.x};
    case 4: return {640 - p.x, p.y};
    case 5: return {640 - p.y, 512 - p.x};
    case 6: return {p.x, 512 - p.y};
    case 7: return {p.y, p.x};
    default: return p;
  }
}

}  // namespace vexspace
