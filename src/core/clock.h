// Today's date on this machine, for what the program dates with it (the
// header of a dBASE file, the date a declaration proposes). Services take the
// date as an argument, so tests pin it; only the windows and the command line
// ask the clock.
#pragma once

#include "core/date.h"

namespace traveno {

// The local date of today.
Date Today();

}  // namespace traveno
