// Finding and stopping encoder processes, with stand-ins under names no other program carries.
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "engine_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace engine_test;

namespace {

class ProcessUtilities : public ::testing::Test {
  protected:
    void SetUp() override {
        Lib.EncoderName = UniqueProcessName("vtnone");
        Lib.StopTimeoutMs = 10000;
    }

    // Starts the stand-in under the given name and waits until it has done every step before "hang".
    pid_t Start(const std::string& name, std::vector<std::string> script, int uid = -1) {
        const std::string path = InstallStub(App.Path, name);
        const std::string ready = App.Path + name + "." + std::to_string(++Started) + ".ready";
        script.insert(script.end() - 1, "ready:" + ready);
        std::vector<std::string> argv{path};
        argv.insert(argv.end(), script.begin(), script.end());
        const pid_t pid = StartProgram(argv, uid);
        Children.push_back(pid);
        for (int i = 0; i < 500 && !std::filesystem::exists(ready); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return pid;
    }

    // A test that fails half-way leaves no stand-in running.
    void TearDown() override {
        for (const pid_t pid : Children)
            if (::waitpid(pid, nullptr, WNOHANG) == 0) {
                ::kill(pid, SIGKILL);
                WaitForProgram(pid);
            }
    }

    TempAppFolder App;
    TCommonLib Lib;
    int Started = 0;
    std::vector<pid_t> Children;
};

} // namespace

TEST_F(ProcessUtilities, FindsARunningProcessByProgramNameIgnoringCase) {
    const std::string name = UniqueProcessName("vtfind");
    const std::string longName = UniqueProcessName("vt_long_program_name_");
    const pid_t pid = Start(name, {"hang"});
    const pid_t longPid = Start(longName, {"hang"});

    EXPECT_EQ(TSysFunc().IsProcessRunning(name), uint32_t(pid));
    std::string upper = name;
    for (char& c : upper)
        c = char(std::toupper(c));
    EXPECT_EQ(TSysFunc().IsProcessRunning(upper), uint32_t(pid));
    // A name longer than the kernel keeps is found through the program file.
    EXPECT_EQ(TSysFunc().IsProcessRunning(longName), uint32_t(longPid));
    EXPECT_EQ(Lib.FindProcessId(name), uint32_t(pid));
    EXPECT_EQ(TSysFunc().IsProcessRunning(name + "x"), 0u);
    EXPECT_EQ(CountLogLines(App.Log(), "Get Process id error."), 0);
    EXPECT_EQ(Lib.FindProcessId(name + "x"), 0u);
    EXPECT_EQ(CountLogLines(App.Log(), "Get Process id error."), 1);

    ::kill(pid, SIGKILL);
    ::kill(longPid, SIGKILL);
    WaitForProgram(pid);
    WaitForProgram(longPid);
    EXPECT_EQ(TSysFunc().IsProcessRunning(name), 0u);
}

TEST_F(ProcessUtilities, StopEncoderAsksEveryCopyToEndAndLogsTwoSearchesThatFoundNothing) {
    const std::string name = UniqueProcessName("vtstop");
    Lib.EncoderName = name;
    const pid_t first = Start(name, {"on-term", "hang"});
    const pid_t second = Start(name, {"on-term", "hang"});

    Lib.StopEncoder(App.Path + name);

    // SIGTERM first, so that the encoder can tidy up: both ended through their handler.
    const int firstStatus = WaitForProgram(first), secondStatus = WaitForProgram(second);
    EXPECT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 143);
    EXPECT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 143);
    const std::string log = App.Log();
    EXPECT_EQ(CountLogLines(log, "Get Process id error."), 2);
    EXPECT_TRUE(log.ends_with("|Get Process id error.\r\n"));
}

TEST_F(ProcessUtilities, StopEncoderWithNothingRunningOnlyLogsTheTwoSearches) {
    Lib.StopEncoder(App.Path + UniqueProcessName("vtgone"));
    const std::string log = App.Log();
    EXPECT_EQ(CountLogLines(log, "Get Process id error."), 2);
    EXPECT_EQ(log.find("Terminate process error."), std::string::npos);
}

TEST_F(ProcessUtilities, ProcessThatIgnoresTheRequestIsKilledAfterTwoSeconds) {
    const std::string name = UniqueProcessName("vtdeaf");
    const pid_t pid = Start(name, {"ignore-term", "hang"});
    const auto start = std::chrono::steady_clock::now();
    Lib.StopEncoder(name);
    const int status = WaitForProgram(pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
}

TEST_F(ProcessUtilities, AnotherUsersProcessIsNeverSignalledAndTheStopGivesUp) {
    if (::getuid() != 0) GTEST_SKIP() << "needs to start a process as another user, which only root can";
    // The other user runs the stand-in from here and says here that it is ready.
    std::filesystem::permissions(App.Path, std::filesystem::perms::all);
    const std::string name = UniqueProcessName("vtother");
    const pid_t pid = Start(name, {"hang"}, 65534);
    ASSERT_EQ(TSysFunc().IsProcessRunning(name), uint32_t(pid));
    Lib.StopTimeoutMs = 1200;

    Lib.StopEncoder(name);

    // Still running: it was never signalled.
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), 0);
    const std::string log = App.Log();
    EXPECT_NE(log.find("|Stop encoder error. ->" + name + " (process id " + std::to_string(pid) + ")"),
              std::string::npos);
    EXPECT_GE(CountLogLines(log, "Terminate process error."), 1);
    ::kill(pid, SIGKILL);
    WaitForProgram(pid);
}
