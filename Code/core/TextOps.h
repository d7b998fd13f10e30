// Text, number, time and size operations shared by the whole program.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using TStringList = std::vector<std::string>;

// A text that should have been a number. Its message is what the error report shows.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

TStringList SplitText(const std::string& text, char separator);
double TextToNumber(const std::string& text);
std::string PadQuotient(int width, int64_t divisor, int64_t value);
std::string SecondsToTimeText(int64_t seconds);
std::string SizeToText(int64_t bytes);
int32_t TimeTextToSeconds(const std::string& text);
int32_t TimeTextToSecondsLenient(const std::string& text);

// Strict decimal integer: optional sign and digits, nothing else, in the 32-bit range.
int32_t StrToInt(const std::string& text);
// Like StrToInt but also takes the hexadecimal forms $FF, xFF, 0xFF; false instead of throwing.
bool TryStrToInt(const std::string& text, int32_t& value);
// A decimal floating-point number written with the locale's decimal separator or a point.
double StrToFloat(const std::string& text);

// The decimal separator of the user's locale, as used in number texts.
char LocaleDecimalSeparator();
// Tests and fuzzers pin the separator; 0 returns to the user's locale.
void SetDecimalSeparatorForTesting(char separator);

// Drops leading and trailing characters with codes 32 and below.
std::string TrimControl(const std::string& text);
