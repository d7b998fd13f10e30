#include "EvcReport.h"

#include <cstdio>

namespace evc {

std::string FormatProgressLine(const Progress& p) {
    const double seconds = p.seconds < 0 ? 0 : p.seconds;
    const double kbits = seconds > 0 ? static_cast<double>(p.bytes) * 8.0 / 1000.0 / seconds : 0.0;
    const int kb = static_cast<int>((p.bytes + 1023) / 1024);
    const double speed = p.elapsed > 0 ? seconds / p.elapsed : 0.0;
    char buf[256];
    if (p.video) {
        std::snprintf(buf, sizeof buf, "frame=%5d q=%.1f size=%8dkB time=%.1f bitrate=%6.1fkbits/s speed=%.2fx\r",
                      static_cast<int>(p.frames), p.quality, kb, seconds, kbits, speed);
    } else {
        // The time once more after the bitrate: a RealMedia run of an audio-only input is read by the video
        // rule, which takes the text after the 4th "=", and finds the time there too.
        std::snprintf(buf, sizeof buf, "size=%8dkB time=%.1f bitrate=%6.1fkbits/s time=%.1f speed=%.2fx\r", kb,
                      seconds, kbits, seconds, speed);
    }
    return buf;
}

std::string FormatSummaryLine(const Progress& p) {
    char buf[256];
    const double seconds = p.seconds < 0 ? 0 : p.seconds;
    if (p.video) {
        std::snprintf(buf, sizeof buf, "done: %lld frames, %.2f s, %.1f kB, in %.1f s\n",
                      static_cast<long long>(p.frames), seconds, static_cast<double>(p.bytes) / 1024.0, p.elapsed);
    } else {
        std::snprintf(buf, sizeof buf, "done: %.2f s, %.1f kB, in %.1f s\n", seconds,
                      static_cast<double>(p.bytes) / 1024.0, p.elapsed);
    }
    return buf;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryNameFor(const std::string& outputPath, long pid) {
    const auto slash = outputPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : outputPath.substr(0, slash + 1);
    std::string name = FileNameOf(outputPath);
    // Keep the whole name within the usual 255-byte limit.
    if (name.size() > 200) name.resize(200);
    return folder + "." + name + ".evc-" + std::to_string(pid) + ".part";
}

} // namespace evc
