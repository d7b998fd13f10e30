// TCustomProc: conversion control — option lists, presets, profiles, the batch and the preview player.
#pragma once

#include <string>

class TCustomProc {
  public:
    TCustomProc();

    // --- Option lists, presets and user profiles ---

    // --- Conversion command line and batch ---

    // --- Preview player ---
};

extern TCustomProc* CustomProc;
