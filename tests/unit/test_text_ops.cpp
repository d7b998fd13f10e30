// Time text, size text, splitting and the number conversions.
#include "TextOps.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

// Every test starts and ends with the point as decimal separator, whatever the machine's locale.
class TextOpsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetDecimalSeparatorForTesting('.'); }
    void TearDown() override { SetDecimalSeparatorForTesting(0); }
};

std::string FormatLikePlayer(int64_t seconds) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%2.2" PRId64 ":%2.2" PRId64 ":%2.2" PRId64, seconds / 3600,
                  seconds % 3600 / 60, seconds % 60);
    return buffer;
}

TEST_F(TextOpsTest, SplitTextKeepsInnerEmptyPiecesAndDropsATrailingOne) {
    struct Case {
        std::string text;
        char separator;
        TStringList pieces;
    } cases[] = {
        {"", ':', {}},
        {"00:01:30", ':', {"00", "01", "30"}},
        {"a::b", ':', {"a", "", "b"}},
        {":a", ':', {"", "a"}},
        {"a:", ':', {"a"}},
        {"::", ':', {"", ""}},
        {":", ':', {""}},
        {"abc", ':', {"abc"}},
        {"1|2||3|", '|', {"1", "2", "", "3"}},
        {"out_time=12.5", '=', {"out_time", "12.5"}},
        {" a : b ", ':', {" a ", " b "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(SplitText(c.text, c.separator), c.pieces);
    }
}

TEST_F(TextOpsTest, TextToNumberFiltersTheText) {
    struct Case {
        std::string text;
        double number;
    } cases[] = {
        {"12", 12},
        {" 07 ", 7},
        {"1.5s", 1.5},
        {"-12", -12},
        {"1-2", 12},
        {"1.2.3", 1.23},
        {"abc", 0},
        {"", 0},
        {"+", 0},
        {"-", 0},
        {"--5", -5},
        {"+-5", 5},
        {"-+-3.5", -3.5},
        {"a-1", -1},
        {"1+2", 12},
        {"+1.5", 1.5},
        {"\t3\r\n", 3},
        {"5", 5},
        {"5.", 5},
        {".5", 0.5},
        {"time=12.50", 12.5},
        {"1,5", 15},
        {"speed=1.02x", 1.02},
        {"00", 0},
        {"-0.25", -0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.number);
    }
}

TEST_F(TextOpsTest, TextToNumberFailsWhenTheFilteredTextIsNoNumber) {
    for (const char* text : {".", "+.", "-.", "x.y", "+a.", "..."}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        EXPECT_THROW(TextToNumber(text), EConvertError);
    }
    try {
        TextToNumber("a.b");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'.' is not a valid floating point value");
    }
}

TEST_F(TextOpsTest, CommaLocaleReadsThePointAndWritesTheComma) {
    SetDecimalSeparatorForTesting(',');
    // The encoder prints points; in a comma locale they must still read as the decimal separator.
    EXPECT_DOUBLE_EQ(TextToNumber("time=12.5"), 12.5);
    EXPECT_DOUBLE_EQ(TextToNumber("1,5"), 15); // the comma is filtered out like any other character
    EXPECT_DOUBLE_EQ(StrToFloat("2,25"), 2.25);
    EXPECT_EQ(SizeToText(1536), "1,5 KB");
    EXPECT_EQ(SizeToText(10000000), "9,53 MB");
    EXPECT_EQ(SizeToText(1024), "1 KB");
    EXPECT_EQ(TimeTextToSecondsLenient("00:1.9:00"), 60);
    EXPECT_THROW(TextToNumber("."), EConvertError);
}

TEST_F(TextOpsTest, PadQuotient) {
    struct Case {
        int width;
        int64_t divisor, value;
        std::string text;
    } cases[] = {
        {2, 1, 5, "05"},
        {2, 60000, 90000, "01"},
        {2, 1, 123, "123"},
        {0, 1, 0, "0"},
        {5, 1000, 59999, "00059"},
        {2, 0, 7, "00"},
        {2, -1, std::numeric_limits<int64_t>::min(), "00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PadQuotient(c.width, c.divisor, c.value), c.text);
    }
}

TEST_F(TextOpsTest, SecondsToTimeText) {
    struct Case {
        int64_t seconds;
        std::string text;
    } cases[] = {
        {0, "00:00:00"},
        {59, "00:00:59"},
        {60, "00:01:00"},
        {3599, "00:59:59"},
        {3600, "01:00:00"},
        {3723, "01:02:03"},
        {86399, "23:59:59"},
        {360000, "100:00:00"},
        {-5, "00:00:00"},
        {std::numeric_limits<int64_t>::min(), "00:00:00"},
        {std::numeric_limits<int64_t>::max(), "2562047788015215:30:07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(SecondsToTimeText(c.seconds), c.text);
    }
}

TEST_F(TextOpsTest, SecondsToTimeTextAgreesWithThePlayersFormat) {
    // The preview player compares its own formatted position with this text for equality.
    for (int64_t s = 0; s < 400000; s += 7)
        ASSERT_EQ(SecondsToTimeText(s), FormatLikePlayer(s)) << s;
    for (const int64_t s : {int64_t(2147483647), int64_t(99999999999), std::numeric_limits<int64_t>::max()})
        EXPECT_EQ(SecondsToTimeText(s), FormatLikePlayer(s)) << s;
}

TEST_F(TextOpsTest, SizeToTextTruncatesToTwoDecimals) {
    struct Case {
        int64_t bytes;
        std::string text;
    } cases[] = {
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1 KB"},
        {1025, "1 KB"},
        {1126, "1.09 KB"}, // 1.0996..., rounding would give 1.1
        {1536, "1.5 KB"},
        {2047, "1.99 KB"}, // rounding would give 2
        {-1, "0 B"},
        {std::numeric_limits<int64_t>::min(), "0 B"},
        {1048575, "1023.99 KB"},
        {1048576, "1 MB"},
        {10000000, "9.53 MB"},
        {734003200, "700 MB"},
        {1073741823, "1023.99 MB"},
        {1073741824, "1 GB"},
        {5000000000, "4.65 GB"},
        {1099511627776, "1024 GB"},
        {std::numeric_limits<int64_t>::max(), "8589934591.99 GB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(SizeToText(c.bytes), c.text);
    }
}

TEST_F(TextOpsTest, TimeTextToSecondsStrict) {
    struct Case {
        std::string text;
        int32_t seconds;
    } cases[] = {
        {"01:02:03", 3723},
        {"00:00:00", 0},
        {"100:00:00", 360000},
        {"00:01", 0},
        {"1:2:3:4", 0},
        {"", 0},
        {"5", 0},
        {"1:2:3", 3723},
        {" 1:+2:-3", 3717}, // decimal integers may have leading blanks and a sign
        {"00:90:00", 5400}, // fields are not range-checked
        // Beyond 32 bits of seconds the result is held at the edge instead of wrapping to a wrong sign.
        {"999999:00:00", std::numeric_limits<int32_t>::max()},
        {"-999999:00:00", std::numeric_limits<int32_t>::min()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(TimeTextToSeconds(c.text), c.seconds);
    }
}

TEST_F(TextOpsTest, TimeTextToSecondsStrictFailsOnANonInteger) {
    for (const char* text : {"00:aa:00", "00::00", "01:02:03.5", "01:02:03 ", "+:00:00", "0x1:00:00",
                             "$1:00:00", "2147483648:00:00"}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        EXPECT_THROW(TimeTextToSeconds(text), EConvertError);
    }
    try {
        TimeTextToSeconds("00:aa:00");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'aa' is not a valid integer value");
    }
}

TEST_F(TextOpsTest, TimeTextToSecondsLenient) {
    struct Case {
        std::string text;
        int32_t seconds;
    } cases[] = {
        {"01:02:03", 3723},
        {"1:2:3:4", 3723},
        {"00:1.9:00", 60},
        {"00:01", 0},
        {"", 0},
        {"a:b:c", 0},
        {"00:00:07.9", 7},
        {"-1:00:00", -3600},
        {"1h:2m:3s", 3723},
        {" 01 : 02 : 03 ", 3723},
        {"99999999999999:00:00", std::numeric_limits<int32_t>::max()},
        {"-99999999999999:00:00", std::numeric_limits<int32_t>::min()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(TimeTextToSecondsLenient(c.text), c.seconds);
    }
    EXPECT_THROW(TimeTextToSecondsLenient("00:.:00"), EConvertError);
}

TEST_F(TextOpsTest, TimeTextRoundTrips) {
    for (const int64_t s :
         {int64_t(0), int64_t(1), int64_t(59), int64_t(3599), int64_t(86399), int64_t(360000),
          int64_t(7654321), int64_t(std::numeric_limits<int32_t>::max())}) {
        SCOPED_TRACE(s);
        const std::string text = SecondsToTimeText(s);
        EXPECT_EQ(TimeTextToSeconds(text), s);
        EXPECT_EQ(TimeTextToSecondsLenient(text), s);
    }
}

TEST_F(TextOpsTest, StrToIntIsStrictlyDecimal) {
    struct Case {
        std::string text;
        int32_t value;
    } good[] = {{"0", 0},
                {"007", 7},
                {"+5", 5},
                {"-5", -5},
                {"  7", 7},
                {"2147483647", std::numeric_limits<int32_t>::max()},
                {"-2147483648", std::numeric_limits<int32_t>::min()},
                {"00000000000000000000042", 42}};
    for (const Case& c : good) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(StrToInt(c.text), c.value);
    }
    for (const char* text : {"", " ", "+", "-", "7 ", "1.0", "$FF", "0x10", "2147483648", "-2147483649",
                             "99999999999999999999", "1e3", "--1", "\t1"}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        EXPECT_THROW(StrToInt(text), EConvertError);
    }
    try {
        StrToInt("");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
}

TEST_F(TextOpsTest, StrToFloat) {
    struct Case {
        std::string text;
        double value;
    } good[] = {{"1e3", 1000}, {" 2.5 ", 2.5}, {"-0.5", -0.5}, {"+4", 4},
                {"5.", 5},     {".25", 0.25},  {"1E-2", 0.01}};
    for (const Case& c : good) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value);
    }
    for (const char* text :
         {"", "abc", "inf", "nan", "1e", "1e+", "0x10", "1.2.3", "+-1", "1-", ".", "1e400"}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        EXPECT_THROW(StrToFloat(text), EConvertError);
    }
    try {
        StrToFloat("abc");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
}

} // namespace
