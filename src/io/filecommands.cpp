// The file menu: loading and saving drawings.
#include "ui/Unit1.h"

void TTamloForm::ReadDataMenuClick() {}
void TTamloForm::OverWriteDataMenuClick() {}
void TTamloForm::WriteDataMenuClick() {}
bool TTamloForm::LoadDrawingFile(const QString&) { return false; }
