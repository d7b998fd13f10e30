#include "UnitCustomProc.h"

TCustomProc* CustomProc = nullptr;

TCustomProc::TCustomProc() = default;
