// Turning the encoder's console output into the progress of the current file and of the batch.
#pragma once

#include <cstdint>
#include <string>

// A progress bar's range and position. A position outside the range is held at the nearer end, and a
// maximum below the minimum (a negative cut length) is held at the minimum.
struct TBarState {
    int32_t Min = 0;
    int32_t Max = 100;
    int32_t Position = 0;

    void SetMin(int32_t min);
    void SetMax(int32_t max);
    void SetPosition(int64_t position);
};

// What the progress window shows: the current-file bar, the batch bar and the count line.
struct TProgressView {
    TBarState Current;
    TBarState Total;
    std::string CountLine;
};

// What one refresh reads besides the view.
struct TProgressInput {
    int32_t CurrentRow = 0;
    int32_t RowCount = 0;
    std::string CutSecondsText; // the cut length in whole seconds, as decimal text
    std::string CodecArg;       // decides which "=" field holds the time
    std::string Chunk;          // the chunk of output just received
};

// True for the audio form: the codec fragment, trimmed, begins with "-acodec".
bool IsAudioCodecArg(const std::string& codecArg);

// The encoded seconds in a chunk: the field after the fourth "=" (video) or the second (audio), up to its
// first "."; false when the chunk holds no usable time. Never throws, whatever the chunk holds.
bool ParseEncodedSeconds(const std::string& chunk, bool audio, int32_t& seconds);

// One refresh for one chunk: counts the chunk, moves the batch bar after the current-file bar as the
// previous refresh left it, sets the current-file range to the cut length and its position to the time
// found in the chunk. The first chunk of a file moves nothing.
void RefreshProgress(TProgressView& view, int32_t& outputChunkCount, const TProgressInput& input);

// "Current: <row + 1> , Total: <rows>."
std::string CountLineText(int32_t currentRow, int32_t rowCount);
