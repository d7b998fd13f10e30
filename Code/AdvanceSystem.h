// TAdvanceSystem: runs the encoder once with its console output captured, chunk by chunk.
#pragma once

#include <functional>
#include <string>

// Receives one chunk of the encoder's output: at most 1023 bytes, as written, cut at a zero byte.
using OutputCallback = std::function<void(const std::string& chunk)>;

class TAdvanceSystem {
  public:
    // There is no Windows NT family here.
    bool IsWindowsNT() const { return false; }

    // Starts the command line (split into arguments, no shell) in the application folder and passes its
    // output to the callback until it has ended. True when it started and ended; false when a pipe or
    // the start failed, and then the callback is never called.
    bool RunCaptured(const std::string& commandLine, const OutputCallback& callback);

    // How the last run ended, for the log: "exit status 1", "signal 15"; empty after a clean end.
    std::string FailureText() const { return Failure; }
    // Passes made by the last run; a pass that finds nothing waits on the pipe instead of spinning.
    int PassCount() const { return Passes; }

  private:
    std::string Failure;
    int Passes = 0;
};

// Processes the pending events of every window.
void ProcessMessages();
// A pause of the given length during which the windows keep painting and taking clicks.
void PauseProcessingEvents(int milliseconds);
