// The automation part of the framework: dates, automation values and hosted controls.
#pragma once
#include "afx.h"
#include "COleDateTime.h"
#include "COleDispatchException.h"
#include "COleVariant.h"
#include "EventSink.h"
#include "OleAuto.h"

// Makes the registered controls known to the window manager, so that windows and
// dialog templates can host them.
void AfxEnableControlContainer();
