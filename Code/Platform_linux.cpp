#include "Platform.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace Platform {

namespace {

constexpr unsigned long kKernelThreadFlag = 0x00200000; // PF_KTHREAD

std::string ReadSmallFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::string();
    std::string text;
    char buffer[1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, size_t(n));
    }
    ::close(fd);
    return text;
}

// Fills name, start time and the kernel-thread and zombie marks from /proc/<pid>/stat.
bool ReadStat(const std::string& folder, TProcessInfo& info, bool& listable) {
    const std::string stat = ReadSmallFile(folder + "/stat");
    const size_t open = stat.find('('), close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return false;
    info.Name = stat.substr(open + 1, close - open - 1);
    // Fields after the name, counted from 3: state, ppid, pgrp, session, tty, tpgid, flags (9), ...,
    // starttime (22).
    TStringList fields = SplitText(stat.substr(close + 1), ' ');
    std::erase(fields, std::string());
    if (fields.size() < 20) return false;
    const char state = fields[0].empty() ? '?' : fields[0][0];
    const unsigned long flags = std::strtoul(fields[6].c_str(), nullptr, 10);
    info.StartTime = std::strtoull(fields[19].c_str(), nullptr, 10);
    listable = state != 'Z' && state != 'X' && !(flags & kKernelThreadFlag);
    return true;
}

uint32_t ReadRealUid(const std::string& folder) {
    const std::string status = ReadSmallFile(folder + "/status");
    const size_t at = status.find("\nUid:");
    if (at == std::string::npos) return uint32_t(-1);
    return uint32_t(std::strtoul(status.c_str() + at + 5, nullptr, 10));
}

std::string ReadExePath(const std::string& folder) {
    char buffer[4096];
    const ssize_t n = ::readlink((folder + "/exe").c_str(), buffer, sizeof buffer - 1);
    if (n <= 0) return std::string();
    std::string path(buffer, size_t(n));
    // A program file replaced or removed while running still names the process.
    static const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.ends_with(deleted)) path.resize(path.size() - deleted.size());
    return path;
}

bool RealOpenFolder(const std::string& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

bool RealPowerOff() {
    // Asks the login manager for an ordinary power-off: programs are asked to end, nothing is forced, and
    // the desktop may ask the user for permission.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << true;
    const QDBusMessage reply = QDBusConnection::systemBus().call(call);
    return reply.type() == QDBusMessage::ReplyMessage;
}

TOpenFolderHandler& OpenFolderHandler() {
    static TOpenFolderHandler handler = RealOpenFolder;
    return handler;
}

TPowerOffHandler& PowerOffHandler() {
    static TPowerOffHandler handler = RealPowerOff;
    return handler;
}

} // namespace

std::vector<TProcessInfo> ListProcesses() {
    std::vector<TProcessInfo> processes;
    DIR* proc = ::opendir("/proc");
    if (!proc) return processes;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(entry->d_name, &end, 10);
        if (id == 0 || *end != '\0') continue;
        const std::string folder = std::string("/proc/") + entry->d_name;
        TProcessInfo info;
        info.Id = uint32_t(id);
        bool listable = false;
        if (!ReadStat(folder, info, listable) || !listable) continue;
        info.Uid = ReadRealUid(folder);
        info.ExePath = ReadExePath(folder);
        processes.push_back(std::move(info));
    }
    ::closedir(proc);
    return processes;
}

bool IsOwnProcess(const TProcessInfo& process) {
    return process.Uid == uint32_t(::getuid());
}

bool SignalProcess(const TProcessInfo& process, int signal) {
    if (process.Id == 0 || process.Id == uint32_t(::getpid())) return false;
    // The id may have been reused since the list was taken: signal only the process that was listed.
    TProcessInfo now;
    bool listable = false;
    if (!ReadStat("/proc/" + std::to_string(process.Id), now, listable) || now.StartTime != process.StartTime)
        return false;
    return ::kill(pid_t(process.Id), signal) == 0;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool SpawnProcess(const TStringList& argv, const std::string& workingFolder, int stdinFd, int outputFd,
                  pid_t& pid) {
    if (argv.empty() || argv[0].empty()) {
        errno = ENOENT;
        return false;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_adddup2(&actions, stdinFd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    // The child starts with every signal at its default and none blocked, whatever this program changed.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    const int error = ::posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        errno = error;
        return false;
    }
    return true;
}

TOpenFolderHandler SetOpenFolderHandler(TOpenFolderHandler handler) {
    TOpenFolderHandler previous = OpenFolderHandler();
    OpenFolderHandler() = handler ? std::move(handler) : TOpenFolderHandler(RealOpenFolder);
    return previous;
}

TPowerOffHandler SetPowerOffHandler(TPowerOffHandler handler) {
    TPowerOffHandler previous = PowerOffHandler();
    PowerOffHandler() = handler ? std::move(handler) : TPowerOffHandler(RealPowerOff);
    return previous;
}

bool OpenFolder(const std::string& folder) {
    return OpenFolderHandler()(folder);
}

bool PowerOff() {
    return PowerOffHandler()();
}

void TrimMemory() {
    ::malloc_trim(0);
}

} // namespace Platform
