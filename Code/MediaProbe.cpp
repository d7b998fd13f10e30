#include "MediaProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/time.h>
}

#include <sys/stat.h>

#include <algorithm>

TMediaProbe::TMediaProbe() {
    // A damaged file is reported through the list's own warning; the library's chatter is not wanted.
    av_log_set_level(AV_LOG_QUIET);
}

int TMediaProbe::Interrupt(void* probe) {
    return av_gettime_relative() > static_cast<TMediaProbe*>(probe)->Deadline ? 1 : 0;
}

int64_t TMediaProbe::DurationMs(const std::string& path) {
    // Only regular files: opening a pipe or a device could block for ever.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;

    AVFormatContext* format = avformat_alloc_context();
    if (!format) return -1;
    Deadline = av_gettime_relative() + TimeLimitMs * 1000;
    format->interrupt_callback.callback = &TMediaProbe::Interrupt;
    format->interrupt_callback.opaque = this;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return -1; // frees the context

    int64_t result = -1;
    if (avformat_find_stream_info(format, nullptr) >= 0) {
        bool decodable = false;
        int64_t longestStream = 0;
        for (unsigned i = 0; i < format->nb_streams; ++i) {
            const AVStream* stream = format->streams[i];
            const AVCodecParameters* codec = stream->codecpar;
            if (codec->codec_type != AVMEDIA_TYPE_VIDEO && codec->codec_type != AVMEDIA_TYPE_AUDIO) continue;
            if (!avcodec_find_decoder(codec->codec_id)) continue;
            decodable = true;
            if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
                longestStream = std::max(
                    longestStream, av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000}));
        }
        if (decodable) {
            if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
                result = av_rescale(format->duration, 1000, AV_TIME_BASE);
            else
                result = longestStream;
        }
    }
    avformat_close_input(&format);
    return result;
}
