// TCommonLib: the utility object shared by every part of the program.
#pragma once

#include "CommandLine.h"
#include "TextOps.h"

#include <string>

class QComboBox;

class TCommonLib {
  public:
    TCommonLib();

    // The application folder, ending in "/".
    std::string ExeFolder;

    // Text, number, time and size operations.
    TStringList SplitText(const std::string& text, char separator) const { return ::SplitText(text, separator); }
    double TextToNumber(const std::string& text) const { return ::TextToNumber(text); }
    std::string PadQuotient(int width, int64_t divisor, int64_t value) const {
        return ::PadQuotient(width, divisor, value);
    }
    std::string SecondsToTimeText(int64_t seconds) const { return ::SecondsToTimeText(seconds); }
    std::string SizeToText(int64_t bytes) const { return ::SizeToText(bytes); }
    int32_t TimeTextToSeconds(const std::string& text) const { return ::TimeTextToSeconds(text); }
    int32_t TimeTextToSecondsLenient(const std::string& text) const { return ::TimeTextToSecondsLenient(text); }

    // --- Encoder argument fragments and settings files ---
    // Each option fragment reads the text of item `index` of the combo (none when out of range) and falls
    // back to a fixed text without one.
    std::string VideoSizeArgument(const QComboBox* combo, int index) const;
    std::string VideoBitrateArgument(const QComboBox* combo, int index) const;
    std::string FrameRateArgument(const QComboBox* combo, int index) const;
    std::string AspectArgument(const QComboBox* combo, int index) const;
    std::string AudioBitrateArgument(const QComboBox* combo, int index) const;
    std::string SampleRateArgument(const QComboBox* combo, int index) const;
    std::string VolumeArgument(const QComboBox* combo, int index) const;
    std::string AudioChannelsArgument(const QComboBox* combo, int index) const;
    // The output-type fragments use only the index, the selected output file type.
    std::string CodecArgument(const QComboBox* combo, int index) const;
    std::string FormatArgument(const QComboBox* combo, int index) const;
    std::string OutputExtension(const QComboBox* combo, int index) const;

    // The full path of a file in the Config folder of the application folder.
    std::string ConfigFilePath(const std::string& fileName) const;
    // The section names of a Config file, in file order; empty when the file is missing.
    TStringList ReadConfigSections(const std::string& fileName) const;
    // The value of key `name` in section `name` of a Config file; empty when absent.
    std::string ReadConfigValue(const std::string& fileName, const std::string& name) const;

    // --- Command line, processes and system ---

    // The parameters of the file being converted; after a batch, those of its last file.
    TConvertParameterStruct ConvertParams;
    // The encoder's file name in the application folder, which is also its process name.
    std::string EncoderName = "evc";
    // How long one stop loop of StopEncoder keeps trying before it gives up and says so in the log.
    int StopTimeoutMs = 10000;

    // The id of a running process with that name, 0 and the log line "Get Process id error." if none.
    uint32_t FindProcessId(const std::string& name);
    // Asks every process of this user with that name to end (SIGTERM, so that the encoder can remove its
    // temporary file); one still there 2 s later is killed. True when the last attempt succeeded.
    bool KillProcessesByName(const std::string& name);
    // Ends every process named like the file part of path, then every encoder process.
    void StopEncoder(const std::string& path);
    // Privileges do not exist here: these succeed and do nothing.
    bool EnablePrivilege(int token, const std::string& privilege, bool enable);
    bool EnableDebugPrivilege();
    void EnableShutdownPrivilege();
    // Opens the folder in the desktop's file manager, without waiting.
    void OpenFolderInExplorer(const std::string& folder);
    // Asks the system to power off, without forcing programs to close; true when the request was taken.
    bool PowerOff();
    void ShutdownComputer();
    // Gives freed memory back to the system; the main window's timer calls it once a second.
    void TrimWorkingSet();

    // A modal box titled with the application title, with one OK button; kind 0 error, 1 warning,
    // 2 question, 3 information. False, showing nothing, for another kind or without a screen to show on.
    bool ShowMessageBox(const std::string& text, int kind);

    // --- Source list ---
    // The file loaded into the preview, exactly as in its row; empty when nothing is loaded.
    std::string PlayingFile;
    // Runs the dialog from the folder; the chosen paths (repeats removed if asked), none on cancel.
    TStringList ShowOpenFilesDialog(class TOpenDialog& dialog, bool removeRepeats, const std::string& folder);
    // The paths without exact repeats; the first of each stays, order kept.
    TStringList RemoveDuplicatePaths(const TStringList& paths) const;
    // Appends a row for every path that is new, has an accepted extension and lasts at least a second.
    void AddSourceFiles(class TSourceTreeList* list, const TStringList& paths);
    // Whole seconds of the file's duration; 0 when it cannot be read.
    int32_t ProbeDuration(const std::string& path, class TMediaProbe& probe);
    // The file's length in bytes; throws std::system_error when it cannot be opened.
    int64_t GetFileSizeBytes(const std::string& path) const;
    void RemoveSelectedRows(class TSourceTreeList* list);
    bool ClearRows(class TSourceTreeList* list);
    // Writes the start (end) and the new cut length into every selected row.
    void SetSelectedStart(class TSourceTreeList* list, int32_t start);
    void SetSelectedEnd(class TSourceTreeList* list, int32_t end);
    // Moves the preview to an absolute position; throws EMediaError when it cannot.
    void SeekToMs(int64_t milliseconds);

    // --- Output folder and messages ---
    // Lets the user pick the output folder; gives the folder to show from now on.
    std::string ChooseOutputFolder(const std::string& current);
};

extern TCommonLib* CommonLib;
