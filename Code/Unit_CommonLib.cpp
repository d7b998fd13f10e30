#include "Unit_CommonLib.h"

#include "Unit_AppFunc.h"

TCommonLib* CommonLib = nullptr;

TCommonLib::TCommonLib() : ExeFolder(TAppFunc().GetAppDir()) {}
