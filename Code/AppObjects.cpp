#include "AppObjects.h"

#include "UnitCustomProc.h"
#include "Unit_CommonLib.h"

TAppFunc* AppFunc = nullptr;
TSysFunc* SysFunc = nullptr;
TStrFunc* StrFunc = nullptr;
TFileFunc* FileFunc = nullptr;

void CreateAppObjects() {
    if (CustomProc) return;
    CustomProc = new TCustomProc;
    CommonLib = new TCommonLib;
    AppFunc = new TAppFunc;
    SysFunc = new TSysFunc;
    StrFunc = new TStrFunc;
    FileFunc = new TFileFunc;
}
