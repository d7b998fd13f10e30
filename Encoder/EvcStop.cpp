#include "EvcStop.h"

#include "EvcTranscode.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace evc {

namespace {

// Written before the handler may need it and read only by the handler, which may only make
// async-signal-safe calls: unlink, write, _exit.
char g_tempPath[4096];
std::atomic<bool> g_haveTemp{false};

extern "C" void OnStopSignal(int) {
    if (g_haveTemp.load()) unlink(g_tempPath);
    static const char message[] = "\nevc: error: stopped by a signal; no output was written\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(kExitStopped);
}

} // namespace

void InstallStopHandler() {
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    // The application may close its end of the pipe; a failed write is not a reason to die.
    signal(SIGPIPE, SIG_IGN);
}

void SetTemporaryFile(const std::string& path) {
    g_haveTemp.store(false);
    if (path.empty() || path.size() >= sizeof g_tempPath) return;
    std::memcpy(g_tempPath, path.c_str(), path.size() + 1);
    g_haveTemp.store(true);
}

} // namespace evc
