// Text entry in the one-line box over the canvas.
#include "ui/Unit1.h"

bool TTamloForm::InputEditKeyPress(int) { return false; }
