#include "IniFiles32.h"

#include "TextOps.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char SectionOpener = '[';
constexpr char SectionCloser = ']';
constexpr char Separator = '=';

bool IsHeader(const std::string& line) {
    const std::string t = TrimControl(line);
    return !t.empty() && t.front() == SectionOpener && t.back() == SectionCloser;
}

std::string KeyOf(const std::string& line) {
    const size_t eq = line.find(Separator);
    return eq == std::string::npos ? std::string() : TrimControl(line.substr(0, eq));
}

std::string ValueOf(const std::string& line) {
    const size_t eq = line.find(Separator);
    return eq == std::string::npos ? std::string() : TrimControl(line.substr(eq + 1));
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
}

bool SameAsciiTextIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool IsValidUtf8(const std::string& text) {
    return QUtf8StringView(text.data(), qsizetype(text.size())).isValidUtf8();
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    if (IsAscii(a) && IsAscii(b)) return SameAsciiTextIgnoringCase(a, b);
    // Letters beyond ASCII compare by Unicode case rules. Bytes that are no UTF-8 text would all read as
    // the same replacement character, so such lines compare byte by byte, ASCII letters in either case.
    if (!IsValidUtf8(a) || !IsValidUtf8(b)) return SameAsciiTextIgnoringCase(a, b);
    // A byte-order mark is kept as a character: it belongs to the line and must not vanish in the decoding.
    const auto decode = [](const std::string& text) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return QString(decoder(QByteArrayView(text.data(), qsizetype(text.size()))));
    };
    return decode(a).compare(decode(b), Qt::CaseInsensitive) == 0;
}

[[noreturn]] void ThrowFileError(const std::string& what, const std::string& fileName, int error) {
    throw EFileError(what + " \"" + fileName + "\": " + std::strerror(error));
}

} // namespace

TIniFile32::TIniFile32(const std::string& fileName) : FileName(fileName) {
    // Opened without blocking, so that a pipe or a device in the file's place cannot stall the program.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return; // no file yet: every read gives its default
        ThrowFileError("Cannot open file", fileName, errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        ThrowFileError("Cannot read file", fileName, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throw EFileError("Cannot read file \"" + fileName +
                         "\": " + (S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file"));
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            ThrowFileError("Cannot read file", fileName, error);
        }
        if (n == 0) break;
        bytes.append(buffer, size_t(n));
    }
    ::close(fd);
    Lines = ParseLines(bytes);
}

std::vector<std::string> TIniFile32::ParseLines(const std::string& bytes) {
    // The text ends at a NUL byte; lines end at CR LF, a lone CR or a lone LF.
    const size_t end = std::min(bytes.size(), bytes.find('\0'));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < end) {
        size_t pos = start;
        while (pos < end && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        lines.emplace_back(bytes, start, pos - start);
        if (pos < end && bytes[pos] == '\r')
            ++pos;
        else if (pos < end)
            ++pos; // LF
        else
            break;
        if (bytes[pos - 1] == '\r' && pos < end && bytes[pos] == '\n') ++pos;
        start = pos;
    }
    return lines;
}

std::string TIniFile32::JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

long TIniFile32::FindSection(const std::string& section) const {
    // Whole lines, untrimmed, compared without regard to case: the first match wins.
    const std::string header = SectionOpener + section + SectionCloser;
    for (size_t i = 0; i < Lines.size(); ++i)
        if (SameTextIgnoringCase(Lines[i], header)) return long(i);
    return -1;
}

void TIniFile32::ReadSections(std::vector<std::string>* strings) const {
    if (!strings) throw std::invalid_argument("Param Strings must be assigned");
    strings->clear();
    for (const std::string& line : Lines) {
        if (!IsHeader(line)) continue;
        const std::string t = TrimControl(line);
        strings->push_back(TrimControl(t.substr(1, t.size() - 2)));
    }
}

std::string TIniFile32::ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const {
    if (key.empty()) return defaultValue;
    const long header = FindSection(section);
    if (header < 0) return defaultValue;
    for (size_t i = size_t(header) + 1; i < Lines.size() && !IsHeader(Lines[i]); ++i) {
        if (KeyOf(Lines[i]) != key) continue;
        const std::string value = ValueOf(Lines[i]);
        return value.empty() ? defaultValue : value;
    }
    return defaultValue;
}

int32_t TIniFile32::ReadInteger(const std::string& section, const std::string& key,
                                int32_t defaultValue) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
    int32_t value;
    return TryStrToInt(text, value) ? value : defaultValue;
}

void TIniFile32::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string line = key + Separator + value;
    const long header = FindSection(section);
    if (header < 0) {
        Lines.emplace_back();
        Lines.push_back(SectionOpener + section + SectionCloser);
        if (!key.empty()) Lines.push_back(line);
    } else if (!key.empty()) {
        size_t i = size_t(header) + 1;
        while (i < Lines.size() && !IsHeader(Lines[i]) && KeyOf(Lines[i]) != key)
            ++i;
        if (i < Lines.size() && !IsHeader(Lines[i]))
            Lines[i] = line;
        else
            Lines.insert(Lines.begin() + long(i), line);
    }
    Save();
}

void TIniFile32::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile32::EraseSection(const std::string& section) {
    const long header = FindSection(section);
    if (header < 0) return;
    auto first = Lines.begin() + header;
    auto last = first + 1;
    while (last != Lines.end() && !IsHeader(*last))
        ++last;
    first = Lines.erase(first, last);
    if (header > 0) Lines.insert(first, std::string());
    Save();
}

void TIniFile32::Save() const {
    // Written beside the file and renamed over it, so a crash or a full disk never leaves half a file.
    // A read-only settings file stays read-only: it is not replaced behind the user's back.
    if (::access(FileName.c_str(), F_OK) == 0 && ::access(FileName.c_str(), W_OK) != 0)
        ThrowFileError("Cannot create file", FileName, errno);
    const std::string bytes = JoinLines(Lines);
    // A file reached through a symbolic link is replaced where the link points, so the link survives.
    std::string target = FileName;
    struct stat link {};
    if (::lstat(FileName.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(FileName.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = folder + "." + base + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) ThrowFileError("Cannot create file", FileName, errno);
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        ThrowFileError("Cannot write file", FileName, error);
    };
    // Keep the permissions of the file being replaced; a new one gets the usual ones.
    struct stat old {};
    mode_t mode = 0666;
    if (::stat(target.c_str(), &old) == 0)
        mode = old.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0) fail(errno);
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += size_t(n);
    }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowFileError("Cannot write file", FileName, error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowFileError("Cannot create file", FileName, error);
    }
}
