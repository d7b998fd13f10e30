// Helpers for the engine's tests: temporary folders, the scripted encoder stand-in, descriptor counts.
#pragma once

#include "Unit_AppFunc.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace engine_test {

// The stand-in program built beside the tests.
inline std::string StubPath() { return std::string(VANTOREL_TEST_BIN_DIR) + "/engine_stub"; }

// A process name no other program on this machine carries, at most 15 characters.
inline std::string UniqueProcessName(const char* prefix) {
    static int serial = 0;
    return std::string(prefix) + std::to_string(::getpid() % 100000) + "_" + std::to_string(++serial);
}

// Copies the stand-in to folder/name and returns the path.
inline std::string InstallStub(const std::string& folder, const std::string& name) {
    const std::string path = folder + (folder.ends_with('/') ? "" : "/") + name;
    std::filesystem::copy_file(StubPath(), path, std::filesystem::copy_options::overwrite_existing);
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
