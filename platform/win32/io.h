// Low-level file functions of the C run-time.
#pragma once
#include "crt.h"
