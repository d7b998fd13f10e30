// The encoder command line: both forms, quoting, and the argv the runner makes of a line.
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

TConvertParameterStruct DefaultRmParams() {
    TConvertParameterStruct p;
    p.EncoderPath = "/opt/app folder/evc";
    p.SourceFile = "/clips/Beach Trip.avi";
    p.CodecArg = " -vcodec rv20";
    p.VideoBitrateArg = " -b 768";
    p.VideoSizeArg = " -s 320x240";
    p.FrameRateArg = " -r 25";
    p.AspectArg = " -aspect 4:3";
    p.AudioBitrateArg = " -ab 128";
    p.VolumeArg = " -vol 200";
    p.AudioChannelsArg = " -ac 2";
    p.SampleRateArg = " -ar 44100";
    p.FormatArg = "";
    p.TrimArg = MakeTrimArg("00:00:10", "90");
    return p;
}

} // namespace

TEST(CommandLine, JoinsTheVideoAndAudioFormsWithNothingAddedBetweenFragments) {
    TConvertParameterStruct p = DefaultRmParams();
    EXPECT_EQ(
        JoinCommandLine(p, "/home/u/vantorel/Beach Trip.rm", CommandFormOf(p.CodecArg)),
        "/opt/app folder/evc -y -i \"/clips/Beach Trip.avi\" -vcodec rv20 -b 768 -s 320x240 -r 25 "
        "-aspect 4:3 -ab 128 -vol 200 -ac 2 -ar 44100 -ss 00:00:10 -t 90 \"/home/u/vantorel/Beach Trip.rm\"");

    // The audio form leaves the four video fragments out, whatever they hold.
    p.CodecArg = " -acodec aac -vn";
    EXPECT_EQ(JoinCommandLine(p, "/home/u/vantorel/Beach Trip_1.mp3", CommandFormOf(p.CodecArg)),
              "/opt/app folder/evc -y -i \"/clips/Beach Trip.avi\" -acodec aac -vn -ab 128 -vol 200 -ac 2 "
              "-ar 44100 -ss 00:00:10 -t 90 \"/home/u/vantorel/Beach Trip_1.mp3\"");

    // Without a cut there is no -ss and no -t, and no trailing blank.
    p.TrimArg = MakeTrimArg("", "90");
    EXPECT_EQ(JoinCommandLine(p, "/o/x.mp3", TCommandForm::Audio),
              "/opt/app folder/evc -y -i \"/clips/Beach Trip.avi\" -acodec aac -vn -ab 128 -vol 200 -ac 2 "
              "-ar 44100 \"/o/x.mp3\"");
}

TEST(CommandLine, CodecFragmentChoosesTheForm) {
    const struct {
        const char* codec;
        TCommandForm form;
    } cases[] = {
        {" -vcodec rv20", TCommandForm::Video},
        {"\t-acodec aac -vn ", TCommandForm::Audio},
        {" -none", TCommandForm::Refused},
        {"-none at all", TCommandForm::Refused},
        {" -VCODEC rv20", TCommandForm::Unknown},
        {" -vcode", TCommandForm::Unknown},
        {"", TCommandForm::Unknown},
        {" -f rm", TCommandForm::Unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandFormOf(c.codec), c.form) << c.codec;
    EXPECT_EQ(JoinCommandLine(DefaultRmParams(), "/o/x.rm", TCommandForm::Refused), "");
    EXPECT_EQ(JoinCommandLine(DefaultRmParams(), "/o/x.rm", TCommandForm::Unknown), "");
}

TEST(CommandLine, QuotingLeavesOrdinaryPathsAsTheyAreAndEscapesQuotes) {
    const struct {
        const char* path;
        const char* quoted;
    } cases[] = {
        {"/clips/Beach Trip.avi", R"("/clips/Beach Trip.avi")"},
        {"", R"("")"},
        {R"(/a"b)", R"("/a\"b")"},
        {R"(/a\b)", R"("/a\b")"},
        {R"(/a\"b)", R"("/a\\\"b")"},
        {R"(/a\)", R"("/a\\")"},
        {R"(/a\\)", R"("/a\\\\")"},
        {R"(say "hi" \\ there\)", R"("say \"hi\" \\ there\\")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuoteArgument(c.path), c.quoted) << c.path;
        const TStringList args = SplitCommandLine(std::string("prog ") + c.quoted);
        ASSERT_EQ(args.size(), 2u) << c.quoted;
        EXPECT_EQ(args[1], c.path);
    }
}

TEST(CommandLine, SplitsByTheWindowsRules) {
    const struct {
        const char* line;
        TStringList args;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"prog", {"prog"}},
        {"  prog  a\tb  ", {"prog", "a", "b"}},
        {R"(prog "a b" c)", {"prog", "a b", "c"}},
        {R"(prog a"b c"d)", {"prog", "ab cd"}},
        {R"(prog "")", {"prog", ""}},
        {R"(prog "a""b")", {"prog", "a\"b"}},
        {R"(prog a\\b a\\\"b a\\\\"b c")", {"prog", R"(a\\b)", R"(a\"b)", R"(a\\b c)"}},
        {R"(prog "unterminated arg)", {"prog", "unterminated arg"}},
        // The program word keeps its backslashes and ends at the next quote.
        {R"("C:\my dir\evc" -y)", {R"(C:\my dir\evc)", "-y"}},
        {R"(C:\dir\evc -y)", {R"(C:\dir\evc)", "-y"}},
        {R"("open prog)", {"open prog"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, BuiltLineSplitsBackIntoTheExactPaths) {
    TConvertParameterStruct p = DefaultRmParams();
    p.EncoderPath = "/opt/app/evc";
    p.SourceFile = R"(/clips/a "quoted" name\ with\\ slashes\)";
    const std::string output = R"(/out/x\"y\.rm)";
    const TStringList args = SplitCommandLine(JoinCommandLine(p, output, TCommandForm::Video));
    const TStringList expected{"/opt/app/evc", "-y",  "-i",       p.SourceFile, "-vcodec", "rv20",    "-b",
                               "768",          "-s",  "320x240",  "-r",         "25",      "-aspect", "4:3",
                               "-ab",          "128", "-vol",     "200",        "-ac",     "2",       "-ar",
                               "44100",        "-ss", "00:00:10", "-t",         "90",      output};
    EXPECT_EQ(args, expected);
}

TEST(CommandLine, UnquotedProgramWithBlanksIsFoundByTryingTheWordsShortestFirst) {
    const std::string line = "/home/u/my apps/v 2/evc -y -i \"/a b.avi\" \"/o/a b.rm\"";
    std::vector<std::string> asked;
    auto exists = [&](const std::string& path) {
        asked.push_back(path);
        return path == "/home/u/my apps/v 2/evc";
    };
    const TStringList args = SplitCommandLineForRun(line, exists);
    EXPECT_EQ(args, (TStringList{"/home/u/my apps/v 2/evc", "-y", "-i", "/a b.avi", "/o/a b.rm"}));
    EXPECT_EQ(asked,
              (std::vector<std::string>{"/home/u/my", "/home/u/my apps/v", "/home/u/my apps/v 2/evc"}));

    // Nothing exists: the first word is the program, so the start fails plainly.
    EXPECT_EQ(SplitCommandLineForRun(line, [](const std::string&) { return false; }).front(), "/home/u/my");
    // The search never reaches into a quoted argument.
    asked.clear();
    SplitCommandLineForRun("/p q -i \"/x y\"", exists);
    EXPECT_EQ(asked, (std::vector<std::string>{"/p", "/p q", "/p q -i"}));
}
