// Small media files made with the ffmpeg program and a main window set up for the source list and preview
// tests.
#pragma once

#include "PreviewState.h"
#include "SourceTreeList.h"
#include "UnitCustomProc.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "modal_answerer.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fixtures {

inline const QTemporaryDir& MediaFolder() {
    static QTemporaryDir folder;
    return folder;
}

inline std::string MediaPath(const std::string& name) {
    return MediaFolder().filePath(QString::fromStdString(name)).toStdString();
}

// Runs ffmpeg once per name; later calls return the same file.
inline std::string Generated(const std::string& name, const QStringList& arguments) {
    const std::string path = MediaPath(name);
    if (QFile::exists(QString::fromStdString(path))) return path;
    QStringList all = {"-v", "error", "-y"};
    all << arguments << QString::fromStdString(path);
    const int code = QProcess::execute(QStringLiteral("ffmpeg"), all);
    EXPECT_EQ(code, 0) << "ffmpeg could not make " << name;
    return path;
}

// A clip with moving video (and a tone, unless silent) of the given length in seconds.
inline std::string Clip(const std::string& name, double seconds, bool withAudio = true) {
    const QString length = QString::number(seconds);
    QStringList arguments = {"-f", "lavfi", "-i", "testsrc=s=64x48:r=10:d=" + length};
    if (withAudio) arguments << QStringList{"-f", "lavfi", "-i", "sine=d=" + length};
    arguments << QStringList{"-c:v", "mpeg4", "-b:v", "50k"};
    const bool avi = name.size() > 4 && name.compare(name.size() - 4, 4, ".avi") == 0;
    if (withAudio) arguments << QStringList{"-c:a", avi ? "pcm_s16le" : "aac", "-shortest"};
    return Generated(name, arguments);
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string WriteFile(const std::string& name, const std::string& content) {
    const std::string path = MediaPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// The same bytes as an existing file, under another name.
inline std::string CopyAs(const std::string& source, const std::string& name) {
    return WriteFile(name, ReadAll(source));
}

// An AVI whose video stream names a codec nobody decodes; with audio it still plays in part.
inline std::string UndecodableVideoAvi(const std::string& name, bool withAudio) {
    std::string bytes =
        ReadAll(Clip(withAudio ? "undecodable-base-av.avi" : "undecodable-base-v.avi", 3, withAudio));
    for (size_t at = bytes.find("FMP4"); at != std::string::npos; at = bytes.find("FMP4", at + 4))
        bytes.replace(at, 4, "ZZZZ");
    return WriteFile(name, bytes);
}

// An AVI whose audio stream is of a kind nobody decodes, beside good video.
inline std::string UndecodableAudioAvi(const std::string& name) {
    std::string bytes = ReadAll(Clip("undecodable-base-av.avi", 3, true));
    // The second stream format chunk is the audio's; its first field names the codec.
    const size_t video = bytes.find("strf");
    const size_t audio = bytes.find("strf", video + 4);
    if (audio != std::string::npos) bytes.replace(audio + 8, 2, "\xcd\xab");
    return WriteFile(name, bytes);
}

// A fresh main window with an empty preview, logging into a folder of its own.
class SourceWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AppFolder.isValid());
        TAppFunc::SetAppDirForTesting(AppFolder.path().toStdString());
        Form = std::make_unique<TFrmMainForm>();
        CommonLib->ExeFolder = AppFolder.path().toStdString() + "/";
        CommonLib->PlayingFile.clear();
        CustomProc->IsPlaying = false;
        TrimDuration = 0;
        StopAtTime.clear();
        SeekOnStartMove = false;
        List = Form->dxTreeSourceFileInfo;
    }
    void TearDown() override {
        Form.reset();
        TAppFunc::SetAppDirForTesting("");
    }

    // A row filled as the list fills it, without probing.
    QTreeWidgetItem* AddRow(const std::string& path, const std::string& duration = "00:02:00",
                            const std::string& start = "00:00:00", const std::string& end = "") {
        QTreeWidgetItem* row = List->AppendRow();
        const std::string last = end.empty() ? duration : end;
        const std::string cells[] = {"True", path, "1 MB", duration, start, last, duration};
        for (int i = 0; i < TSourceTreeList::ColumnCount; ++i)
            TSourceTreeList::SetCell(row, i, cells[i]);
        return row;
    }
    std::string CellOf(int row, int column) const { return TSourceTreeList::Cell(List->Row(row), column); }
    std::string Log() const { return ReadAll(AppFolder.filePath("log.txt").toStdString()); }

    QTemporaryDir AppFolder;
    std::unique_ptr<TFrmMainForm> Form;
    TSourceTreeList* List = nullptr;
};

} // namespace fixtures
