#include "EvcChoice.h"

#include "EvcOptions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace evc {

Choice NearestOf(int asked, const std::vector<int>& supported, const std::string& what, const std::string& unit) {
    Choice c;
    c.value = asked;
    if (supported.empty()) return c;
    int best = supported.front();
    for (int v : supported) {
        const long long d = std::llabs(static_cast<long long>(v) - asked);
        const long long bd = std::llabs(static_cast<long long>(best) - asked);
        if (d < bd || (d == bd && v > best)) best = v;
    }
    if (best != asked) {
        c.notice = what + " has no " + std::to_string(asked) + unit + "; using " + std::to_string(best) + unit;
    }
    c.value = best;
    return c;
}

std::vector<int> Ac3SampleRates() { return {32000, 44100, 48000}; }

std::vector<int> Ac3Kbits() {
    return {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640};
}

std::vector<int> Mp3SampleRates() { return {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000}; }

std::vector<int> Mp3Kbits(int sampleRate) {
    if (sampleRate >= 32000) return {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    return {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
}

Choice ChooseSampleRate(bool mp3, int asked) {
    return mp3 ? NearestOf(asked, Mp3SampleRates(), "MP3", " Hz") : NearestOf(asked, Ac3SampleRates(), "AC-3", " Hz");
}

Choice ChooseAudioKbits(bool mp3, int kbits, int sampleRate) {
    if (mp3) {
        return NearestOf(kbits, Mp3Kbits(sampleRate), "MP3 at " + std::to_string(sampleRate) + " Hz", " kbit/s");
    }
    return NearestOf(kbits, Ac3Kbits(), "AC-3", " kbit/s");
}

Choice ChooseChannels(bool mp3, int asked) {
    if (mp3) return NearestOf(asked, {1, 2}, "MP3", " channels");
    return NearestOf(asked, {1, 2, 3, 4, 5, 6}, "AC-3", " channels");
}

SizeChoice ChooseVideoSize(int width, int height) {
    auto fit = [](int v) {
        int r = (v + 2) / 4 * 4;
        if (r < 16) r = 16;
        if (r > 4092) r = 4092;
        return r;
    };
    SizeChoice s;
    s.width = fit(width);
    s.height = fit(height);
    if (s.width != width || s.height != height) {
        s.notice = "RealVideo 2 has no size " + std::to_string(width) + "x" + std::to_string(height) + "; using " +
                   std::to_string(s.width) + "x" + std::to_string(s.height);
    }
    return s;
}

RateChoice ChooseFrameRate(const std::string& text) {
    RateChoice r;
    long long num = 25, den = 1;
    if (!DecimalToRational(text, num, den) || num <= 0) {
        num = 25;
        den = 1;
    }
    // RealMedia stores whole frames per second in 16 bits and RealVideo 2 counts frames in 8 bits; rates
    // from 1 to 60 play everywhere. A fraction with a large denominator is brought to three decimals.
    const double asked = static_cast<double>(num) / static_cast<double>(den);
    double value = asked;
    if (value < 1) value = 1;
    if (value > 60) value = 60;
    if (value != asked) {
        num = std::lround(value);
        den = 1;
    }
    while (den > 1000 || num > 60000) {
        num = std::llround(static_cast<double>(num) / 10.0);
        den = (den + 5) / 10;
        if (den < 1) den = 1;
    }
    r.num = static_cast<int>(num);
    r.den = static_cast<int>(den);
    if (value != asked) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "RealVideo 2 has no frame rate %s; using %g", text.c_str(), value);
        r.notice = buf;
    }
    return r;
}

PictureBox FitAspect(int frameWidth, int frameHeight, int aspectNum, int aspectDen) {
    PictureBox b{frameWidth, frameHeight, 0, 0};
    if (aspectNum <= 0 || aspectDen <= 0 || frameWidth <= 0 || frameHeight <= 0) return b;
    const double want = static_cast<double>(aspectNum) / aspectDen;
    const double have = static_cast<double>(frameWidth) / frameHeight;
    if (std::fabs(want / have - 1.0) <= 0.01) return b;
    if (want > have) {
        // Wider than the frame: full width, bars above and below.
        b.height = static_cast<int>(std::lround(frameWidth / want / 2.0)) * 2;
        if (b.height < 2) b.height = 2;
        b.y = (frameHeight - b.height) / 2 / 2 * 2;
    } else {
        b.width = static_cast<int>(std::lround(frameHeight * want / 2.0)) * 2;
        if (b.width < 2) b.width = 2;
        b.x = (frameWidth - b.width) / 2 / 2 * 2;
    }
    return b;
}

} // namespace evc
