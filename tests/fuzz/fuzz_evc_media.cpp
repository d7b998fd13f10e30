// Damaged media through evc's read path: container probing, demuxing and decoding of the chosen streams,
// fed from memory through an I/O context of our own.
#include "EvcMedia.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/mem.h>
}

#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct Bytes {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int ReadBytes(void* opaque, uint8_t* buf, int want) {
    auto* b = static_cast<Bytes*>(opaque);
    const size_t left = b->size - b->pos;
    if (left == 0) return AVERROR_EOF;
    const size_t n = left < static_cast<size_t>(want) ? left : static_cast<size_t>(want);
    std::memcpy(buf, b->data + b->pos, n);
    b->pos += n;
    return static_cast<int>(n);
}

int64_t SeekBytes(void* opaque, int64_t offset, int whence) {
    auto* b = static_cast<Bytes*>(opaque);
    if (whence & AVSEEK_SIZE) return static_cast<int64_t>(b->size);
    int64_t to = offset;
    if ((whence & ~AVSEEK_FORCE) == SEEK_CUR) to += static_cast<int64_t>(b->pos);
    if ((whence & ~AVSEEK_FORCE) == SEEK_END) to += static_cast<int64_t>(b->size);
    if (to < 0 || to > static_cast<int64_t>(b->size)) return AVERROR(EINVAL);
    b->pos = static_cast<size_t>(to);
    return to;
}

// The containers people feed a converter; the rarer ones of the libraries are not ours to check.
const char* kFormats = "mov,mp4,m4a,3gp,3g2,mj2,mpeg,mpegts,mpegvideo,asf,flv,avi,matroska,webm,mp3,wav,"
                       "aac,ogg,rm,m4v,h264,h263,mjpeg";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool once = [] {
        evc::SetLibraryMessages(false);
        av_max_alloc(256 << 20);
        return true;
    }();
    (void)once;
    Bytes bytes{data, size, 0};
    const int bufferSize = 4096;
    auto* buffer = static_cast<unsigned char*>(av_malloc(bufferSize));
    AVIOContext* io = avio_alloc_context(buffer, bufferSize, 0, &bytes, ReadBytes, nullptr, SeekBytes);
    if (!io) {
        av_free(buffer);
        return 0;
    }
    {
        evc::MediaInput input;
        std::string error;
        if (input.OpenIo(io, kFormats, error)) evc::DecodeAll(input, 400, 1 << 20);
    }
    av_freep(&io->buffer);
    avio_context_free(&io);
    return 0;
}
