// Helpers for the engine's tests: temporary folders, the scripted encoder stand-in, descriptor counts.
#pragma once

#include "Unit_AppFunc.h"

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace engine_test {

// The stand-in program built beside the tests.
inline std::string StubPath() {
    return std::string(VANTOREL_TEST_BIN_DIR) + "/engine_stub";
}

// A process name no other program on this machine carries, at most 15 characters.
inline std::string UniqueProcessName(const char* prefix) {
    static int serial = 0;
    return std::string(prefix) + std::to_string(::getpid() % 100000) + "_" + std::to_string(++serial);
}

// Copies the stand-in to folder/name and returns the path.
inline std::string InstallStub(const std::string& folder, const std::string& name) {
    const std::string path = folder + (folder.ends_with('/') ? "" : "/") + name;
    // A copy already there may be running; it is the same program.
    std::filesystem::copy_file(StubPath(), path, std::filesystem::copy_options::skip_existing);
    return path;
}

inline int OpenDescriptorCount() {
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.') ++count;
    ::closedir(dir);
    return count - 1;
}

// Descriptors above 2 that a started program would inherit from this one.
inline int InheritableDescriptorCount() {
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    const int own = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] == '.' || fd <= 2 || fd == own) continue;
        if (!(::fcntl(fd, F_GETFD) & FD_CLOEXEC)) ++count;
    }
    ::closedir(dir);
    return count;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts a program directly (output to /dev/null); uid, when given, is the user it runs as.
inline pid_t StartProgram(const std::vector<std::string>& argv, int uid = -1) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0), ::dup2(null, 1), ::dup2(null, 2);
        if (uid >= 0 && (::setgid(gid_t(uid)) != 0 || ::setuid(uid_t(uid)) != 0)) ::_exit(126);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for a child started by StartProgram and returns its wait status.
inline int WaitForProgram(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Lines of the log that are exactly this message (after the time stamp).
inline int CountLogLines(const std::string& log, const std::string& message) {
    int count = 0;
    for (size_t at = 0; (at = log.find("|" + message + "\r\n", at)) != std::string::npos; ++at)
        ++count;
    return count;
}

// The messages of the log, in order, without their time stamps.
inline std::vector<std::string> LogMessages(const std::string& log) {
    std::vector<std::string> messages;
    size_t start = 0;
    for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = log.substr(start, end - start);
        const size_t bar = line.find('|');
        messages.push_back(bar == std::string::npos ? line : line.substr(bar + 1));
    }
    return messages;
}

// A temporary application folder: the log and the encoder live here while the test runs.
class TempAppFolder {
  public:
    TempAppFolder() : Path(Dir.path().toStdString() + "/") { TAppFunc::SetAppDirForTesting(Path); }
    ~TempAppFolder() { TAppFunc::SetAppDirForTesting(""); }
    std::string Log() const { return ReadFile(Path + "log.txt"); }

    QTemporaryDir Dir;
    const std::string Path;
};

} // namespace engine_test
