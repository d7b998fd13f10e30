// The encoder runner against a plain blocking wait for the same program, and the argv splitter against
// Qt's own splitter: what a batch costs the machine while the encoder works, and what a line costs.
#include "AdvanceSystem.h"
#include "CommandLine.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Cost {
    double cpu;
    double wall;
};

template <typename Work> Cost Measure(Work work) {
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    work();
    return {CpuSeconds() - cpu, double(wall.nsecsElapsed()) / 1e9};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const char* silent = "/bin/sleep 3";

    // Peer: start the same program and block in waitpid, the least any runner can spend.
    const Cost peer = Measure([&] {
        int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        pid_t pid;
        Platform::SpawnProcess(SplitCommandLine(silent), "/", null, null, pid);
        int status;
        ::waitpid(pid, &status, 0);
        ::close(null);
    });
    int passes = 0;
    const Cost runner = Measure([&] {
        TAdvanceSystem system;
        system.RunCaptured(silent, [](const std::string&) {});
        passes = system.PassCount();
    });
    std::printf("runner, program silent for 3 s: cpu %.4f s (blocking wait %.4f s), wall %.2f s (%.2f s), "
                "%d passes; wall ratio %.3f\n",
                runner.cpu, peer.cpu, runner.wall, peer.wall, passes, runner.wall / peer.wall);

    const std::string line =
        "/opt/vantorel/evc -y -i \"/home/user/Videos/Beach Trip \\\"2024\\\".avi\" -vcodec rv20 "
        "-b 768 -s 320x240 -r 25 -aspect 4:3 -ab 128 -vol 200 -ac 2 -ar 44100 -ss 00:00:10 -t 90 "
        "\"/home/user/vantorel/Beach Trip.rm\"";
    const QString qline = QString::fromStdString(line);
    constexpr int rounds = 100000;
    size_t sink = 0;
    const Cost ours = Measure([&] {
        for (int i = 0; i < rounds; ++i)
            sink += SplitCommandLine(line).size();
    });
    const Cost qt = Measure([&] {
        for (int i = 0; i < rounds; ++i)
            sink += size_t(QProcess::splitCommand(qline).size());
    });
    std::printf("argv splitting, %d lines: %.3f s, Qt's splitCommand %.3f s; ratio %.2f (%zu)\n", rounds,
                ours.cpu, qt.cpu, ours.cpu / qt.cpu, sink);
    return 0;
}
