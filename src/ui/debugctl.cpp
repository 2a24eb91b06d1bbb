// The internal process display panel.
#include "ui/Unit1.h"

void TTamloForm::ShowDataMenuClick() {}
void TTamloForm::ClearMemoBtnClick() {}
void TTamloForm::AddLine(const std::string&) {}
void TTamloForm::Clear() {}
