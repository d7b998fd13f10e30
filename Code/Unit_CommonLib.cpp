#include "Unit_CommonLib.h"

#include "Unit_AppFunc.h"

TCommonLib::TCommonLib() : ExeFolder(TAppFunc().GetAppDir()) {}
