// Several drawings of the batch mode, or the contact sheet of a class.
#pragma once

#include "batch/batch_args.h"

namespace batch {

// Several drawings (or the contact sheet): each in a process of its own, as
// many at a time as asked (one per core by default). Returns the worst of
// the drawings' exit statuses.
int RunClass(const BatchArgs& args, char* argv0);

}  // namespace batch
