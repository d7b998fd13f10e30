// Main window handlers of the conversion settings.
#include "Unit_Convert.h"

#include "UnitCustomProc.h"
#include "Unit_Option.h"

void TFrmMainForm::cbbOutputFiletypeChange() {
    CustomProc->ApplyQualityPreset();
}

void TFrmMainForm::cbbProfileChange() {
    CustomProc->ApplyQualityPreset();
}

void TFrmMainForm::btnOptionsClick() {
    EnsureOptionForm()->ShowOrRaise();
}
