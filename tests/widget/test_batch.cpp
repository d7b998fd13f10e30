// The conversion batch and its command lines, with a scripted encoder stand-in, recorded pauses and the
// folder opening and power-off only recorded.
#include "AdvanceSystem.h"
#include "AppObjects.h"
#include "RzBmpButton.h"
#include "UnitCustomProc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "Unit_Converting.h"
#include "Unit_Option.h"
#include "desktop_guard.h"
#include "engine_support.h"
#include "modal_answerer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace engine_test;

namespace {

struct PauseSeen {
    int Ms;
    bool ProgressVisible;
    bool MainEnabled;
};

class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateAppObjects();
        std::filesystem::create_directories(App.Path + "Config");
        std::filesystem::create_directories(App.Path + "clips");
        CommonLib->ExeFolder = App.Path;
        CommonLib->EncoderName = UniqueProcessName("vtevc");
        Encoder = InstallStub(App.Path, CommonLib->EncoderName);
        CommonLib->ConvertParams = {};
        CustomProc->FillOptionCombos();
        CustomProc->ApplyQualityPreset();
        Out = App.Path + "out";
        Main.edtOutputFolder->setText(QString::fromStdString(Out));
        Main.dxTreeSourceFileInfo->setColumnCount(7);
        Runs = App.Path + "runs.txt";
        ::setenv("ENGINE_STUB_RECORD", Runs.c_str(), 1);
        Script("record output");
        CustomProc->Pause = [this](int ms) {
            Pauses.push_back({ms, Progress.isVisible(), Main.isEnabled()});
            if (OnPause) OnPause(ms);
        };
        CustomProc->EndProgram = [this] { ++Ended; };
        Desktop() = {};
    }

    void TearDown() override {
        ::unsetenv("ENGINE_STUB_RECORD");
        ::unsetenv("ENGINE_STUB_SCRIPT");
        CustomProc->Pause = nullptr;
        CustomProc->EndProgram = nullptr;
    }

    static void Script(const char* words) { ::setenv("ENGINE_STUB_SCRIPT", words, 1); }

    std::string AddRow(const std::string& name, const std::string& start = "00:00:00",
                       const std::string& end = "00:00:05", const std::string& check = "True") {
        const std::string path = App.Path + "clips/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFile(path);
        auto* row = new QTreeWidgetItem;
        const std::string cells[] = {check, path, "1 KB", "00:00:05", start, end, "5"};
        for (int i = 0; i < 7; ++i)
            row->setText(i, QString::fromStdString(cells[i]));
        Main.dxTreeSourceFileInfo->addTopLevelItem(row);
        return path;
    }

    static void WriteFile(const std::string& path) { std::ofstream(path) << "x"; }

    std::string Line(const std::string& source, const std::string& output, const std::string& cut = "5",
                     const std::string& start = "00:00:00") const {
        return Encoder + " -y -i \"" + source +
               "\" -vcodec rv20 -b 768 -s 320x240 -r 25 -aspect 4:3 -ab 128 -vol 200 -ac 2 -ar 44100 -ss " +
               start + " -t " + cut + " \"" + output + "\"";
    }

    // The arguments each run of the stand-in received, one list per run.
    std::vector<std::vector<std::string>> RunArguments() const {
        std::vector<std::vector<std::string>> runs(1);
        std::istringstream in(ReadFile(Runs));
        for (std::string line; std::getline(in, line);) {
            if (line.empty())
                runs.emplace_back();
            else
                runs.back().push_back(line);
        }
        runs.pop_back();
        return runs;
    }

    std::vector<int> PauseLengths() const {
        std::vector<int> lengths;
        for (const PauseSeen& p : Pauses)
            lengths.push_back(p.Ms);
        return lengths;
    }

    void Convert() { Main.btnConvertClick(); }

    TempAppFolder App;
    TFrmMainForm Main;
    TfrmOption Options;
    TfrmConverting Progress;
    std::string Encoder, Out, Runs;
    std::vector<PauseSeen> Pauses;
    std::function<void(int)> OnPause;
    int Ended = 0;
};

} // namespace

TEST_F(Batch, ConvertsEveryRowInOrderWithItsLogLinesWindowsAndPauses) {
    const std::string a = AddRow("a.avi");
    const std::string b = AddRow("b.avi", "00:00:10", "00:01:40");
    const std::string c = AddRow("sub/a.avi");
    Convert();

    const std::string out = Out + "/";
    EXPECT_EQ(LogMessages(App.Log()),
              (std::vector<std::string>{"Output directory " + out, "parameter: " + Line(a, out + "a.rm"),
                                        "Output directory " + out,
                                        "parameter: " + Line(b, out + "b.rm", "90", "00:00:10"),
                                        "Output directory " + out, "parameter: " + Line(c, out + "a_1.rm")}));
    EXPECT_EQ(PauseLengths(), (std::vector<int>{2000, 3000, 2000, 3000, 2000, 3000}));
    for (const PauseSeen& p : Pauses) {
        EXPECT_TRUE(p.ProgressVisible);
        EXPECT_FALSE(p.MainEnabled);
    }
    const auto runs = RunArguments();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].back(), out + "a.rm");
    EXPECT_EQ(runs[1][2], b);
    EXPECT_EQ(runs[2].back(), out + "a_1.rm");
    EXPECT_TRUE(std::filesystem::exists(out + "a_1.rm"));
    // After the batch: the folder opened once, the progress window gone, the main window back.
    EXPECT_EQ(Desktop().OpenedFolders, std::vector<std::string>{out});
    EXPECT_FALSE(Progress.isVisible());
    EXPECT_TRUE(Main.isEnabled());
    EXPECT_EQ(Desktop().PowerOffs, 0);
    EXPECT_EQ(CommonLib->ConvertParams.SourceFile, c);
}

TEST_F(Batch, RowsNotMarkedTrueAreSkippedSilentlyAndAnEmptyListOnlyWarns) {
    {
        ModalAnswerer<> answer({QMessageBox::Ok});
        Convert();
        ASSERT_EQ(answer.Seen.size(), 1u);
        EXPECT_EQ(answer.Seen[0].Text, "Please add media files you want to convert into the list.");
        EXPECT_EQ(answer.Seen[0].Icon, QMessageBox::Warning);
    }
    EXPECT_TRUE(Pauses.empty());
    EXPECT_EQ(App.Log(), "");
    EXPECT_TRUE(Desktop().OpenedFolders.empty());
    EXPECT_TRUE(Main.isEnabled());

    AddRow("a.avi", "00:00:00", "00:00:05", "False");
    const std::string b = AddRow("b.avi");
    AddRow("c.avi", "00:00:00", "00:00:05", "true");
    Convert();
    const std::vector<std::string> log = LogMessages(App.Log());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], "parameter: " + Line(b, Out + "/b.rm"));
    EXPECT_EQ(RunArguments().size(), 1u);
    EXPECT_EQ(PauseLengths(), (std::vector<int>{2000, 3000}));
}

TEST_F(Batch, StopBeforeTheEncoderStartsPreventsThatStartAndTheAfterBatchActionsStillRun) {
    AddRow("a.avi");
    AddRow("b.avi");
    ModalAnswerer<> answer({QMessageBox::Yes});
    OnPause = [&](int ms) {
        if (ms != 2000) return;
        Progress.btnStop->click();
        // The main window takes clicks again, but Convert starts no second batch inside this one.
        Convert();
    };
    Convert();
    EXPECT_TRUE(RunArguments().empty());
    EXPECT_FALSE(std::filesystem::exists(Out + "/a.rm"));
    EXPECT_EQ(PauseLengths(), (std::vector<int>{2000, 3000}));
    const std::vector<std::string> log = LogMessages(App.Log());
    ASSERT_EQ(log.size(), 6u);
    EXPECT_TRUE(log[1].starts_with("parameter: "));
    for (size_t i = 2; i < 6; ++i)
        EXPECT_EQ(log[i], "Get Process id error.");
    EXPECT_EQ(Desktop().OpenedFolders, std::vector<std::string>{Out + "/"});
    EXPECT_TRUE(Main.isEnabled());
    EXPECT_FALSE(Progress.isVisible());
}

TEST_F(Batch, StopDuringARunEndsTheEncoderAndStartsNoFurtherFile) {
    const std::string a = AddRow("a.avi");
    AddRow("b.avi");
    AddRow("c.avi");
    Script("record on-term progress:600 hang");
    ModalAnswerer<> answer({QMessageBox::Yes});
    OnPause = [&](int ms) {
        if (ms == 2000) QTimer::singleShot(1200, &Progress, [&] { Progress.btnStop->click(); });
    };
    Convert();
    ASSERT_EQ(answer.Seen.size(), 1u);
    EXPECT_EQ(RunArguments().size(), 1u);
    EXPECT_EQ(PauseLengths(), (std::vector<int>{2000, 3000}));
    const std::string log = App.Log();
    // The encoder was asked to end, tidied up and said so through its exit status.
    EXPECT_NE(log.find("|Encoder error. ->" + a + " (exit status 143)\r\n"), std::string::npos);
    EXPECT_EQ(log.find("b.avi"), std::string::npos);
    EXPECT_EQ(TSysFunc().IsProcessRunning(CommonLib->EncoderName), 0u);
    EXPECT_EQ(Desktop().OpenedFolders.size(), 1u);
    EXPECT_TRUE(Main.isEnabled());
}

TEST_F(Batch, AnotherEncoderProcessHoldsTheBatchWithPollsOfOneHundredMilliseconds) {
    AddRow("a.avi");
    const pid_t other = StartProgram({Encoder, "hang"});
    for (int i = 0; i < 200 && TSysFunc().IsProcessRunning(CommonLib->EncoderName) == 0; ++i)
        PauseProcessingEvents(10);
    int polls = 0;
    OnPause = [&](int ms) {
        if (ms == 100 && ++polls == 3) {
            ::kill(other, SIGKILL);
            WaitForProgram(other);
        }
    };
    Convert();
    EXPECT_EQ(PauseLengths(), (std::vector<int>{2000, 3000, 100, 100, 100}));
}

TEST_F(Batch, ShutdownAfterTheBatchPowersOffAndEndsWithoutRestoringTheWindows) {
    AddRow("a.avi");
    Main.chkShutdown->setChecked(true);
    Main.chkShowOutputDirectory->setChecked(false);
    Convert();
    EXPECT_EQ(Desktop().PowerOffs, 1);
    EXPECT_EQ(Ended, 1);
    EXPECT_TRUE(Desktop().OpenedFolders.empty());
    EXPECT_TRUE(Progress.isVisible());
    EXPECT_FALSE(Main.isEnabled());
    Progress.hide();
}

TEST_F(Batch, EncoderThatFailsOrCannotStartGetsOneMoreLogLine) {
    const std::string a = AddRow("a.avi");
    Script("say:cannot_read exit:2");
    Convert();
    std::vector<std::string> log = LogMessages(App.Log());
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], "Encoder error. ->" + a + " (exit status 2)");

    std::filesystem::remove(Encoder);
    Convert();
    log = LogMessages(App.Log());
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[5], "Encoder start error. ->" + a);
    EXPECT_TRUE(Main.isEnabled());
}

TEST_F(Batch, CommandLineFollowsTheRowTheSettingsAndTheFilesAlreadyThere) {
    const std::string a = AddRow("a.avi", "00:01:00", "00:01:00");
    const std::string out = Out + "/";
    // Equal times give -t 0.
    EXPECT_EQ(CustomProc->BuildCommandLine(a), Line(a, out + "a.rm", "0", "00:01:00"));
    EXPECT_EQ(CustomProc->CutStartText, "00:01:00");
    EXPECT_EQ(CustomProc->CutSecondsText, "0");

    // MP3 leaves out the video fragments; a file of any type with the base name takes it.
    Main.cbbOutputFiletype->setCurrentIndex(1);
    CustomProc->ApplyQualityPreset();
    WriteFile(out + "a.rm");
    Main.edtOutputFolder->setText(QString::fromStdString(out));
    Main.dxTreeSourceFileInfo->topLevelItem(0)->setText(5, "00:00:30");
    EXPECT_EQ(CustomProc->BuildCommandLine(a), Encoder + " -y -i \"" + a +
                                                   "\" -acodec aac -vn -ab 128 -vol 200 -ac 2 -ar 44100 -ss "
                                                   "00:01:00 -t -30 \"" +
                                                   out + "a_1.mp3\"");
    EXPECT_EQ(CommonLib->ConvertParams.OutputExt, ".mp3");
    EXPECT_EQ(CommonLib->ConvertParams.OutputFolder, out);

    // No row matches: no cut at all.
    Main.cbbOutputFiletype->setCurrentIndex(0);
    CustomProc->ApplyQualityPreset();
    const std::string line = CustomProc->BuildCommandLine(App.Path + "clips/other.avi");
    EXPECT_EQ(line.find(" -ss "), std::string::npos);
    EXPECT_EQ(CustomProc->CutStartText, "");

    // Two rows differing only in letter case both match; the lower one's cut wins.
    AddRow("A.avi", "00:00:02", "00:00:09");
    EXPECT_NE(CustomProc->BuildCommandLine(a).find(" -ss 00:00:02 -t 7 "), std::string::npos);
}

TEST_F(Batch, ChosenUserProfileDecidesTheOptionsWhateverTheCombosShow) {
    const std::string a = AddRow("a.avi");
    std::ofstream(App.Path + "Config/UserProfileInfo.ini", std::ios::binary)
        << "\r\n[Small]\r\nSmall=0|1|3|7|0|0\r\n";
    Options.ReloadProfileNames();
    Options.cbbCustomProfile->setCurrentIndex(0);
    Options.cbbVideoSize->setCurrentIndex(2);
    Options.cbbAspectratio->setCurrentIndex(0);
    const std::string line = CustomProc->BuildCommandLine(a);
    EXPECT_NE(line.find(" -vcodec rv20 -b 1000 -s 160x112 -r 15 -aspect " +
                        Options.cbbAspectratio->itemText(0).toStdString() +
                        " -ab 192 -vol 200 -ac 1 -ar 22050 "),
              std::string::npos)
        << line;
    EXPECT_EQ(Options.cbbVideoSize->currentIndex(), 0);
}

TEST_F(Batch, OutputFolderIsCreatedWithItsParentsOrTheFailureIsLogged) {
    const std::string a = AddRow("a.avi");
    Main.edtOutputFolder->setText(QString::fromStdString(App.Path + "deep/er/out/"));
    CustomProc->BuildCommandLine(a);
    EXPECT_TRUE(std::filesystem::is_directory(App.Path + "deep/er/out"));
    EXPECT_EQ(LogMessages(App.Log()).back(), "Output directory " + App.Path + "deep/er/out/");

    WriteFile(App.Path + "blocked");
    Main.edtOutputFolder->setText(QString::fromStdString(App.Path + "blocked/out"));
    const std::string line = CustomProc->BuildCommandLine(a);
    EXPECT_EQ(LogMessages(App.Log()).back(), "Output directory error. ->" + App.Path + "blocked/out/");
    EXPECT_TRUE(line.ends_with(" \"" + App.Path + "blocked/out/a.rm\""));
}

TEST_F(Batch, ErrorInsideTheBatchGivesTheWindowsBackBeforeTheErrorReport) {
    AddRow("a.avi", "00:aa:00", "00:00:05");
    EXPECT_THROW(Convert(), EConvertError);
    EXPECT_TRUE(Main.isEnabled());
    EXPECT_FALSE(Progress.isVisible());
    EXPECT_FALSE(CustomProc->BatchRunning);
    // The next batch runs as usual once the row is put right.
    Main.dxTreeSourceFileInfo->topLevelItem(0)->setText(4, "00:00:00");
    Convert();
    EXPECT_EQ(RunArguments().size(), 1u);
}
