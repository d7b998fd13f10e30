// Any bytes read as an INI file: reading never fails, what is written reads back, and the file written
// is the lines joined by CR LF.
#include "IniFiles32.h"
#include "TextOps.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_ini: %s\n", what);
    std::abort();
}

void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

// Saves go to memory-backed storage where there is some: every write of the store syncs the file.
class ScratchFolder {
  public:
    ScratchFolder() {
        path_ = std::filesystem::exists("/dev/shm") ? "/dev/shm/fuzz_ini-XXXXXX" : "/tmp/fuzz_ini-XXXXXX";
        if (!::mkdtemp(path_.data())) Fail("cannot make a scratch folder");
        path_ += "/";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsCrLfJoined(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
    }
    return bytes.empty() || (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
}

bool AsciiSameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A value made of the input's own printable bytes, never empty once trimmed.
std::string ValueFrom(const uint8_t* data, size_t size) {
    std::string value;
    for (size_t i = 0; i < size && value.size() < 40; ++i)
        if (data[i] >= 32 && data[i] != 127) value.push_back(char(data[i]));
    return TrimControl(value).empty() ? "v" + value : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static const ScratchFolder scratch;
    const std::string path = scratch.Path() + "f.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    TIniFile32 ini(path);
    const std::vector<std::string> lines = ini.GetLines();
    Check(lines == TIniFile32::ParseLines(bytes), "the file reads as its parsed lines");
    for (const std::string& line : lines)
        Check(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos,
              "a line holds a line end or NUL");

    // Reads of every listed section and of each key of the first few lines never fail.
    std::vector<std::string> sections;
    ini.ReadSections(&sections);
    for (size_t i = 0; i < sections.size() && i < 16; ++i) {
        for (size_t j = 0; j < lines.size() && j < 16; ++j) {
            const size_t eq = lines[j].find('=');
            const std::string key = TrimControl(lines[j].substr(0, eq == std::string::npos ? 0 : eq));
            ini.ReadString(sections[i], key, "");
            ini.ReadInteger(sections[i], key, 0);
        }
    }

    const std::string value = ValueFrom(data, size);
    const std::string expected = TrimControl(value);

    // A fresh section of letters: written, it reads back from the same object and from the file. Its
    // letters have no case partners outside ASCII (as "k" and "s" have), so an ASCII test proves it fresh.
    std::string fresh = "Fuzzed";
    for (bool taken = true; taken;) {
        taken = false;
        for (const std::string& line : lines)
            if (AsciiSameText(line, "[" + fresh + "]")) taken = true;
        if (taken) fresh += 'x';
    }
    ini.WriteString(fresh, "Key", value);
    Check(ini.ReadString(fresh, "Key", "<none>") == expected, "a fresh key does not read back");

    // A key written into an existing section found by its own header line reads back too.
    std::string existing;
    bool haveExisting = false;
    for (const std::string& line : lines)
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            existing = line.substr(1, line.size() - 2);
            haveExisting = true;
            break;
        }
    if (haveExisting) {
        ini.WriteString(existing, "FuzzKey", value);
        Check(ini.ReadString(existing, "FuzzKey", "<none>") == expected,
              "a key in an existing section is lost");
        ini.WriteInteger(existing, "FuzzNumber", int32_t(size) - 1000);
        Check(ini.ReadInteger(existing, "FuzzNumber", 7777777) == int32_t(size) - 1000, "an integer is lost");
    }

    const std::string saved = ReadAll(path);
    Check(saved == TIniFile32::JoinLines(ini.GetLines()), "the file on disk is not the lines joined");
    Check(IsCrLfJoined(saved), "the file on disk is not CR LF throughout");

    const TIniFile32 reread(path);
    Check(reread.GetLines() == ini.GetLines(), "a saved file reads back different lines");
    Check(reread.ReadString(fresh, "Key", "<none>") == expected, "the fresh key is lost on disk");

    ini.EraseSection(fresh);
    Check(ini.ReadString(fresh, "Key", "<none>") == "<none>", "an erased section still reads");
    Check(ReadAll(path) == TIniFile32::JoinLines(ini.GetLines()), "the erase was not saved");
    return 0;
}
