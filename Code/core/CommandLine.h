// The encoder command line: one string (as the log shows it), and the argv the runner makes of it.
//
// Arguments are quoted and split by the rules Windows programs use for their command lines, so that a
// line written once stays readable in the log and still gives back every path exactly, whatever it holds.
// Nothing here ever passes through a shell.
#pragma once

#include "TextOps.h"

#include <functional>
#include <string>

// The parameters of one encoder run; every field is a ready piece of the line (see JoinCommandLine).
struct TConvertParameterStruct {
    std::string EncoderPath;
    std::string SourceFile;
    std::string CodecArg;
    std::string VideoBitrateArg;
    std::string VideoSizeArg;
    std::string FrameRateArg;
    std::string AspectArg;
    std::string AudioBitrateArg;
    std::string VolumeArg;
    std::string AudioChannelsArg;
    std::string SampleRateArg;
    std::string FormatArg;
    std::string TrimArg;
    std::string OutputFolder;
    std::string OutputBaseName;
    std::string OutputExt;
};

// Which of the two line forms a codec fragment asks for.
enum class TCommandForm { Video, Audio, Refused, Unknown };

// "-vcodec..." video, "-acodec..." audio, "-none..." refused; the fragment is trimmed first.
TCommandForm CommandFormOf(const std::string& codecArg);

// " -ss <start> -t <seconds>", or empty when either part is empty.
std::string MakeTrimArg(const std::string& startText, const std::string& secondsText);

// The whole line for one run. Empty for a form other than Video or Audio.
std::string JoinCommandLine(const TConvertParameterStruct& params, const std::string& outputPath,
                            TCommandForm form);

// An argument in double quotes. A quote inside becomes \" and backslashes right before a quote or before
// the closing quote are doubled; anything else stays as it is, so an ordinary path reads unchanged.
std::string QuoteArgument(const std::string& argument);

// Splits a line into arguments. The first one (the program) ends at the first blank or tab, or, when it
// begins with a quote, at the next quote. The rest follow the quoting rules above; a doubled quote inside
// quotes stands for one quote.
TStringList SplitCommandLine(const std::string& line);

// As SplitCommandLine, but an unquoted program path may hold blanks: the shortest prefix of the line that
// ends before a blank or tab and that isExecutable accepts is the program; with none, the first word.
TStringList SplitCommandLineForRun(const std::string& line,
                                   const std::function<bool(const std::string&)>& isExecutable);
