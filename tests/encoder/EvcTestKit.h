// Helpers of the encoder tests: small inputs made once with the ffmpeg program, running the real evc the way
// the application does (standard input a pipe nothing is written to, standard output and error in one pipe),
// and reading results back with ffprobe.
#pragma once

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace evctest {

namespace fs = std::filesystem;

inline std::string EvcPath() { return std::string(VANTOREL_APP_DIR) + "/evc"; }

struct RunResult {
    int exitCode = -1;
    std::string output; // standard output and error together, as the application sees them
};

// A started program whose output is collected into one pipe.
class Child {
  public:
    explicit Child(const std::vector<std::string>& argv) {
        int out[2];
        int in[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(in, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], 0);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_adddup2(&fa, out[1], 2);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], &fa, nullptr, args.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        close(out[1]);
        close(in[0]);
        outFd_ = out[0];
        inFd_ = in[1]; // kept open and never written, like the application's
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (outFd_ >= 0) close(outFd_);
        if (inFd_ >= 0) close(inFd_);
    }
    pid_t Pid() const { return pid_; }

    RunResult Finish() {
        RunResult r;
        char buf[4096];
        while (outFd_ >= 0) {
            const ssize_t n = read(outFd_, buf, sizeof buf);
            if (n <= 0) break;
            r.output.append(buf, static_cast<size_t>(n));
        }
        int status = 0;
        if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) {
            r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        pid_ = -1;
        return r;
    }

  private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int inFd_ = -1;
};

inline RunResult RunProgram(const std::vector<std::string>& argv) { return Child(argv).Finish(); }

inline RunResult RunEvc(std::vector<std::string> args) {
    args.insert(args.begin(), EvcPath());
    return RunProgram(args);
}

inline std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// The inputs of the tests. Each is made once per build folder and shared by every test process.
struct MediaRecipe {
    const char* name;
    const char* ffmpegArgs; // between "ffmpeg -v error -y" and the output path
    bool video;
    bool audio;
};

inline const std::vector<MediaRecipe>& MediaRecipes() {
    static const std::vector<MediaRecipe> recipes = {
        {"h264_aac.mp4",
         "-f lavfi -i testsrc2=size=320x240:rate=25 -f lavfi -i sine=f=440:sample_rate=44100 -t 3 "
         "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 2",
         true, true},
        {"mpeg2.vob",
         "-f lavfi -i testsrc2=size=352x288:rate=25 -f lavfi -i sine=f=330:sample_rate=48000 -t 3 "
         "-c:v mpeg2video -b:v 2M -c:a mp2 -f vob",
         true, true},
        {"wmv.asf",
         "-f lavfi -i testsrc2=size=320x240:rate=25 -f lavfi -i sine=f=550:sample_rate=44100 -t 3 "
         "-c:v wmv2 -c:a wmav2 -f asf",
         true, true},
        {"flash.flv",
         "-f lavfi -i testsrc2=size=320x240:rate=25 -f lavfi -i sine=f=440:sample_rate=44100 -t 3 "
         "-c:v flv1 -c:a libmp3lame",
         true, true},
        {"odd_mpeg4.avi",
         "-f lavfi -i testsrc2=size=175x133:rate=30 -f lavfi -i sine=f=440:sample_rate=22050 -t 3 "
         "-vf scale=175:133 -c:v mpeg4 -c:a libmp3lame",
         true, true},
        {"mjpeg.mov",
         "-f lavfi -i testsrc2=size=320x240:rate=15 -f lavfi -i sine=f=440:sample_rate=32000 -t 3 "
         "-c:v mjpeg -pix_fmt yuvj420p -c:a pcm_s16le",
         true, true},
        {"h263.3gp",
         "-f lavfi -i testsrc2=size=176x144:rate=15 -f lavfi -i sine=f=440:sample_rate=8000 -t 3 "
         "-c:v h263 -c:a aac -ac 1",
         true, true},
        {"video_only.mp4", "-f lavfi -i testsrc2=size=320x240:rate=25 -t 3 -c:v libx264 -preset ultrafast",
         true, false},
        {"audio_only.m4a", "-f lavfi -i sine=f=440:sample_rate=48000 -t 3 -c:a aac -ac 2", false, true},
        // Quiet and loud tones for the volume checks.
        {"quiet.wav", "-f lavfi -i sine=f=440:sample_rate=44100 -t 2 -af volume=0.1 -ac 2", false, true},
        {"loud.wav", "-f lavfi -i aevalsrc=0.99*sin(2*PI*440*t)|0.99*sin(2*PI*440*t):s=44100 -t 2", false, true},
        // Long enough to be stopped midway.
        {"long.mp4", "-f lavfi -i testsrc2=size=160x120:rate=25 -t 20 -c:v libx264 -preset ultrafast", true, false},
    };
    return recipes;
}

inline std::string MediaDir() {
    static const std::string dir = [] {
        const std::string d = std::string(VANTOREL_TEST_BIN_DIR) + "/evc-media-2";
        fs::create_directories(d);
        // Test processes run side by side: one makes the files, the others wait for it.
        const int lock = open((d + "/.lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
        flock(lock, LOCK_EX);
        for (const auto& recipe : MediaRecipes()) {
            const std::string path = d + "/" + recipe.name;
            if (fs::exists(path)) continue;
            const std::string temp = d + "/.making-" + recipe.name;
            std::vector<std::string> argv = {"/usr/bin/ffmpeg", "-nostdin", "-v", "error", "-y"};
            for (const auto& w : Words(recipe.ffmpegArgs)) argv.push_back(w);
            argv.push_back(temp);
            const RunResult r = RunProgram(argv);
            if (r.exitCode == 0) fs::rename(temp, path);
        }
        flock(lock, LOCK_UN);
        close(lock);
        return d;
    }();
    return dir;
}

inline std::string Media(const std::string& name) { return MediaDir() + "/" + name; }

// A fresh empty folder for one test's outputs.
inline std::string FreshFolder(const std::string& name) {
    const std::string d = std::string(VANTOREL_TEST_BIN_DIR) + "/evc-out/" + name;
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

// ffprobe's key=value answers for one section: "format" or the first stream of "v" or "a".
inline std::map<std::string, std::string> Probe(const std::string& path, const std::string& what,
                                                const std::string& entries, bool count = false) {
    std::vector<std::string> argv = {"/usr/bin/ffprobe", "-v", "error"};
    if (what == "format") {
        argv.insert(argv.end(), {"-show_entries", "format=" + entries});
    } else {
        argv.insert(argv.end(), {"-select_streams", what + ":0", "-show_entries",
                                 "stream=" + entries + (count ? ",nb_read_packets" : "")});
        if (count) argv.push_back("-count_packets");
    }
    argv.insert(argv.end(), {"-of", "default=nw=1", path});
    const RunResult r = RunProgram(argv);
    std::map<std::string, std::string> values;
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

// The application's reading of a progress chunk: the text after the 4th "=" (video) or the 2nd "=" (audio),
// up to the next "=", cut at the first "."; -1 when it has too few fields or no number there.
inline long AppProgressSeconds(const std::string& chunk, bool audioOutput) {
    std::vector<std::string> fields;
    size_t from = 0;
    while (true) {
        const auto eq = chunk.find('=', from);
        fields.push_back(chunk.substr(from, eq == std::string::npos ? std::string::npos : eq - from));
        if (eq == std::string::npos) break;
        from = eq + 1;
    }
    const size_t index = audioOutput ? 2 : 4;
    if (fields.size() < (audioOutput ? 4u : 5u)) return -1;
    const std::string piece = fields[index].substr(0, fields[index].find('.'));
    char* end = nullptr;
    const long v = std::strtol(piece.c_str(), &end, 10);
    if (end == piece.c_str()) return -1;
    return v;
}

// Progress lines of an output, in order: the pieces ended by "\r".
inline std::vector<std::string> ProgressLines(const std::string& output) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (true) {
        const auto cr = output.find('\r', from);
        if (cr == std::string::npos) break;
        const auto start = output.rfind('\n', cr);
        const size_t begin = start == std::string::npos || start < from ? from : start + 1;
        lines.push_back(output.substr(begin, cr - begin));
        from = cr + 1;
    }
    return lines;
}

} // namespace evctest
