// The command line of evc: what the user asked for, parsed into plain values.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace evc {

enum class OutputKind { RealMedia, Mp3 };

struct Options {
    bool overwrite = false;
    bool noVideo = false;
    bool verbose = false; // library messages on standard error
    std::string input;
    std::string output;
    std::string videoCodecText; // as given; the container decides what is written
    std::string audioCodecText;
    std::string formatText; // -f, empty when not given
    OutputKind kind = OutputKind::RealMedia;

    int videoKbits = 768;
    int width = 320;
    int height = 240;
    double frameRate = 25.0;
    std::string frameRateText = "25"; // kept so that 29.97 stays 2997/100, not a binary fraction
    int aspectNum = 4;
    int aspectDen = 3;
    int audioKbits = 128;
    double volumePercent = 100.0;
    int channels = 2;
    int sampleRate = 44100;
    double startSeconds = 0.0;
    std::optional<double> lengthSeconds;
};

struct ParseResult {
    enum class Status { Ok, Help, Error };
    Status status = Status::Error;
    Options options;
    std::string error; // one line, without the program name
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// "HH:MM:SS", "MM:SS" or plain seconds, each with an optional fraction. Nothing else.
std::optional<double> ParseTimeText(const std::string& text);
// A plain decimal number ("14.985", "25", "-3"); no exponent, no blanks.
std::optional<double> ParseDecimal(const std::string& text);
// A whole number without sign.
std::optional<int> ParseCount(const std::string& text);
// The exact rational of a decimal text: "29.97" -> 2997/100, reduced.
bool DecimalToRational(const std::string& text, long long& num, long long& den);

} // namespace evc
