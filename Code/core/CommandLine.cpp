#include "CommandLine.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Splits line[pos...] into arguments by the quoting rules and appends them to args.
void SplitArguments(const std::string& line, size_t pos, TStringList& args) {
    const size_t size = line.size();
    for (;;) {
        while (pos < size && IsBlank(line[pos]))
            ++pos;
        if (pos >= size) return;
        std::string arg;
        bool quoted = false;
        while (pos < size && (quoted || !IsBlank(line[pos]))) {
            size_t backslashes = 0;
            while (pos < size && line[pos] == '\\')
                ++backslashes, ++pos;
            if (pos < size && line[pos] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    arg.push_back('"');
                    ++pos;
                } else if (quoted && pos + 1 < size && line[pos + 1] == '"') {
                    arg.push_back('"');
                    pos += 2;
                } else {
                    quoted = !quoted;
                    ++pos;
                }
            } else {
                arg.append(backslashes, '\\');
                if (pos < size && (quoted || !IsBlank(line[pos]))) arg.push_back(line[pos++]);
            }
        }
        args.push_back(std::move(arg));
    }
}

// The program word as the first argument is read: quoted up to the next quote, else up to a blank.
size_t SplitProgram(const std::string& line, TStringList& args) {
    size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos >= line.size()) return pos;
    if (line[pos] == '"') {
        const size_t close = line.find('"', pos + 1);
        if (close == std::string::npos) {
            args.push_back(line.substr(pos + 1));
            return line.size();
        }
        args.push_back(line.substr(pos + 1, close - pos - 1));
        return close + 1;
    }
    size_t end = pos;
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    args.push_back(line.substr(pos, end - pos));
    return end;
}

} // namespace

TCommandForm CommandFormOf(const std::string& codecArg) {
    const std::string codec = TrimControl(codecArg);
    if (codec.compare(0, 7, "-vcodec") == 0) return TCommandForm::Video;
    if (codec.compare(0, 7, "-acodec") == 0) return TCommandForm::Audio;
    if (codec.compare(0, 5, "-none") == 0) return TCommandForm::Refused;
    return TCommandForm::Unknown;
}

std::string MakeTrimArg(const std::string& startText, const std::string& secondsText) {
    if (startText.empty() || secondsText.empty()) return std::string();
    return " -ss " + startText + " -t " + secondsText;
}

std::string JoinCommandLine(const TConvertParameterStruct& p, const std::string& outputPath,
                            TCommandForm form) {
    if (form != TCommandForm::Video && form != TCommandForm::Audio) return std::string();
    std::string line = p.EncoderPath + " -y -i " + QuoteArgument(p.SourceFile) + p.CodecArg;
    if (form == TCommandForm::Video)
        line += p.VideoBitrateArg + p.VideoSizeArg + p.FrameRateArg + p.AspectArg;
    line += p.AudioBitrateArg + p.VolumeArg + p.AudioChannelsArg + p.SampleRateArg + p.FormatArg + p.TrimArg;
    return line + " " + QuoteArgument(outputPath);
}

std::string QuoteArgument(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

TStringList SplitCommandLine(const std::string& line) {
    TStringList args;
    const size_t pos = SplitProgram(line, args);
    SplitArguments(line, pos, args);
    return args;
}

TStringList SplitCommandLineForRun(const std::string& line,
                                   const std::function<bool(const std::string&)>& isExecutable) {
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    if (start < line.size() && line[start] != '"') {
        // An unquoted program path with blanks in it: try the words joined one by one, shortest first.
        for (size_t end = start; end <= line.size(); ++end) {
            if (end < line.size() && !IsBlank(line[end])) continue;
            const std::string candidate = line.substr(start, end - start);
            if (candidate.find('"') != std::string::npos) break;
            if (isExecutable(candidate)) {
                TStringList args{candidate};
                SplitArguments(line, end, args);
                return args;
            }
        }
    }
    return SplitCommandLine(line);
}
