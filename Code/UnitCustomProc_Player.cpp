// Preview player operations of TCustomProc, the trim bar's arithmetic and the cut length of a row.
#include "UnitCustomProc.h"

#include "MediaGraph.h"
#include "PreviewState.h"
#include "SourceTreeList.h"
#include "TrimBar.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"

#include <QLabel>
#include <QProgressBar>

#include <cmath>

int32_t TrimDuration = 0;
std::string StopAtTime;
bool SeekOnStartMove = false;

namespace {

constexpr int W = TTrimBar::BarWidth;
constexpr int H1 = TTrimBar::HandleWidth;
constexpr int H2 = TTrimBar::HandleWidth;

// Round to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) return int(floor) + 1;
    if (fraction < 0.5) return int(floor);
    return std::fmod(floor, 2.0) == 0.0 ? int(floor) : int(floor) + 1;
}

// The logo and the picture take turns in the video area.
void ShowLogo(TFrmMainForm* form, bool show) {
    form->DSVideoWindowEx1->setVisible(!show);
    form->panLogo->setVisible(show);
    if (show) form->panLogo->raise();
}

} // namespace

int32_t TrimStartSeconds(int l1, int32_t duration) {
    const int64_t percent = int64_t(l1 + H1 - 22) * 121 / W;
    return int32_t(percent * duration / 100);
}

int32_t TrimEndSeconds(int l2, int32_t duration) {
    const int64_t percent = int64_t(l2 + H2 - 22 - H1) * 121 / W;
    return int32_t(percent * duration / 100);
}

int TrimPanel2Width(int32_t start, int32_t duration) {
    return RoundHalfEven(double(start) / double(duration) * (W - 2 - 2 * H1)) + 1;
}

int TrimPanel3Width(int32_t end, int32_t duration) {
    return (W - H1 - H2 - 2) - RoundHalfEven(double(end) / double(duration) * (W - 2 - H1 - H2)) + 1;
}

void TCustomProc::OpenAndPlay(const std::string& path) {
    TFrmMainForm* form = FrmMainForm;
    if (!form) return;
    TMediaGraph* graph = form->FilterGraph;
    graph->SetActive(false);
    graph->ClearGraph();
    int result = -1;
    try {
        graph->SetActive(true);
        result = graph->RenderFile(path);
        CommonLib->PlayingFile = path;
    } catch (const EMediaError&) {
        CommonLib->PlayingFile.clear();
    }
    if (result != TMediaGraph::RenderOk) {
        TAppFunc().WriteLog("Playing Video error.");
        graph->ClearGraph();
        return;
    }
    try {
        graph->Run();
        IsPlaying = true;
        ShowLogo(form, false);
    } catch (const EMediaError&) {
        ShowLogo(form, true);
    }
}

void TCustomProc::PlayVideo() {
    TFrmMainForm* form = FrmMainForm;
    if (!form || !form->FilterGraph->GetActive()) return;
    try {
        form->FilterGraph->Run();
        IsPlaying = true;
        ShowLogo(form, false);
    } catch (const EMediaError&) {
        ShowLogo(form, true);
    }
}

void TCustomProc::PauseVideo() {
    TFrmMainForm* form = FrmMainForm;
    if (!form || !form->FilterGraph->GetActive()) return;
    try {
        form->FilterGraph->Pause();
        IsPlaying = false;
        ShowLogo(form, false);
    } catch (const EMediaError&) {
        ShowLogo(form, true);
    }
}

void TCustomProc::StopVideo() {
    TFrmMainForm* form = FrmMainForm;
    if (!form || !form->FilterGraph->GetActive()) return;
    try {
        form->FilterGraph->Stop();
        form->FilterGraph->SetActive(false);
        form->FilterGraph->ClearGraph();
        CommonLib->PlayingFile.clear();
        form->pnlCurTime->setText(QString::asprintf("%2.2d:%2.2d:%2.2d", 0, 0, 0));
        IsPlaying = false;
        ShowLogo(form, true);
        form->dstrckbrMainform->Position = 0;
        form->pbPlayState->setValue(0);
    } catch (const EMediaError&) {
        ShowLogo(form, true);
        form->pbPlayState->setValue(0);
    }
}

int32_t TCustomProc::GetCutSeconds(const std::string& fileName) const {
    TFrmMainForm* form = FrmMainForm;
    if (!form) return 0;
    const TSourceTreeList* list = form->dxTreeSourceFileInfo;
    const QString name = QString::fromStdString(fileName);
    int32_t result = 0;
    for (int i = 0; i < list->RowCount(); ++i) {
        const QTreeWidgetItem* row = list->Row(i);
        if (row->text(TSourceTreeList::colFileName).compare(name, Qt::CaseInsensitive) != 0) continue;
        const int32_t start =
            CommonLib->TimeTextToSeconds(TSourceTreeList::Cell(row, TSourceTreeList::colStartTime));
        const int32_t end =
            CommonLib->TimeTextToSeconds(TSourceTreeList::Cell(row, TSourceTreeList::colEndTime));
        result = end - start;
    }
    return result;
}
