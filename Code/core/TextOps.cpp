#include "TextOps.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

char g_testSeparator = 0;

[[noreturn]] void ThrowNotInteger(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid integer value");
}

[[noreturn]] void ThrowNotFloat(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

char LocaleDecimalSeparator() {
    if (g_testSeparator) return g_testSeparator;
    static const char separator = [] {
        const QString point = QLocale::system().decimalPoint();
        return point.size() == 1 && point.at(0).unicode() < 128 ? char(point.at(0).unicode()) : '.';
    }();
    return separator;
}

void SetDecimalSeparatorForTesting(char separator) {
    g_testSeparator = separator;
}

std::string TrimControl(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(begin, end - begin);
}

TStringList SplitText(const std::string& text, char separator) {
    TStringList pieces;
    size_t start = 0;
    for (size_t pos; (pos = text.find(separator, start)) != std::string::npos; start = pos + 1)
        pieces.push_back(text.substr(start, pos - start));
    if (start < text.size()) pieces.push_back(text.substr(start));
    return pieces;
}

int32_t StrToInt(const std::string& text) {
    // Leading blanks are allowed, as are a sign and decimal digits; nothing may follow them.
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) ThrowNotInteger(text);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) ThrowNotInteger(text);
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1) ThrowNotInteger(text);
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) ThrowNotInteger(text);
    return int32_t(value);
}

bool TryStrToInt(const std::string& text, int32_t& result) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) return false;
    if (hex) {
        if (text.size() - i > 8) return false;
        uint32_t bits = 0;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            int digit;
            if (IsDigit(c))
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return false;
            bits = bits << 4 | uint32_t(digit);
        }
        // Eight hex digits are a 32-bit pattern: $FFFFFFFF is -1.
        int32_t value = static_cast<int32_t>(bits);
        result = negative ? int32_t(0u - bits) : value;
        return true;
    }
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return false;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1) return false;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return false;
    result = int32_t(value);
    return true;
}

double StrToFloat(const std::string& text) {
    // Blanks around the number are allowed; the separator is the locale's (a point always works too).
    const std::string trimmed = TrimControl(text);
    const char separator = LocaleDecimalSeparator();
    std::string normal;
    normal.reserve(trimmed.size());
    bool sawDigit = false, sawPoint = false, sawExp = false;
    for (size_t i = 0; i < trimmed.size(); ++i) {
        char c = trimmed[i];
        if (c == separator) c = '.';
        if (IsDigit(c)) {
            sawDigit = true;
        } else if (c == '.') {
            if (sawPoint || sawExp) ThrowNotFloat(text);
            sawPoint = true;
        } else if (c == '+' || c == '-') {
            const bool atStart = i == 0;
            const bool afterExp = !normal.empty() && (normal.back() == 'e' || normal.back() == 'E');
            if (!atStart && !afterExp) ThrowNotFloat(text);
        } else if ((c == 'e' || c == 'E') && sawDigit && !sawExp) {
            sawExp = true;
        } else {
            ThrowNotFloat(text);
        }
        normal.push_back(c);
    }
    if (!sawDigit || normal.back() == 'e' || normal.back() == 'E' || normal.back() == '+' ||
        normal.back() == '-')
        ThrowNotFloat(text);
    double value = 0;
    const char* first = normal.data();
    if (*first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, normal.data() + normal.size(), value);
    if (ec != std::errc() || end != normal.data() + normal.size()) ThrowNotFloat(text);
    return value;
}

double TextToNumber(const std::string& text) {
    const std::string trimmed = TrimControl(text);
    std::string filtered;
    bool metPoint = false, metPlus = false, metMinus = false;
    for (const char c : trimmed) {
        bool keep = IsDigit(c);
        if (c == '.') keep = !metPoint, metPoint = true;
        if (c == '+') keep = !metPlus, metPlus = true;
        if (c == '-') keep = !metMinus, metMinus = true;
        if (keep) filtered.push_back(c);
    }
    if (filtered.empty() || filtered == "+" || filtered == "-") return 0;
    std::string number(1, filtered[0]);
    for (size_t i = 1; i < filtered.size(); ++i)
        if (filtered[i] != '+' && filtered[i] != '-') number.push_back(filtered[i]);
    // The kept point stands for the locale's separator when converting.
    const char separator = LocaleDecimalSeparator();
    if (separator != '.')
        for (char& c : number)
            if (c == '.') c = separator;
    return StrToFloat(number);
}

std::string PadQuotient(int width, int64_t divisor, int64_t value) {
    // The two quotients the machine cannot form (by zero, and the lowest value by -1) give 0.
    const bool defined = divisor != 0 && !(divisor == -1 && value == INT64_MIN);
    std::string text = std::to_string(defined ? value / divisor : 0);
    if (int(text.size()) < width) text.insert(0, size_t(width) - text.size(), '0');
    return text;
}

std::string SecondsToTimeText(int64_t seconds) {
    if (seconds < 0) return "00:00:00";
    // Worked out on whole seconds, not milliseconds, so that no count of seconds can overflow and the
    // text always equals "%2.2d:%2.2d:%2.2d" of hours, minutes and seconds.
    return PadQuotient(2, 3600, seconds) + ":" + PadQuotient(2, 60, seconds % 3600) + ":" +
           PadQuotient(2, 1, seconds % 60);
}

std::string SizeToText(int64_t bytes) {
    if (bytes < 0) bytes = 0;
    long double v;
    const char* unit;
    if (bytes < 1073741824) {
        v = bytes;
        unit = " B";
        if (v >= 1024) v /= 1024, unit = " KB";
        if (v >= 1024) v /= 1024, unit = " MB";
    } else {
        v = (long double)bytes / 1024 / 1024 / 1024;
        unit = " GB";
    }
    v = std::trunc(v * 100) / 100;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", v);
    std::string text = buffer;
    const char separator = LocaleDecimalSeparator();
    for (char& c : text)
        if (c == '.') c = separator;
    return text + unit;
}

namespace {

// A time beyond the 32-bit range of seconds is held at its edge rather than wrapped into a wrong sign.
int32_t ClampSeconds(int64_t seconds) {
    return int32_t(std::clamp<int64_t>(seconds, INT32_MIN, INT32_MAX));
}

} // namespace

int32_t TimeTextToSeconds(const std::string& text) {
    const TStringList fields = SplitText(text, ':');
    if (fields.size() != 3) return 0;
    return ClampSeconds(int64_t(StrToInt(fields[0])) * 3600 + int64_t(StrToInt(fields[1])) * 60 +
                        StrToInt(fields[2]));
}

int32_t TimeTextToSecondsLenient(const std::string& text) {
    const TStringList fields = SplitText(text, ':');
    if (fields.size() < 3) return 0;
    // Each field is cut to whole units and bounded, so the sum below stays far inside 64 bits.
    auto whole = [](const std::string& field) {
        const double value = std::trunc(TextToNumber(field));
        constexpr double limit = 1e12;
        if (std::isnan(value)) return int64_t(0);
        return int64_t(std::clamp(value, -limit, limit));
    };
    return ClampSeconds(whole(fields[0]) * 3600 + whole(fields[1]) * 60 + whole(fields[2]));
}
