// Start-up as the program entry runs it: the splash with the picture from Res.dll, then the main window;
// and a broken splash picture, which must not keep the main window from working.
#include "AppObjects.h"
#include "FlashForm.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "shell_app_folder.h"
#include "modal_answerer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class StartupSwitches {
  public:
    StartupSwitches() { TFrmMainForm::StartupSplash = true; }
    ~StartupSwitches() { TFrmMainForm::StartupSplash = false; }
};

} // namespace

TEST(Splash, IsThePicturesSizeCentredAndClosesAfterTwoTicks) {
    ShellAppFolder folder;
    TFrmMainForm owner;
    QSize shownSize;
    QPoint shownCentre;
    bool mainVisibleMeanwhile = true;
    int ticksAtClose = -1;
    // Look at the splash while it is up, as a user would.
    QTimer look;
    look.setInterval(100);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* splash = qobject_cast<TFrmFlashForm*>(QApplication::activeModalWidget())) {
            shownSize = splash->size();
            shownCentre = splash->geometry().center();
            mainVisibleMeanwhile = owner.isVisible();
            QObject::connect(splash, &QDialog::finished, [&ticksAtClose, splash] { ticksAtClose = splash->TickCount; });
        }
    });
    look.start();
    ShowSplash(&owner);
    look.stop();
    EXPECT_EQ(shownSize, QSize(480, 300));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((shownCentre - screenCentre).manhattanLength(), 2);
    EXPECT_FALSE(mainVisibleMeanwhile);
    EXPECT_GE(ticksAtClose, 2) << "the splash waits for two ticks of its one-second timer";
    EXPECT_EQ(owner.lblTitle->text().toStdString(), "Vantorel Video Converter") << "product texts read meanwhile";
}

TEST(Splash, ABrokenPictureIsReportedAndTheMainWindowStillOpens) {
    struct Case {
        const char* what;
        std::string folder;
        std::string report;
    } cases[] = {
        {"not a JPEG picture", VANTOREL_TEST_BIN_DIR "/fixtures/broken-picture/",
         "The picture ImgFlash is not a valid JPEG picture."},
        {"no Res.dll", "", "Res.dll could not be loaded."},
    };
    for (const Case& c : cases) {
        QTemporaryDir empty;
        ShellAppFolder folder(c.folder.empty() ? empty.path().toStdString() + "/" : c.folder);
        StartupSwitches startup;
        SoftInfo = RecSoftInfo{};
        ModalAnswerer<> watcher;
        TFrmMainForm form;
        form.show();
        QApplication::processEvents();
        ASSERT_EQ(watcher.Seen.size(), 1u) << c.what;
        EXPECT_EQ(watcher.Seen[0].Text, c.report) << c.what;
        EXPECT_EQ(watcher.Seen[0].Title, "Vantorel");
        EXPECT_EQ(watcher.Seen[0].Icon, QMessageBox::Critical);
        EXPECT_TRUE(form.isVisible()) << c.what;
        EXPECT_TRUE(form.isEnabled());
        EXPECT_TRUE(form.lblTitle->text().isEmpty()) << "the product texts were not read: " << c.what;
        EXPECT_TRUE(form.acceptDrops()) << "the steps before the splash have run";
        form.close();
    }
}
