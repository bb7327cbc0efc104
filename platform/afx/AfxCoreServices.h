// The framework's core services (no windows): exceptions, files, times, sync objects.
#pragma once
#include "CException.h"
#include "CFileException.h"
#include "CTime.h"
#include "COleDateTime.h"
#include "CFile.h"
#include "CStdioFile.h"
#include "CMemFile.h"
#include "CSyncObject.h"
#include "CFileFind.h"
