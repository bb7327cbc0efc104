// The application framework's core (no windows), as the system's code includes it.
#pragma once
#include "windows.h"
#include "AfxCoreTypes.h"     // CObject, CRuntimeClass, CString, CPoint/CSize/CRect, collections
#include "AfxCoreServices.h"  // exceptions, CFile, CArchive, CTime, COleDateTime, sync objects
