#include "EvcMedia.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/error.h>
}

namespace evc {

std::string AvErrorText(int err) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {0};
    av_strerror(err, buf, sizeof buf);
    return buf;
}

void SetLibraryMessages(bool show) { av_log_set_level(show ? AV_LOG_WARNING : AV_LOG_QUIET); }

bool MediaInput::OpenFile(const std::string& path, std::string& error) {
    AVFormatContext* ctx = nullptr;
    AVDictionary* opts = nullptr;
    // Only plain files: a name like "pipe:0" or "http:x" is a file name here, never a protocol.
    av_dict_set(&opts, "protocol_whitelist", "file", 0);
    const std::string url = "file:" + path;
    const int ret = avformat_open_input(&ctx, url.c_str(), nullptr, &opts);
    if (ret < 0) {
        av_dict_free(&opts);
        error = AvErrorText(ret);
        return false;
    }
    return Finish(ctx, url.c_str(), &opts, error);
}

bool MediaInput::OpenIo(AVIOContext* io, const char* formats, std::string& error) {
    AVFormatContext* ctx = avformat_alloc_context();
    if (!ctx) {
        error = "out of memory";
        return false;
    }
    ctx->pb = io;
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    AVDictionary* opts = nullptr;
    av_dict_set(&opts, "protocol_whitelist", "file", 0);
    av_dict_set(&opts, "probesize", "65536", 0);
    av_dict_set(&opts, "analyzeduration", "1000000", 0);
    if (formats) av_dict_set(&opts, "format_whitelist", formats, 0);
    const int ret = avformat_open_input(&ctx, "", nullptr, &opts);
    if (ret < 0) {
        av_dict_free(&opts);
        error = AvErrorText(ret);
        return false;
    }
    return Finish(ctx, "", &opts, error);
}

bool MediaInput::Finish(AVFormatContext* ctx, const char*, AVDictionary** opts, std::string& error) {
    av_dict_free(opts);
    ctx_.reset(ctx);
    const int ret = avformat_find_stream_info(ctx, nullptr);
    if (ret < 0) {
        error = AvErrorText(ret);
        return false;
    }
    // A cover picture is not a video.
    int best = -1;
    int64_t bestPixels = -1;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream* st = ctx->streams[i];
        if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
        if (st->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
        if (!avcodec_find_decoder(st->codecpar->codec_id)) continue;
        const int64_t pixels = static_cast<int64_t>(st->codecpar->width) * st->codecpar->height;
        if (pixels > bestPixels) {
            best = static_cast<int>(i);
            bestPixels = pixels;
        }
    }
    video_ = best;
    audio_ = av_find_best_stream(ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio_ >= 0 && !avcodec_find_decoder(ctx->streams[audio_]->codecpar->codec_id)) audio_ = -1;
    if (audio_ < 0) audio_ = -1;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        if (static_cast<int>(i) != video_ && static_cast<int>(i) != audio_) ctx->streams[i]->discard = AVDISCARD_ALL;
    }
    return true;
}

double MediaInput::DurationSeconds() const {
    if (!ctx_ || ctx_->duration == AV_NOPTS_VALUE || ctx_->duration <= 0) return -1;
    return static_cast<double>(ctx_->duration) / AV_TIME_BASE;
}

int64_t MediaInput::StartTime() const {
    if (!ctx_ || ctx_->start_time == AV_NOPTS_VALUE) return 0;
    return ctx_->start_time;
}

CodecPtr OpenDecoder(const AVStream* stream, const DecoderSettings& settings, std::string& error) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        error = std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id);
        return nullptr;
    }
    CodecPtr dec(avcodec_alloc_context3(codec));
    if (!dec) {
        error = "out of memory";
        return nullptr;
    }
    int ret = avcodec_parameters_to_context(dec.get(), stream->codecpar);
    if (ret < 0) {
        error = AvErrorText(ret);
        return nullptr;
    }
    dec->pkt_timebase = stream->time_base;
    dec->thread_count = settings.threads;
    dec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    // Bidirectional frames are never used as references by most encoders, so skipping their loop filter
    // leaves no trail in the frames after them.
    if (settings.skipLoopFilter) dec->skip_loop_filter = AVDISCARD_BIDIR;
    if (settings.lowres > 0 && codec->max_lowres > 0) {
        dec->lowres = settings.lowres < codec->max_lowres ? settings.lowres : codec->max_lowres;
    }
    if (settings.maxPixels > 0) dec->max_pixels = settings.maxPixels;
    ret = avcodec_open2(dec.get(), codec, nullptr);
    if (ret < 0) {
        error = AvErrorText(ret);
        return nullptr;
    }
    return dec;
}

int64_t DecodeAll(MediaInput& input, int maxPackets, int maxPixels) {
    AVFormatContext* ctx = input.Context();
    if (!ctx) return 0;
    DecoderSettings settings;
    settings.threads = 1;
    settings.maxPixels = maxPixels;
    CodecPtr decoders[2];
    const int indices[2] = {input.VideoIndex(), input.AudioIndex()};
    for (int k = 0; k < 2; ++k) {
        std::string error;
        if (indices[k] >= 0) decoders[k] = OpenDecoder(ctx->streams[indices[k]], settings, error);
    }
    PacketPtr pkt(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!pkt || !frame) return 0;
    int64_t frames = 0;
    auto drain = [&](AVCodecContext* dec) {
        while (avcodec_receive_frame(dec, frame.get()) >= 0) {
            ++frames;
            av_frame_unref(frame.get());
        }
    };
    for (int n = 0; n < maxPackets; ++n) {
        if (av_read_frame(ctx, pkt.get()) < 0) break;
        for (int k = 0; k < 2; ++k) {
            if (decoders[k] && pkt->stream_index == indices[k]) {
                // A packet the decoder refuses is damaged data: skip it and go on.
                avcodec_send_packet(decoders[k].get(), pkt.get());
                drain(decoders[k].get());
            }
        }
        av_packet_unref(pkt.get());
    }
    for (auto& dec : decoders) {
        if (!dec) continue;
        avcodec_send_packet(dec.get(), nullptr);
        drain(dec.get());
    }
    return frames;
}

} // namespace evc
