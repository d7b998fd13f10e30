// TCustomProc: conversion control — option lists, presets, profiles, the batch and the preview player.
#pragma once

#include "Unit_ConfigInfo.h"

#include <string>

class QComboBox;

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

    // --- Preview player ---
};

extern TCustomProc* CustomProc;
