// Owning handles for the libraries' objects, opening an input, and opening decoders.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

#include <cstdint>
#include <memory>
#include <string>

namespace evc {

struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct CodecFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct GraphFree {
    void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
struct InputFree {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFree>;
using GraphPtr = std::unique_ptr<AVFilterGraph, GraphFree>;
using InputPtr = std::unique_ptr<AVFormatContext, InputFree>;

std::string AvErrorText(int err);

// Library messages: silent unless asked for (they would mix into the progress text).
void SetLibraryMessages(bool show);

// An open input with the streams that a conversion would use.
class MediaInput {
  public:
    // A file path, read through the file protocol only: no other protocol, no standard input.
    bool OpenFile(const std::string& path, std::string& error);
    // Bytes from a caller's I/O context (not owned; it must outlive this object), probed only as one of the
    // comma-separated `formats` when given.
    bool OpenIo(AVIOContext* io, const char* formats, std::string& error);

    AVFormatContext* Context() const { return ctx_.get(); }
    int VideoIndex() const { return video_; }
    int AudioIndex() const { return audio_; }
    // Seconds; negative when the container does not tell.
    double DurationSeconds() const;
    // The container's first timestamp in microseconds (0 when unknown).
    int64_t StartTime() const;

  private:
    bool Finish(AVFormatContext* ctx, const char* url, AVDictionary** opts, std::string& error);
    InputPtr ctx_;
    int video_ = -1;
    int audio_ = -1;
};

struct DecoderSettings {
    int threads = 0;          // 0: as many as suit the machine
    bool skipLoopFilter = false;
    int lowres = 0;           // 1 halves, 2 quarters the decoded size where the decoder offers it
    int maxPixels = 0;        // refuse larger pictures (0: no limit)
};

// An open decoder for the stream, or null with `error` set.
CodecPtr OpenDecoder(const AVStream* stream, const DecoderSettings& settings, std::string& error);

// Demuxes and decodes the input's chosen streams, at most `maxPackets` packets, and returns the number of
// frames decoded. Damaged data is skipped, never fatal. For checking the read path on hostile bytes.
int64_t DecodeAll(MediaInput& input, int maxPackets, int maxPixels);

} // namespace evc
