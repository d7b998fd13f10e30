// A scripted stand-in for the encoder. Its script is its arguments, or, when it is called the way the
// encoder is (first argument -y), the words of ENGINE_STUB_SCRIPT. Each word is one step:
//   say:TEXT      write TEXT (\n, \r, \t and \\ understood) in one write
//   burst:N       write N bytes in one write; block k (of 1023 bytes) is filled with 'a' + k % 26
//   zero          write "ab", a zero byte and "cd"
//   sleep:MS      pause
//   progress:S    print a progress line every 100 ms for S seconds of "encoded" time, 10 per line
//   pid           write "pid=<id>\n"
//   pwd           write the working folder and a line end
//   stdin         write "stdin=empty-pipe\n" when standard input is a pipe with nothing in it
//   fds           write "fds=<n>\n", the number of open descriptors above 2
//   output        write the output file (the last argument) with a few bytes
//   record        append the arguments, one per line, and a blank line to ENGINE_STUB_RECORD
//   on-term       on SIGTERM write "terminated\n" and exit with status 143
//   ignore-term   ignore SIGTERM
//   ready:PATH    create the file PATH (to say the steps before it are done)
//   hang          wait until a signal ends the program
//   exit:N        end with exit status N (the default end is status 0)
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void WriteAll(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) std::exit(3);
        done += size_t(n);
    }
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char c = text[++i];
        out.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c);
    }
    return out;
}

std::vector<std::string> Words(const char* text) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = text; p && *p; ++p) {
        if (*p == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word.push_back(*p);
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

void OnTerm(int) {
    const char text[] = "terminated\n";
    (void)!::write(STDOUT_FILENO, text, sizeof text - 1);
    ::_exit(143);
}

int CountDescriptors() {
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return -1;
    const int own = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] != '.' && fd > 2 && fd != own) ++count;
    }
    ::closedir(dir);
    return count;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool asEncoder = !args.empty() && args[0] == "-y";
    const std::vector<std::string> script = asEncoder ? Words(std::getenv("ENGINE_STUB_SCRIPT")) : args;

    for (const std::string& step : script) {
        const size_t colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const std::string value = colon == std::string::npos ? std::string() : step.substr(colon + 1);
        if (verb == "say") {
            WriteAll(Unescape(value));
        } else if (verb == "burst") {
            std::string text(std::stoul(value), '\0');
            for (size_t i = 0; i < text.size(); ++i)
                text[i] = char('a' + i / 1023 % 26);
            WriteAll(text);
        } else if (verb == "zero") {
            WriteAll(std::string("ab\0cd", 5));
        } else if (verb == "sleep") {
            ::usleep(useconds_t(std::stoul(value)) * 1000);
        } else if (verb == "progress") {
            const int seconds = std::stoi(value);
            for (int t = 0; t <= seconds; t += 10) {
                WriteAll("frame=  " + std::to_string(t * 25) + " q=4.5 size=     " + std::to_string(t * 10) +
                         "kB time=" + std::to_string(t) + ".00 bitrate= 419.4kbits/s    \r");
                ::usleep(100 * 1000);
            }
        } else if (verb == "pid") {
            WriteAll("pid=" + std::to_string(::getpid()) + "\n");
        } else if (verb == "pwd") {
            char folder[4096];
            WriteAll(std::string(::getcwd(folder, sizeof folder) ? folder : "?") + "\n");
        } else if (verb == "stdin") {
            struct stat info {};
            pollfd in{STDIN_FILENO, POLLIN, 0};
            const bool pipe = ::fstat(STDIN_FILENO, &info) == 0 && S_ISFIFO(info.st_mode);
            WriteAll(pipe && ::poll(&in, 1, 0) == 0 ? "stdin=empty-pipe\n" : "stdin=other\n");
        } else if (verb == "fds") {
            WriteAll("fds=" + std::to_string(CountDescriptors()) + "\n");
        } else if (verb == "output") {
            if (FILE* file = std::fopen(args.back().c_str(), "w")) {
                std::fputs("stub output\n", file);
                std::fclose(file);
            }
        } else if (verb == "record") {
            if (FILE* file = std::fopen(std::getenv("ENGINE_STUB_RECORD"), "a")) {
                for (const std::string& arg : args)
                    std::fprintf(file, "%s\n", arg.c_str());
                std::fputs("\n", file);
                std::fclose(file);
            }
        } else if (verb == "on-term") {
            std::signal(SIGTERM, OnTerm);
        } else if (verb == "ignore-term") {
            std::signal(SIGTERM, SIG_IGN);
        } else if (verb == "ready") {
            if (FILE* file = std::fopen(value.c_str(), "w")) std::fclose(file);
        } else if (verb == "hang") {
            for (;;)
                ::pause();
        } else if (verb == "exit") {
            return std::atoi(value.c_str());
        } else {
            std::fprintf(stderr, "engine_stub: unknown step %s\n", step.c_str());
            return 2;
        }
    }
    return 0;
}
