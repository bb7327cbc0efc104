// The framework's core types (no windows).
#pragma once
#include "AfxDebug.h"
#include "CObject.h"
#include "CString.h"
#include "CRect.h"
#include "CArchive.h"
#include "AfxCollections.h"
