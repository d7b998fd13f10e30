// TCustomProc: conversion control — option lists, presets, profiles, the batch and the preview player.
#pragma once

#include <string>

class TCustomProc {
  public:
    TCustomProc();

    // --- Option lists, presets and user profiles ---

    // --- Conversion command line and batch ---

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
