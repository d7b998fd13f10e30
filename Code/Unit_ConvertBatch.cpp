// Main window handlers of the conversion batch.
#include "Unit_Convert.h"

void TFrmMainForm::btnConvertClick() {}

void TFrmMainForm::tmrClearMemoryTimer() {}
