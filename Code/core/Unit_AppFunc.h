// Small helper objects: the log, string and file-name services, the process test.
#pragma once

#include "TextOps.h"

#include <string>

class TAppFunc {
  public:
    // Appends "Osmerin Soft <short date> <long time>|<message>" and CR LF to log.txt in the application
    // folder. A log that cannot be written throws EFileError, whose message names the file.
    void WriteLog(const std::string& message) const;
    // The folder of the running executable, ending in "/".
    std::string GetAppDir() const;

    // Tests point the application folder elsewhere; an empty text returns to the executable's folder.
    static void SetAppDirForTesting(const std::string& folder);
};

class TSysFunc {
  public:
    // The id of a running process with that program name (letter case ignored), 0 if none.
    uint32_t IsProcessRunning(const std::string& processName) const;
};

class TStrFunc {
  public:
    std::string GetLastPart(const std::string& text, const std::string& delimiter) const;
};

class TFileFunc {
  public:
    TStringList ListFiles(const std::string& folder, const std::string& extensionFilter) const;
    std::string GetFileBaseName(const std::string& path) const;
    std::string GetFileDir(const std::string& path) const;
    std::string GetUniqueFileName(const std::string& path);

    std::string FirstBaseName;
};

// The log line's date and time texts, in the user's locale.
std::string LogTimestamp();
