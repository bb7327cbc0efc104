// The automation part of the framework: dates, automation values and hosted controls.
#pragma once
#include "afx.h"
#include "COleDateTime.h"
#include "COleDispatchException.h"
#include "COleVariant.h"
#include "EventSink.h"
#include "OleAuto.h"

// Turns on hosting of controls in the program's windows; the container is always ready.
void AfxEnableControlContainer();
