// The text evc prints: progress lines as the progress window reads them, the summary, and names of files.
#pragma once

#include <cstdint>
#include <string>

namespace evc {

struct Progress {
    bool video = false;       // the output has a video stream
    int64_t frames = 0;       // video frames written
    double quality = 0;       // quantizer of the last video frame
    int64_t bytes = 0;        // bytes written so far
    double seconds = 0;       // seconds of output written, from the start of the cut
    double elapsed = 0;       // wall seconds since the start; gives the speed after the bitrate
};

// One progress line ending in "\r". The encoded time must stay right after the 4th "=" (video) or the 2nd
// "=" (audio only), so nothing with an "=" may stand before it.
std::string FormatProgressLine(const Progress& p);
// The last line, ending in "\n".
std::string FormatSummaryLine(const Progress& p);

// A hidden name beside the output that no one takes for a finished file: /dir/.name.evc-PID.part
std::string TemporaryNameFor(const std::string& outputPath, long pid);
// The folder of a path ("." when it has none), and the name without folder.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

} // namespace evc
