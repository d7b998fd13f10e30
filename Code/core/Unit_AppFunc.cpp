#include "Unit_AppFunc.h"

#include "IniFiles32.h"

#include <QDateTime>
#include <QLocale>

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string g_appDirOverride;

std::string ExecutableFolder() {
    // The link names the executable itself, whatever the working folder is.
    std::string path(PATH_MAX + 1, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || size_t(n) >= path.size())
        throw std::runtime_error(std::string("Cannot find the program's folder: ") +
                                 std::strerror(n <= 0 ? errno : ENAMETOOLONG));
    path.resize(size_t(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The long time format without its time-zone part ("t" outside quoted text), as the log has always shown.
QString LongTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        result += c;
    }
    return result.trimmed();
}

[[noreturn]] void ThrowLogError(const std::string& what, const std::string& path, int error) {
    throw EFileError(what + " \"" + path + "\": " + std::strerror(error));
}

} // namespace

void TAppFunc::SetAppDirForTesting(const std::string& folder) {
    g_appDirOverride = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

std::string TAppFunc::GetAppDir() const {
    if (!g_appDirOverride.empty()) return g_appDirOverride;
    static const std::string folder = ExecutableFolder();
    return folder;
}

std::string LogTimestamp() {
    const QLocale locale = QLocale::system();
    const QDate date = QDate::currentDate();
    const QTime time = QTime::currentTime();
    return (locale.toString(date, QLocale::ShortFormat) + ' ' + locale.toString(time, LongTimeFormat(locale)))
        .toStdString();
}

void TAppFunc::WriteLog(const std::string& message) const {
    const std::string path = GetAppDir() + "log.txt";
    const std::string line = "Osmerin Soft " + LogTimestamp() + "|" + message + "\r\n";
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) ThrowLogError("Cannot open file", path, errno);
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ThrowLogError("Cannot write file", path, error);
        }
        done += size_t(n);
    }
    if (::close(fd) != 0) ThrowLogError("Cannot write file", path, errno);
}

std::string TStrFunc::GetLastPart(const std::string& text, const std::string& delimiter) const {
    // Drops everything up to and including each first occurrence in turn, so overlapping delimiters
    // of more than one character are consumed from the left.
    if (delimiter.empty()) return text;
    size_t start = 0;
    for (size_t pos; (pos = text.find(delimiter, start)) != std::string::npos;)
        start = pos + delimiter.size();
    return text.substr(start);
}

TStringList TFileFunc::ListFiles(const std::string& folder, const std::string& extensionFilter) const {
    TStringList files;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return files;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = folder + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
        if (!extensionFilter.empty()) {
            const size_t dot = name.rfind('.');
            if (dot == std::string::npos || name.substr(dot) != extensionFilter) continue;
        }
        files.push_back(path);
    }
    ::closedir(dir);
    return files;
}

std::string TFileFunc::GetFileBaseName(const std::string& path) const {
    const std::string name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string TFileFunc::GetFileDir(const std::string& path) const {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TFileFunc::GetUniqueFileName(const std::string& path) {
    FirstBaseName = GetFileBaseName(path);
    const std::string folder = GetFileDir(path);
    const std::string name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);

    std::string candidate = FirstBaseName;
    for (;;) {
        bool taken = false;
        for (const std::string& file : ListFiles(folder, ""))
            if (GetFileBaseName(file) == candidate) {
                taken = true;
                break;
            }
        if (!taken) return folder + candidate + extension;
        if (candidate == FirstBaseName) {
            candidate += "_1";
        } else {
            const size_t underscore = candidate.rfind('_');
            const long long number = std::stoll(candidate.substr(underscore + 1));
            candidate = candidate.substr(0, underscore + 1) + std::to_string(number + 1);
        }
    }
}
