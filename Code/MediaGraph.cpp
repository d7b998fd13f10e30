#include "MediaGraph.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <mpv/client.h>

#include <clocale>

namespace {

void WakeUp(void* context) {
    auto* graph = static_cast<TMediaGraph*>(context);
    // Called on one of the player's threads: hand the events over to the interface thread.
    QMetaObject::invokeMethod(graph, "DrainEvents", Qt::QueuedConnection);
}

void SetOption(mpv_handle* mpv, const char* name, const char* value) {
    const int error = mpv_set_option_string(mpv, name, value);
    if (error < 0)
        throw EMediaError(std::string("The player refused the option ") + name + ": " +
                          mpv_error_string(error));
}

bool CanEmbedPicture() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

TMediaGraph::TMediaGraph(QObject* parent) : QObject(parent) {}

TMediaGraph::~TMediaGraph() {
    Shutdown();
}

void TMediaGraph::Shutdown() {
    SetActive(false);
    if (!Mpv) return;
    mpv_set_wakeup_callback(Mpv, nullptr, nullptr);
    mpv_terminate_destroy(Mpv);
    Mpv = nullptr;
}

void TMediaGraph::SetVideoWindow(QWidget* window) {
    VideoWindow = window;
}

void TMediaGraph::CreatePlayer() {
    // The player reads and writes numbers in the C form and refuses to start under another numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    if (!mpv) throw EMediaError("The player could not be created.");
    try {
        if (VideoWindow && CanEmbedPicture()) {
            const std::string wid = std::to_string(int64_t(VideoWindow->winId()));
            SetOption(mpv, "wid", wid.c_str());
            SetOption(mpv, "vo", "gpu,x11");
            // Software OpenGL (virtual screens, machines without a GPU driver) is good enough for a preview.
            SetOption(mpv, "gpu-sw", "yes");
            // A machine without a sound device still shows the picture.
            SetOption(mpv, "audio-fallback-to-null", "yes");
        } else {
            SetOption(mpv, "vo", "null");
            SetOption(mpv, "ao", "null");
        }
        SetOption(mpv, "idle", "yes");
        // Stay on the last frame at the end, so the position tick sees the end of the file.
        SetOption(mpv, "keep-open", "yes");
        SetOption(mpv, "pause", "yes");
        SetOption(mpv, "input-default-bindings", "no");
        SetOption(mpv, "input-vo-keyboard", "no");
        SetOption(mpv, "osc", "no");
        SetOption(mpv, "osd-level", "0");
        SetOption(mpv, "ytdl", "no");
        SetOption(mpv, "load-scripts", "no");
        SetOption(mpv, "cursor-autohide", "3000");
        SetOption(mpv, "terminal", "no");
        const int error = mpv_initialize(mpv);
        if (error < 0)
            throw EMediaError(std::string("The player could not start: ") + mpv_error_string(error));
    } catch (...) {
        mpv_terminate_destroy(mpv);
        throw;
    }
    Mpv = mpv;
    mpv_set_wakeup_callback(Mpv, &WakeUp, this);
}

void TMediaGraph::SetActive(bool active) {
    if (active) {
        if (!Mpv) CreatePlayer();
        Active = true;
        return;
    }
    if (!Active) return;
    ClearGraph();
    Active = false;
    if (Running) {
        Running = false;
        emit Stopped();
    }
}

void TMediaGraph::ClearGraph() {
    Loaded = false;
    LoadingEntry = -1;
    if (!Mpv) return;
    const char* command[] = {"stop", nullptr};
    mpv_command(Mpv, command);
}

void TMediaGraph::HandleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_FILE_LOADED:
        LoadedEvent = true;
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        RestartEvent = true;
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (!end || end->playlist_entry_id != LoadingEntry) break;
        // The file is gone from the player: nothing to show or seek in any more.
        Loaded = false;
        if (end->reason == MPV_END_FILE_REASON_ERROR) EndedWithError = true;
        break;
    }
    default:
        break;
    }
}

void TMediaGraph::DrainEvents() {
    while (Mpv) {
        const mpv_event* event = mpv_wait_event(Mpv, 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        HandleEvent(*event);
    }
}

int TMediaGraph::RenderFile(const std::string& path) {
    if (!Active || !Mpv) throw EMediaError("The media graph is not active.");
    DrainEvents();
    LoadedEvent = RestartEvent = EndedWithError = false;
    Loaded = false;
    SetPause(true);

    const char* command[] = {"loadfile", path.c_str(), "replace", nullptr};
    mpv_node result;
    const int error = mpv_command_ret(Mpv, command, &result);
    if (error < 0) throw EMediaError(std::string("The player refused the file: ") + mpv_error_string(error));
    LoadingEntry = -1;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i)
            if (std::string(result.u.list->keys[i]) == "playlist_entry_id")
                LoadingEntry = result.u.list->values[i].u.int64;
    }
    mpv_free_node_contents(&result);
    Loaded = true;

    // Loading happens on the player's threads; wait here for its verdict on this file.
    QElapsedTimer clock;
    clock.start();
    while (!EndedWithError && !(LoadedEvent && RestartEvent)) {
        const qint64 left = LoadTimeoutMs - clock.elapsed();
        if (left <= 0) break;
        HandleEvent(*mpv_wait_event(Mpv, double(left) / 1000.0));
    }
    if (EndedWithError) {
        Loaded = false;
        // Opened, then a stream could not be decoded: only part of the file would play.
        if (LoadedEvent) return RenderPartial;
        throw EMediaError("The file could not be loaded.");
    }
    if (!LoadedEvent) {
        ClearGraph();
        throw EMediaError("The file took too long to load.");
    }
    return SomeTrackLeftUnselected() ? RenderPartial : RenderOk;
}

bool TMediaGraph::SomeTrackLeftUnselected() const {
    mpv_node list;
    if (mpv_get_property(Mpv, "track-list", MPV_FORMAT_NODE, &list) < 0) return false;
    int present[2] = {0, 0};
    int selected[2] = {0, 0};
    if (list.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < list.u.list->num; ++i) {
            const mpv_node& track = list.u.list->values[i];
            if (track.format != MPV_FORMAT_NODE_MAP) continue;
            int kind = -1;
            bool isSelected = false;
            for (int k = 0; k < track.u.list->num; ++k) {
                const std::string key = track.u.list->keys[k];
                const mpv_node& value = track.u.list->values[k];
                if (key == "type" && value.format == MPV_FORMAT_STRING) {
                    const std::string type = value.u.string;
                    kind = type == "video" ? 0 : type == "audio" ? 1 : -1;
                } else if (key == "selected" && value.format == MPV_FORMAT_FLAG) {
                    isSelected = value.u.flag != 0;
                }
            }
            if (kind < 0) continue;
            ++present[kind];
            if (isSelected) ++selected[kind];
        }
    }
    mpv_free_node_contents(&list);
    // A stream the player could not decode is left unselected.
    return (present[0] > 0 && selected[0] == 0) || (present[1] > 0 && selected[1] == 0);
}

void TMediaGraph::SetPause(bool pause) {
    if (!Mpv) throw EMediaError("The media graph is not active.");
    int flag = pause ? 1 : 0;
    const int error = mpv_set_property(Mpv, "pause", MPV_FORMAT_FLAG, &flag);
    if (error < 0)
        throw EMediaError(std::string("The player refused to change state: ") + mpv_error_string(error));
}

void TMediaGraph::Run() {
    SetPause(false);
    Running = true;
    emit Started();
}

void TMediaGraph::Pause() {
    SetPause(true);
    Running = false;
    emit Paused();
}

void TMediaGraph::Stop() {
    SetPause(true);
    Running = false;
    emit Stopped();
}

int64_t TMediaGraph::Duration() const {
    if (!Mpv || !Loaded) return 0;
    double seconds = 0;
    if (mpv_get_property(Mpv, "duration", MPV_FORMAT_DOUBLE, &seconds) < 0 || seconds < 0) return 0;
    return int64_t(seconds * 1000.0);
}

int64_t TMediaGraph::GetCurrentPosition() const {
    if (!Mpv || !Loaded) return 0;
    int atEnd = 0;
    if (mpv_get_property(Mpv, "eof-reached", MPV_FORMAT_FLAG, &atEnd) >= 0 && atEnd)
        return Duration() * 10000;
    double seconds = 0;
    if (mpv_get_property(Mpv, "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0 || seconds < 0) return 0;
    return int64_t(seconds * 10000000.0);
}

void TMediaGraph::SetCurrentPosition(int64_t position) {
    if (!Mpv || !Loaded) throw EMediaError("Nothing is loaded to seek in.");
    double seconds = double(position) / 10000000.0;
    const int error = mpv_set_property(Mpv, "time-pos", MPV_FORMAT_DOUBLE, &seconds);
    if (error < 0) throw EMediaError(std::string("The player could not seek: ") + mpv_error_string(error));
}

TPositionBar::TPositionBar(TMediaGraph* graph, QObject* parent)
    : QObject(parent), Graph(graph), Clock(new QTimer(this)) {
    Clock->setInterval(1000);
    connect(Clock, &QTimer::timeout, this, &TPositionBar::Tick);
    connect(Graph, &TMediaGraph::Started, Clock, qOverload<>(&QTimer::start));
    connect(Graph, &TMediaGraph::Paused, Clock, &QTimer::stop);
    connect(Graph, &TMediaGraph::Stopped, Clock, &QTimer::stop);
}

bool TPositionBar::IsTicking() const {
    return Clock->isActive();
}

void TPositionBar::Tick() {
    const int64_t duration = Graph->Duration();
    const int64_t position = Graph->GetCurrentPosition() / 10000;
    Min = 0;
    Max = int(duration / 1000);
    Position = int(position / 1000);
    emit Timer(uint32_t(position), uint32_t(duration));
}
