// The preview player: loading and playing rows, the position tick, and the trim handles that set the cut.
#include "SourceFixtures.h"

#include "MediaGraph.h"
#include "TrimBar.h"

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

using namespace fixtures;

namespace {

int64_t PositionMs(const TFrmMainForm& form) {
    return form.FilterGraph->GetCurrentPosition() / 10000;
}

void SeekAndSettle(TFrmMainForm& form, int64_t milliseconds) {
    CommonLib->SeekToMs(milliseconds);
    QTRY_VERIFY_WITH_TIMEOUT(std::llabs(PositionMs(form) - milliseconds) < 400, 5000);
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

} // namespace

class PreviewPlayerTest : public SourceWindowTest {
  protected:
    void ExpectEmpty() {
        EXPECT_TRUE(CommonLib->PlayingFile.empty());
        EXPECT_FALSE(CustomProc->IsPlaying);
        EXPECT_FALSE(Form->FilterGraph->GetActive());
        EXPECT_TRUE(Form->panLogo->isVisibleTo(Form.get()));
        EXPECT_EQ(Form->pnlCurTime->text(), QStringLiteral("00:00:00"));
        EXPECT_EQ(Form->pbPlayState->value(), 0);
        EXPECT_FALSE(Form->dstrckbrMainform->IsTicking());
    }
};

TEST_F(PreviewPlayerTest, DoubleClickPlaysTheRowThenPausesItAndPlayResumes) {
    const std::string video = Clip("play5.mp4", 5);
    AddRow(video, "00:00:05");
    AddRow("/v/other.avi");
    List->Row(0)->setSelected(true);

    Form->dxTreeSourceFileInfoDblClick();
    EXPECT_EQ(CommonLib->PlayingFile, video);
    EXPECT_TRUE(CustomProc->IsPlaying);
    EXPECT_FALSE(Form->panLogo->isVisibleTo(Form.get()));
    EXPECT_TRUE(Form->dstrckbrMainform->IsTicking());
    EXPECT_EQ(TrimDuration, 5);

    Form->dxTreeSourceFileInfoDblClick();
    EXPECT_FALSE(CustomProc->IsPlaying);
    Form->dxTreeSourceFileInfoDblClick();
    EXPECT_FALSE(CustomProc->IsPlaying);
    EXPECT_FALSE(Form->panLogo->isVisibleTo(Form.get()));
    Form->btnPlayClick();
    EXPECT_TRUE(CustomProc->IsPlaying);
    Form->btnPauseClick();
    EXPECT_FALSE(CustomProc->IsPlaying);

    Form->RzBmpButton1Click();
    ExpectEmpty();
    EXPECT_EQ(Log().find("Playing Video error."), std::string::npos);
}

TEST_F(PreviewPlayerTest, PlayWithNothingLoadedPlaysTheLastSelectedRowOrNothing) {
    Form->btnPlayClick();
    ExpectEmpty();
    const std::string first = Clip("play-first.mp4", 3);
    const std::string second = Clip("play-second.mp4", 3);
    AddRow(first, "00:00:03");
    AddRow(second, "00:00:03");
    List->Row(1)->setSelected(true);
    List->Row(0)->setSelected(true);
    Form->btnPlayClick();
    EXPECT_EQ(CommonLib->PlayingFile, second);
    EXPECT_TRUE(CustomProc->IsPlaying);
}

TEST_F(PreviewPlayerTest, AFileThatDoesNotLoadFullyIsLoggedAndNotPlayed) {
    struct Case {
        const char* what;
        std::string path;
        bool keepsPath;
    } cases[] = {
        {"not a video", WriteFile("player-text.avi", "plain text\n"), false},
        {"missing", MediaPath("player-missing.mp4"), false},
        {"video without a decoder", UndecodableVideoAvi("player-partial.avi", true), true},
        {"audio without a decoder", UndecodableAudioAvi("player-no-audio.avi"), true},
    };
    int logged = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CustomProc->OpenAndPlay(c.path);
        EXPECT_EQ(Occurrences(Log(), "|Playing Video error.\r\n"), ++logged);
        EXPECT_EQ(CommonLib->PlayingFile, c.keepsPath ? c.path : "");
        EXPECT_FALSE(CustomProc->IsPlaying);
        EXPECT_TRUE(Form->panLogo->isVisibleTo(Form.get()));
        // The graph stays active and empty.
        EXPECT_TRUE(Form->FilterGraph->GetActive());
        EXPECT_FALSE(Form->FilterGraph->HasFile());
    }
    // The path of the partial load stays, so Play runs the empty graph.
    Form->btnPlayClick();
    EXPECT_TRUE(CustomProc->IsPlaying);
    Form->RzBmpButton1Click();
    ExpectEmpty();
}

TEST_F(PreviewPlayerTest, TickShowsThePositionAndPausesAtTheStopTimeBackAtTheBeginning) {
    const std::string video = Clip("tick5.mp4", 5);
    CustomProc->OpenAndPlay(video);
    ASSERT_TRUE(CustomProc->IsPlaying);
    CustomProc->PauseVideo();
    StopAtTime = "00:00:03";

    SeekAndSettle(*Form, 2500);
    Form->dstrckbrMainform->Tick();
    EXPECT_EQ(Form->pnlCurTime->text(), QStringLiteral("00:00:02"));
    EXPECT_EQ(Form->pbPlayState->maximum(), 5);
    EXPECT_EQ(Form->pbPlayState->value(), 2);

    SeekAndSettle(*Form, 3400);
    CustomProc->PlayVideo();
    Form->dstrckbrMainform->Tick();
    // The display keeps the stop time; playback is paused at the very beginning.
    EXPECT_EQ(Form->pnlCurTime->text(), QStringLiteral("00:00:03"));
    EXPECT_FALSE(CustomProc->IsPlaying);
    EXPECT_EQ(CommonLib->PlayingFile, video);
    QTRY_VERIFY_WITH_TIMEOUT(PositionMs(*Form) < 300, 5000);

    // The stop time holds for another file too.
    const std::string other = Clip("tick-other.mp4", 5);
    CustomProc->OpenAndPlay(other);
    CustomProc->PauseVideo();
    SeekAndSettle(*Form, 3200);
    CustomProc->PlayVideo();
    Form->dstrckbrMainform->Tick();
    EXPECT_FALSE(CustomProc->IsPlaying);
}

TEST_F(PreviewPlayerTest, TheEndOfTheFileStopsThePreview) {
    const std::string video = Clip("end2.mp4", 2);
    CustomProc->OpenAndPlay(video);
    ASSERT_TRUE(CustomProc->IsPlaying);
    // Played to the end by the real tick.
    QTRY_VERIFY_WITH_TIMEOUT(CommonLib->PlayingFile.empty(), 8000);
    ExpectEmpty();
}

TEST_F(PreviewPlayerTest, RowClickPlacesTheHandlesWithoutChangingRowsOrSeeking) {
    AddRow("/v/a.avi", "00:02:00", "00:00:30", "00:01:30");
    List->Row(0)->setSelected(true);
    QSignalSpy starts(Form->Panel1, &TTrimBar::Splitter1Moved);
    QSignalSpy ends(Form->Panel1, &TTrimBar::Splitter2Moved);

    Form->actDxTreeListOnClickExecute();
    EXPECT_EQ(Form->Panel1->Panel2Width(), 55);
    EXPECT_EQ(Form->Panel1->Panel3Width(), 55);
    EXPECT_EQ(TrimDuration, 120);
    EXPECT_TRUE(SeekOnStartMove);
    EXPECT_EQ(starts.count() + ends.count(), 0);
    EXPECT_EQ(CellOf(0, TSourceTreeList::colStartTime), "00:00:30");
    EXPECT_EQ(CellOf(0, TSourceTreeList::colEndTime), "00:01:30");
}

TEST_F(PreviewPlayerTest, RowClickMovesAHandleOnlyForADifferenceThatShows) {
    struct Case {
        int panel2Before, panel3Before;
        const char* start;
        const char* end;
        int panel2After, panel3After;
    } cases[] = {
        {54, 53, "00:00:30", "00:01:30", 54, 53}, // 1 and 2 pixels off: left alone
        {53, 52, "00:00:30", "00:01:30", 55, 55}, // 2 and 3 pixels off: moved
        {1, 1, "00:00:00", "00:02:00", 1, 1},     // the whole file
        {1, 1, "00:02:00", "00:02:00", 216, 1},   // start at the end: the middle keeps a pixel
        {100, 100, "00:00:00", "00:02:00", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.end);
        List->clear();
        AddRow("/v/a.avi", "00:02:00", c.start, c.end);
        List->Row(0)->setSelected(true);
        Form->Panel1->SetPanelWidths(c.panel2Before, c.panel3Before);
        Form->actDxTreeListOnClickExecute();
        EXPECT_EQ(Form->Panel1->Panel2Width(), c.panel2After);
        EXPECT_EQ(Form->Panel1->Panel3Width(), c.panel3After);
        EXPECT_GE(Form->Panel1->Panel4Width(), 1);
    }
}

TEST_F(PreviewPlayerTest, ClickingTheRowThatPlaysChangesNothingAndAnotherRowStopsIt) {
    const std::string video = Clip("click-playing.mp4", 5);
    AddRow(video, "00:00:05");
    AddRow("/v/b.avi", "00:02:00", "00:00:30", "00:01:30");
    CustomProc->OpenAndPlay(video);
    List->Row(0)->setSelected(true);
    Form->Panel1->SetPanelWidths(10, 10);
    Form->actDxTreeListOnClickExecute();
    EXPECT_EQ(CommonLib->PlayingFile, video);
    EXPECT_EQ(Form->Panel1->Panel2Width(), 10);

    List->Row(0)->setSelected(false);
    List->Row(1)->setSelected(true);
    Form->actDxTreeListOnClickExecute();
    ExpectEmpty();
    EXPECT_EQ(Form->Panel1->Panel2Width(), 55);
}

TEST_F(PreviewPlayerTest, HandlePositionsBecomeStartAndEndOfTheSelectedRows) {
    AddRow("/v/a.avi", "00:03:20");
    AddRow("/v/b.avi", "00:03:20");
    List->Row(0)->setSelected(true);
    struct Case {
        int32_t duration;
        int handle; // 1 start, 2 end
        int x;      // wanted left edge of the handle
        int edge;   // where it ends up
        const char* cell;
    } cases[] = {
        {200, 1, 110, 110, "00:01:40"}, {200, 1, 2, 2, "00:00:00"},     {200, 1, 500, 217, "00:03:20"},
        {200, 1, -40, 2, "00:00:00"},   {0, 1, 110, 110, "00:00:00"},   {200, 2, 23, 23, "00:00:00"},
        {200, 2, 238, 238, "00:03:20"}, {200, 2, 130, 130, "00:01:40"}, {0, 2, 130, 130, "00:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.duration) + " handle " + std::to_string(c.handle) + " to " +
                     std::to_string(c.x));
        TrimDuration = c.duration;
        // The other handle out of the way, this one somewhere else.
        if (c.handle == 1)
            Form->Panel1->SetPanelWidths(50, 1);
        else
            Form->Panel1->SetPanelWidths(1, 50);
        if (c.handle == 1) {
            Form->Panel1->DragSplitter1To(c.x);
            EXPECT_EQ(Form->Panel1->L1(), c.edge);
            EXPECT_EQ(CellOf(0, TSourceTreeList::colStartTime), c.cell);
        } else {
            Form->Panel1->DragSplitter2To(c.x);
            EXPECT_EQ(Form->Panel1->L2(), c.edge);
            EXPECT_EQ(CellOf(0, TSourceTreeList::colEndTime), c.cell);
            EXPECT_EQ(StopAtTime, c.cell);
        }
        EXPECT_EQ(CellOf(1, TSourceTreeList::colStartTime), "00:00:00");
        EXPECT_EQ(CellOf(1, TSourceTreeList::colEndTime), "00:03:20");
    }
}

TEST_F(PreviewPlayerTest, EndHandleWithNoRowSelectedChangesNothing) {
    AddRow("/v/a.avi", "00:03:20");
    TrimDuration = 200;
    StopAtTime = "00:00:07";
    Form->Panel1->SetPanel3Width(100);
    Form->Panel1->DragSplitter2To(200);
    EXPECT_EQ(StopAtTime, "00:00:07");
    EXPECT_EQ(CellOf(0, TSourceTreeList::colEndTime), "00:03:20");
    Form->Panel1->DragSplitter1To(100);
    EXPECT_EQ(CellOf(0, TSourceTreeList::colStartTime), "00:00:00");
}

TEST_F(PreviewPlayerTest, MovingTheStartHandleSeeksOnlyAfterARowClick) {
    const std::string video = Clip("seek10.mp4", 10);
    AddRow(video, "00:00:10");
    List->Row(0)->setSelected(true);
    Form->dxTreeSourceFileInfoDblClick();
    CustomProc->PauseVideo();
    ASSERT_EQ(TrimDuration, 10);

    SeekOnStartMove = false;
    Form->Panel1->DragSplitter1To(110); // 50 percent
    EXPECT_EQ(CellOf(0, TSourceTreeList::colStartTime), "00:00:05");
    QTest::qWait(300);
    EXPECT_LT(PositionMs(*Form), 1000);

    SeekOnStartMove = true;
    Form->Panel1->DragSplitter1To(165); // 75 percent
    EXPECT_EQ(CellOf(0, TSourceTreeList::colStartTime), "00:00:07");
    QTRY_VERIFY_WITH_TIMEOUT(std::llabs(PositionMs(*Form) - 7000) < 400, 5000);

    // With nothing loaded the seek fails quietly.
    Form->RzBmpButton1Click();
    Form->Panel1->DragSplitter1To(2);
    EXPECT_EQ(CellOf(0, TSourceTreeList::colStartTime), "00:00:00");
}

TEST_F(PreviewPlayerTest, ClosingTheWindowUnloadsThePreview) {
    CustomProc->OpenAndPlay(Clip("close.mp4", 3));
    ASSERT_TRUE(Form->FilterGraph->HasFile());
    Form->close();
    EXPECT_FALSE(Form->FilterGraph->GetActive());
    EXPECT_FALSE(Form->FilterGraph->HasFile());
}
