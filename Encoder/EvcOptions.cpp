#include "EvcOptions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>

namespace evc {

namespace {

bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ExtensionOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return {};
    return Lower(name.substr(dot + 1));
}

// Options that take a value, and the flags that take none.
const std::vector<std::string>& ValueOptions() {
    static const std::vector<std::string> names = {"-i",      "-vcodec", "-acodec", "-b",  "-s",  "-r",
                                                   "-aspect", "-ab",     "-vol",    "-ac", "-ar", "-f",
                                                   "-ss",     "-t"};
    return names;
}

bool IsFlag(const std::string& a) { return a == "-y" || a == "-vn" || a == "-v"; }

bool IsValueOption(const std::string& a) {
    const auto& names = ValueOptions();
    return std::find(names.begin(), names.end(), a) != names.end();
}

} // namespace

std::optional<double> ParseDecimal(const std::string& text) {
    std::string s = text;
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.erase(0, 1);
    }
    const auto dot = s.find('.');
    const std::string whole = dot == std::string::npos ? s : s.substr(0, dot);
    const std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    if (whole.empty() && frac.empty()) return std::nullopt;
    if (!whole.empty() && !AllDigits(whole)) return std::nullopt;
    if (dot != std::string::npos && !frac.empty() && !AllDigits(frac)) return std::nullopt;
    if (whole.size() > 12) return std::nullopt;
    double value = whole.empty() ? 0.0 : std::stod(whole);
    double scale = 0.1;
    for (char c : frac) {
        value += (c - '0') * scale;
        scale /= 10;
    }
    return negative ? -value : value;
}

std::optional<int> ParseCount(const std::string& text) {
    if (!AllDigits(text) || text.size() > 9) return std::nullopt;
    return std::stoi(text);
}

bool DecimalToRational(const std::string& text, long long& num, long long& den) {
    const auto dot = text.find('.');
    const std::string whole = dot == std::string::npos ? text : text.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : text.substr(dot + 1);
    if (!whole.empty() && !AllDigits(whole)) return false;
    if (!frac.empty() && !AllDigits(frac)) return false;
    if (whole.empty() && frac.empty()) return false;
    if (whole.size() > 9) return false;
    if (frac.size() > 6) frac.resize(6);
    den = 1;
    for (size_t i = 0; i < frac.size(); ++i) den *= 10;
    num = (whole.empty() ? 0 : std::stoll(whole)) * den + (frac.empty() ? 0 : std::stoll(frac));
    const long long g = std::gcd(num, den);
    if (g > 1) {
        num /= g;
        den /= g;
    }
    return true;
}

std::optional<double> ParseTimeText(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::vector<std::string> parts;
    size_t from = 0;
    while (true) {
        const auto colon = text.find(':', from);
        parts.push_back(text.substr(from, colon == std::string::npos ? std::string::npos : colon - from));
        if (colon == std::string::npos) break;
        from = colon + 1;
    }
    if (parts.size() > 3) return std::nullopt;
    double total = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const std::string& p = parts[i];
        if (p.empty() || p[0] == '-' || p[0] == '+') return std::nullopt;
        std::optional<double> v;
        if (last) {
            v = ParseDecimal(p);
        } else if (AllDigits(p) && p.size() <= 9) {
            v = std::stod(p);
        }
        if (!v) return std::nullopt;
        // Minutes and seconds below an hour or minute field stay under 60.
        if (i > 0 && *v >= 60) return std::nullopt;
        total = total * 60 + *v;
    }
    return total;
}

std::string UsageText() {
    return "usage: evc [options] -i INPUT OUTPUT\n"
           "Converts INPUT into RealMedia (.rm: RealVideo 2 and AC-3) or MP3 (.mp3).\n"
           "  -y              overwrite OUTPUT if it exists\n"
           "  -i PATH         input file\n"
           "  -vcodec NAME    video codec text (rv20 is written into .rm files)\n"
           "  -acodec NAME    audio codec text (.rm gets AC-3, .mp3 gets MP3)\n"
           "  -vn             no video\n"
           "  -b KBITS        video bitrate in kbit/s (default 768)\n"
           "  -s WxH          picture size (default 320x240)\n"
           "  -r FPS          frame rate, decimal (default 25)\n"
           "  -aspect W:H     display aspect (default 4:3)\n"
           "  -ab KBITS       audio bitrate in kbit/s (default 128)\n"
           "  -vol PERCENT    volume, 100 unchanged, 0 silent; louder peaks are limited\n"
           "  -ac N           audio channels (default 2)\n"
           "  -ar HZ          sample rate (default 44100)\n"
           "  -f NAME         output format: rm or mp3 (default: from the extension)\n"
           "  -ss START       start of the cut: HH:MM:SS or seconds\n"
           "  -t SECONDS      length of the cut\n"
           "  -v              show the libraries' own messages\n"
           "  -h              this text\n"
           "Exit codes: 0 done, 2 usage, 3 input, 4 output, 5 encoding, 6 stopped.\n";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult r;
    auto fail = [&r](std::string message) {
        r.status = ParseResult::Status::Error;
        r.error = std::move(message);
        return r;
    };
    if (args.empty()) return fail("no input and no output given");
    // Help wherever an option may stand; a value such as the input "-h" is a name.
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "-help" || a == "--help") {
            r.status = ParseResult::Status::Help;
            return r;
        }
        if (IsValueOption(a)) ++i;
    }
    Options o;
    // The output path comes last, so that a name beginning with "-" is still a name.
    const std::string& last = args.back();
    if (IsValueOption(last)) return fail("missing value for " + last);
    if (IsFlag(last)) return fail("missing output path after " + last);
    o.output = last;
    if (o.output.empty()) return fail("the output path is empty");

    bool haveInput = false;
    const size_t n = args.size() - 1;
    for (size_t i = 0; i < n; ++i) {
        const std::string& a = args[i];
        if (IsFlag(a)) {
            if (a == "-y") o.overwrite = true;
            if (a == "-vn") o.noVideo = true;
            if (a == "-v") o.verbose = true;
            continue;
        }
        if (!IsValueOption(a)) {
            if (!a.empty() && a[0] == '-') return fail("unknown option " + a);
            return fail("unexpected argument \"" + a + "\" (the output path comes last)");
        }
        if (i + 1 >= n) return fail("missing value for " + a);
        const std::string v = args[++i];
        auto bad = [&](const std::string& what) { return fail("bad value \"" + v + "\" for " + a + ": " + what); };
        if (a == "-i") {
            if (v.empty()) return bad("an input path is needed");
            o.input = v;
            haveInput = true;
        } else if (a == "-vcodec") {
            o.videoCodecText = v;
        } else if (a == "-acodec") {
            o.audioCodecText = v;
        } else if (a == "-f") {
            const std::string f = Lower(v);
            if (f != "rm" && f != "mp3") return bad("the formats are rm and mp3");
            o.formatText = f;
        } else if (a == "-b" || a == "-ab") {
            const auto k = ParseDecimal(v);
            if (!k || *k < 1 || *k > 100000) return bad("a bitrate in kbit/s is needed");
            (a == "-b" ? o.videoKbits : o.audioKbits) = static_cast<int>(std::lround(*k));
        } else if (a == "-s") {
            const auto x = Lower(v).find('x');
            const auto w = x == std::string::npos ? std::nullopt : ParseCount(v.substr(0, x));
            const auto h = x == std::string::npos ? std::nullopt : ParseCount(v.substr(x + 1));
            if (!w || !h || *w < 1 || *h < 1 || *w > 16384 || *h > 16384) return bad("a size WxH is needed");
            o.width = *w;
            o.height = *h;
        } else if (a == "-r") {
            const auto f = ParseDecimal(v);
            long long num = 0, den = 1;
            if (!f || *f <= 0 || *f > 1000 || !DecimalToRational(v, num, den) || num <= 0)
                return bad("a frame rate above 0 is needed");
            o.frameRate = *f;
            o.frameRateText = v;
        } else if (a == "-aspect") {
            const auto colon = v.find(':');
            if (colon != std::string::npos) {
                const auto w = ParseCount(v.substr(0, colon));
                const auto h = ParseCount(v.substr(colon + 1));
                if (!w || !h || *w < 1 || *h < 1) return bad("an aspect W:H is needed");
                o.aspectNum = *w;
                o.aspectDen = *h;
            } else {
                const auto d = ParseDecimal(v);
                if (!d || *d <= 0.05 || *d > 20) return bad("an aspect W:H is needed");
                o.aspectNum = static_cast<int>(std::lround(*d * 10000));
                o.aspectDen = 10000;
            }
        } else if (a == "-vol") {
            const auto p = ParseDecimal(v);
            if (!p || *p < 0 || *p > 10000) return bad("a percentage of 0 or more is needed");
            o.volumePercent = *p;
        } else if (a == "-ac") {
            const auto c = ParseCount(v);
            if (!c || *c < 1 || *c > 64) return bad("a channel count of 1 or more is needed");
            o.channels = *c;
        } else if (a == "-ar") {
            const auto hz = ParseCount(v);
            if (!hz || *hz < 1000 || *hz > 384000) return bad("a sample rate in Hz is needed");
            o.sampleRate = *hz;
        } else if (a == "-ss") {
            const auto s = ParseTimeText(v);
            if (!s) return bad("a time HH:MM:SS or seconds is needed");
            o.startSeconds = *s;
        } else if (a == "-t") {
            const auto neg = ParseDecimal(v);
            if (neg && *neg <= 0) return bad("the length must be more than 0 seconds");
            const auto s = ParseTimeText(v);
            if (!s) return bad("a length in seconds is needed");
            if (*s <= 0) return bad("the length must be more than 0 seconds");
            o.lengthSeconds = *s;
        }
    }
    if (!haveInput) return fail("no input given (-i PATH)");

    if (!o.formatText.empty()) {
        o.kind = o.formatText == "mp3" ? OutputKind::Mp3 : OutputKind::RealMedia;
    } else {
        const std::string ext = ExtensionOf(o.output);
        if (ext == "rm") {
            o.kind = OutputKind::RealMedia;
        } else if (ext == "mp3") {
            o.kind = OutputKind::Mp3;
        } else {
            return fail("cannot tell the output format from \"" + o.output + "\"; use .rm, .mp3 or -f");
        }
    }
    r.status = ParseResult::Status::Ok;
    r.options = o;
    return r;
}

} // namespace evc
