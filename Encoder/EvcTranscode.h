// The conversion itself: input, cut, filters, encoders and the output file, on several threads.
#pragma once

#include "EvcOptions.h"

namespace evc {

enum ExitCode : int {
    kExitDone = 0,
    kExitUsage = 2,
    kExitInput = 3,
    kExitOutput = 4,
    kExitEncode = 5,
    kExitStopped = 6,
};

// Runs one conversion, printing the header, progress and summary on standard output and a failure as one
// line on standard error. Returns the exit code. Never leaves a partial output file.
int Transcode(const Options& options);

} // namespace evc
