// evc: converts one media file into RealMedia or MP3 for Vantorel, or by hand.
#include "EvcMedia.h"
#include "EvcOptions.h"
#include "EvcStop.h"
#include "EvcTranscode.h"

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    evc::InstallStopHandler();
    // Nothing is ever read from standard input; the application's pipe there stays untouched.
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        close(devNull);
    }

    std::vector<std::string> args(argv + 1, argv + argc);
    const evc::ParseResult parsed = evc::ParseCommandLine(args);
    if (parsed.status == evc::ParseResult::Status::Help) {
        std::fputs(evc::UsageText().c_str(), stdout);
        std::fflush(stdout);
        return evc::kExitDone;
    }
    if (parsed.status == evc::ParseResult::Status::Error) {
        std::fprintf(stderr, "evc: error: %s\n%s", parsed.error.c_str(), evc::UsageText().c_str());
        std::fflush(stderr);
        return evc::kExitUsage;
    }
    evc::SetLibraryMessages(parsed.options.verbose);
    return evc::Transcode(parsed.options);
}
