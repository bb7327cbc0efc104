// What the system's code takes from the automation part of the framework: dates.
#pragma once
#include "afx.h"
#include "COleDateTime.h"
