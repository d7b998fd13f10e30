// The text operations on any input: conversion errors are allowed, crashes, undefined behaviour and wrong
// round trips are not.
#include "TextOps.h"

#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_text: %s: %s\n", what, detail.c_str());
    std::abort();
}

void Check(bool condition, const char* what, const std::string& detail) {
    if (!condition) Fail(what, detail);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Time text: hours of two or more digits, then two-digit minutes and seconds below 60.
bool IsTimeText(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2 || text.size() != colon + 6) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (i == colon || i == colon + 3 ? text[i] != ':' : !IsDigit(text[i])) return false;
    return text[colon + 1] < '6' && text[colon + 4] < '6';
}

void CheckSplit(const std::string& text, char separator) {
    const TStringList pieces = SplitText(text, separator);
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i) joined += separator;
        joined += pieces[i];
    }
    // Only a trailing empty piece is dropped.
    const bool trailing = !text.empty() && text.back() == separator;
    Check(trailing ? joined + separator == text : joined == text, "SplitText does not join back", text);
    for (const std::string& piece : pieces)
        Check(piece.find(separator) == std::string::npos, "a piece holds the separator", text);
}

void CheckTimeText(int64_t seconds) {
    const std::string text = SecondsToTimeText(seconds);
    Check(IsTimeText(text), "not a time text", text);
    if (seconds < 0) {
        Check(text == "00:00:00", "a negative time is not zero", text);
        return;
    }
    char expected[64];
    std::snprintf(expected, sizeof expected, "%2.2" PRId64 ":%2.2" PRId64 ":%2.2" PRId64, seconds / 3600,
                  seconds % 3600 / 60, seconds % 60);
    Check(text == expected, "differs from the player's format", text);
    if (seconds <= INT32_MAX) {
        Check(TimeTextToSeconds(text) == seconds, "strict round trip", text);
        Check(TimeTextToSecondsLenient(text) == seconds, "lenient round trip", text);
    }
}

void CheckSizeText(int64_t bytes, char separator) {
    const std::string text = SizeToText(bytes);
    const size_t blank = text.find(' ');
    Check(blank != std::string::npos, "no blank in a size text", text);
    const std::string number = text.substr(0, blank), unit = text.substr(blank + 1);
    long double scale = 0;
    if (unit == "B") scale = 1;
    if (unit == "KB") scale = 1024;
    if (unit == "MB") scale = 1024.0L * 1024;
    if (unit == "GB") scale = 1024.0L * 1024 * 1024;
    Check(scale != 0, "unknown unit", text);
    // Digits, then at most two decimals after the separator, no trailing zero or separator.
    const size_t sep = number.find(separator);
    for (size_t i = 0; i < number.size(); ++i)
        Check(i == sep || IsDigit(number[i]), "a stray character in the number", text);
    if (sep != std::string::npos)
        Check(sep > 0 && number.size() - sep >= 2 && number.size() - sep <= 3 && number.back() != '0',
              "decimals are not one or two without a trailing zero", text);
    std::string plain = number;
    if (sep != std::string::npos) plain[sep] = '.';
    const long double shown = std::strtold(plain.c_str(), nullptr);
    const long double actual = bytes < 0 ? 0 : (long double)bytes / scale;
    // Truncated to two decimals: never above the true value, and less than a hundredth below it.
    Check(shown <= actual * (1 + 1e-15L) && actual - shown < 0.01L + actual * 1e-15L, "wrong size", text);
    if (unit != "GB") Check(shown < 1024, "a smaller unit runs past 1023.99", text);
}

// Reference for the strict integer: blanks, a sign, decimal digits, in range.
void CheckStrToInt(const std::string& text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) i = text.size();
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool shape = i < text.size();
    for (size_t j = i; j < text.size(); ++j)
        shape = shape && IsDigit(text[j]);
    int64_t reference = 0;
    bool valid = false;
    if (shape) {
        const std::string digits = (negative ? "-" : "") + text.substr(i);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), reference);
        valid = ec == std::errc() && end == digits.data() + digits.size() && reference >= INT32_MIN &&
                reference <= INT32_MAX;
    }
    try {
        const int32_t value = StrToInt(text);
        Check(valid && value == reference, "StrToInt accepts what it should not, or misreads it", text);
    } catch (const EConvertError&) {
        Check(!valid, "StrToInt rejects a decimal integer", text);
    }
    int32_t loose = 0;
    if (valid)
        Check(TryStrToInt(text, loose) && loose == reference, "TryStrToInt misreads a decimal", text);
    else
        TryStrToInt(text, loose);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 + sizeof(int64_t)) return 0;
    const uint8_t flags = data[0];
    int64_t number;
    std::memcpy(&number, data + 1, sizeof number);
    const std::string text(reinterpret_cast<const char*>(data) + 1 + sizeof number, size - 1 - sizeof number);

    const char separator = flags & 1 ? ',' : '.';
    SetDecimalSeparatorForTesting(separator);

    CheckSplit(text, ":|=."[flags >> 1 & 3]);
    CheckTimeText(number);
    CheckTimeText(number & 0xFFFFFFFF);
    CheckSizeText(number, separator);
    CheckSizeText(number >> (flags >> 3 & 31), separator);
    CheckStrToInt(text);

    try {
        Check(std::isfinite(TextToNumber(text)), "TextToNumber is not finite", text);
    } catch (const EConvertError&) {
    }
    try {
        TimeTextToSeconds(text);
    } catch (const EConvertError&) {
    }
    try {
        TimeTextToSecondsLenient(text);
    } catch (const EConvertError&) {
    }
    try {
        Check(std::isfinite(StrToFloat(text)), "StrToFloat is not finite", text);
    } catch (const EConvertError&) {
    }
    const std::string padded = PadQuotient(flags >> 4, int64_t(int8_t(flags)), number);
    Check(padded.size() >= size_t(flags >> 4), "PadQuotient is too short", padded);
    return 0;
}
