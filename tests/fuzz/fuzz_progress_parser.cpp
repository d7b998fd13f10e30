// The progress refresh: no encoder output makes it fail, and both bars stay inside their ranges.
#include "ProgressRefresh.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void CheckBar(const TBarState& bar) {
    if (bar.Max < bar.Min || bar.Position < bar.Min || bar.Position > bar.Max) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // The first bytes choose the output type, the row and the cut; the rest is the chunk.
    const bool audio = data[0] & 1;
    const int32_t rows = data[1] % 8;
    const int32_t row = rows ? data[1] / 8 % rows : 0;
    const std::string cut = std::to_string(int(data[2]) - 64);
    const std::string chunk(reinterpret_cast<const char*>(data + 3), size - 3);

    TProgressView view;
    view.Current = {0, 1, 0};
    view.Total = {0, 1, 0};
    int32_t chunks = 0;
    const TProgressInput input{row, rows, cut, audio ? " -acodec aac -vn" : " -vcodec rv20", chunk};
    for (int i = 0; i < 3; ++i) {
        RefreshProgress(view, chunks, input);
        CheckBar(view.Current);
        CheckBar(view.Total);
    }
    int32_t seconds;
    ParseEncodedSeconds(chunk, audio, seconds);
    return 0;
}
