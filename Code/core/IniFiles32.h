// The program's own INI file reader and writer: the whole file held as lines, saved after every change.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A settings file that could not be read or saved; the message names the file and the reason.
class EFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TIniFile32 {
  public:
    explicit TIniFile32(const std::string& fileName);
    ~TIniFile32() = default;
    TIniFile32(const TIniFile32&) = delete;
    TIniFile32& operator=(const TIniFile32&) = delete;

    void ReadSections(std::vector<std::string>* strings) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void EraseSection(const std::string& section);

    const std::string FileName;
    const std::vector<std::string>& GetLines() const { return Lines; }

    // Line parsing and file output, kept apart so that tests and fuzzers reach them without a file.
    static std::vector<std::string> ParseLines(const std::string& bytes);
    static std::string JoinLines(const std::vector<std::string>& lines);

  private:
    std::vector<std::string> Lines;

    long FindSection(const std::string& section) const;
    void Save() const;
};
