// What each quality preset selects, written out by hand as the user sees it: the oracle for preset tests.
#pragma once

#include <string>
#include <vector>

// Per quality (Low to Superb): video size, frame rate, video bitrate, audio bitrate, channels, sample rate.
inline const std::vector<std::vector<std::string>> ExpectedPresetChoices = {
    {"320x240", "15", "256", "48", "1 channel, Mono", "22050"},
    {"320x240", "23.967", "512", "80", "2 channels, Stereo", "32000"},
    {"320x240", "25", "768", "128", "2 channels, Stereo", "44100"},
    {"320x240", "29.97", "1000", "192", "2 channels, Stereo", "44100"},
    {"320x240", "30", "1500", "224", "2 channels, Stereo", "48000"},
};
