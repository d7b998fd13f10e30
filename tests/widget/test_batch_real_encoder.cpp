// A real batch with the real encoder: small clips made by ffmpeg, outputs checked by ffprobe.
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

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

using namespace engine_test;

namespace {

std::string RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) return "(did not finish)";
    return process.readAll().toStdString();
}

bool EncoderIsPlaceholder() {
    return RunTool(QStringLiteral(VANTOREL_APP_DIR "/evc"), {}).find("not built yet") != std::string::npos;
}

// A clip with picture and sound, made by ffmpeg's own test sources; a small, slow picture keeps it quick
// to make while the encoder still writes every output frame.
void MakeClip(const std::string& path, int seconds) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    RunTool(QStringLiteral("ffmpeg"),
            {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=5", "-f", "lavfi", "-i",
             "sine=frequency=440:sample_rate=44100", "-t", QString::number(seconds), "-c:v", "mpeg4", "-c:a",
             "pcm_s16le", QString::fromStdString(path)});
}

std::string Probe(const std::string& path) {
    return RunTool(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries",
                                               "stream=codec_type,codec_name,sample_rate:format=format_name",
                                               "-of", "default=nw=1", QString::fromStdString(path)});
}

class RealBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        if (EncoderIsPlaceholder())
            GTEST_SKIP() << "build/bin/evc is still the placeholder that prints 'evc: not built yet'; "
                            "the real batch runs once the encoder has landed";
        CreateAppObjects();
        std::filesystem::create_directories(App.Path + "Config");
        CommonLib->ExeFolder = App.Path;
        // A copy under its own name, so that stopping it never touches another program's encoder.
        CommonLib->EncoderName = UniqueProcessName("vtrealevc");
        std::filesystem::copy_file(VANTOREL_APP_DIR "/evc", App.Path + CommonLib->EncoderName);
        CustomProc->FillOptionCombos();
        CustomProc->ApplyQualityPreset();
        Out = App.Path + "out/";
        Main.edtOutputFolder->setText(QString::fromStdString(Out));
        Main.dxTreeSourceFileInfo->setColumnCount(7);
        // Short pauses: their lengths are the fake batch's concern; here only the files count.
        CustomProc->Pause = [](int ms) { PauseProcessingEvents(std::min(ms, 100)); };
    }

    void TearDown() override { CustomProc->Pause = nullptr; }

    void AddRow(const std::string& path, int seconds) {
        auto* row = new QTreeWidgetItem;
        const QString end = QString::fromStdString(SecondsToTimeText(seconds));
        const QString cells[] = {"True", QString::fromStdString(path), "", end, "00:00:00",
                                 end,    QString::number(seconds)};
        for (int i = 0; i < 7; ++i)
            row->setText(i, cells[i]);
        Main.dxTreeSourceFileInfo->addTopLevelItem(row);
    }

    TempAppFolder App;
    TFrmMainForm Main;
    TfrmOption Options;
    TfrmConverting Progress;
    std::string Out;
};

} // namespace

TEST_F(RealBatch, ConvertsThreeRowsIntoBothOutputTypesWithFreeNames) {
    for (const char* name : {"clips/a.avi", "more/a.avi", "clips/b.avi"}) {
        MakeClip(App.Path + name, 2);
        AddRow(App.Path + name, 2);
    }
    Main.btnConvertClick();
    Main.cbbOutputFiletype->setCurrentIndex(1);
    CustomProc->ApplyQualityPreset();
    Main.btnConvertClick();

    const struct {
        const char* file;
        const char* expected;
    } outputs[] = {
        {"a.rm", "format_name=rm"},    {"a_1.rm", "format_name=rm"},  {"b.rm", "format_name=rm"},
        {"a_2.mp3", "codec_name=mp3"}, {"a_3.mp3", "codec_name=mp3"}, {"b_1.mp3", "codec_name=mp3"},
    };
    for (const auto& o : outputs) {
        const std::string probe = Probe(Out + o.file);
        EXPECT_NE(probe.find(o.expected), std::string::npos) << o.file << ":\n" << probe << App.Log();
    }
    EXPECT_NE(Probe(Out + "a.rm").find("codec_type=video"), std::string::npos);
    EXPECT_NE(Probe(Out + "b_1.mp3").find("sample_rate=44100"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Out), {}), 6);
    EXPECT_EQ(App.Log().find("Encoder error"), std::string::npos) << App.Log();
}

TEST_F(RealBatch, StopEndsTheBatchAndLeavesNoPartialFile) {
    // Four minutes of output take the encoder a few seconds: long enough to be stopped while it writes.
    const std::string longClip = App.Path + "clips/long.avi";
    MakeClip(longClip, 240);
    AddRow(longClip, 240);
    MakeClip(App.Path + "clips/next.avi", 2);
    AddRow(App.Path + "clips/next.avi", 2);
    ModalAnswerer<> answer({QMessageBox::Yes});
    // Stop at the first progress the encoder reports.
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (Progress.isVisible() && CustomProc->OutputChunkCount >= 1) {
            watch.stop();
            Progress.btnStop->click();
        }
    });
    watch.start();
    Main.btnConvertClick();
    ASSERT_EQ(answer.Seen.size(), 1u) << App.Log();
    // The encoder was ended while it wrote, and took its unfinished output with it.
    EXPECT_NE(App.Log().find("|Encoder error. ->" + longClip + " ("), std::string::npos) << App.Log();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Out), {}), 0) << App.Log();
    EXPECT_EQ(TSysFunc().IsProcessRunning(CommonLib->EncoderName), 0u);
    EXPECT_EQ(App.Log().find("next.avi"), std::string::npos);
}
