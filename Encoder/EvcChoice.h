// Where a codec cannot take a value the user asked for, the nearest value it can take, and one notice.
#pragma once

#include <string>
#include <vector>

namespace evc {

struct Choice {
    int value = 0;
    std::string notice; // empty when the asked value is taken as it is
};

// The supported value nearest to `asked`; on a tie the higher one. `what` and `unit` word the notice.
Choice NearestOf(int asked, const std::vector<int>& supported, const std::string& what, const std::string& unit);

// AC-3 as the RealMedia writer carries it.
std::vector<int> Ac3SampleRates();
std::vector<int> Ac3Kbits();
// MPEG audio layer III: bitrates depend on the sample rate (MPEG-1 above 24 kHz, MPEG-2 below).
std::vector<int> Mp3SampleRates();
std::vector<int> Mp3Kbits(int sampleRate);

Choice ChooseSampleRate(bool mp3, int asked);
Choice ChooseAudioKbits(bool mp3, int kbits, int sampleRate);
Choice ChooseChannels(bool mp3, int asked);

// RealVideo 2 takes sizes in steps of 4 from 16 up to 4092.
struct SizeChoice {
    int width = 0;
    int height = 0;
    std::string notice;
};
SizeChoice ChooseVideoSize(int width, int height);

// The frame rate as an exact fraction (29.97 -> 2997/100), within what RealVideo 2 in RealMedia can play.
struct RateChoice {
    int num = 25;
    int den = 1;
    std::string notice;
};
RateChoice ChooseFrameRate(const std::string& text);

// The part of a WxH frame that shows the picture so that it appears at display aspect num:den with square
// pixels; the rest is black. The whole frame when the aspect already matches within 1 %.
struct PictureBox {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};
PictureBox FitAspect(int frameWidth, int frameHeight, int aspectNum, int aspectDen);

} // namespace evc
