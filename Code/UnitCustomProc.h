// TCustomProc: conversion control — option lists, presets, profiles, the batch and the preview player.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The conversion batch reads the source list.
class QTreeWidget;

class TCustomProc {
  public:
    TCustomProc();

    // --- Option lists, presets and user profiles ---

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
};

extern TCustomProc* CustomProc;
