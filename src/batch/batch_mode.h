// The batch mode: exports and descriptions of drawing files without a window.
#pragma once

// When the arguments ask for the batch mode (an option instead of a file),
// runs it and returns its exit status (0 ok, 1 failure, 2 bad usage, 3
// written, but a picture the drawing names could not be drawn);
// returns -1 when the program should start its window instead.
int RunBatchIfAsked(int argc, char** argv);
