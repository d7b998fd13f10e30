// Main window handlers of the source list and the preview player.
#include "Unit_Convert.h"

void TFrmMainForm::btnOpenFileClick() {}

void TFrmMainForm::btnRemoveFileClick() {}

void TFrmMainForm::btnClearFileClick() {}

void TFrmMainForm::btnPlayClick() {}

void TFrmMainForm::btnPauseClick() {}

void TFrmMainForm::RzBmpButton1Click() {}
