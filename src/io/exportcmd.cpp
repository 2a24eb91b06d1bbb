// Background picture commands and picture exports.
#include "ui/Unit1.h"

void TTamloForm::ReadBGMenuClick() {}
void TTamloForm::ClearMenuClick(QAction*) {}
void TTamloForm::CaptureMenuClick() {}
void TTamloForm::Save2BMPMenuClick() {}
void TTamloForm::Save2JPEGMenuClick() {}
void TTamloForm::SaveAllProcessMenuClick() {}
