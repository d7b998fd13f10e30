// Processes and system: finding and stopping the encoder, opening a folder, powering off, memory.
#include "AdvanceSystem.h"
#include "Platform.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"

#include <chrono>
#include <csignal>
#include <map>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStopPollMs = 100;
constexpr auto kGraceBeforeKill = std::chrono::milliseconds(2000);

// When each process was first asked to end, keyed by id and start time so that a reused id is new.
std::map<std::pair<uint32_t, uint64_t>, Clock::time_point> g_askedToEnd;

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The kernel keeps only the first 15 characters of a program's name.
bool NameMatches(const Platform::TProcessInfo& process, const std::string& name) {
    if (name.empty()) return false;
    if (SameNameIgnoringCase(FileNamePart(process.ExePath), name)) return true;
    if (SameNameIgnoringCase(process.Name, name)) return true;
    return name.size() > 15 && SameNameIgnoringCase(process.Name, name.substr(0, 15));
}

uint32_t LastMatchingId(const std::string& name) {
    uint32_t id = 0;
    for (const Platform::TProcessInfo& process : Platform::ListProcesses())
        if (NameMatches(process, name)) id = process.Id;
    return id;
}

} // namespace

uint32_t TSysFunc::IsProcessRunning(const std::string& processName) const {
    return LastMatchingId(processName);
}

uint32_t TCommonLib::FindProcessId(const std::string& name) {
    const uint32_t id = LastMatchingId(name);
    if (id == 0) TAppFunc().WriteLog("Get Process id error.");
    return id;
}

bool TCommonLib::KillProcessesByName(const std::string& name) {
    EnableDebugPrivilege();
    const Clock::time_point now = Clock::now();
    std::map<std::pair<uint32_t, uint64_t>, Clock::time_point> stillThere;
    bool succeeded = false;
    for (const Platform::TProcessInfo& process : Platform::ListProcesses()) {
        if (!NameMatches(process, name) && !SameNameIgnoringCase(process.ExePath, name)) continue;
        // Another user's process is never signalled.
        if (!Platform::IsOwnProcess(process)) {
            succeeded = false;
            continue;
        }
        const auto key = std::make_pair(process.Id, process.StartTime);
        const auto asked = g_askedToEnd.find(key);
        if (asked == g_askedToEnd.end()) {
            succeeded = Platform::SignalProcess(process, SIGTERM);
            stillThere[key] = now;
        } else if (now - asked->second >= kGraceBeforeKill) {
            succeeded = Platform::SignalProcess(process, SIGKILL);
            stillThere[key] = asked->second;
        } else {
            // Already asked and still within its time to tidy up.
            succeeded = true;
            stillThere[key] = asked->second;
        }
    }
    g_askedToEnd = std::move(stillThere);
    if (!succeeded) TAppFunc().WriteLog("Terminate process error.");
    return succeeded;
}

void TCommonLib::StopEncoder(const std::string& path) {
    for (const std::string& name : {FileNamePart(path), EncoderName}) {
        const Clock::time_point start = Clock::now();
        while (const uint32_t id = FindProcessId(name)) {
            // A process that cannot be ended (another user's, or one the system holds) must not hold the
            // program in this loop for ever.
            if (Clock::now() - start >= std::chrono::milliseconds(StopTimeoutMs)) {
                TAppFunc().WriteLog("Stop encoder error. ->" + name + " (process id " + std::to_string(id) +
                                    ") could not be ended in " + std::to_string(StopTimeoutMs / 1000) +
                                    " seconds.");
                break;
            }
            KillProcessesByName(name);
            PauseProcessingEvents(kStopPollMs);
            ProcessMessages();
        }
    }
}

bool TCommonLib::EnablePrivilege(int, const std::string&, bool) {
    return true;
}

bool TCommonLib::EnableDebugPrivilege() {
    return EnablePrivilege(0, "SeDebugPrivilege", true);
}

void TCommonLib::EnableShutdownPrivilege() {
    EnablePrivilege(0, "SeShutdownPrivilege", true);
}

void TCommonLib::OpenFolderInExplorer(const std::string& folder) {
    Platform::OpenFolder(folder);
}

bool TCommonLib::PowerOff() {
    EnableShutdownPrivilege();
    return Platform::PowerOff();
}

void TCommonLib::ShutdownComputer() {
    EnableShutdownPrivilege();
    PowerOff();
}

void TCommonLib::TrimWorkingSet() {
    Platform::TrimMemory();
    ProcessMessages();
}
