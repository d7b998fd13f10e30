// Main window handlers of the conversion settings.
#include "Unit_Convert.h"

void TFrmMainForm::cbbOutputFiletypeChange() {}

void TFrmMainForm::cbbProfileChange() {}

void TFrmMainForm::btnOptionsClick() {}
