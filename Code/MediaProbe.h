// TMediaProbe: reads how long a media file lasts, in process, with FFmpeg's demuxers.
#pragma once

#include <cstdint>
#include <string>

class TMediaProbe {
  public:
    TMediaProbe();
    TMediaProbe(const TMediaProbe&) = delete;
    TMediaProbe& operator=(const TMediaProbe&) = delete;

    // Duration in milliseconds, or -1 when the file cannot be opened or has no audio or video stream
    // that a decoder exists for.
    int64_t DurationMs(const std::string& path);

    // Gives up on a file that takes longer than this to open and read (a damaged or endless stream).
    void SetTimeLimitMs(int64_t milliseconds) { TimeLimitMs = milliseconds; }

  private:
    int64_t TimeLimitMs = 15000;
    int64_t Deadline = 0;
    static int Interrupt(void* probe);
};
