// The camera library's shared object. Its exports come with the library frame.
#include "tCameraSettings.h"
