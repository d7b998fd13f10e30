#include "Unit_AppFunc.h"

#include <QDateTime>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string g_appDirOverride;

std::string ExecutableFolder() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0) throw std::runtime_error(std::string("Cannot find the program's folder: ") + std::strerror(errno));
    path.resize(size_t(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Windows-style long time: the locale's long format without its time-zone part.
QString LongTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
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
    if (fd < 0) throw std::runtime_error("Cannot open file \"" + path + "\": " + std::strerror(errno));
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            throw std::runtime_error("Cannot write file \"" + path + "\": " + std::strerror(error));
        }
        done += size_t(n);
    }
    if (::close(fd) != 0)
        throw std::runtime_error("Cannot write file \"" + path + "\": " + std::strerror(errno));
}

std::string TStrFunc::GetLastPart(const std::string& text, const std::string& delimiter) const {
    if (delimiter.empty()) return text;
    const size_t pos = text.rfind(delimiter);
    return pos == std::string::npos ? text : text.substr(pos + delimiter.size());
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
