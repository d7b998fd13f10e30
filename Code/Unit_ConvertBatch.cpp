// Main window handlers of the conversion batch.
#include "Unit_Convert.h"

#include "UnitCustomProc.h"
#include "Unit_CommonLib.h"

void TFrmMainForm::btnConvertClick() {
    // A stopped batch may still be finishing its waits; the click does not start a second one inside it.
    if (CustomProc->BatchRunning) return;
    CustomProc->CurrentRow = 0;
    CustomProc->ConvertAll(dxTreeSourceFileInfo);
}

void TFrmMainForm::tmrClearMemoryTimer() {
    if (CommonLib) CommonLib->TrimWorkingSet();
}
