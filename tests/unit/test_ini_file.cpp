// The INI store: what it reads, and the exact bytes it leaves on disk.
#include "IniFiles32.h"
#include "TempFolder.h"
#include "TextOps.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class IniFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    const std::string path = folder.File("settings.ini");

    Strings FolderEntries() const {
        Strings names;
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename());
        return names;
    }
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndTheFirstWriteMakesThreeLines) {
    TIniFile32 ini(path);
    EXPECT_EQ(ini.ReadString("A", "k", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("A", "k", 17), 17);
    Strings sections{"stale"};
    ini.ReadSections(&sections);
    EXPECT_TRUE(sections.empty());
    ini.EraseSection("A");
    EXPECT_FALSE(fs::exists(path)) << "an erase of an absent section must not write";

    ini.WriteString("A", "k", "v");
    EXPECT_EQ(ReadBytes(path), "\r\n[A]\r\nk=v\r\n");
    EXPECT_EQ(TIniFile32(path).ReadString("A", "k", ""), "v");
}

// One file that holds most of the matching rules at once.
const char* const MatchingFile = "top=0\r\n"
                                 "[a]\r\n"
                                 "k=1\r\n"
                                 " Spaced \t=\t val \t\r\n"
                                 "Key=a=b\r\n"
                                 "Empty=  \r\n"
                                 "Empty=2\r\n"
                                 ";Semi=1\r\n"
                                 ";note\r\n"
                                 "=nokey\r\n"
                                 "[ B ]\r\n"
                                 "x=1\r\n"
                                 "[A]\r\n"
                                 "k=second\r\n"
                                 "last=9\r\n"
                                 "[]\r\n"
                                 "e=empty name\r\n"
                                 " [D]\t\r\n"
                                 "d=1\r\n";

TEST_F(IniFileTest, ReadStringFollowsTheMatchingRules) {
    WriteBytes(path, MatchingFile);
    const TIniFile32 ini(path);
    struct Case {
        std::string section, key, expected;
    } cases[] = {
        // clang-format off
        {"A", "k", "1"},          // header matched without regard to case; the upper one wins
        {"a", "K", "-"},          // keys heed case
        {"a", "Spaced", "val"},   // blanks and tabs around key and value go
        {"a", " Spaced", "-"},    // the name asked for is not trimmed
        {"a", "Key", "a=b"},      // the value may hold "="
        {"a", "Empty", "-"},      // an empty value gives the default; the later line is not consulted
        {"a", ";Semi", "1"},      // no comment syntax
        {"a", "Semi", "-"},
        {"a", "", "-"},           // the empty key never matches, even the line "=nokey"
        {"a", "top", "-"},        // lines above the first header belong to no section
        {"", "top", "-"},
        {"B", "x", "-"},          // blanks inside the brackets: listed, but not found by name
        {" B ", "x", "1"},        // ... except by the very same text
        {"D", "d", "-"},          // blanks outside the brackets: listed, but not found by name
        {"a", "x", "-"},          // the walk stops at the next header
        {"a", "last", "-"},       // the lower duplicate section is never read
        {"", "e", "empty name"},  // "[]" is a section with the empty name
        {"missing", "k", "-"},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("[" + c.section + "] " + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "-"), c.expected);
    }
    Strings sections{"stale"};
    ini.ReadSections(&sections);
    EXPECT_EQ(sections, (Strings{"a", "B", "A", "", "D"}));
}

TEST_F(IniFileTest, ReadSectionsTrimsInsideAndOutside) {
    WriteBytes(path, "  [ one ]  \r\n[\ttwo]\r\n[\r\n]\r\n[three\r\n[]x]\r\nx[y]\r\n");
    Strings sections;
    TIniFile32(path).ReadSections(&sections);
    EXPECT_EQ(sections, (Strings{"one", "two", "]x"}));
    EXPECT_THROW(TIniFile32(path).ReadSections(nullptr), std::invalid_argument);
    try {
        TIniFile32(path).ReadSections(nullptr);
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Param Strings must be assigned");
    }
}

TEST_F(IniFileTest, ReadIntegerTakesDecimalAndHexadecimalForms) {
    struct Case {
        std::string value;
        int32_t expected;
    } cases[] = {
        {"0xFF", 255},
        {"0XFF", 255},
        {"$FF", 255},
        {"$ff", 255},
        {"xFF", 255},
        {"XfF", 255},
        {"-5", -5},
        {"+7", 7},
        {"007", 7},
        {"0", 0},
        {" 42 ", 42},
        {"-0xFF", -255},
        {"$FFFFFFFF", -1},
        {"$7FFFFFFF", 2147483647},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0x", -99},
        {"12abc", -99},
        {"", -99},
        {"$", -99},
        {"$100000000", -99},
        {"$0000000FF", -99},
        {"2147483648", -99},
        {"1.5", -99},
        {"0x-1", -99},
        {"$G", -99},
        {"1 2", -99},
        {"--1", -99},
    };
    std::string bytes = "[N]\r\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        bytes += "k" + std::to_string(i) + "=" + cases[i].value + "\r\n";
    WriteBytes(path, bytes);
    const TIniFile32 ini(path);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("value \"" + cases[i].value + "\"");
        EXPECT_EQ(ini.ReadInteger("N", "k" + std::to_string(i), -99), cases[i].expected);
    }
    EXPECT_EQ(ini.ReadInteger("N", "absent", 3), 3);
}

struct WriteCase {
    const char* name;
    std::optional<std::string> before; // no value: the file does not exist
    std::function<void(TIniFile32&)> change;
    std::string after;
};

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {
  protected:
    TempFolder folder;
};

TEST_P(IniWriteTest, LeavesExactBytes) {
    const WriteCase& c = GetParam();
    const std::string path = folder.File("f.ini");
    if (c.before) WriteBytes(path, *c.before);
    TIniFile32 ini(path);
    c.change(ini);
    EXPECT_EQ(ReadBytes(path), c.after);
    // What is on disk reads back as the lines the object holds.
    EXPECT_EQ(TIniFile32(path).GetLines(), ini.GetLines());
}

// A literal with the NUL bytes inside it.
template <size_t N> std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

auto Write(std::string section, std::string key, std::string value) {
    return [=](TIniFile32& ini) { ini.WriteString(section, key, value); };
}
auto Erase(std::string section) {
    return [=](TIniFile32& ini) { ini.EraseSection(section); };
}

const WriteCase WriteCases[] = {
    {"NewFile", std::nullopt, Write("A", "k", "v"), "\r\n[A]\r\nk=v\r\n"},
    {"NewFileEmptyKey", std::nullopt, Write("S", "", "v"), "\r\n[S]\r\n"},
    {"EmptyKeyStillSaves", "[A]\n k=1\n", Write("A", "", "v"), "[A]\r\n k=1\r\n"},
    {"ReplaceLosesSpacing", "[A]\r\n k = old ; c\r\nz=1\r\n", Write("A", "k", "new"),
     "[A]\r\nk=new\r\nz=1\r\n"},
    {"ReplaceFirstOfTwo", "[A]\r\nk=1\r\nk=2\r\n", Write("A", "k", "3"), "[A]\r\nk=3\r\nk=2\r\n"},
    {"InsertBelowBlankAboveNextHeader", "[A]\r\nk=1\r\n\r\n[B]\r\nx=1\r\n", Write("A", "n", "2"),
     "[A]\r\nk=1\r\n\r\nn=2\r\n[B]\r\nx=1\r\n"},
    {"AppendAtEndWithoutLineEnd", "[A]\r\nk=1", Write("A", "n", "2"), "[A]\r\nk=1\r\nn=2\r\n"},
    {"NewSectionAfterOthers", "[A]\r\nk=1\r\n", Write("B", "x", "y"), "[A]\r\nk=1\r\n\r\n[B]\r\nx=y\r\n"},
    {"HeaderCaseIgnored", "[Main]\r\n", Write("MAIN", "k", "v"), "[Main]\r\nk=v\r\n"},
    {"KeyCaseHeeded", "[A]\r\nK=1\r\n", Write("A", "k", "2"), "[A]\r\nK=1\r\nk=2\r\n"},
    {"UpperDuplicateWins", "[A]\r\nk=1\r\n[A]\r\nk=2\r\n", Write("a", "k", "9"),
     "[A]\r\nk=9\r\n[A]\r\nk=2\r\n"},
    {"BlanksInBracketsNotFound", "[ A ]\r\nk=1\r\n", Write("A", "k", "2"),
     "[ A ]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n"},
    {"ValueWrittenUntrimmed", "", Write("A", "k", "  v  "), "\r\n[A]\r\nk=  v  \r\n"},
    {"PreambleKept", ";comment\r\nloose\r\n[A]\r\n", Write("A", "k", "v"),
     ";comment\r\nloose\r\n[A]\r\nk=v\r\n"},
    {"WriteInteger", "[A]\r\n",
     [](TIniFile32& ini) {
         ini.WriteInteger("A", "neg", -42);
         ini.WriteInteger("A", "zero", 0);
         ini.WriteInteger("A", "min", -2147483647 - 1);
     },
     "[A]\r\nneg=-42\r\nzero=0\r\nmin=-2147483648\r\n"},
    // Line ends: whatever was read, CR LF is written.
    {"LfOnly", "[A]\nk=1\n[B]\nx=1\n", Write("B", "x", "2"), "[A]\r\nk=1\r\n[B]\r\nx=2\r\n"},
    {"CrOnly", "[A]\rk=1\r", Write("A", "k", "2"), "[A]\r\nk=2\r\n"},
    {"LfCrIsTwoLineEnds", "x=1\r\n\r\n[A]\n\rk=1", Write("A", "k", "2"), "x=1\r\n\r\n[A]\r\n\r\nk=2\r\n"},
    {"NulEndsTheText", Bytes("[A]\r\nk=1\r\n\0[B]\r\nx=1\r\n"), Write("A", "k", "2"), "[A]\r\nk=2\r\n"},
    {"NulInsideALine", Bytes("[A]\r\nk=1\0tail\r\nz=2\r\n"), Write("A", "n", "3"), "[A]\r\nk=1\r\nn=3\r\n"},
    {"ByteOrderMarkBelongsToTheFirstLine", "\xEF\xBB\xBF[A]\r\nk=1\r\n", Write("A", "k", "2"),
     "\xEF\xBB\xBF[A]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n"},
    // Erase.
    {"EraseFirstLeavesNothing", "[A]\r\nk=1\r\n\r\n[B]\r\nx=1\r\n", Erase("a"), "[B]\r\nx=1\r\n"},
    {"EraseMiddleLeavesOneEmptyLine", "[A]\r\nk=1\r\n\r\n[B]\r\nx=1\r\n;c\r\n\r\n[C]\r\ny=1\r\n", Erase("B"),
     "[A]\r\nk=1\r\n\r\n\r\n[C]\r\ny=1\r\n"},
    {"EraseLast", "[A]\r\nk=1\r\n[B]\r\nx=1", Erase("b"), "[A]\r\nk=1\r\n\r\n"},
    {"EraseUpperDuplicateOnly", "[A]\r\n1=1\r\n[B]\r\n[A]\r\n2=2\r\n", Erase("A"), "[B]\r\n[A]\r\n2=2\r\n"},
    {"EraseAfterPreamble", "x\r\n[A]\r\nk=1\r\n", Erase("A"), "x\r\n\r\n"},
    {"EraseAbsentWritesNothing", "[A]\nk=1\n", Erase("Z"), "[A]\nk=1\n"},
    {"EraseOnlySection", "[A]\r\nk=1\r\n", Erase("A"), ""},
    {"WriteAfterErase", "\r\n[A]\r\nk=1\r\n\r\n[B]\r\nx=1\r\n",
     [](TIniFile32& ini) {
         ini.EraseSection("A");
         ini.WriteString("A", "k", "2");
     },
     "\r\n\r\n[B]\r\nx=1\r\n\r\n[A]\r\nk=2\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniWriteTest, ::testing::ValuesIn(WriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, NonAsciiSectionNamesMatchWithoutRegardToCase) {
    WriteBytes(path, "[Ärger]\r\nk=1\r\n[\xC4rger]\r\nk=2\r\n");
    const TIniFile32 ini(path);
    EXPECT_EQ(ini.ReadString("ärger", "k", "-"), "1");
    EXPECT_EQ(ini.ReadString("ÄRGER", "k", "-"), "1");
    // Bytes that are no UTF-8 text match only themselves, not every other such byte.
    EXPECT_EQ(ini.ReadString("\xC4rger", "k", "-"), "2");
    EXPECT_EQ(ini.ReadString("\xE4rger", "k", "-"), "-");
    EXPECT_EQ(ini.ReadString("\xC4RGER", "k", "-"), "2");
}

TEST_F(IniFileTest, EachObjectSeesTheFileAsItWasWhenCreated) {
    WriteBytes(path, "[A]\r\nk=1\r\n");
    TIniFile32 first(path);
    TIniFile32 second(path);
    first.WriteString("A", "k", "2");
    EXPECT_EQ(second.ReadString("A", "k", ""), "1");
    second.WriteString("A", "n", "3"); // the last save wins
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\nn=3\r\n");
}

// --- Failures: the file error names the file, and the old content stays on disk.

void ExpectFileErrorNaming(const std::function<void()>& action, const std::string& path) {
    try {
        action();
        ADD_FAILURE() << "no file error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST_F(IniFileTest, SaveIntoAMissingFolderFails) {
    const std::string missing = folder.File("no-such-folder/settings.ini");
    TIniFile32 ini(missing);
    ExpectFileErrorNaming([&] { ini.WriteString("A", "k", "v"); }, missing);
    EXPECT_FALSE(fs::exists(folder.File("no-such-folder")));
    // The change stays in memory.
    EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
}

TEST_F(IniFileTest, SomethingOtherThanAFileInItsPlaceFails) {
    // A folder cannot be read whoever we are; a pipe must fail at once instead of waiting for a writer.
    const std::string folderPath = folder.File("folder.ini"), pipePath = folder.File("pipe.ini");
    fs::create_directory(folderPath);
    ASSERT_EQ(::mkfifo(pipePath.c_str(), 0600), 0);
    for (const std::string& odd : {folderPath, pipePath}) {
        SCOPED_TRACE(odd);
        ExpectFileErrorNaming([&] { TIniFile32 ini(odd); }, odd);
    }
}

TEST_F(IniFileTest, AFileWithoutReadPermissionFails) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop the superuser";
    WriteBytes(path, "[A]\r\nk=1\r\n");
    fs::permissions(path, fs::perms::none);
    ExpectFileErrorNaming([&] { TIniFile32 ini(path); }, path);
}

TEST_F(IniFileTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop the superuser";
    WriteBytes(path, "[A]\r\nk=1\r\n");
    TIniFile32 ini(path);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    ExpectFileErrorNaming([&] { ini.WriteString("A", "k", "2"); }, path);
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n");
    EXPECT_EQ(FolderEntries(), Strings{"settings.ini"});
}

TEST_F(IniFileTest, SaveOfAReadOnlyFileFailsAndKeepsIt) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop the superuser";
    WriteBytes(path, "[A]\r\nk=1\r\n");
    fs::permissions(path, fs::perms::owner_read);
    TIniFile32 ini(path);
    ExpectFileErrorNaming([&] { ini.WriteString("A", "k", "2"); }, path);
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n");
}

// A save that runs out of room half-way (here: a file-size limit, which binds the superuser too).
TEST_F(IniFileTest, SaveThatCannotWriteEverythingKeepsTheOldFile) {
    WriteBytes(path, "[A]\r\nk=1\r\n");
    TIniFile32 ini(path);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    ExpectFileErrorNaming([&] { ini.WriteString("A", "k", std::string(500, 'x')); }, path);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n");
    EXPECT_EQ(FolderEntries(), Strings{"settings.ini"}) << "the half-written copy must go";
    EXPECT_EQ(ini.ReadString("A", "k", ""), std::string(500, 'x'));
}

TEST_F(IniFileTest, SaveLeavesNoScratchFileAndKeepsPermissions) {
    WriteBytes(path, "[A]\r\nk=1\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    TIniFile32 ini(path);
    ini.WriteString("A", "k", "2");
    ini.WriteString("B", "x", "3");
    EXPECT_EQ(FolderEntries(), Strings{"settings.ini"});
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, SaveThroughASymbolicLinkKeepsTheLink) {
    const std::string real = folder.File("real.ini");
    WriteBytes(real, "[A]\r\nk=1\r\n");
    fs::create_symlink(real, path);
    TIniFile32(path).WriteString("A", "k", "2");
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadBytes(real), "[A]\r\nk=2\r\n");
}

// --- Robustness: a megabyte of random bytes.

std::string RandomBytes(size_t size, uint32_t seed, bool structured) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    // Structured input favours the characters that carry meaning, so headers and keys appear often.
    const char alphabet[] = "[]=\r\n \tabAB01;";
    for (char& c : bytes)
        c = structured && random() % 4 != 0 ? alphabet[random() % (sizeof alphabet - 1)] : char(random());
    return bytes;
}

TEST_F(IniFileTest, AMegabyteOfRandomBytesNeitherCrashesNorHangs) {
    for (const bool structured : {false, true}) {
        SCOPED_TRACE(structured ? "structured" : "raw");
        std::string bytes = RandomBytes(1 << 20, 20240611, structured);
        // Without a NUL the whole megabyte is read.
        for (char& c : bytes)
            if (c == '\0') c = 'z';
        WriteBytes(path, bytes);

        const auto start = std::chrono::steady_clock::now();
        TIniFile32 ini(path);
        const auto parsed = std::chrono::steady_clock::now();
        Strings sections;
        ini.ReadSections(&sections);
        for (size_t i = 0; i < sections.size() && i < 200; ++i)
            ini.ReadString(sections[i], "a", "");
        ini.ReadInteger("a", "b", 0);
        ini.WriteString("FreshSection", "key", "value");
        const auto done = std::chrono::steady_clock::now();

        using ms = std::chrono::duration<double, std::milli>;
        std::printf("[ measure  ] %s 1 MiB: parsed into %zu lines in %.1f ms; %zu sections; reads and a "
                    "write in %.1f ms\n",
                    structured ? "structured" : "raw", ini.GetLines().size(), ms(parsed - start).count(),
                    sections.size(), ms(done - parsed).count());

        // Once read, lines survive a save and a read unchanged.
        EXPECT_EQ(TIniFile32::ParseLines(TIniFile32::JoinLines(ini.GetLines())), ini.GetLines());
        const TIniFile32 reread(path);
        EXPECT_EQ(reread.ReadString("FreshSection", "key", ""), "value");
        EXPECT_EQ(reread.GetLines(), ini.GetLines());
    }
}

} // namespace
