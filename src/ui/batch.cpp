#include "ui/batch.h"

int RunBatchIfAsked(int, char**) { return -1; }
