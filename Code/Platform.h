// What the program needs from the operating system, as plain functions: starting a program with its
// output captured, the process list, signals, opening a folder, powering off and trimming memory.
// One implementation file per platform; today Platform_linux.cpp.
#pragma once

#include "TextOps.h"

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Platform {

// One running process. Zombies and kernel threads are not listed: they cannot be ended by a signal.
struct TProcessInfo {
    uint32_t Id = 0;
    uint32_t Uid = 0;       // real user id
    uint64_t StartTime = 0; // clock ticks after boot; tells a process from a later one with the same id
    std::string Name;       // the short name the kernel keeps (at most 15 characters)
    std::string ExePath;    // the program file, when readable; empty otherwise
};

std::vector<TProcessInfo> ListProcesses();
// True when the process belongs to the user running this program.
bool IsOwnProcess(const TProcessInfo& process);
// Sends a signal; false when the process is gone or may not be signalled.
bool SignalProcess(const TProcessInfo& process, int signal);

// A regular file this user may execute.
bool IsExecutableFile(const std::string& path);

// Starts argv[0] with the given working folder; standard input from stdinFd, standard output and error
// into outputFd. No shell is involved. False (with errno kept) when the program cannot be started.
bool SpawnProcess(const TStringList& argv, const std::string& workingFolder, int stdinFd, int outputFd,
                  pid_t& pid);

// Opening a folder in the desktop's file manager and powering the machine off each go through one
// replaceable function, so that tests never open a window or switch a machine off.
using TOpenFolderHandler = std::function<bool(const std::string& folder)>;
using TPowerOffHandler = std::function<bool()>;
// Installs a handler; an empty one puts the real one back. Returns the one it replaces.
TOpenFolderHandler SetOpenFolderHandler(TOpenFolderHandler handler);
TPowerOffHandler SetPowerOffHandler(TPowerOffHandler handler);
bool OpenFolder(const std::string& folder);
bool PowerOff();

// Hands freed heap memory back to the system.
void TrimMemory();

} // namespace Platform
