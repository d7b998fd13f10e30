#include "EvcTranscode.h"

#include "EvcChoice.h"
#include "EvcMedia.h"
#include "EvcQueue.h"
#include "EvcReport.h"
#include "EvcStop.h"
#include "EvcVersion.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
}

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace evc {

namespace {

using Clock = std::chrono::steady_clock;

// Standard output is a pipe to the application: every piece goes out whole and at once.
std::mutex g_printMutex;
bool g_afterProgress = false; // the last text was a progress line, ended by "\r" only

void Print(const std::string& text) {
    std::lock_guard lock(g_printMutex);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    g_afterProgress = !text.empty() && text.back() == '\r';
}

void PrintError(const std::string& message) {
    std::lock_guard lock(g_printMutex);
    if (g_afterProgress) std::fputs("\n", stdout);
    std::fflush(stdout);
    std::fprintf(stderr, "evc: error: %s\n", message.c_str());
    std::fflush(stderr);
}

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string Rate(AVRational r) {
    if (r.num <= 0 || r.den <= 0) return "? fps";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.5g fps", av_q2d(r));
    return buf;
}

// Shared state of one run: the first failure wins and stops every thread.
struct Shared {
    std::mutex mutex;
    int code = 0;
    std::string message;
    std::atomic<bool> aborted{false};
    BoundedQueue<PacketPtr> mux{256};
    std::atomic<int> producers{0};
    std::vector<std::string> notices;
    std::vector<std::function<void()>> aborters;

    void Fail(int exitCode, const std::string& text) {
        {
            std::lock_guard lock(mutex);
            if (code != 0) return;
            code = exitCode;
            message = text;
        }
        aborted = true;
        mux.Abort();
        for (auto& f : aborters) f();
    }
    void Notice(const std::string& text) {
        std::lock_guard lock(mutex);
        notices.push_back(text);
    }
};

// Short queues: a decoded 720p picture is over a megabyte, and the decoder keeps its own frames in flight.
struct StreamWork {
    explicit StreamWork(bool v) : video(v), packets(v ? 16 : 64), decoded(v ? 1 : 32), filtered(v ? 4 : 32) {}

    bool video;
    AVStream* in = nullptr;
    CodecPtr dec;
    CodecPtr enc;
    AVStream* out = nullptr;
    BoundedQueue<PacketPtr> packets;
    BoundedQueue<FramePtr> decoded;
    BoundedQueue<FramePtr> filtered;

    int64_t startPts = 0;            // the cut's start, stream time base
    int64_t cutEnd = INT64_MAX;      // the cut's length, stream time base
    int64_t maxOutput = INT64_MAX;   // frames (video) or samples (audio) the encoder may take
    std::string filterTail;          // the filters after the source
    AVRational encRate{25, 1};       // video frame rate

    // Written by the decode thread, read by the filter thread after the queue has closed.
    int64_t lastEnd = 0;             // end of the last frame passed on (video: stream base; audio: samples)
    int64_t nextPts = AV_NOPTS_VALUE;
    std::atomic<int64_t> framesDecoded{0};
    std::atomic<int64_t> decodeErrors{0};
    std::atomic<int64_t> mismatched{0};
    std::atomic<bool> encodeDone{false};
};

// ---- decoding ----------------------------------------------------------------------------------

// Drops the first `skip` samples of an audio frame.
FramePtr DropLeadingSamples(const AVFrame* in, int skip) {
    FramePtr out(av_frame_alloc());
    if (!out) return nullptr;
    out->format = in->format;
    out->sample_rate = in->sample_rate;
    if (av_channel_layout_copy(&out->ch_layout, &in->ch_layout) < 0) return nullptr;
    out->nb_samples = in->nb_samples - skip;
    if (av_frame_get_buffer(out.get(), 0) < 0) return nullptr;
    av_samples_copy(out->extended_data, in->extended_data, 0, skip, out->nb_samples, in->ch_layout.nb_channels,
                    static_cast<AVSampleFormat>(in->format));
    return out;
}

// Applies the cut to one decoded frame; false when the cut's end has been reached.
bool PassFrame(StreamWork& s, AVFrame* frame) {
    const AVRational tb = s.in->time_base;
    int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) ts = s.nextPts != AV_NOPTS_VALUE ? s.nextPts : s.startPts;
    FramePtr keep;
    if (s.video) {
        int64_t dur = frame->pkt_duration;
        if (dur <= 0) {
            AVRational fr = s.in->avg_frame_rate.num > 0 ? s.in->avg_frame_rate : s.in->r_frame_rate;
            if (fr.num <= 0 || fr.den <= 0) fr = AVRational{25, 1};
            dur = av_rescale_q(1, av_inv_q(fr), tb);
            if (dur <= 0) dur = 1;
        }
        s.nextPts = ts + dur;
        const int64_t rel = ts - s.startPts;
        if (rel < 0) return true; // before the start of the cut
        if (rel >= s.cutEnd) return false;
        if (rel + dur > s.lastEnd) s.lastEnd = std::min(rel + dur, s.cutEnd);
        frame->pts = rel;
        keep.reset(av_frame_alloc());
        if (!keep) return false;
        av_frame_move_ref(keep.get(), frame);
    } else {
        const int rate = frame->sample_rate > 0 ? frame->sample_rate : 44100;
        const AVRational sampleTb{1, rate};
        const int64_t n = frame->nb_samples;
        if (n <= 0) return true;
        s.nextPts = ts + av_rescale_q(n, sampleTb, tb);
        const int64_t relS = av_rescale_q(ts - s.startPts, tb, sampleTb);
        int64_t endS = INT64_MAX;
        // A little more than the cut: the encoder takes whole frames up to the nearest frame boundary.
        if (s.cutEnd != INT64_MAX) endS = av_rescale_q(s.cutEnd, tb, sampleTb) + rate / 10;
        if (relS + n <= 0) return true;
        if (relS >= endS) return false;
        if (relS < 0) {
            keep = DropLeadingSamples(frame, static_cast<int>(-relS));
            av_frame_unref(frame);
            if (!keep) return false;
            keep->pts = 0;
        } else {
            keep.reset(av_frame_alloc());
            if (!keep) return false;
            av_frame_move_ref(keep.get(), frame);
            keep->pts = relS;
        }
        if (keep->pts + keep->nb_samples > endS) keep->nb_samples = static_cast<int>(endS - keep->pts);
        keep->time_base = sampleTb;
        s.lastEnd = keep->pts + keep->nb_samples;
    }
    s.framesDecoded++;
    return s.decoded.Push(std::move(keep));
}

void DecodeLoop(StreamWork& s, Shared& sh) {
    FramePtr frame(av_frame_alloc());
    AVCodecContext* dec = s.dec.get();
    bool done = !frame;
    // Receives every frame the decoder has ready; false when the cut is complete or the decoder is drained.
    auto receive = [&]() {
        while (true) {
            const int ret = avcodec_receive_frame(dec, frame.get());
            if (ret == AVERROR(EAGAIN)) return true;
            if (ret == AVERROR_EOF) return false;
            if (ret < 0) {
                s.decodeErrors++;
                return true;
            }
            if (!PassFrame(s, frame.get())) return false;
        }
    };
    while (!done && !sh.aborted) {
        std::optional<PacketPtr> item = s.packets.Pop();
        if (sh.aborted) break;
        AVPacket* pkt = item ? item->get() : nullptr;
        while (true) {
            const int ret = avcodec_send_packet(dec, pkt);
            if (ret == AVERROR(EAGAIN)) {
                if (!receive()) {
                    done = true;
                    break;
                }
                continue;
            }
            if (ret < 0 && ret != AVERROR_EOF) s.decodeErrors++;
            if (!receive()) done = true;
            break;
        }
        if (!item) break; // the decoder has been drained
    }
    s.packets.Refuse();
    s.decoded.Close();
}

// ---- filtering -----------------------------------------------------------------------------------

std::string LayoutText(const AVChannelLayout& layout) {
    AVChannelLayout use{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC || layout.nb_channels <= 0) {
        av_channel_layout_default(&use, layout.nb_channels > 0 ? layout.nb_channels : 2);
    } else {
        av_channel_layout_copy(&use, &layout);
    }
    char buf[128] = {0};
    av_channel_layout_describe(&use, buf, sizeof buf);
    av_channel_layout_uninit(&use);
    return buf;
}

struct Graph {
    GraphPtr graph;
    AVFilterContext* src = nullptr;
    AVFilterContext* sink = nullptr;
    int rate = 0; // audio: the sample rate the source was built for
};

bool BuildGraph(const StreamWork& s, const AVFrame* first, Graph& g, std::string& error) {
    g.graph.reset(avfilter_graph_alloc());
    if (!g.graph) {
        error = "out of memory";
        return false;
    }
    // One thread per graph: each stream's filters already run on a thread of their own.
    g.graph->nb_threads = 1;
    char args[512];
    int ret = 0;
    if (s.video) {
        AVRational sar = first->sample_aspect_ratio;
        if (sar.num <= 0 || sar.den <= 0) sar = AVRational{1, 1};
        std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                      first->width, first->height, first->format, s.in->time_base.num, s.in->time_base.den,
                      sar.num, sar.den);
        ret = avfilter_graph_create_filter(&g.src, avfilter_get_by_name("buffer"), "in", args, nullptr,
                                           g.graph.get());
        if (ret >= 0)
            ret = avfilter_graph_create_filter(&g.sink, avfilter_get_by_name("buffersink"), "out", nullptr,
                                               nullptr, g.graph.get());
    } else {
        g.rate = first->sample_rate;
        std::snprintf(args, sizeof args, "time_base=1/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s",
                      first->sample_rate, first->sample_rate,
                      av_get_sample_fmt_name(static_cast<AVSampleFormat>(first->format)),
                      LayoutText(first->ch_layout).c_str());
        ret = avfilter_graph_create_filter(&g.src, avfilter_get_by_name("abuffer"), "in", args, nullptr,
                                           g.graph.get());
        if (ret >= 0)
            ret = avfilter_graph_create_filter(&g.sink, avfilter_get_by_name("abuffersink"), "out", nullptr,
                                               nullptr, g.graph.get());
    }
    if (ret < 0) {
        error = "cannot set up the filters: " + AvErrorText(ret);
        return false;
    }
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    if (!outputs || !inputs) {
        avfilter_inout_free(&outputs);
        avfilter_inout_free(&inputs);
        error = "out of memory";
        return false;
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = g.src;
    outputs->pad_idx = 0;
    outputs->next = nullptr;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = g.sink;
    inputs->pad_idx = 0;
    inputs->next = nullptr;
    ret = avfilter_graph_parse_ptr(g.graph.get(), s.filterTail.c_str(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&outputs);
    avfilter_inout_free(&inputs);
    if (ret >= 0) ret = avfilter_graph_config(g.graph.get(), nullptr);
    if (ret < 0) {
        error = "cannot set up the filters \"" + s.filterTail + "\": " + AvErrorText(ret);
        return false;
    }
    if (!s.video && s.enc->frame_size > 0) av_buffersink_set_frame_size(g.sink, s.enc->frame_size);
    return true;
}

void FilterLoop(StreamWork& s, Shared& sh) {
    Graph g;
    FramePtr out(av_frame_alloc());
    bool stop = !out;
    // Passes every frame the graph has ready to the encoder; false when the encoder wants no more.
    auto drain = [&]() {
        while (true) {
            const int ret = av_buffersink_get_frame(g.sink, out.get());
            if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return true;
            if (ret < 0) {
                sh.Fail(kExitEncode, std::string("filtering failed: ") + AvErrorText(ret));
                return false;
            }
            if (s.video) {
                out->pts = av_rescale_q(out->pts, av_buffersink_get_time_base(g.sink), s.enc->time_base);
            }
            FramePtr f(av_frame_alloc());
            if (!f) return false;
            av_frame_move_ref(f.get(), out.get());
            if (!s.filtered.Push(std::move(f))) return false;
        }
    };
    while (!stop && !sh.aborted) {
        std::optional<FramePtr> item = s.decoded.Pop();
        if (!item) break;
        AVFrame* f = item->get();
        if (!g.graph) {
            std::string error;
            if (!BuildGraph(s, f, g, error)) {
                sh.Fail(kExitEncode, error);
                break;
            }
        }
        if (!s.video && f->sample_rate != g.rate) {
            // The source changed its sample rate midway; those frames cannot join the rest.
            s.mismatched++;
            continue;
        }
        const int ret = av_buffersrc_add_frame_flags(g.src, f, 0);
        if (ret < 0) {
            s.mismatched++;
            continue;
        }
        if (!drain()) stop = true;
    }
    if (!sh.aborted && !stop && g.graph) {
        av_buffersrc_close(g.src, s.lastEnd, 0);
        drain();
    }
    s.decoded.Refuse();
    s.filtered.Close();
}

// ---- encoding --------------------------------------------------------------------------------

bool SendToMuxer(StreamWork& s, Shared& sh, AVPacket* pkt) {
    while (true) {
        const int ret = avcodec_receive_packet(s.enc.get(), pkt);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return true;
        if (ret < 0) {
            sh.Fail(kExitEncode, std::string("encoding failed: ") + AvErrorText(ret));
            return false;
        }
        pkt->stream_index = s.out->index;
        if (s.video && pkt->duration <= 0) pkt->duration = 1;
        av_packet_rescale_ts(pkt, s.enc->time_base, s.out->time_base);
        PacketPtr p(av_packet_alloc());
        if (!p) return false;
        av_packet_move_ref(p.get(), pkt);
        if (!sh.mux.Push(std::move(p))) return false;
    }
}

void EncodeLoop(StreamWork& s, Shared& sh) {
    PacketPtr pkt(av_packet_alloc());
    AVCodecContext* enc = s.enc.get();
    int64_t produced = 0;
    bool ok = pkt != nullptr;
    while (ok && !sh.aborted) {
        std::optional<FramePtr> item = s.filtered.Pop();
        if (!item) break;
        AVFrame* f = item->get();
        if (s.video) {
            if (f->pts >= s.maxOutput) break;
            f->pict_type = AV_PICTURE_TYPE_NONE;
            produced = f->pts + 1;
        } else {
            if (produced >= s.maxOutput) break;
            if (produced + f->nb_samples > s.maxOutput) f->nb_samples = static_cast<int>(s.maxOutput - produced);
            f->pts = produced;
            produced += f->nb_samples;
        }
        const int ret = avcodec_send_frame(enc, f);
        if (ret < 0) {
            sh.Fail(kExitEncode, std::string("encoding failed: ") + AvErrorText(ret));
            ok = false;
            break;
        }
        ok = SendToMuxer(s, sh, pkt.get());
    }
    s.filtered.Refuse();
    if (ok && !sh.aborted) {
        avcodec_send_frame(enc, nullptr);
        SendToMuxer(s, sh, pkt.get());
    }
    s.encodeDone = true;
    if (--sh.producers == 0) sh.mux.Close();
}

// ---- reading -----------------------------------------------------------------------------------

void ReadLoop(AVFormatContext* ic, Shared& sh, std::vector<StreamWork*> streams) {
    PacketPtr pkt(av_packet_alloc());
    while (pkt && !sh.aborted) {
        const int ret = av_read_frame(ic, pkt.get());
        if (ret == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (ret < 0) {
            if (ret != AVERROR_EOF) sh.Notice("the input ends early (" + AvErrorText(ret) + "); what could be read is converted");
            break;
        }
        StreamWork* target = nullptr;
        for (StreamWork* s : streams) {
            if (s->in->index == pkt->stream_index) target = s;
        }
        if (target && !target->packets.Refused()) {
            PacketPtr p(av_packet_alloc());
            if (!p) break;
            av_packet_move_ref(p.get(), pkt.get());
            target->packets.Push(std::move(p));
        } else {
            av_packet_unref(pkt.get());
        }
        bool anyWanted = false;
        for (StreamWork* s : streams) anyWanted = anyWanted || !s->packets.Refused();
        if (!anyWanted) break;
    }
    for (StreamWork* s : streams) s->packets.Close();
}

// ---- set-up ------------------------------------------------------------------------------------

struct Failure {
    int code;
    std::string message;
};

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string VolumeFilters(double percent) {
    if (std::fabs(percent - 100.0) < 1e-9) return "";
    if (percent <= 0) return ",volume=0";
    const std::string gain = Fixed(percent / 100.0, 4);
    if (percent < 100) return ",volume=" + gain + ":precision=float";
    // Louder: a look-ahead limiter keeps the peaks just under full scale so nothing clips.
    return ",volume=" + gain + ":precision=float,alimiter=limit=0.966:level=0:latency=1:attack=5:release=50";
}

const AVChannelLayout* LayoutFor(const AVCodec* codec, int channels, AVChannelLayout& fallback) {
    if (codec->ch_layouts) {
        for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l) {
            if (l->nb_channels == channels) return l;
        }
    }
    av_channel_layout_default(&fallback, channels);
    return &fallback;
}

AVSampleFormat SampleFormatFor(const AVCodec* codec) {
    if (!codec->sample_fmts) return AV_SAMPLE_FMT_FLTP;
    for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == AV_SAMPLE_FMT_FLTP) return *f;
    }
    return codec->sample_fmts[0];
}

} // namespace

int Transcode(const Options& o) {
    const auto started = Clock::now();
    const bool mp3 = o.kind == OutputKind::Mp3;
    std::vector<std::string> notices;

    // The output folder first: a wrong folder should not cost a decode.
    const std::string folder = FolderOf(o.output);
    if (!IsDirectory(folder)) {
        PrintError("the output folder \"" + folder + "\" does not exist");
        return kExitOutput;
    }
    if (IsDirectory(o.output)) {
        PrintError("the output \"" + o.output + "\" is a folder");
        return kExitOutput;
    }
    if (!o.overwrite && access(o.output.c_str(), F_OK) == 0) {
        PrintError("the output \"" + o.output + "\" exists (use -y to overwrite it)");
        return kExitOutput;
    }

    // The input.
    if (IsDirectory(o.input)) {
        PrintError("cannot read the input \"" + o.input + "\": it is a folder");
        return kExitInput;
    }
    MediaInput input;
    std::string error;
    if (!input.OpenFile(o.input, error)) {
        PrintError("cannot read the input \"" + o.input + "\": " + error);
        return kExitInput;
    }
    AVFormatContext* ic = input.Context();
    const bool haveVideo = !mp3 && !o.noVideo && input.VideoIndex() >= 0;
    const bool haveAudio = input.AudioIndex() >= 0;
    if (mp3 && !haveAudio) {
        PrintError("the input \"" + o.input + "\" has no audio stream, and an MP3 file needs one");
        return kExitInput;
    }
    if (!haveVideo && !haveAudio) {
        PrintError("the input \"" + o.input + "\" has no " + std::string(o.noVideo ? "audio" : "video or audio") +
                   " stream to convert");
        return kExitInput;
    }
    // A stream the output does not need is not even read.
    if (!haveVideo && input.VideoIndex() >= 0) ic->streams[input.VideoIndex()]->discard = AVDISCARD_ALL;
    const double inputSeconds = input.DurationSeconds();
    if (inputSeconds > 0 && o.startSeconds >= inputSeconds - 0.001) {
        PrintError("the start " + Fixed(o.startSeconds, 3) + " s is at or past the end of the input (" +
                   Fixed(inputSeconds, 3) + " s long)");
        return kExitInput;
    }

    // What the codecs can take.
    if (mp3) {
        if (!o.audioCodecText.empty() && o.audioCodecText != "mp3" && o.audioCodecText != "libmp3lame")
            notices.push_back("an MP3 file holds MP3 audio: writing mp3, not " + o.audioCodecText);
    } else {
        if (haveVideo && !o.videoCodecText.empty() && o.videoCodecText != "rv20")
            notices.push_back("a RealMedia file gets RealVideo 2: writing rv20, not " + o.videoCodecText);
        if (haveAudio && !o.audioCodecText.empty() && o.audioCodecText != "ac3")
            notices.push_back("a RealMedia file gets AC-3 audio: writing ac3, not " + o.audioCodecText);
    }
    const Choice rate = ChooseSampleRate(mp3, o.sampleRate);
    const Choice kbits = ChooseAudioKbits(mp3, o.audioKbits, rate.value);
    const Choice channels = ChooseChannels(mp3, o.channels);
    const SizeChoice size = ChooseVideoSize(o.width, o.height);
    const RateChoice fps = ChooseFrameRate(o.frameRateText);
    for (const std::string* n : {&rate.notice, &kbits.notice, &channels.notice}) {
        if (haveAudio && !n->empty()) notices.push_back(*n);
    }
    if (haveVideo && !size.notice.empty()) notices.push_back(size.notice);
    if (haveVideo && !fps.notice.empty()) notices.push_back(fps.notice);
    const PictureBox box = FitAspect(size.width, size.height, o.aspectNum, o.aspectDen);
    if (haveVideo && (box.width != size.width || box.height != size.height)) {
        notices.push_back("RealMedia keeps no aspect ratio, so the picture is shown at " +
                          std::to_string(o.aspectNum) + ":" + std::to_string(o.aspectDen) + " inside " +
                          std::to_string(size.width) + "x" + std::to_string(size.height) + " with black bars");
    }

    // Output container and encoders.
    AVFormatContext* ocRaw = nullptr;
    if (avformat_alloc_output_context2(&ocRaw, nullptr, mp3 ? "mp3" : "rm", nullptr) < 0 || !ocRaw) {
        PrintError("the libraries offer no " + std::string(mp3 ? "MP3" : "RealMedia") + " writer");
        return kExitEncode;
    }
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> oc(ocRaw, [](AVFormatContext* c) {
        if (c->pb) avio_closep(&c->pb);
        avformat_free_context(c);
    });

    Shared sh;
    std::unique_ptr<StreamWork> video, audio;
    const int64_t startUs = input.StartTime() + static_cast<int64_t>(std::llround(o.startSeconds * AV_TIME_BASE));
    const int64_t lengthUs =
        o.lengthSeconds ? static_cast<int64_t>(std::llround(*o.lengthSeconds * AV_TIME_BASE)) : INT64_MAX;
    std::string videoLine, audioLine;

    if (haveVideo) {
        video = std::make_unique<StreamWork>(true);
        video->in = ic->streams[input.VideoIndex()];
        const AVCodecParameters* par = video->in->codecpar;
        DecoderSettings ds;
        // A much smaller picture does not need the decoder's finest work.
        const double shrink = static_cast<double>(par->width) * par->height /
                              std::max(1.0, static_cast<double>(box.width) * box.height);
        ds.skipLoopFilter = shrink >= 4.0;
        const AVCodec* vdec = avcodec_find_decoder(par->codec_id);
        if (vdec && vdec->max_lowres > 0) {
            int k = 0;
            while (k < vdec->max_lowres && (par->width >> (k + 1)) >= 2 * box.width &&
                   (par->height >> (k + 1)) >= 2 * box.height)
                ++k;
            ds.lowres = k;
        }
        video->dec = OpenDecoder(video->in, ds, error);
        if (!video->dec) {
            PrintError("cannot decode the input's video (" + std::string(avcodec_get_name(par->codec_id)) +
                       "): " + error);
            return kExitInput;
        }
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_RV20);
        if (!codec) {
            PrintError("the libraries offer no RealVideo 2 encoder");
            return kExitEncode;
        }
        video->enc.reset(avcodec_alloc_context3(codec));
        AVCodecContext* enc = video->enc.get();
        enc->width = size.width;
        enc->height = size.height;
        enc->pix_fmt = AV_PIX_FMT_YUV420P;
        video->encRate = AVRational{fps.num, fps.den};
        enc->framerate = video->encRate;
        enc->time_base = av_inv_q(video->encRate);
        enc->bit_rate = static_cast<int64_t>(o.videoKbits) * 1000;
        enc->sample_aspect_ratio = AVRational{1, 1};
        if (oc->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int ret = avcodec_open2(enc, codec, nullptr);
        if (ret < 0) {
            PrintError("cannot start the RealVideo 2 encoder: " + AvErrorText(ret));
            return kExitEncode;
        }
        video->out = avformat_new_stream(oc.get(), nullptr);
        avcodec_parameters_from_context(video->out->codecpar, enc);
        video->out->time_base = enc->time_base;
        video->out->avg_frame_rate = video->encRate;
        video->out->sample_aspect_ratio = enc->sample_aspect_ratio;
        std::string scale = "scale=" + std::to_string(box.width) + ":" + std::to_string(box.height) +
                            ":flags=bicubic,format=yuv420p";
        if (box.width != size.width || box.height != size.height) {
            scale += ",pad=" + std::to_string(size.width) + ":" + std::to_string(size.height) + ":" +
                     std::to_string(box.x) + ":" + std::to_string(box.y) + ":black";
        }
        // The frame rate first, so that dropped frames are never scaled.
        video->filterTail = "fps=fps=" + std::to_string(fps.num) + "/" + std::to_string(fps.den) +
                            ":start_time=0:round=near," + scale + ",setsar=1";
        if (lengthUs != INT64_MAX) video->maxOutput = av_rescale_q(lengthUs, AV_TIME_BASE_Q, av_inv_q(video->encRate));
        const char* pixName = av_get_pix_fmt_name(static_cast<AVPixelFormat>(par->format));
        videoLine = "  video: " + std::string(avcodec_get_name(par->codec_id)) + " " + std::to_string(par->width) +
                    "x" + std::to_string(par->height) + " " + (pixName ? pixName : "") + " " +
                    Rate(video->in->avg_frame_rate) + " -> rv20 " + std::to_string(size.width) + "x" +
                    std::to_string(size.height) + " " + Rate(video->encRate) + " " + std::to_string(o.videoKbits) +
                    " kbit/s, display " + std::to_string(o.aspectNum) + ":" + std::to_string(o.aspectDen);
        if (ds.skipLoopFilter || video->dec->lowres > 0) {
            videoLine += " (fast decoding";
            if (video->dec->lowres > 0) videoLine += " at 1/" + std::to_string(1 << video->dec->lowres) + " size";
            videoLine += ")";
        }
    }

    if (haveAudio) {
        audio = std::make_unique<StreamWork>(false);
        audio->in = ic->streams[input.AudioIndex()];
        const AVCodecParameters* par = audio->in->codecpar;
        DecoderSettings ds;
        audio->dec = OpenDecoder(audio->in, ds, error);
        if (!audio->dec) {
            PrintError("cannot decode the input's audio (" + std::string(avcodec_get_name(par->codec_id)) +
                       "): " + error);
            return kExitInput;
        }
        const AVCodec* codec = mp3 ? avcodec_find_encoder_by_name("libmp3lame") : avcodec_find_encoder(AV_CODEC_ID_AC3);
        if (!codec) {
            PrintError(std::string("the libraries offer no ") + (mp3 ? "MP3" : "AC-3") + " encoder");
            return kExitEncode;
        }
        audio->enc.reset(avcodec_alloc_context3(codec));
        AVCodecContext* enc = audio->enc.get();
        enc->sample_rate = rate.value;
        AVChannelLayout fallback{};
        av_channel_layout_copy(&enc->ch_layout, LayoutFor(codec, channels.value, fallback));
        av_channel_layout_uninit(&fallback);
        enc->sample_fmt = SampleFormatFor(codec);
        enc->bit_rate = static_cast<int64_t>(kbits.value) * 1000;
        enc->time_base = AVRational{1, rate.value};
        if (oc->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int ret = avcodec_open2(enc, codec, nullptr);
        if (ret < 0) {
            PrintError(std::string("cannot start the ") + (mp3 ? "MP3" : "AC-3") + " encoder: " + AvErrorText(ret));
            return kExitEncode;
        }
        audio->out = avformat_new_stream(oc.get(), nullptr);
        avcodec_parameters_from_context(audio->out->codecpar, enc);
        audio->out->time_base = enc->time_base;
        audio->filterTail = "aresample=" + std::to_string(rate.value) +
                            ":async=1:min_hard_comp=0.03:first_pts=0" + VolumeFilters(o.volumePercent) +
                            ",aformat=sample_fmts=" + av_get_sample_fmt_name(enc->sample_fmt) +
                            ":sample_rates=" + std::to_string(rate.value) +
                            ":channel_layouts=" + LayoutText(enc->ch_layout);
        if (lengthUs != INT64_MAX && enc->frame_size > 0) {
            // Whole encoder frames, as many as come nearest to the asked length.
            const double samples = static_cast<double>(lengthUs) / AV_TIME_BASE * rate.value;
            int64_t frames = std::llround(samples / enc->frame_size);
            if (frames < 1) frames = 1;
            audio->maxOutput = frames * enc->frame_size;
            if (mp3) {
                // The MP3 writer adds the encoder's delay as frames of its own, and players count them:
                // leave that room so that the file lasts the whole frames chosen.
                const int64_t delay = 576 + enc->initial_padding;
                audio->maxOutput = std::max<int64_t>(enc->frame_size, audio->maxOutput - delay - 1);
            }
        } else if (lengthUs != INT64_MAX) {
            audio->maxOutput = av_rescale_q(lengthUs, AV_TIME_BASE_Q, enc->time_base);
        }
        audioLine = "  audio: " + std::string(avcodec_get_name(par->codec_id)) + " " +
                    std::to_string(par->sample_rate) + " Hz " + std::to_string(par->ch_layout.nb_channels) +
                    " ch -> " + (mp3 ? "mp3 " : "ac3 ") + std::to_string(rate.value) + " Hz " +
                    std::to_string(channels.value) + " ch " + std::to_string(kbits.value) + " kbit/s, volume " +
                    Fixed(o.volumePercent, 0) + " %";
    }

    // The temporary file, registered before it exists so that a stop never leaves it behind.
    const std::string temp = TemporaryNameFor(o.output, static_cast<long>(getpid()));
    SetTemporaryFile(temp);
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int e = errno;
        SetTemporaryFile("");
        PrintError("cannot write into the output folder \"" + folder + "\": " + std::strerror(e));
        return kExitOutput;
    }
    close(fd);
    auto discard = [&temp]() {
        unlink(temp.c_str());
        SetTemporaryFile("");
    };
    int ret = avio_open(&oc->pb, ("file:" + temp).c_str(), AVIO_FLAG_WRITE);
    if (ret < 0) {
        discard();
        PrintError("cannot write \"" + temp + "\": " + AvErrorText(ret));
        return kExitOutput;
    }
    ret = avformat_write_header(oc.get(), nullptr);
    if (ret < 0) {
        oc.reset();
        discard();
        PrintError("cannot start the output file: " + AvErrorText(ret));
        return kExitEncode;
    }

    // The header: one write, so that it arrives as one piece before any progress.
    std::string header = std::string(ProgramName()) + " " + VersionText() + ": converting\n";
    header += "input:  " + o.input + " (" + ic->iformat->name;
    if (inputSeconds > 0) header += ", " + Fixed(inputSeconds, 2) + " s";
    header += ")\n";
    if (!videoLine.empty()) header += videoLine + "\n";
    if (!audioLine.empty()) header += audioLine + "\n";
    header += "output: " + o.output + (mp3 ? " (MP3)\n" : " (RealMedia)\n");
    header += "cut:    from " + Fixed(o.startSeconds, 3) + " s";
    header += o.lengthSeconds ? ", " + Fixed(*o.lengthSeconds, 3) + " s long\n" : " to the end\n";
    for (const auto& n : notices) header += "notice: " + n + "\n";
    Print(header);

    // Start from the keyframe before the cut; frames before it are dropped after decoding.
    if (startUs > input.StartTime()) {
        if (avformat_seek_file(ic, -1, INT64_MIN, startUs, startUs, 0) < 0) {
            sh.Notice("the input cannot seek; reading from its beginning");
        }
    }
    std::vector<StreamWork*> streams;
    for (StreamWork* s : {video.get(), audio.get()}) {
        if (!s) continue;
        s->startPts = av_rescale_q(startUs, AV_TIME_BASE_Q, s->in->time_base);
        if (lengthUs != INT64_MAX) s->cutEnd = av_rescale_q(lengthUs, AV_TIME_BASE_Q, s->in->time_base);
        streams.push_back(s);
        sh.aborters.push_back([s]() {
            s->packets.Abort();
            s->decoded.Abort();
            s->filtered.Abort();
        });
    }
    sh.producers = static_cast<int>(streams.size());

    std::vector<std::thread> threads;
    threads.emplace_back(ReadLoop, ic, std::ref(sh), streams);
    for (StreamWork* s : streams) {
        threads.emplace_back(DecodeLoop, std::ref(*s), std::ref(sh));
        threads.emplace_back(FilterLoop, std::ref(*s), std::ref(sh));
        threads.emplace_back(EncodeLoop, std::ref(*s), std::ref(sh));
    }

    // This thread writes the file and tells the progress.
    Progress progress;
    progress.video = video != nullptr;
    double videoSeconds = 0, audioSeconds = 0;
    int64_t audioPackets = 0;
    auto lastPrint = Clock::now();
    while (true) {
        bool ended = false;
        std::optional<PacketPtr> item = sh.mux.PopFor(std::chrono::milliseconds(100), ended);
        if (item) {
            AVPacket* pkt = item->get();
            const bool isVideo = video && pkt->stream_index == video->out->index;
            const AVRational tb = oc->streams[pkt->stream_index]->time_base;
            if (isVideo) {
                progress.frames++;
                size_t sideSize = 0;
                const uint8_t* side = av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &sideSize);
                if (side && sideSize >= 4) {
                    const int q = side[0] | (side[1] << 8) | (side[2] << 16) | (side[3] << 24);
                    progress.quality = static_cast<double>(q) / FF_QP2LAMBDA;
                }
                videoSeconds = static_cast<double>(progress.frames) / av_q2d(video->encRate);
            } else {
                ++audioPackets;
                if (pkt->pts != AV_NOPTS_VALUE)
                    audioSeconds = std::max(audioSeconds, av_q2d(tb) * static_cast<double>(pkt->pts + pkt->duration));
            }
            ret = av_interleaved_write_frame(oc.get(), pkt);
            if (ret < 0) {
                sh.Fail(kExitOutput, "cannot write the output: " + AvErrorText(ret));
                break;
            }
        }
        if (ended || sh.aborted) break;
        // The writer interleaves the streams, so what is written is what the slower stream has reached.
        double seconds = 1e300;
        if (video && !video->encodeDone) seconds = std::min(seconds, videoSeconds);
        if (audio && !audio->encodeDone) seconds = std::min(seconds, audioSeconds);
        progress.seconds = seconds < 1e299 ? seconds : std::max(videoSeconds, audioSeconds);
        if (Clock::now() - lastPrint >= std::chrono::milliseconds(500)) {
            lastPrint = Clock::now();
            progress.bytes = avio_tell(oc->pb);
            progress.elapsed = std::chrono::duration<double>(lastPrint - started).count();
            Print(FormatProgressLine(progress));
        }
    }
    if (sh.aborted) {
        for (auto& f : sh.aborters) f();
    }
    for (auto& t : threads) t.join();

    int code = sh.code;
    std::string message = sh.message;
    const int64_t written = progress.frames + audioPackets;
    if (code == 0 && written == 0) {
        const int64_t decoded = (video ? video->framesDecoded.load() : 0) + (audio ? audio->framesDecoded.load() : 0);
        const int64_t errors = (video ? video->decodeErrors.load() : 0) + (audio ? audio->decodeErrors.load() : 0);
        code = kExitInput;
        if (decoded == 0 && errors > 0) {
            message = "the input \"" + o.input + "\" is damaged: no frame could be decoded";
        } else if (decoded == 0 && o.startSeconds > 0) {
            message = "the start " + Fixed(o.startSeconds, 3) + " s is at or past the end of the input";
        } else {
            message = "the input \"" + o.input + "\" gave nothing to convert";
        }
    }
    if (code == 0) {
        ret = av_write_trailer(oc.get());
        if (ret >= 0) ret = avio_closep(&oc->pb);
        struct stat st;
        if (ret >= 0 && stat(temp.c_str(), &st) == 0) progress.bytes = st.st_size;
        if (ret < 0) {
            code = kExitOutput;
            message = "cannot finish the output: " + AvErrorText(ret);
        }
    }
    oc.reset();
    if (code == 0) {
        int renamed = 0;
        if (o.overwrite) {
            renamed = rename(temp.c_str(), o.output.c_str());
        } else {
            renamed = renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, o.output.c_str(), RENAME_NOREPLACE);
        }
        if (renamed != 0) {
            code = kExitOutput;
            message = "cannot put the output in place as \"" + o.output + "\": " + std::strerror(errno);
        }
    }
    if (code != 0) {
        discard();
        PrintError(message);
        return code;
    }
    SetTemporaryFile("");

    for (StreamWork* s : streams) {
        const char* what = s->video ? "video" : "audio";
        if (s->decodeErrors > 0)
            sh.Notice(std::to_string(s->decodeErrors.load()) + " damaged " + what + " packets were skipped");
        if (s->mismatched > 0)
            sh.Notice(std::to_string(s->mismatched.load()) + " " + what + " frames with changed properties were skipped");
    }
    progress.seconds = std::max(videoSeconds, audioSeconds);
    progress.elapsed = std::chrono::duration<double>(Clock::now() - started).count();
    std::string tail = FormatProgressLine(progress) + "\n";
    for (const auto& n : sh.notices) tail += "notice: " + n + "\n";
    tail += FormatSummaryLine(progress);
    Print(tail);
    return kExitDone;
}

} // namespace evc
