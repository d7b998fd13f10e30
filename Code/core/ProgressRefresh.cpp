#include "ProgressRefresh.h"

#include "TextOps.h"

#include <cmath>

namespace {

int32_t Clamp32(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int32_t(value);
}

} // namespace

void TBarState::SetMin(int32_t min) {
    Min = min;
    if (Max < Min) Max = Min;
    SetPosition(Position);
}

void TBarState::SetMax(int32_t max) {
    Max = max < Min ? Min : max;
    SetPosition(Position);
}

void TBarState::SetPosition(int64_t position) {
    if (position < Min) position = Min;
    if (position > Max) position = Max;
    Position = int32_t(position);
}

bool IsAudioCodecArg(const std::string& codecArg) {
    return TrimControl(codecArg).compare(0, 7, "-acodec") == 0;
}

bool ParseEncodedSeconds(const std::string& chunk, bool audio, int32_t& seconds) {
    if (chunk.empty()) return false;
    const TStringList fields = SplitText(chunk, '=');
    const size_t index = audio ? 2 : 4;
    const size_t needed = audio ? 4 : 5;
    if (fields.size() < needed) return false;
    const TStringList pieces = SplitText(fields[index], '.');
    if (pieces.empty()) return false;
    // The encoder prints this value before it knows the time.
    if (pieces[0] == "10000000000") return false;
    double value;
    try {
        value = TextToNumber(pieces[0]);
    } catch (const EConvertError&) {
        return false;
    }
    if (std::isnan(value)) return false;
    value = std::trunc(value);
    seconds = value >= 2147483647.0 ? INT32_MAX : value <= -2147483648.0 ? INT32_MIN : int32_t(value);
    return true;
}

std::string CountLineText(int32_t currentRow, int32_t rowCount) {
    return "Current: " + std::to_string(int64_t(currentRow) + 1) + " , Total: " + std::to_string(rowCount) +
           ".";
}

void RefreshProgress(TProgressView& view, int32_t& outputChunkCount, const TProgressInput& input) {
    if (outputChunkCount < INT32_MAX) ++outputChunkCount;
    if (outputChunkCount <= 1) return;

    // The batch bar follows the current-file bar as the previous chunk left it. With an empty current
    // range there is nothing to follow, and the count line waits too.
    view.Total.SetMax(Clamp32(int64_t(input.RowCount) * 100));
    const int64_t p = view.Current.Position, m = view.Current.Max;
    if (m != 0) {
        view.Total.SetPosition(p * 100 / m + int64_t(input.CurrentRow) * 100);
        view.CountLine = CountLineText(input.CurrentRow, input.RowCount);
    }

    int32_t cutSeconds = 0;
    try {
        cutSeconds = StrToInt(input.CutSecondsText);
    } catch (const EConvertError&) {
        cutSeconds = 0; // no usable cut: an empty range, like a cut of 0 seconds
    }
    view.Current.SetMin(0);
    view.Current.SetMax(cutSeconds);

    int32_t seconds;
    if (ParseEncodedSeconds(input.Chunk, IsAudioCodecArg(input.CodecArg), seconds))
        view.Current.SetPosition(seconds);
}
