#include "AdvanceSystem.h"

#include "CommandLine.h"
#include "Platform.h"
#include "Unit_AppFunc.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kBlock = 1023;
constexpr int kBufferSize = 1025;
constexpr int kPauseAfterChunkMs = 500;
constexpr int kIdleWaitMs = 100;

void CloseAll(std::initializer_list<int> fds) {
    for (const int fd : fds)
        if (fd >= 0) ::close(fd);
}

// Waits until the pipe has something to read or the time is up, keeping the windows alive meanwhile.
void WaitForOutput(int fd, int milliseconds) {
    if (!QCoreApplication::instance()) {
        usleep(useconds_t(milliseconds) * 1000);
        return;
    }
    QEventLoop loop;
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

ssize_t ReadSome(int fd, char* buffer, size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

std::string DescribeEnd(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status) == 0 ? std::string()
                                        : "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "unknown end";
}

} // namespace

void ProcessMessages() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PauseProcessingEvents(int milliseconds) {
    if (milliseconds <= 0) return;
    if (!QCoreApplication::instance()) {
        usleep(useconds_t(milliseconds) * 1000);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool TAdvanceSystem::RunCaptured(const std::string& commandLine, const OutputCallback& callback) {
    Failure.clear();
    Passes = 0;
    // Pipe A is the encoder's standard input, which nothing is ever written to; pipe B takes both of its
    // output streams. Our own ends are close-on-exec, so no other program inherits them.
    int a[2], b[2];
    if (::pipe2(a, O_CLOEXEC) != 0) return false;
    if (::pipe2(b, O_CLOEXEC) != 0) {
        CloseAll({a[0], a[1]});
        return false;
    }
    const int aRead = a[0], aWrite = a[1], bRead = b[0], bWrite = b[1];
    // A burst that is an exact multiple of the block size must not leave the reader blocked on an empty pipe.
    ::fcntl(bRead, F_SETFL, ::fcntl(bRead, F_GETFL) | O_NONBLOCK);

    std::string folder = TAppFunc().GetAppDir();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const TStringList argv = SplitCommandLineForRun(commandLine, Platform::IsExecutableFile);
    pid_t pid = -1;
    if (!Platform::SpawnProcess(argv, folder, aRead, bWrite, pid)) {
        CloseAll({aRead, bWrite, bRead, aWrite});
        return false;
    }

    char buffer[kBufferSize];
    std::string chunk;
    bool ended = false;
    int status = 0;
    for (;;) {
        ++Passes;
        // The end is noticed at the start of a pass; that pass still reads what is waiting once.
        if (!ended) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid || (done < 0 && errno != EINTR)) ended = true;
            if (done < 0 && errno == ECHILD) status = 0;
        }
        int waiting = 0;
        if (::ioctl(bRead, FIONREAD, &waiting) != 0) waiting = 0;
        if (waiting <= 0) {
            if (ended) break;
            WaitForOutput(bRead, kIdleWaitMs);
            continue;
        }
        std::memset(buffer, 0, sizeof buffer);
        // Only the last block of a burst is passed on; the earlier ones are stale progress. The reads stop
        // at the first short block, and after the bytes that were waiting, so that a program that never
        // stops writing cannot hold the windows still.
        bool got = false;
        for (int reads = waiting / kBlock + 1; reads > 0; --reads) {
            const ssize_t n = ReadSome(bRead, buffer, kBlock);
            if (n <= 0) break;
            chunk.assign(buffer, ::strnlen(buffer, size_t(n)));
            got = true;
            if (waiting <= kBlock || n < kBlock) break;
        }
        if (!got) {
            if (ended) break;
            continue;
        }
        if (callback) callback(chunk);
        PauseProcessingEvents(kPauseAfterChunkMs);
        if (ended) break;
    }
    Failure = DescribeEnd(status);
    CloseAll({aRead, bWrite, bRead, aWrite});
    return true;
}
