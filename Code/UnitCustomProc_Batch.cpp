// TCustomProc: the encoder command line of each file and the conversion batch.
#include "UnitCustomProc.h"

#include "AdvanceSystem.h"
#include "CommandLine.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "Unit_Converting.h"
#include "Unit_Option.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int kCheckColumn = 0;
constexpr int kFileColumn = 1;
constexpr int kStartColumn = 4;
constexpr int kEndColumn = 5;
constexpr int kBeforeStartMs = 2000;
constexpr int kAfterRunMs = 3000;
constexpr int kWaitPollMs = 100;

TFrmMainForm* MainForm() {
    if (!FrmMainForm) throw std::logic_error("The main window does not exist yet");
    return FrmMainForm;
}

std::string Cell(const QTreeWidgetItem* row, int column) {
    return row->text(column).toStdString();
}

// Paths compare with the letters A to Z in either case; every other character must be the same.
bool SamePath(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

template <typename Visit> void ForEachMatchingRow(const std::string& file, Visit visit) {
    const QTreeWidget* list = MainForm()->dxTreeSourceFileInfo;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        if (SamePath(file, Cell(row, kFileColumn))) visit(row);
    }
}

TfrmConverting* ProgressWindow() {
    return frmConverting ? frmConverting : new TfrmConverting;
}

// The batch's windows as they are between batches: progress hidden, main window taking input.
void RestoreWindows() {
    if (frmConverting) frmConverting->hide();
    if (FrmMainForm) FrmMainForm->setEnabled(true);
}

} // namespace

std::string TCustomProc::GetRowStartText(const std::string& file) {
    std::string result;
    ForEachMatchingRow(file, [&](const QTreeWidgetItem* row) {
        result = Cell(row, kStartColumn);
        // A user profile chosen in the Options dialog decides the options of every file.
        ApplyUserProfile();
    });
    return result;
}

std::string TCustomProc::GetRowCutSecondsText(const std::string& file) {
    std::string result;
    ForEachMatchingRow(file, [&](const QTreeWidgetItem* row) {
        const int64_t start = CommonLib->TimeTextToSeconds(Cell(row, kStartColumn));
        const int64_t end = CommonLib->TimeTextToSeconds(Cell(row, kEndColumn));
        result = std::to_string(end - start);
    });
    return result;
}

std::string TCustomProc::PrepareOutputFolder() {
    std::string folder = MainForm()->edtOutputFolder->text().toStdString();
    if (folder.empty() || folder.back() != '/') folder += '/';
    try {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        // A folder that could not be made is reported, not logged as if it were there.
        if (!std::filesystem::is_directory(folder, error)) throw std::runtime_error("no folder");
        TAppFunc().WriteLog("Output directory " + folder);
    } catch (const std::exception&) {
        TAppFunc().WriteLog("Output directory error. ->" + folder);
    }
    return folder;
}

std::string TCustomProc::BuildCommandLine(const std::string& file) {
    TConvertParameterStruct& p = CommonLib->ConvertParams;
    CutStartText = GetRowStartText(file);
    CutSecondsText = GetRowCutSecondsText(file);
    p.TrimArg = MakeTrimArg(CutStartText, CutSecondsText);
    p.EncoderPath = CommonLib->ExeFolder + CommonLib->EncoderName;
    p.SourceFile = file;

    const QComboBox* type = MainForm()->cbbOutputFiletype;
    const TfrmOption* options = EnsureOptionForm();
    p.CodecArg = CommonLib->CodecArgument(type, type->currentIndex());
    p.VideoBitrateArg =
        CommonLib->VideoBitrateArgument(options->cbbVideoBitrate, options->cbbVideoBitrate->currentIndex());
    p.VideoSizeArg =
        CommonLib->VideoSizeArgument(options->cbbVideoSize, options->cbbVideoSize->currentIndex());
    p.FrameRateArg =
        CommonLib->FrameRateArgument(options->cbbFramerate, options->cbbFramerate->currentIndex());
    p.AspectArg = CommonLib->AspectArgument(options->cbbAspectratio, options->cbbAspectratio->currentIndex());
    p.AudioBitrateArg =
        CommonLib->AudioBitrateArgument(options->cbbAudioBitrate, options->cbbAudioBitrate->currentIndex());
    p.VolumeArg =
        CommonLib->VolumeArgument(options->cbbAudioVolumeGain, options->cbbAudioVolumeGain->currentIndex());
    p.AudioChannelsArg = CommonLib->AudioChannelsArgument(options->cbbAudioChannels,
                                                          options->cbbAudioChannels->currentIndex());
    p.SampleRateArg =
        CommonLib->SampleRateArgument(options->cbbAudioSample, options->cbbAudioSample->currentIndex());
    p.FormatArg = CommonLib->FormatArgument(type, type->currentIndex());
    p.OutputFolder = PrepareOutputFolder();
    p.OutputBaseName = TFileFunc().GetFileBaseName(file);
    p.OutputExt = CommonLib->OutputExtension(type, type->currentIndex());

    const TCommandForm form = CommandFormOf(p.CodecArg);
    if (form != TCommandForm::Video && form != TCommandForm::Audio) {
        TAppFunc().WriteLog("Create convert parameter failure.");
        return std::string();
    }
    const std::string output = TFileFunc().GetUniqueFileName(p.OutputFolder + p.OutputBaseName + p.OutputExt);
    return JoinCommandLine(p, output, form);
}

void TCustomProc::ConvertAll(QTreeWidget* list) {
    if (BatchRunning) return;
    BatchRunning = true;
    const auto pause = Pause ? Pause : std::function<void(int)>(PauseProcessingEvents);
    TFrmMainForm* main = MainForm();
    TfrmConverting* progress = ProgressWindow();
    try {
        CurrentRow = 0;
        RowCount = list->topLevelItemCount();
        StopRequested = false;
        if (RowCount == 0) {
            CommonLib->ShowMessageBox("Please add media files you want to convert into the list.", 1);
        } else {
            while (CurrentRow <= list->topLevelItemCount() - 1) {
                const QTreeWidgetItem* row = list->topLevelItem(CurrentRow);
                if (Cell(row, kCheckColumn) != "True") {
                    ++CurrentRow;
                    continue;
                }
                const std::string path = Cell(row, kFileColumn);
                CommandLine = BuildCommandLine(path);
                TAppFunc().WriteLog("parameter: " + CommandLine);
                OutputChunkCount = 0;
                progress->ProgressBar1->SetPosition(0);
                TAdvanceSystem runner;
                progress->show();
                main->setEnabled(false);
                ProcessMessages();
                pause(kBeforeStartMs);
                ProcessMessages();
                // A Stop confirmed during the pause keeps this file's encoder from starting at all.
                if (!StopRequested) {
                    const bool started = runner.RunCaptured(CommandLine, OnEncoderOutput);
                    if (!started && !CommandLine.empty())
                        TAppFunc().WriteLog("Encoder start error. ->" + path);
                    else if (started && !runner.FailureText().empty())
                        TAppFunc().WriteLog("Encoder error. ->" + path + " (" + runner.FailureText() + ")");
                }
                ProcessMessages();
                pause(kAfterRunMs);
                while (TSysFunc().IsProcessRunning(CommonLib->EncoderName) != 0) {
                    pause(kWaitPollMs);
                    ProcessMessages();
                }
                ++CurrentRow;
            }
            if (main->chkShowOutputDirectory->isChecked())
                CommonLib->OpenFolderInExplorer(CommonLib->ConvertParams.OutputFolder);
            if (main->chkShutdown->isChecked()) {
                CommonLib->ShutdownComputer();
                BatchRunning = false;
                if (EndProgram) {
                    EndProgram();
                    return;
                }
                std::fflush(nullptr);
                ::_exit(0);
            }
        }
    } catch (...) {
        // The error report follows; the user gets the main window back to carry on.
        BatchRunning = false;
        RestoreWindows();
        throw;
    }
    BatchRunning = false;
    RestoreWindows();
}
