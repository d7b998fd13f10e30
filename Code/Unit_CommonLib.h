// TCommonLib: the utility object shared by every part of the program.
#pragma once

#include "TextOps.h"

#include <string>

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

    // --- Command line, processes and system ---

    // --- Source list ---

    // --- Output folder and messages ---
    // Lets the user pick the output folder; gives the folder to show from now on.
    std::string ChooseOutputFolder(const std::string& current);
};

extern TCommonLib* CommonLib;
