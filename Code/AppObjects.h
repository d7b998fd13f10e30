// The single-instance helper objects, reachable from everywhere.
#pragma once

#include "Unit_AppFunc.h"

extern TAppFunc* AppFunc;
extern TSysFunc* SysFunc;
extern TStrFunc* StrFunc;
extern TFileFunc* FileFunc;

// Creates the six objects once, in their order; later calls do nothing.
void CreateAppObjects();
