// Main window handlers of the source list and the preview player.
#include "Unit_Convert.h"

#include "MediaGraph.h"
#include "OpenDialog.h"
#include "PreviewState.h"
#include "SkinPictures.h"
#include "SourceTreeList.h"
#include "TrimBar.h"
#include "UnitCustomProc.h"
#include "Unit_CommonLib.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>

#include <cstdlib>

namespace {

// Ends the player when the main window closes: it must let go of the video area's window while that
// window still exists, or the window system ends the program on its late requests.
class TPlayerCloser : public QObject {
  public:
    TPlayerCloser(TFrmMainForm* form) : QObject(form), Form(form) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == Form && event->type() == QEvent::Close) Form->FilterGraph->Shutdown();
        return false;
    }

  private:
    TFrmMainForm* Form;
};

std::vector<std::string> ToPaths(const QStringList& files) {
    std::vector<std::string> paths;
    paths.reserve(size_t(files.size()));
    for (const QString& file : files)
        paths.push_back(file.toStdString());
    return paths;
}

void SeekIgnoringErrors(int64_t milliseconds) {
    try {
        CommonLib->SeekToMs(milliseconds);
    } catch (const std::exception&) {
        // Nothing loaded, or the player refused: the position simply stays.
    }
}

} // namespace

void TFrmMainForm::CreatePreviewObjects() {
    // A child of the video area, so the player is gone before the window it draws into.
    FilterGraph = new TMediaGraph(DSVideoWindowEx1);
    FilterGraph->SetVideoWindow(DSVideoWindowEx1);
    dstrckbrMainform = new TPositionBar(FilterGraph, this);
    dlgOpenSourceFile = new TOpenDialog(this);
    dlgOpenSourceFile->Filter = SourceFileFilter;
    setAcceptDrops(true);
    installEventFilter(new TPlayerCloser(this));
    Panel1->SetHandlePictures(LoadSkinPicture(QStringLiteral("imgL")).toImage(),
                              LoadSkinPicture(QStringLiteral("imgR")).toImage());
    QList<QPixmap> headers;
    for (const char* name :
         {"hdrFileName", "hdrFileSize", "hdrDuration", "hdrStartTime", "hdrEndTime", "hdrCutTime"})
        headers << LoadSkinPicture(QString::fromLatin1(name));
    dxTreeSourceFileInfo->SetHeaderPictures(headers);
    // A program that ends without closing the window (switching the computer off) lets go of it too.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, FilterGraph,
                &TMediaGraph::Shutdown);

    connect(dxTreeSourceFileInfo, &TSourceTreeList::KeyDown, this,
            &TFrmMainForm::dxTreeSourceFileInfoKeyDown);
    connect(dxTreeSourceFileInfo, &TSourceTreeList::RowsDragEnded, this,
            &TFrmMainForm::dxTreeSourceFileInfoEndDrag);
    connect(dxTreeSourceFileInfo, &TSourceTreeList::Clicked, this,
            &TFrmMainForm::actDxTreeListOnClickExecute);
    connect(dxTreeSourceFileInfo, &TSourceTreeList::DoubleClicked, this,
            &TFrmMainForm::dxTreeSourceFileInfoDblClick);
    connect(dxTreeSourceFileInfo, &TSourceTreeList::FilesDropped, this,
            [this](const QStringList& files) { FormDropFiles(ToPaths(files)); });
    connect(dstrckbrMainform, &TPositionBar::Timer, this, &TFrmMainForm::dstrckbrMainformTimer);
    connect(Panel1, &TTrimBar::Splitter1Moved, this, &TFrmMainForm::Splitter1Moved);
    connect(Panel1, &TTrimBar::Splitter2Moved, this, &TFrmMainForm::Splitter2Moved);
}

void TFrmMainForm::btnOpenFileClick() {
    const std::string folder = CustomProc->ReadInitialFolder();
    const TStringList paths = CommonLib->ShowOpenFilesDialog(*dlgOpenSourceFile, true, folder);
    CommonLib->AddSourceFiles(dxTreeSourceFileInfo, paths);
    // Also after a cancel: the last pick of this run is remembered.
    CustomProc->SaveInitialFolder(dlgOpenSourceFile->FileName);
}

void TFrmMainForm::btnRemoveFileClick() {
    CommonLib->RemoveSelectedRows(dxTreeSourceFileInfo);
    CustomProc->StopVideo();
}

void TFrmMainForm::btnClearFileClick() {
    CommonLib->ClearRows(dxTreeSourceFileInfo);
    CustomProc->StopVideo();
}

void TFrmMainForm::FormDropFiles(const std::vector<std::string>& paths) {
    CommonLib->AddSourceFiles(dxTreeSourceFileInfo, paths);
}

void TFrmMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFilesOfDrop(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFrmMainForm::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFilesOfDrop(event->mimeData());
    if (files.isEmpty()) return event->ignore();
    event->acceptProposedAction();
    FormDropFiles(ToPaths(files));
}

void TFrmMainForm::dxTreeSourceFileInfoKeyDown(int key) {
    if (key == Qt::Key_Delete) btnRemoveFileClick();
}

void TFrmMainForm::dxTreeSourceFileInfoEndDrag(bool droppedOnGrid) {
    if (!droppedOnGrid) btnRemoveFileClick();
}

void TFrmMainForm::btnPlayClick() {
    if (!CommonLib->PlayingFile.empty()) {
        if (!CustomProc->IsPlaying) CustomProc->PlayVideo();
        return;
    }
    for (QTreeWidgetItem* row : dxTreeSourceFileInfo->SelectedRows())
        CustomProc->OpenAndPlay(TSourceTreeList::Cell(row, TSourceTreeList::colFileName));
}

void TFrmMainForm::btnPauseClick() {
    if (!CommonLib->PlayingFile.empty() && CustomProc->IsPlaying) CustomProc->PauseVideo();
}

void TFrmMainForm::RzBmpButton1Click() {
    CustomProc->StopVideo();
}

void TFrmMainForm::actDxTreeListOnClickExecute() {
    Panel1->SetBarWidth(TTrimBar::BarWidth);
    for (QTreeWidgetItem* row : dxTreeSourceFileInfo->SelectedRows()) {
        if (TSourceTreeList::Cell(row, TSourceTreeList::colFileName) == CommonLib->PlayingFile) continue;
        CustomProc->StopVideo();
        TrimDuration =
            CommonLib->TimeTextToSecondsLenient(TSourceTreeList::Cell(row, TSourceTreeList::colDuration));
        const int32_t start =
            CommonLib->TimeTextToSecondsLenient(TSourceTreeList::Cell(row, TSourceTreeList::colStartTime));
        const int32_t end =
            CommonLib->TimeTextToSecondsLenient(TSourceTreeList::Cell(row, TSourceTreeList::colEndTime));
        SeekOnStartMove = false;
        // A row without a length has no handle positions.
        if (TrimDuration > 0) {
            int panel2 = TrimPanel2Width(start, TrimDuration);
            int panel3 = TrimPanel3Width(end, TrimDuration);
            // Small differences are left alone so that a handle does not jitter by a pixel.
            if (std::abs(panel2 - Panel1->Panel2Width()) < 2) panel2 = Panel1->Panel2Width();
            if (std::abs(panel3 - Panel1->Panel3Width()) < 3) panel3 = Panel1->Panel3Width();
            Panel1->SetPanelWidths(panel2, panel3);
        }
        SeekOnStartMove = true;
    }
}

void TFrmMainForm::dxTreeSourceFileInfoDblClick() {
    for (QTreeWidgetItem* row : dxTreeSourceFileInfo->SelectedRows()) {
        const std::string path = TSourceTreeList::Cell(row, TSourceTreeList::colFileName);
        if (path == CommonLib->PlayingFile) {
            CustomProc->PauseVideo();
        } else {
            CustomProc->OpenAndPlay(path);
            TrimDuration =
                CommonLib->TimeTextToSecondsLenient(TSourceTreeList::Cell(row, TSourceTreeList::colDuration));
        }
    }
}

void TFrmMainForm::dstrckbrMainformTimer(uint32_t positionMs, uint32_t durationMs) {
    pbPlayState->setRange(dstrckbrMainform->Min, dstrckbrMainform->Max);
    pbPlayState->setValue(dstrckbrMainform->Position);
    const long long s = (long long)(double(FilterGraph->GetCurrentPosition()) / 10000000.0);
    pnlCurTime->setText(
        QString::asprintf("%2.2lld:%2.2lld:%2.2lld", s / 3600, (s % 3600) / 60, (s % 3600) % 60));
    if (pnlCurTime->text().toStdString() == StopAtTime) {
        // Back to the very beginning of the file, not to the start of the cut.
        SeekIgnoringErrors(0);
        CustomProc->PauseVideo();
    }
    if (positionMs >= durationMs) {
        SeekIgnoringErrors(0);
        CustomProc->StopVideo();
    }
}

void TFrmMainForm::Splitter1Moved() {
    Panel1->SetBarWidth(TTrimBar::BarWidth);
    const int32_t start = TrimStartSeconds(Panel1->L1(), TrimDuration);
    if (!dxTreeSourceFileInfo->HasSelection()) return;
    CommonLib->SetSelectedStart(dxTreeSourceFileInfo, start);
    if (SeekOnStartMove) SeekIgnoringErrors(int64_t(start) * 1000);
}

void TFrmMainForm::Splitter2Moved() {
    Panel1->SetBarWidth(TTrimBar::BarWidth);
    const int32_t end = TrimEndSeconds(Panel1->L2(), TrimDuration);
    if (!dxTreeSourceFileInfo->HasSelection()) return;
    CommonLib->SetSelectedEnd(dxTreeSourceFileInfo, end);
    StopAtTime = CommonLib->SecondsToTimeText(end);
}
