// TMediaGraph: the preview's media graph, a libmpv player drawing into one widget.
// TPositionBar: the hidden position bar whose once-a-second tick drives the preview's display.
#pragma once

#include <QObject>

#include <cstdint>
#include <stdexcept>
#include <string>

class QTimer;
class QWidget;
struct mpv_handle;
struct mpv_event;

// The graph could not do what was asked (no player, a file that does not load, a refused command).
class EMediaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TMediaGraph : public QObject {
    Q_OBJECT
  public:
    // RenderFile's results: the whole file is playable, or only some of its streams are.
    static constexpr int RenderOk = 0;
    static constexpr int RenderPartial = 1;

    explicit TMediaGraph(QObject* parent = nullptr);
    ~TMediaGraph() override;

    // The widget the picture is drawn into. Without a native window system (tests) no picture is made.
    void SetVideoWindow(QWidget* window);

    bool GetActive() const { return Active; }
    // Activating makes the player (once); deactivating unloads the file. Both keep the player itself.
    void SetActive(bool active);
    // Unloads whatever is loaded and leaves the graph empty.
    void ClearGraph();
    // Ends the player itself, while the window it draws into still exists; activating makes a new one.
    void Shutdown();
    // Loads the file paused. RenderOk or RenderPartial; EMediaError when it does not load at all.
    int RenderFile(const std::string& path);
    bool HasFile() const { return Loaded; }

    void Run();
    void Pause();
    void Stop();
    bool IsRunning() const { return Running; }

    // Length of the loaded file in milliseconds; 0 when nothing is loaded.
    int64_t Duration() const;
    // Positions in 100-nanosecond units. At the end of the file the position is the duration.
    int64_t GetCurrentPosition() const;
    void SetCurrentPosition(int64_t position);

    // Waits up to this long for a file to load (tests use a short one for damaged files).
    void SetLoadTimeoutMs(int milliseconds) { LoadTimeoutMs = milliseconds; }

  signals:
    void Started();
    void Paused();
    void Stopped();

  private slots:
    void DrainEvents();

  private:
    void CreatePlayer();
    void HandleEvent(const mpv_event& event);
    bool SomeTrackLeftUnselected() const;
    void SetPause(bool pause);

    mpv_handle* Mpv = nullptr;
    QWidget* VideoWindow = nullptr;
    bool Active = false;
    bool Running = false;
    bool Loaded = false;
    int LoadTimeoutMs = 20000;

    // What the player reported about the file being loaded.
    int64_t LoadingEntry = -1;
    bool LoadedEvent = false;
    bool RestartEvent = false;
    bool EndedWithError = false;
};

class TPositionBar : public QObject {
    Q_OBJECT
  public:
    explicit TPositionBar(TMediaGraph* graph, QObject* parent = nullptr);

    int Min = 0;
    int Max = 0;
    int Position = 0;

    bool IsTicking() const;
    // One tick: reads the graph and reports the position and the duration in milliseconds.
    void Tick();

  signals:
    void Timer(uint32_t positionMs, uint32_t durationMs);

  private:
    TMediaGraph* Graph;
    QTimer* Clock;
};
