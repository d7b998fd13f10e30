// TCustomProc: conversion control — option lists, presets, profiles, the batch and the preview player.
#pragma once

#include "Unit_ConfigInfo.h"

#include <cstdint>
#include <functional>
#include <string>

class QComboBox;
// The conversion batch reads the source list.
class QTreeWidget;

class TCustomProc {
  public:
    TCustomProc();

    // --- Option lists, presets and user profiles ---
    // Appends the list's items and selects its default; selecting from code applies nothing.
    void FillOptionCombo(QComboBox* combo, const TOptionList& list);
    // The five quality names, then the user profiles in file order; "Normal Quality" selected.
    void FillProfileCombo(QComboBox* combo);
    // Fills the two lists of the main window and the eight of the Options dialog.
    void FillOptionCombos();
    // Applies the quality preset (or user profile) chosen on the main window to the option combos.
    void ApplyQualityPreset();

    std::string ReadSelectedProfileValue();
    void ApplyUserProfile();
    void AddUserProfile();
    void DeleteUserProfile();
    void SaveUserProfile();
    // The folder the open-file dialog starts in: the stored one, else the user's home folder.
    std::string ReadInitialFolder();
    // Stores the folder of the open-file dialog's current file name; nothing when the name is empty.
    void SaveInitialFolder(const std::string& dialogFileName);

    // --- Conversion command line and batch ---

    // The row being converted (a confirmed Stop pushes it past the last row), the rows when the batch
    // started, the output chunks of the current file, and its command line.
    int32_t CurrentRow = 0;
    int32_t RowCount = 0;
    int32_t OutputChunkCount = 0;
    std::string CommandLine;
    // The cut of the file being converted: its start time text and its length in seconds as text.
    std::string CutStartText;
    std::string CutSecondsText;
    // Set by a confirmed Stop: no further encoder starts, not even the current file's if it has not yet.
    bool StopRequested = false;
    // True while ConvertAll runs; a second batch does not start inside a stopped one that is finishing.
    bool BatchRunning = false;
    // The batch's fixed pauses; the default keeps the windows painting. Tests replace it.
    std::function<void(int milliseconds)> Pause;
    // Ends the program at once after the power-off request. Tests replace it.
    std::function<void()> EndProgram;

    std::string BuildCommandLine(const std::string& file);
    std::string PrepareOutputFolder();
    std::string GetRowStartText(const std::string& file);
    std::string GetRowCutSecondsText(const std::string& file);
    void ConvertAll(QTreeWidget* list);

    // --- Preview player ---
    // True while the preview plays; false when paused or stopped.
    bool IsPlaying = false;
    // Unloads whatever is loaded, loads the file and plays it; a file that does not load fully is logged.
    void OpenAndPlay(const std::string& path);
    void PlayVideo();
    void PauseVideo();
    // Unloads the file and shows the logo; nothing when the graph is not active.
    void StopVideo();
    // End minus start of the row whose file name matches (letter case ignored); 0 when none matches.
    int32_t GetCutSeconds(const std::string& fileName) const;
};

extern TCustomProc* CustomProc;
