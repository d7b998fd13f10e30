// The progress refresh: what a chunk of encoder output does to the two bars and the count line.
#include "ProgressRefresh.h"

#include <gtest/gtest.h>

namespace {

const char* const kVideo = " -vcodec rv20";
const char* const kAudio = " -acodec aac -vn";

} // namespace

TEST(ProgressParser, FindsTheTimeInTheFieldOfItsOutputType) {
    const struct {
        const char* chunk;
        bool audio;
        bool found;
        int32_t seconds;
    } cases[] = {
        {"frame=  250 q=4.5 size=     512kB time=10.0 bitrate= 419.4kbits/s", false, true, 10},
        {"size=     256kB time=16.4 bitrate= 128.0kbits/s", true, true, 16},
        // Video needs five fields, audio four.
        {"a=b=c=d=", false, false, 0},
        {"a=b=c=d=7.9", false, true, 7},
        {"a=b=c=", true, false, 0},
        {"a=b=c=d", true, true, 0},
        // The audio field in a video chunk is the size, and the other way round.
        {"size= 256kB time=16.4 bitrate= 1", false, false, 0},
        {"frame= 2 q=4.5 size= 512kB time=10.0 bitrate= 4", true, true, 4},
        // Several progress lines in one chunk: the first complete one counts.
        {"frame=1 q=1 size=1kB time=3.0 bitrate=1\rframe=2 q=1 size=2kB time=4.0 bitrate=1", false, true, 3},
        {"a=b=c=d=10000000000.00 bitrate=", false, false, 0},
        {"a=b=c=d=99999999999.00 bitrate=", false, true, INT32_MAX},
        {"a=b=c=d=1e400 bitrate=", false, true, 1400},
        {"a=b=c=d=no time bitrate=", false, true, 0},
        {"a=b=c=d=-5.0 bitrate=", false, true, -5},
        {"a=b=c=d=.5 bitrate=", false, true, 0},
        {"a=b=c=d==", false, false, 0},
        {"", false, false, 0},
        {"no equals at all", true, false, 0},
    };
    for (const auto& c : cases) {
        int32_t seconds = 0;
        EXPECT_EQ(ParseEncodedSeconds(c.chunk, c.audio, seconds), c.found) << c.chunk;
        if (c.found) {
            EXPECT_EQ(seconds, c.seconds) << c.chunk;
        }
    }
    // A number too long for a double is no time; the bar keeps its place.
    int32_t seconds = 0;
    EXPECT_FALSE(ParseEncodedSeconds("a=b=c=d=" + std::string(400, '9') + " b=", false, seconds));
}

TEST(ProgressRefresh, FirstChunkMovesNothingThenBarsFollowTheEncodedTime) {
    TProgressView view;
    view.Current = {0, 1, 0};
    view.Total = {0, 1, 0};
    view.CountLine = "Current: 1, Total: 3";
    int32_t chunks = 0;
    TProgressInput in{1, 3, "90", kVideo, "frame=1 q=1 size=1kB time=45.3 bitrate=1"};

    RefreshProgress(view, chunks, in);
    EXPECT_EQ(chunks, 1);
    EXPECT_EQ(view.Current.Max, 1);
    EXPECT_EQ(view.Current.Position, 0);
    EXPECT_EQ(view.Total.Max, 1);
    EXPECT_EQ(view.CountLine, "Current: 1, Total: 3");

    // Second chunk: the batch bar follows the current bar as the first chunk left it (0 of 1).
    RefreshProgress(view, chunks, in);
    EXPECT_EQ(view.Current.Max, 90);
    EXPECT_EQ(view.Current.Position, 45);
    EXPECT_EQ(view.Total.Max, 300);
    EXPECT_EQ(view.Total.Position, 100);
    EXPECT_EQ(view.CountLine, "Current: 2 , Total: 3.");

    // Third chunk: 45 of 90 seconds of the second file is 150 of 300.
    in.Chunk = "frame=1 q=1 size=1kB time=60.0 bitrate=1";
    RefreshProgress(view, chunks, in);
    EXPECT_EQ(view.Total.Position, 150);
    EXPECT_EQ(view.Current.Position, 60);

    // Output that is no progress leaves the current bar where it was, and a time past the cut is held.
    for (const char* chunk : {"", "Press [q] to stop", "a=b=c=d=10000000000.0 e=", "x=y=z=w="}) {
        in.Chunk = chunk;
        RefreshProgress(view, chunks, in);
        EXPECT_EQ(view.Current.Position, 60) << chunk;
    }
    // A time field without digits reads as 0 seconds.
    in.Chunk = "x=y=z=w=junk v=";
    RefreshProgress(view, chunks, in);
    EXPECT_EQ(view.Current.Position, 0);
    in.Chunk = "frame=1 q=1 size=1kB time=60.0 bitrate=1";
    RefreshProgress(view, chunks, in);
    EXPECT_EQ(view.Total.Position, 100);
    in.Chunk = "frame=1 q=1 size=1kB time=500.0 bitrate=1";
    RefreshProgress(view, chunks, in);
    EXPECT_EQ(view.Current.Position, 90);
    EXPECT_EQ(view.Total.Position, 166);
}

TEST(ProgressRefresh, ZeroOrNegativeCutLengthHoldsTheCurrentBarEmptyAndTheBatchGoesOn) {
    for (const char* cut : {"0", "-30", "", "junk"}) {
        TProgressView view;
        view.Current = {0, 1, 0};
        view.Total = {0, 1, 0};
        view.CountLine = "Current: 1, Total: 2";
        int32_t chunks = 0;
        const TProgressInput in{0, 2, cut, kAudio, "size= 1kB time=12.0 bitrate= 1"};
        for (int i = 0; i < 4; ++i)
            RefreshProgress(view, chunks, in);
        EXPECT_EQ(view.Current.Min, 0) << cut;
        EXPECT_EQ(view.Current.Max, 0) << cut;
        EXPECT_EQ(view.Current.Position, 0) << cut;
        // The second chunk still used the range the window opened with; after that the batch bar and
        // the count line stand still for this file.
        EXPECT_EQ(view.Total.Max, 200) << cut;
        EXPECT_EQ(view.Total.Position, 0) << cut;
        EXPECT_EQ(view.CountLine, "Current: 1 , Total: 2.") << cut;
        EXPECT_EQ(chunks, 4);
    }
}

TEST(ProgressRefresh, BarHoldsPositionsInsideItsRange) {
    TBarState bar{0, 10, 5};
    bar.SetPosition(-3);
    EXPECT_EQ(bar.Position, 0);
    bar.SetPosition(int64_t(1) << 40);
    EXPECT_EQ(bar.Position, 10);
    bar.SetMax(4);
    EXPECT_EQ(bar.Position, 4);
    bar.SetMax(-7);
    EXPECT_EQ(bar.Max, 0);
    EXPECT_EQ(bar.Position, 0);
}
