// Hit testing: which figures a press or a dragged rectangle meets (the
// selection and the stamp setting share it).
#pragma once

#include "document/figure.h"

// Does P lie in the box spanned by the corners A and B, widened by 3 pixels
// on every side (bounds inclusive)?
bool HitTest(Point A, Point B, Point P);
