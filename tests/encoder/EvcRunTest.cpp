// The real evc program, run as the application runs it, its outputs read back with ffprobe.
#include "EvcTestKit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

using namespace evctest;

namespace {

// The application's two command lines, with a cut of one second from 00:00:01.
std::vector<std::string> VideoForm(const std::string& in, const std::string& out) {
    return {"-y",  "-i",   in,   "-vcodec", "rv20", "-b",  "768", "-s",  "320x240", "-r",       "25",
            "-aspect", "4:3", "-ab", "128", "-vol",  "200", "-ac", "2",   "-ar",     "44100", "-ss",
            "00:00:01", "-t", "1", out};
}

std::vector<std::string> AudioForm(const std::string& in, const std::string& out) {
    return {"-y",  "-i",  in,  "-acodec", "aac", "-vn", "-ab", "128", "-vol", "200",
            "-ac", "2",   "-ar", "44100", "-ss", "00:00:01", "-t", "1", out};
}

double Number(const std::map<std::string, std::string>& m, const std::string& key) {
    const auto it = m.find(key);
    return it == m.end() ? -1 : std::atof(it->second.c_str());
}

// What the application would read from every progress line: whole seconds, never going back, ending at the cut.
void ExpectProgress(const RunResult& r, bool audioOutput, long lastSeconds) {
    const auto firstBreak = r.output.find_first_of("\r\n");
    ASSERT_NE(firstBreak, std::string::npos);
    EXPECT_EQ(r.output.substr(0, firstBreak).find('='), std::string::npos)
        << "progress must not come first: " << r.output;
    const auto lines = ProgressLines(r.output);
    ASSERT_FALSE(lines.empty()) << r.output;
    long previous = 0;
    for (const auto& line : lines) {
        const long s = AppProgressSeconds(line, audioOutput);
        ASSERT_GE(s, previous) << line;
        previous = s;
    }
    EXPECT_EQ(previous, lastSeconds) << r.output;
    EXPECT_EQ(r.output.back(), '\n');
}

struct InputCase {
    const char* name;
    bool video;
    bool audio;
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class EvcConverts : public testing::TestWithParam<InputCase> {};

TEST_P(EvcConverts, IntoRealMedia) {
    const InputCase c = GetParam();
    const std::string folder = FreshFolder(std::string("rm-") + c.name);
    const std::string out = folder + "/out.rm";
    const RunResult r = RunEvc(VideoForm(Media(c.name), out));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"out.rm"});

    const auto format = Probe(out, "format", "format_name,duration");
    EXPECT_EQ(format.at("format_name"), "rm");
    EXPECT_NEAR(Number(format, "duration"), 1.0, 0.04 + 0.001) << r.output;
    const auto v = Probe(out, "v", "codec_name,width,height", true);
    const auto a = Probe(out, "a", "codec_name,sample_rate,channels", true);
    if (c.video) {
        EXPECT_EQ(v.at("codec_name"), "rv20");
        EXPECT_EQ(v.at("width"), "320");
        EXPECT_EQ(v.at("height"), "240");
        EXPECT_NEAR(Number(v, "nb_read_packets"), 25, 1);
    } else {
        EXPECT_TRUE(v.empty());
    }
    if (c.audio) {
        EXPECT_EQ(a.at("codec_name"), "ac3");
        EXPECT_EQ(a.at("sample_rate"), "44100");
        EXPECT_EQ(a.at("channels"), "2");
    } else {
        EXPECT_TRUE(a.empty());
    }
    ExpectProgress(r, !c.video, 1);
    ExpectProgress(r, false, 1); // the application reads every RealMedia run by the video rule
}

TEST_P(EvcConverts, IntoMp3) {
    const InputCase c = GetParam();
    const std::string folder = FreshFolder(std::string("mp3-") + c.name);
    const std::string out = folder + "/out.mp3";
    const RunResult r = RunEvc(AudioForm(Media(c.name), out));
    if (!c.audio) {
        EXPECT_EQ(r.exitCode, 3) << r.output;
        EXPECT_TRUE(FilesIn(folder).empty());
        return;
    }
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const auto format = Probe(out, "format", "format_name,duration");
    EXPECT_EQ(format.at("format_name"), "mp3");
    EXPECT_NEAR(Number(format, "duration"), 1.0, 0.03);
    const auto a = Probe(out, "a", "codec_name,sample_rate,channels,bit_rate");
    EXPECT_EQ(a.at("codec_name"), "mp3"); // whatever -acodec says
    EXPECT_EQ(a.at("sample_rate"), "44100");
    EXPECT_EQ(a.at("channels"), "2");
    EXPECT_EQ(a.at("bit_rate"), "128000");
    EXPECT_TRUE(Probe(out, "v", "codec_name").empty());
    ExpectProgress(r, true, 1);
}

INSTANTIATE_TEST_SUITE_P(Inputs, EvcConverts,
                         testing::Values(InputCase{"h264_aac.mp4", true, true}, InputCase{"mpeg2.vob", true, true},
                                         InputCase{"wmv.asf", true, true}, InputCase{"flash.flv", true, true},
                                         InputCase{"odd_mpeg4.avi", true, true}, InputCase{"mjpeg.mov", true, true},
                                         InputCase{"h263.3gp", true, true},
                                         InputCase{"video_only.mp4", true, false},
                                         InputCase{"audio_only.m4a", false, true}),
                         [](const testing::TestParamInfo<InputCase>& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

TEST(EvcRun, OddFileNamesWork) {
    const std::string folder = FreshFolder("names") + "/with blank é";
    fs::create_directories(folder);
    const std::string in = folder + "/-clip \"quoted\" 'single' ü ß.mp4";
    fs::copy_file(Media("h264_aac.mp4"), in);
    for (const std::string& out : {folder + "/-out \"q\" ä.rm", folder + "/-out 'q' ø.mp3"}) {
        const bool mp3 = out.back() == '3';
        const RunResult r = RunEvc(mp3 ? AudioForm(in, out) : VideoForm(in, out));
        ASSERT_EQ(r.exitCode, 0) << r.output;
        EXPECT_EQ(Probe(out, "format", "format_name").at("format_name"), mp3 ? "mp3" : "rm");
    }
    EXPECT_EQ(FilesIn(folder).size(), 3u);
}

TEST(EvcRun, TheCutStartsAtTheAskedTime) {
    // testsrc2 draws a moving bar: the first frame of a cut from 2 s must match ffmpeg's frame at 2 s.
    const std::string folder = FreshFolder("cut");
    const std::string out = folder + "/cut.rm";
    RunResult r = RunEvc({"-y", "-i", Media("h264_aac.mp4"), "-s", "320x240", "-r", "25", "-ss", "2", "-t", "0.6",
                          "-b", "3000", out});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    auto psnr = [&](const std::string& at) {
        const RunResult p =
            RunProgram({"/usr/bin/ffmpeg", "-nostdin", "-v", "info", "-i", out, "-ss", at, "-i", Media("h264_aac.mp4"),
                 "-lavfi", "[0:v]trim=end_frame=1[a];[1:v]trim=end_frame=1[b];[a][b]psnr", "-f", "null", "-"});
        const auto pos = p.output.find("average:");
        return pos == std::string::npos ? 0.0 : std::atof(p.output.c_str() + pos + 8);
    };
    EXPECT_GT(psnr("2"), psnr("1.6") + 3);
    EXPECT_GT(psnr("2"), 25);
    EXPECT_NEAR(Number(Probe(out, "format", "duration"), "duration"), 0.6, 0.04);
}

TEST(EvcRun, ATruncatedInputConvertsWhatCanBeRead) {
    const std::string folder = FreshFolder("truncated");
    for (const char* name : {"mpeg2.vob", "flash.flv"}) {
        const std::string cut = folder + "/cut-" + name;
        fs::copy_file(Media(name), cut);
        fs::resize_file(cut, fs::file_size(cut) * 55 / 100);
        const std::string out = folder + "/" + name + ".rm";
        const RunResult r = RunEvc({"-y", "-i", cut, "-t", "3", out});
        ASSERT_EQ(r.exitCode, 0) << name << "\n" << r.output;
        const double seconds = Number(Probe(out, "format", "duration"), "duration");
        EXPECT_GT(seconds, 0.5) << name;
        EXPECT_LT(seconds, 2.9) << name;
        EXPECT_EQ(Probe(out, "v", "codec_name").at("codec_name"), "rv20") << name;
    }
}

TEST(EvcRun, ValuesTheCodecCannotTakeBecomeTheNearestWithANotice) {
    const std::string folder = FreshFolder("nearest");
    const std::string out = folder + "/n.rm";
    const RunResult r = RunEvc({"-y", "-i", Media("h264_aac.mp4"), "-s", "175x133", "-ab", "16", "-ar", "22050",
                                "-ac", "2", "-t", "1", out});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const auto a = Probe(out, "a", "sample_rate,bit_rate");
    EXPECT_EQ(a.at("sample_rate"), "32000");
    EXPECT_EQ(a.at("bit_rate"), "32000");
    const auto v = Probe(out, "v", "width,height");
    EXPECT_EQ(v.at("width"), "176");
    EXPECT_EQ(v.at("height"), "132");
    size_t notices = 0;
    for (size_t at = r.output.find("notice: "); at != std::string::npos; at = r.output.find("notice: ", at + 1))
        ++notices;
    EXPECT_EQ(notices, 3u) << r.output;
}

TEST(EvcRun, FrameRatesKeepTheirLength) {
    const std::string folder = FreshFolder("rates");
    for (const char* rate : {"14.985", "23.967", "29.97"}) {
        const std::string out = folder + "/r" + rate + ".rm";
        const RunResult r = RunEvc({"-y", "-i", Media("video_only.mp4"), "-r", rate, "-t", "2", out});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const double fps = std::atof(rate);
        EXPECT_NEAR(Number(Probe(out, "v", "codec_name", true), "nb_read_packets"), std::round(2 * fps), 0.5)
            << rate;
        EXPECT_NEAR(Number(Probe(out, "format", "duration"), "duration"), 2.0, 1.0 / fps + 0.01) << rate;
    }
}

TEST(EvcRun, AWideAspectIsShownWithBarsInRealMedia) {
    const std::string folder = FreshFolder("aspect");
    const std::string out = folder + "/wide.rm";
    const RunResult r = RunEvc({"-y", "-i", Media("h264_aac.mp4"), "-s", "320x240", "-aspect", "16:9", "-t", "1",
                                "-b", "2000", out});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::string gray = folder + "/frame.gray";
    ASSERT_EQ(RunProgram({"/usr/bin/ffmpeg", "-nostdin", "-v", "error", "-i", out, "-frames:v", "1", "-f", "rawvideo",
                   "-pix_fmt", "gray", gray})
                  .exitCode,
              0);
    FILE* f = std::fopen(gray.c_str(), "rb");
    ASSERT_TRUE(f);
    std::vector<unsigned char> px(320 * 240);
    ASSERT_EQ(std::fread(px.data(), 1, px.size(), f), px.size());
    std::fclose(f);
    auto rowMean = [&](int y) {
        double sum = 0;
        for (int x = 0; x < 320; ++x) sum += px[static_cast<size_t>(y * 320 + x)];
        return sum / 320;
    };
    EXPECT_LT(rowMean(10), 24);   // top bar
    EXPECT_LT(rowMean(230), 24);  // bottom bar
    EXPECT_GT(rowMean(120), 40);  // picture
}

double VolumeOf(const std::string& path, const char* which) {
    const RunResult r =
        RunProgram({"/usr/bin/ffmpeg", "-nostdin", "-v", "info", "-i", path, "-af", "volumedetect", "-f", "null", "-"});
    const auto pos = r.output.find(which);
    return pos == std::string::npos ? 1000 : std::atof(r.output.c_str() + pos + std::strlen(which));
}

TEST(EvcRun, VolumeIsLouderWithoutClippingOrSilent) {
    const std::string folder = FreshFolder("volume");
    auto convert = [&](const std::string& in, const char* vol, const std::string& name) {
        const std::string out = folder + "/" + name;
        const RunResult r = RunEvc({"-y", "-i", Media(in), "-acodec", "aac", "-vn", "-ab", "192", "-vol", vol,
                                    "-ar", "44100", "-ac", "2", out});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return out;
    };
    const double quiet100 = VolumeOf(convert("quiet.wav", "100", "q100.mp3"), "mean_volume:");
    const double quiet200 = VolumeOf(convert("quiet.wav", "200", "q200.mp3"), "mean_volume:");
    EXPECT_NEAR(quiet200 - quiet100, 6.0, 0.5);
    const double loud500 = VolumeOf(convert("loud.wav", "500", "l500.mp3"), "max_volume:");
    EXPECT_LE(loud500, 0.0);
    // Five times a near full-scale tone: limited to about a full-scale tone, not clipped into a square.
    const double loud500Mean = VolumeOf(folder + "/l500.mp3", "mean_volume:");
    const double loud100Mean = VolumeOf(convert("loud.wav", "100", "l100.mp3"), "mean_volume:");
    EXPECT_GE(loud500Mean, loud100Mean - 0.5);
    EXPECT_LE(loud500Mean, -2.5);
    EXPECT_LT(VolumeOf(convert("quiet.wav", "0", "silent.mp3"), "max_volume:"), -80);
}

// Every failure: non-zero exit with its own code, one line saying what and why, and nothing left behind.
TEST(EvcRun, FailuresSayWhyAndLeaveNothing) {
    const std::string junk = FreshFolder("fail-input") + "/junk.mp4";
    {
        FILE* f = std::fopen(junk.c_str(), "wb");
        ASSERT_TRUE(f);
        unsigned seed = 12345;
        for (int i = 0; i < 50000; ++i) {
            seed = seed * 1103515245u + 12345u;
            std::fputc(static_cast<int>(seed >> 16) & 0xff, f);
        }
        std::fclose(f);
    }
    const std::string folderInput = FreshFolder("fail-folder-input");
    // As root every folder is writable; a folder of /proc refuses new files all the same.
    std::string readOnly = "/proc";
    if (geteuid() != 0) {
        readOnly = FreshFolder("fail-readonly");
        fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
    }
    struct Case {
        const char* what;
        std::vector<std::string> args; // OUT stands for a path in the test's empty folder
        int exitCode;
        const char* says;
    };
    const std::string good = Media("h264_aac.mp4");
    const std::vector<Case> cases = {
        {"missing input", {"-y", "-i", Media("nothing-here.mp4"), "OUT.rm"}, 3, "No such file"},
        {"input is a folder", {"-y", "-i", folderInput, "OUT.rm"}, 3, "folder"},
        {"damaged data", {"-y", "-i", junk, "OUT.rm"}, 3, "Invalid data"},
        {"mp3 without audio", {"-y", "-i", Media("video_only.mp4"), "-acodec", "aac", "-vn", "OUT.mp3"}, 3, "no audio"},
        {"length zero", {"-y", "-i", good, "-t", "0", "OUT.rm"}, 2, "more than 0"},
        {"length negative", {"-y", "-i", good, "-t", "-2", "OUT.rm"}, 2, "more than 0"},
        {"start past the end", {"-y", "-i", good, "-ss", "00:00:09", "-t", "5", "OUT.rm"}, 3, "past the end"},
        {"start at the end", {"-y", "-i", good, "-ss", "3", "-t", "5", "OUT.mp3"}, 3, "past the end"},
        {"missing output folder", {"-y", "-i", good, "NOFOLDER/x.rm"}, 4, "does not exist"},
        {"read-only output folder", {"-y", "-i", good, readOnly + "/evc-test.rm"}, 4, "cannot write"},
        {"output exists without -y", {"-i", good, "EXISTING.rm"}, 4, "exists"},
        {"unknown option", {"-y", "-i", good, "-quality", "9", "OUT.rm"}, 2, "unknown option -quality"},
        {"missing value", {"-y", "-i", good, "-ab"}, 2, "missing value for -ab"},
        {"no format", {"-y", "-i", good, "OUT.avi"}, 2, "output format"},
    };
    for (const Case& c : cases) {
        const std::string folder = FreshFolder("fail");
        std::vector<std::string> args;
        for (std::string a : c.args) {
            if (a.rfind("OUT", 0) == 0) a = folder + "/" + a;
            if (a.rfind("NOFOLDER", 0) == 0) a = folder + "/missing/" + a.substr(9);
            if (a == "EXISTING.rm") {
                a = folder + "/" + a;
                FILE* f = std::fopen(a.c_str(), "w");
                std::fclose(f);
            }
            args.push_back(a);
        }
        const auto before = FilesIn(folder);
        const RunResult r = RunEvc(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << "\n" << r.output;
        const auto errorLine = r.output.find("evc: error: ");
        ASSERT_NE(errorLine, std::string::npos) << c.what << "\n" << r.output;
        const std::string line = r.output.substr(errorLine, r.output.find('\n', errorLine) - errorLine);
        EXPECT_NE(line.find(c.says), std::string::npos) << c.what << ": " << line;
        EXPECT_EQ(r.output.find("evc: error: ", errorLine + 1), std::string::npos) << c.what;
        if (c.exitCode == 2) {
            EXPECT_NE(r.output.find("usage: evc"), std::string::npos) << c.what;
        }
        EXPECT_EQ(FilesIn(folder), before) << c.what;
    }
}

TEST(EvcRun, StoppedBySigtermRemovesItsTemporaryFile) {
    const std::string folder = FreshFolder("sigterm");
    const std::string out = folder + "/stopped.rm";
    Child child({EvcPath(), "-y", "-i", Media("long.mp4"), "-s", "1280x720", "-b", "4000", "-t", "20", out});
    ASSERT_GT(child.Pid(), 0);
    // Wait until the work is under way: the temporary file is there.
    bool started = false;
    for (int i = 0; i < 200 && !started; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        for (const auto& name : FilesIn(folder)) started = started || name.find(".part") != std::string::npos;
    }
    ASSERT_TRUE(started);
    kill(child.Pid(), SIGTERM);
    const auto t0 = std::chrono::steady_clock::now();
    const RunResult r = child.Finish();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_EQ(r.exitCode, 6) << r.output;
    EXPECT_NE(r.output.find("evc: error: stopped"), std::string::npos) << r.output;
    EXPECT_TRUE(FilesIn(folder).empty());
}

TEST(EvcRun, HelpPrintsTheUsage) {
    const RunResult r = RunEvc({"-h"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output.rfind("usage: evc", 0), 0u) << r.output;
}

} // namespace
