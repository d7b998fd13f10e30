// The log, the application folder and the string and file-name helpers.
#include "IniFiles32.h"
#include "TempFolder.h"
#include "Unit_AppFunc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class LogTest : public ::testing::Test {
  protected:
    TempFolder folder;
    TAppFunc app;
    void SetUp() override { TAppFunc::SetAppDirForTesting(folder.Path()); }
    void TearDown() override { TAppFunc::SetAppDirForTesting(""); }

    std::string Log() const { return ReadBytes(folder.File("log.txt")); }
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The lines of a text whose every line ends in CR LF; a bare LF or CR inside stays part of its line.
Strings CrLfLines(const std::string& text) {
    Strings lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

// One log line as written between the two moments "before" and "after".
void ExpectLogLine(const std::string& line, const std::string& before, const std::string& after,
                   const std::string& message) {
    const std::string a = "Osmerin Soft " + before + "|" + message + "\r\n";
    const std::string b = "Osmerin Soft " + after + "|" + message + "\r\n";
    EXPECT_TRUE(line == a || line == b) << "line: " << line;
}

TEST_F(LogTest, FirstCallCreatesTheLogWithOneLineAndLaterCallsAppend) {
    ASSERT_FALSE(fs::exists(folder.File("log.txt")));
    const std::string before = LogTimestamp();
    app.WriteLog("parameter: -i in.avi out.rm");
    const std::string after = LogTimestamp();
    const std::string first = Log();
    ExpectLogLine(first, before, after, "parameter: -i in.avi out.rm");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1);

    app.WriteLog("");
    app.WriteLog("Playing Video error.");
    const std::string all = Log();
    ASSERT_EQ(all.compare(0, first.size(), first), 0) << "earlier lines stay as they were";
    const Strings lines = CrLfLines(all.substr(first.size()));
    ASSERT_EQ(lines.size(), 2u) << all;
    for (const std::string& line : lines)
        EXPECT_EQ(line.rfind("Osmerin Soft ", 0), 0u) << line;
    EXPECT_TRUE(EndsWith(lines[0], "|")) << "an empty message still ends in the bar";
    EXPECT_TRUE(EndsWith(lines[1], "|Playing Video error.")) << lines[1];
}

TEST_F(LogTest, AppendsToALogFromAnEarlierRun) {
    WriteBytes(folder.File("log.txt"), "Osmerin Soft earlier|old\r\n");
    app.WriteLog("new");
    const std::string log = Log();
    const Strings lines = CrLfLines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Osmerin Soft earlier|old");
    EXPECT_EQ(lines[1].rfind("Osmerin Soft ", 0), 0u);
    EXPECT_TRUE(EndsWith(lines[1], "|new"));
}

TEST_F(LogTest, TimestampIsDateBlankTimeWithoutAZone) {
    const std::string stamp = LogTimestamp();
    // Date and time with seconds, separated by one blank; no zone name after the time.
    ASSERT_NE(stamp.find(' '), std::string::npos);
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(stamp.back()))) << stamp;
    EXPECT_GE(std::count(stamp.begin(), stamp.end(), ':'), 2) << stamp;
}

TEST_F(LogTest, ALogThatCannotBeWrittenThrowsAFileErrorNamingIt) {
    for (const std::string& appDir : {folder.File("missing/"), folder.File("blocked/")}) {
        SCOPED_TRACE(appDir);
        if (appDir.find("blocked") != std::string::npos) fs::create_directories(appDir + "log.txt");
        TAppFunc::SetAppDirForTesting(appDir);
        try {
            app.WriteLog("x");
            ADD_FAILURE() << "no file error";
        } catch (const EFileError& e) {
            EXPECT_NE(std::string(e.what()).find(appDir + "log.txt"), std::string::npos) << e.what();
        }
    }
}

TEST(AppDirTest, IsTheExecutablesFolderWhateverTheWorkingFolder) {
    TempFolder elsewhere;
    const fs::path oldCwd = fs::current_path();
    fs::current_path(elsewhere.Path());
    TAppFunc::SetAppDirForTesting("");
    const std::string appDir = TAppFunc().GetAppDir();
    fs::current_path(oldCwd);
    EXPECT_EQ(appDir, fs::canonical(VANTOREL_TEST_BIN_DIR).string() + "/");

    TAppFunc::SetAppDirForTesting("/some/where");
    EXPECT_EQ(TAppFunc().GetAppDir(), "/some/where/");
    TAppFunc::SetAppDirForTesting("");
}

TEST(StrFuncTest, GetLastPart) {
    struct Case {
        std::string text, delimiter, part;
    } cases[] =
        {
            {"a.b.c", ".", "c"}, {"abc", ".", "abc"}, {"x_12", "_", "12"}, {"a.", ".", ""},
            {"", ".", ""},       {".a", ".", "a"},    {"abc", "", "abc"},  {"clip_3_1", "_", "1"},
            {"aaa", "aa", "a"}, // occurrences are consumed from the left
        };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.delimiter);
        EXPECT_EQ(TStrFunc().GetLastPart(c.text, c.delimiter), c.part);
    }
}

TEST(FileFuncTest, BaseNameAndFolder) {
    struct Case {
        std::string path, base, dir;
    } cases[] = {
        {"/v/movie.avi", "movie", "/v/"},
        {"/v/my.clip.mp4", "my.clip", "/v/"},
        {"/v/movie", "movie", "/v/"},
        {"/v/.avi", "", "/v/"},
        {"movie.avi", "movie", ""},
        {"/a.b/movie", "movie", "/a.b/"},
        {"/v/", "", "/v/"},
        {"/movie.rm", "movie", "/"},
    };
    const TFileFunc files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.GetFileBaseName(c.path), c.base);
        EXPECT_EQ(files.GetFileDir(c.path), c.dir);
    }
}

TEST(FileFuncTest, ListFilesSkipsFoldersAndFiltersByExactExtension) {
    TempFolder folder;
    for (const char* name : {"a.rm", "b.RM", "c.mp3", "noext", ".hidden", "x.tar.rm"})
        WriteBytes(folder.File(name), "");
    fs::create_directory(folder.File("sub.rm"));
    const TFileFunc files;
    auto sorted = [](Strings list) {
        std::sort(list.begin(), list.end());
        return list;
    };
    const std::string f = folder.Path();
    EXPECT_EQ(sorted(files.ListFiles(f, "")),
              (Strings{f + ".hidden", f + "a.rm", f + "b.RM", f + "c.mp3", f + "noext", f + "x.tar.rm"}));
    EXPECT_EQ(sorted(files.ListFiles(f, ".rm")), (Strings{f + "a.rm", f + "x.tar.rm"}));
    EXPECT_TRUE(files.ListFiles(folder.File("missing/"), "").empty());
}

struct UniqueCase {
    const char* name;
    std::string requested;
    Strings files, folders;
    std::string expected;
};

class UniqueNameTest : public ::testing::TestWithParam<UniqueCase> {};

TEST_P(UniqueNameTest, PicksTheFirstFreeBaseName) {
    const UniqueCase& c = GetParam();
    TempFolder folder;
    for (const std::string& name : c.files)
        WriteBytes(folder.File(name), "");
    for (const std::string& name : c.folders)
        fs::create_directory(folder.File(name));
    TFileFunc files;
    EXPECT_EQ(files.GetUniqueFileName(folder.File(c.requested)), folder.File(c.expected));
}

const UniqueCase UniqueCases[] = {
    {"EmptyFolder", "movie.rm", {}, {}, "movie.rm"},
    {"AnyExtensionCounts", "movie.rm", {"movie.avi"}, {}, "movie_1.rm"},
    {"NoExtensionCounts", "movie.rm", {"movie"}, {}, "movie_1.rm"},
    {"SecondFreeName", "movie.rm", {"movie.rm", "movie_1.mp3"}, {}, "movie_2.rm"},
    {"GapIsTaken", "movie.rm", {"movie.rm", "movie_2.rm"}, {}, "movie_1.rm"},
    {"FreeBaseWins", "movie.rm", {"movie_1.rm"}, {}, "movie.rm"},
    {"CaseHeeded", "movie.rm", {"Movie.rm", "MOVIE.avi"}, {}, "movie.rm"},
    {"SubfolderDoesNotCount", "movie.rm", {}, {"movie", "movie.rm"}, "movie.rm"},
    {"NumberedNameIsNotContinued", "clip_3.rm", {"clip_3.rm", "clip_4.rm"}, {}, "clip_3_1.rm"},
    {"NumberedNameCounts", "clip_3.rm", {"clip_3.mp3", "clip_3_1.avi", "clip_3_2.rm"}, {}, "clip_3_3.rm"},
    {"PastNine",
     "movie.rm",
     {"movie.rm", "movie_1.rm", "movie_2.rm", "movie_3.rm", "movie_4.rm", "movie_5.rm", "movie_6.rm",
      "movie_7.rm", "movie_8.rm", "movie_9.rm", "movie_10.rm"},
     {},
     "movie_11.rm"},
    {"DottedBase", "my.clip.mp4", {"my.clip.avi"}, {}, "my.clip_1.mp4"},
    {"NoExtensionRequested", "movie", {"movie.rm"}, {}, "movie_1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, UniqueNameTest, ::testing::ValuesIn(UniqueCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileFuncTest, UniqueNameInAMissingFolderIsTheRequestedName) {
    TFileFunc files;
    EXPECT_EQ(files.GetUniqueFileName("/no/such/folder/movie.rm"), "/no/such/folder/movie.rm");
    EXPECT_EQ(files.FirstBaseName, "movie");
}

} // namespace
