// The progress window: its layout, the reset on show, the refresh through OnEncoderOutput, and both ways
// of stopping.
#include "AppObjects.h"
#include "RzBmpButton.h"
#include "UnitCustomProc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "Unit_Converting.h"
#include "desktop_guard.h"
#include "engine_support.h"
#include "modal_answerer.h"

#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace engine_test;

namespace {

class ProgressWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateAppObjects();
        CommonLib->EncoderName = UniqueProcessName("vtnone");
        CommonLib->ConvertParams = {};
        CommonLib->ConvertParams.EncoderPath = App.Path + CommonLib->EncoderName;
        CommonLib->ConvertParams.SourceFile = "/clips/Beach Trip.avi";
        CommonLib->ConvertParams.CodecArg = " -vcodec rv20";
        CustomProc->CurrentRow = 1;
        CustomProc->RowCount = 3;
        CustomProc->OutputChunkCount = 0;
        CustomProc->CutSecondsText = "90";
        CustomProc->StopRequested = false;
        for (int i = 0; i < 3; ++i)
            Main.dxTreeSourceFileInfo->addTopLevelItem(new QTreeWidgetItem);
        Main.setEnabled(false);
    }

    std::string Count() const { return Window.lblPersent->text().toStdString(); }

    TempAppFolder App;
    TFrmMainForm Main;
    TfrmConverting Window;
};

} // namespace

TEST_F(ProgressWindow, IsAFramelessWindowWithItsControlsInPlace) {
    EXPECT_EQ(Window.size(), QSize(435, 222));
    EXPECT_TRUE(Window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Window.windowTitle(), "Converting");
    EXPECT_EQ(frmConverting, &Window);
    const struct {
        QWidget* widget;
        QRect place;
    } places[] = {
        {Window.rzfrmshpConvertting, {0, 0, 435, 205}}, {Window.lblInfo, {24, 45, 185, 20}},
        {Window.lblCurFileName, {192, 64, 217, 13}},    {Window.pbTotal, {88, 88, 321, 17}},
        {Window.ProgressBar1, {88, 112, 321, 17}},      {Window.btnStop, {296, 144, 108, 38}},
        {Window.statState, {0, 205, 435, 17}},
    };
    for (const auto& p : places)
        EXPECT_EQ(p.widget->geometry(), p.place) << p.widget->metaObject()->className();
    EXPECT_EQ(Window.lblInfo->text(), "Please wait . . .");
    EXPECT_TRUE(Window.lblInfo->font().bold());
    EXPECT_EQ(Window.lblCurConvertFileL->text(), "Current Convert File:");
    EXPECT_EQ(Window.lblCurConvertFileL->pos(), QPoint(88, 65));
    EXPECT_EQ(Window.lblTotalFilr->text(), "Total File:");
    EXPECT_EQ(Window.lblCurprog->text(), "Current File:");
    EXPECT_EQ(Window.lblPersent->pos(), QPoint(88, 144));
    // Whatever the font, no caption runs into the control beside it.
    EXPECT_LT(Window.lblCurConvertFileL->geometry().right(), Window.lblCurFileName->x());
    EXPECT_LT(Window.lblTotalFilr->geometry().right(), Window.pbTotal->x());
    EXPECT_LT(Window.lblCurprog->geometry().right(), Window.ProgressBar1->x());
}

TEST_F(ProgressWindow, ShowingResetsTheLabelsAndBarsButNotTheStatusBar) {
    Window.SetStatusPanelText("size= 1kB time=3.0 bitrate=");
    Window.ProgressBar1->SetMax(50);
    Window.ProgressBar1->SetPosition(20);
    Window.show();
    EXPECT_EQ(Window.lblCurFileName->text(), "/clips/Beach Trip.avi");
    EXPECT_EQ(Count(), "Current: 1, Total: 3");
    EXPECT_EQ(Window.ProgressBar1->Max(), 1);
    EXPECT_EQ(Window.ProgressBar1->Position(), 0);
    EXPECT_EQ(Window.pbTotal->Max(), 1);
    EXPECT_EQ(Window.pbTotal->Position(), 0);
    // Nothing clears the last chunk of the previous batch.
    EXPECT_EQ(Window.StatusPanelText(), "size= 1kB time=3.0 bitrate=");
    Window.hide();
}

TEST_F(ProgressWindow, EncoderOutputMovesTheBarsFromTheSecondChunkOn) {
    Window.show();
    const std::string chunk = "frame=  1132 q=4.5 size=     512kB time=45.28 bitrate= 419.4kbits/s    \r";
    OnEncoderOutput(chunk);
    EXPECT_EQ(Window.StatusPanelText(), chunk);
    EXPECT_EQ(Window.ProgressBar1->Position(), 0);
    EXPECT_EQ(Count(), "Current: 1, Total: 3");
    EXPECT_EQ(CustomProc->OutputChunkCount, 1);

    OnEncoderOutput(chunk);
    EXPECT_EQ(Window.ProgressBar1->Max(), 90);
    EXPECT_EQ(Window.ProgressBar1->Position(), 45);
    EXPECT_EQ(Window.pbTotal->Max(), 300);
    EXPECT_EQ(Window.pbTotal->Position(), 100);
    EXPECT_EQ(Count(), "Current: 2 , Total: 3.");
    OnEncoderOutput("frame=  1200 q=4.5 size=     600kB time=48.00 bitrate= 419.4kbits/s");
    EXPECT_EQ(Window.pbTotal->Position(), 150);
    EXPECT_EQ(Window.ProgressBar1->Position(), 48);
    // The bar shows the cut length as its range, the status bar one line of the raw text.
    EXPECT_EQ(Window.ProgressBar1->maximum(), 90);
    EXPECT_EQ(Window.ProgressBar1->value(), 48);

    // A negative cut length holds the bar at an empty range; the batch goes on.
    CustomProc->CutSecondsText = "-20";
    OnEncoderOutput(chunk);
    EXPECT_EQ(Window.ProgressBar1->Max(), 0);
    EXPECT_EQ(Window.ProgressBar1->Position(), 0);
    EXPECT_EQ(Window.ProgressBar1->minimum(), 0);
    EXPECT_EQ(Window.ProgressBar1->maximum(), 1);
    Window.hide();
}

TEST_F(ProgressWindow, StopAsksAndOnYesEndsTheBatch) {
    Window.show();
    OnEncoderOutput("a=b=c=d=10.0 e=");
    OnEncoderOutput("a=b=c=d=20.0 e=");
    {
        ModalAnswerer<> answer({QMessageBox::No});
        Window.btnStop->click();
        ASSERT_EQ(answer.Seen.size(), 1u);
        EXPECT_EQ(answer.Seen[0].Text, "Are you sure you want to stop the work ? ");
        EXPECT_EQ(answer.Seen[0].Title, "Vantorel");
        EXPECT_EQ(answer.Seen[0].Icon, QMessageBox::NoIcon);
        EXPECT_EQ(answer.Seen[0].Buttons,
                  (std::vector<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    }
    EXPECT_TRUE(Window.isVisible());
    EXPECT_FALSE(Main.isEnabled());
    EXPECT_EQ(CustomProc->CurrentRow, 1);

    ModalAnswerer<> answer({QMessageBox::Yes});
    Window.btnStop->click();
    EXPECT_FALSE(Window.isVisible());
    EXPECT_TRUE(Main.isEnabled());
    EXPECT_EQ(CustomProc->CurrentRow, 3);
    EXPECT_TRUE(CustomProc->StopRequested);
    EXPECT_EQ(Window.ProgressBar1->Position(), 0);
    EXPECT_EQ(Window.pbTotal->Max(), 0);
    EXPECT_EQ(Window.pbTotal->Position(), 0);
    EXPECT_EQ(Count(), "Current: 1, Total: ...");
    // Two stops, each with its two searches that end finding nothing.
    EXPECT_EQ(CountLogLines(App.Log(), "Get Process id error."), 4);
}

TEST_F(ProgressWindow, ClosingAsksAndHidesEitherWayButStopsOnlyOnYes) {
    Window.show();
    {
        ModalAnswerer<> answer({QMessageBox::No});
        Window.close();
        ASSERT_EQ(answer.Seen.size(), 1u);
        EXPECT_EQ(answer.Seen[0].Text, "Are you sure to stop processing ?");
    }
    EXPECT_FALSE(Window.isVisible());
    EXPECT_FALSE(Main.isEnabled());
    EXPECT_EQ(CustomProc->CurrentRow, 1);
    EXPECT_FALSE(CustomProc->StopRequested);

    Window.show();
    ModalAnswerer<> answer({QMessageBox::Yes});
    Window.close();
    EXPECT_FALSE(Window.isVisible());
    EXPECT_TRUE(Main.isEnabled());
    EXPECT_EQ(CustomProc->CurrentRow, 3);
    EXPECT_TRUE(CustomProc->StopRequested);
    EXPECT_EQ(CountLogLines(App.Log(), "Get Process id error."), 2);
}

TEST_F(ProgressWindow, SkinShapesTheWindowByItsTransparentColour) {
    QImage skin(435, 222, QImage::Format_RGB32);
    skin.fill(QColor(0x26, 0x2e, 0x3a));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6 - y; ++x)
            skin.setPixel(x, y, 0xffff00ff);
    Window.SetSkin(QPixmap::fromImage(skin));
    const QRegion shape = Window.mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(4, 1)));
    EXPECT_TRUE(shape.contains(QPoint(6, 0)));
    EXPECT_TRUE(shape.contains(QPoint(217, 100)));
    EXPECT_TRUE(shape.contains(QPoint(434, 204)));
    // The status bar below the skin is always whole.
    EXPECT_TRUE(shape.contains(QPoint(2, 215)));

    // Without a picture the drawn skin keeps the window whole but for its rounded top corners.
    Window.SetSkin(QPixmap());
    EXPECT_TRUE(Window.mask().contains(QPoint(217, 100)));
    EXPECT_FALSE(Window.mask().contains(QPoint(0, 0)));
}
