// The plain pieces of evc: the command line, the nearest supported values, progress text and names.
#include "EvcChoice.h"
#include "EvcOptions.h"
#include "EvcReport.h"
#include "EvcTestKit.h"

#include <gtest/gtest.h>

using namespace evc;

namespace {

ParseResult Parse(const std::string& line) { return ParseCommandLine(evctest::Words(line)); }

} // namespace

TEST(EvcOptions, ReadsTheApplicationsVideoForm) {
    const std::vector<std::string> args = {"-y", "-i", "/media/Beach Trip.avi", "-vcodec", "rv20", "-b", "768",
                                           "-s", "320x240", "-r", "29.97", "-aspect", "16:9", "-ab", "128",
                                           "-vol", "200", "-ac", "1", "-ar", "22050", "-ss", "00:01:10",
                                           "-t", "90", "/out/Beach Trip.rm"};
    const ParseResult r = ParseCommandLine(args);
    ASSERT_EQ(r.status, ParseResult::Status::Ok) << r.error;
    const Options& o = r.options;
    EXPECT_TRUE(o.overwrite);
    EXPECT_EQ(o.input, "/media/Beach Trip.avi");
    EXPECT_EQ(o.output, "/out/Beach Trip.rm");
    EXPECT_EQ(o.kind, OutputKind::RealMedia);
    EXPECT_EQ(o.videoCodecText, "rv20");
    EXPECT_EQ(o.videoKbits, 768);
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 240);
    EXPECT_DOUBLE_EQ(o.frameRate, 29.97);
    EXPECT_EQ(o.frameRateText, "29.97");
    EXPECT_EQ(o.aspectNum, 16);
    EXPECT_EQ(o.aspectDen, 9);
    EXPECT_EQ(o.audioKbits, 128);
    EXPECT_DOUBLE_EQ(o.volumePercent, 200);
    EXPECT_EQ(o.channels, 1);
    EXPECT_EQ(o.sampleRate, 22050);
    EXPECT_DOUBLE_EQ(o.startSeconds, 70);
    ASSERT_TRUE(o.lengthSeconds);
    EXPECT_DOUBLE_EQ(*o.lengthSeconds, 90);
}

TEST(EvcOptions, ReadsTheAudioFormAndOptionsInAnyOrder) {
    const ParseResult r = Parse("-t 12.5 -acodec aac -vn -ss 3 -ab 48 -i /a.mp4 -ar 44100 -y /o/x.MP3");
    ASSERT_EQ(r.status, ParseResult::Status::Ok) << r.error;
    EXPECT_EQ(r.options.kind, OutputKind::Mp3);
    EXPECT_TRUE(r.options.noVideo);
    EXPECT_EQ(r.options.audioCodecText, "aac");
    EXPECT_DOUBLE_EQ(r.options.startSeconds, 3);
    EXPECT_DOUBLE_EQ(*r.options.lengthSeconds, 12.5);
}

TEST(EvcOptions, NamesBeginningWithADashAreStillNames) {
    const ParseResult r = ParseCommandLine({"-i", "-clip.mp4", "-out.rm"});
    ASSERT_EQ(r.status, ParseResult::Status::Ok) << r.error;
    EXPECT_EQ(r.options.input, "-clip.mp4");
    EXPECT_EQ(r.options.output, "-out.rm");
}

TEST(EvcOptions, TheFormatOptionWinsOverTheExtension) {
    const ParseResult r = Parse("-i a.mp4 -f mp3 out.rm");
    ASSERT_EQ(r.status, ParseResult::Status::Ok);
    EXPECT_EQ(r.options.kind, OutputKind::Mp3);
}

TEST(EvcOptions, HelpIsNotAnError) {
    EXPECT_EQ(Parse("-h").status, ParseResult::Status::Help);
    EXPECT_EQ(Parse("-i a.mp4 --help x.rm").status, ParseResult::Status::Help);
    const ParseResult named = Parse("-i -h x.rm");
    ASSERT_EQ(named.status, ParseResult::Status::Ok);
    EXPECT_EQ(named.options.input, "-h");
    EXPECT_NE(UsageText().find("usage: evc"), std::string::npos);
}

TEST(EvcOptions, RefusesWhatItCannotUse) {
    struct Case {
        const char* line;
        const char* says;
    };
    const Case cases[] = {
        {"", "no input"},
        {"-i a.mp4 -foo 3 x.rm", "unknown option -foo"},
        {"-i a.mp4 -b", "missing value for -b"},
        {"-i a.mp4 x.rm -t", "missing value for -t"},
        {"-i a.mp4 -t", "missing value for -t"},
        {"-i a.mp4 -y", "missing output"},
        {"-i a.mp4 stray x.rm", "unexpected argument"},
        {"x.rm", "no input"},
        {"-i a.mp4 -t 0 x.rm", "more than 0"},
        {"-i a.mp4 -t -4 x.rm", "more than 0"},
        {"-i a.mp4 -t ten x.rm", "-t"},
        {"-i a.mp4 -ss 1:2:3:4 x.rm", "-ss"},
        {"-i a.mp4 -ss 00:61:00 x.rm", "-ss"},
        {"-i a.mp4 -s 320 x.rm", "-s"},
        {"-i a.mp4 -r 0 x.rm", "-r"},
        {"-i a.mp4 -r 2e1 x.rm", "-r"},
        {"-i a.mp4 -aspect 4:0 x.rm", "-aspect"},
        {"-i a.mp4 -vol -5 x.rm", "-vol"},
        {"-i a.mp4 -ac 0 x.rm", "-ac"},
        {"-i a.mp4 -ar 12ab x.rm", "-ar"},
        {"-i a.mp4 -f avi x.rm", "-f"},
        {"-i a.mp4 x.avi", "cannot tell the output format"},
    };
    for (const Case& c : cases) {
        const ParseResult r = Parse(c.line);
        EXPECT_EQ(r.status, ParseResult::Status::Error) << c.line;
        EXPECT_NE(r.error.find(c.says), std::string::npos) << c.line << " -> " << r.error;
    }
}

TEST(EvcOptions, TimeTextAndNumbers) {
    EXPECT_EQ(ParseTimeText("00:00:00"), 0.0);
    EXPECT_EQ(ParseTimeText("01:02:03"), 3723.0);
    EXPECT_EQ(ParseTimeText("02:03"), 123.0);
    EXPECT_EQ(ParseTimeText("90"), 90.0);
    EXPECT_DOUBLE_EQ(*ParseTimeText("00:00:10.5"), 10.5);
    EXPECT_FALSE(ParseTimeText(""));
    EXPECT_FALSE(ParseTimeText("1::2"));
    EXPECT_FALSE(ParseTimeText("-1"));
    EXPECT_FALSE(ParseTimeText("1 "));
    EXPECT_DOUBLE_EQ(*ParseDecimal("14.985"), 14.985);
    EXPECT_DOUBLE_EQ(*ParseDecimal(".5"), 0.5);
    EXPECT_FALSE(ParseDecimal("."));
    EXPECT_FALSE(ParseDecimal("1,5"));
    long long num = 0, den = 0;
    ASSERT_TRUE(DecimalToRational("29.97", num, den));
    EXPECT_EQ(num, 2997);
    EXPECT_EQ(den, 100);
    ASSERT_TRUE(DecimalToRational("23.967", num, den));
    EXPECT_EQ(num, 23967);
    EXPECT_EQ(den, 1000);
    ASSERT_TRUE(DecimalToRational("25", num, den));
    EXPECT_EQ(num, 25);
    EXPECT_EQ(den, 1);
}

TEST(EvcChoice, TakesTheNearestValueTheCodecCanTakeWithOneNotice) {
    struct Case {
        bool mp3;
        int rate, kbits, channels;
        int wantRate, wantKbits, wantChannels;
        int notices;
    };
    const Case cases[] = {
        {false, 44100, 128, 2, 44100, 128, 2, 0},
        {false, 22050, 16, 2, 32000, 32, 2, 2}, // AC-3 has neither 22050 Hz nor 16 kbit/s
        {false, 48000, 224, 1, 48000, 224, 1, 0},
        {false, 44100, 500, 8, 44100, 512, 6, 2},
        {true, 22050, 16, 1, 22050, 16, 1, 0},   // MPEG-2 layer III has both
        {true, 44100, 16, 2, 44100, 32, 2, 1},   // MPEG-1 starts at 32 kbit/s
        {true, 22050, 224, 2, 22050, 160, 2, 1}, // and MPEG-2 stops at 160
        {true, 44100, 128, 6, 44100, 128, 2, 1},
    };
    for (const Case& c : cases) {
        const Choice rate = ChooseSampleRate(c.mp3, c.rate);
        const Choice kbits = ChooseAudioKbits(c.mp3, c.kbits, rate.value);
        const Choice channels = ChooseChannels(c.mp3, c.channels);
        EXPECT_EQ(rate.value, c.wantRate) << c.rate;
        EXPECT_EQ(kbits.value, c.wantKbits) << c.kbits;
        EXPECT_EQ(channels.value, c.wantChannels) << c.channels;
        const int notices = !rate.notice.empty() + !kbits.notice.empty() + !channels.notice.empty();
        EXPECT_EQ(notices, c.notices) << c.rate << " " << c.kbits << " " << c.channels;
    }
    const Choice c = ChooseSampleRate(false, 22050);
    EXPECT_EQ(c.notice, "AC-3 has no 22050 Hz; using 32000 Hz");
    EXPECT_EQ(c.notice.find('='), std::string::npos);
}

TEST(EvcChoice, SizesAndFrameRates) {
    EXPECT_TRUE(ChooseVideoSize(320, 240).notice.empty());
    EXPECT_TRUE(ChooseVideoSize(368, 208).notice.empty());
    const SizeChoice odd = ChooseVideoSize(175, 133);
    EXPECT_EQ(odd.width, 176);
    EXPECT_EQ(odd.height, 132);
    EXPECT_FALSE(odd.notice.empty());

    for (const char* text : {"14.985", "15", "23.967", "24", "25", "29.97", "30"}) {
        const RateChoice r = ChooseFrameRate(text);
        EXPECT_TRUE(r.notice.empty()) << text;
        EXPECT_NEAR(static_cast<double>(r.num) / r.den, std::stod(text), 1e-9) << text;
    }
    const RateChoice high = ChooseFrameRate("240");
    EXPECT_EQ(high.num, 60);
    EXPECT_EQ(high.den, 1);
    EXPECT_FALSE(high.notice.empty());
    const RateChoice fine = ChooseFrameRate("12.3456789");
    EXPECT_LE(fine.den, 1000);
    EXPECT_NEAR(static_cast<double>(fine.num) / fine.den, 12.3456789, 1e-3);
}

TEST(EvcChoice, TheAspectIsShownWithBarsWhereTheFrameDiffers) {
    const PictureBox same = FitAspect(320, 240, 4, 3);
    EXPECT_EQ(same.width, 320);
    EXPECT_EQ(same.height, 240);
    const PictureBox wide = FitAspect(320, 240, 16, 9);
    EXPECT_EQ(wide.width, 320);
    EXPECT_EQ(wide.height, 180);
    EXPECT_EQ(wide.y, 30);
    const PictureBox narrow = FitAspect(368, 208, 4, 3);
    EXPECT_EQ(narrow.height, 208);
    EXPECT_EQ(narrow.width, 278);
    EXPECT_EQ(narrow.x, 44);
    // 368x208 is within 1 % of 16:9.
    EXPECT_EQ(FitAspect(368, 208, 16, 9).height, 208);
}

TEST(EvcReport, ProgressLinesReadAsTheApplicationReadsThem) {
    Progress p;
    p.video = true;
    p.frames = 250;
    p.quality = 4.5;
    p.bytes = 512 * 1024;
    p.seconds = 10.04;
    p.elapsed = 2;
    const std::string v = FormatProgressLine(p);
    EXPECT_EQ(v.rfind("frame=  250 q=4.5 size=     512kB time=10.0 bitrate= 417.8kbits/s", 0), 0u) << v;
    EXPECT_EQ(v.back(), '\r');
    EXPECT_EQ(evctest::AppProgressSeconds(v, false), 10);

    p.video = false;
    p.bytes = 256 * 1024;
    p.seconds = 16.44;
    const std::string a = FormatProgressLine(p);
    EXPECT_EQ(a.rfind("size=     256kB time=16.4 bitrate= 127.6kbits/s", 0), 0u) << a;
    EXPECT_EQ(evctest::AppProgressSeconds(a, true), 16);
    // The RealMedia form of an audio-only input is read by the video rule.
    EXPECT_EQ(evctest::AppProgressSeconds(a, false), 16);

    // Large counts only widen the fields; the time keeps its place.
    p.video = true;
    p.frames = 1234567;
    p.bytes = int64_t{5} << 40;
    p.seconds = 49382.7;
    EXPECT_EQ(evctest::AppProgressSeconds(FormatProgressLine(p), false), 49382);
    EXPECT_EQ(FormatSummaryLine(p).back(), '\n');
}

TEST(EvcReport, TemporaryNamesAreHiddenBesideTheOutput) {
    EXPECT_EQ(TemporaryNameFor("/out/Beach Trip.rm", 42), "/out/.Beach Trip.rm.evc-42.part");
    EXPECT_EQ(TemporaryNameFor("x.mp3", 7), ".x.mp3.evc-7.part");
    EXPECT_EQ(FolderOf("/out/a.rm"), "/out");
    EXPECT_EQ(FolderOf("/a.rm"), "/");
    EXPECT_EQ(FolderOf("a.rm"), ".");
    const std::string longName(300, 'n');
    EXPECT_LE(FileNameOf(TemporaryNameFor("/o/" + longName + ".rm", 123456)).size(), 255u);
}
