// The two size trackbars of the edit mode.
#include "ui/Unit1.h"

void TTamloForm::TrackBarChange(QSlider*) {}
