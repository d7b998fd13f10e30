// The encoder runner with a scripted stand-in: what reaches the callback, how the run starts and ends.
#include "AdvanceSystem.h"
#include "engine_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

using namespace engine_test;

namespace {

struct RunResult {
    bool ok = false;
    std::vector<std::string> chunks;
    std::string failure;
    int passes = 0;
};

RunResult RunStub(const std::string& line, const std::function<void(const std::string&)>& also = {}) {
    RunResult result;
    TAdvanceSystem runner;
    result.ok = runner.RunCaptured(line, [&](const std::string& chunk) {
        result.chunks.push_back(chunk);
        if (also) also(chunk);
    });
    result.failure = runner.FailureText();
    result.passes = runner.PassCount();
    return result;
}

} // namespace

TEST(EncoderRunner, PassesEachChunkAsWrittenAndOnlyTheLastBlockOfABurst) {
    const std::string stub = StubPath();
    const struct {
        const char* script;
        std::vector<std::string> chunks;
    } cases[] = {
        {"exit:0", {}},
        {"say:frame=1\\r", {"frame=1\r"}},
        {"say:one sleep:900 say:two", {"one", "two"}},
        {"zero", {"ab"}},
        // 2500 bytes: two full blocks are dropped, the short third one arrives byte for byte.
        {"burst:2500", {std::string(454, 'c')}},
        // An exact multiple of the block size ends with the last full block instead of blocking.
        {"burst:2046", {std::string(1023, 'b')}},
        {"burst:1023", {std::string(1023, 'a')}},
    };
    for (const auto& c : cases) {
        const RunResult r = RunStub(stub + " " + c.script);
        EXPECT_TRUE(r.ok) << c.script;
        EXPECT_EQ(r.chunks, c.chunks) << c.script;
        EXPECT_EQ(r.failure, "") << c.script;
    }
}

TEST(EncoderRunner, WaitsOnThePipeInsteadOfSpinningWhileTheEncoderIsSilent) {
    const RunResult r = RunStub(StubPath() + " sleep:1500 say:late");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.chunks, std::vector<std::string>{"late"});
    // About fifteen waits of 100 ms; a loop that spins makes thousands of passes.
    EXPECT_LT(r.passes, 60);
    EXPECT_GE(r.passes, 5);
}

TEST(EncoderRunner, StartsInTheApplicationFolderWithAnEmptyInputPipeAndNoInheritedDescriptors) {
    TempAppFolder app;
    const RunResult r = RunStub(StubPath() + " pwd stdin fds");
    ASSERT_TRUE(r.ok);
    std::string all;
    for (const std::string& chunk : r.chunks)
        all += chunk;
    std::string folder = app.Path;
    folder.pop_back();
    // The child holds only what this test program itself passes on, none of the runner's pipe ends.
    EXPECT_EQ(all, folder + "\nstdin=empty-pipe\nfds=" + std::to_string(InheritableDescriptorCount()) + "\n");
}

TEST(EncoderRunner, MissingProgramReturnsFalseWithoutCallbackOrLeakedDescriptor) {
    const int before = OpenDescriptorCount();
    for (const std::string& line :
         std::vector<std::string>{"/nonexistent/folder/evc -y -i \"/a.avi\" \"/b.rm\"", "", "   ",
                                  std::string(VANTOREL_TEST_BIN_DIR) + " -y"}) {
        const RunResult r = RunStub(line);
        EXPECT_FALSE(r.ok) << line;
        EXPECT_TRUE(r.chunks.empty()) << line;
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST(EncoderRunner, ReportsHowTheEncoderEnded) {
    const struct {
        const char* script;
        const char* failure;
    } cases[] = {{"exit:0", ""}, {"exit:3", "exit status 3"}, {"say:x exit:255", "exit status 255"}};
    for (const auto& c : cases)
        EXPECT_EQ(RunStub(StubPath() + " " + c.script).failure, c.failure) << c.script;
}

TEST(EncoderRunner, EncoderKilledFromTheCallbackEndsTheRun) {
    pid_t child = 0;
    const RunResult r = RunStub(StubPath() + " pid hang", [&](const std::string& chunk) {
        if (chunk.starts_with("pid=")) {
            child = pid_t(std::atoi(chunk.c_str() + 4));
            ::kill(child, SIGKILL);
        }
    });
    EXPECT_TRUE(r.ok);
    EXPECT_GT(child, 0);
    EXPECT_EQ(r.chunks.size(), 1u);
    EXPECT_EQ(r.failure, "signal 9");
}

TEST(EncoderRunner, ProgramPathWithBlanksAndArgumentsWithQuotesArriveExactly) {
    TempAppFolder app;
    const std::string folder = app.Path + "my apps/";
    std::filesystem::create_directories(folder);
    const std::string stub = InstallStub(folder, "evc");
    const std::string record = app.Path + "args.txt";
    ::setenv("ENGINE_STUB_SCRIPT", "record", 1);
    ::setenv("ENGINE_STUB_RECORD", record.c_str(), 1);
    const RunResult r = RunStub(stub + R"( -y -i "/clips/say \"hi\" \\ a\b\\" -vcodec rv20 "/out/x y.rm")");
    ::unsetenv("ENGINE_STUB_SCRIPT");
    ::unsetenv("ENGINE_STUB_RECORD");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(ReadFile(record), "-y\n-i\n/clips/say \"hi\" \\\\ a\\b\\\n-vcodec\nrv20\n/out/x y.rm\n\n");
}
