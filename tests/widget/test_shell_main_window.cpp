// The finished main window: skin and outline, size and place, moving it, its start values and the
// buttons that open things outside the program.
#include "AppObjects.h"
#include "FlashForm.h"
#include "RzBmpButton.h"
#include "RzFormShape.h"
#include "ShellActions.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "shell_app_folder.h"
#include "modal_answerer.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Notes what the window asks to open instead of starting a browser or a mail program.
class OpenedDocuments {
  public:
    OpenedDocuments() {
        Saved = OpenDocumentFunc();
        OpenDocumentFunc() = [this](const QUrl& url) {
            Opened.push_back(url.toString().toStdString());
            return true;
        };
    }
    ~OpenedDocuments() { OpenDocumentFunc() = Saved; }
    std::vector<std::string> Opened;

  private:
    TOpenDocumentFunc Saved;
};

} // namespace

TEST(MainWindowShell, IsAFramelessSkinnedWindowOfTheGivenSizeCentredOnFirstShow) {
    ShellAppFolder folder;
    TFrmMainForm form;
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.size(), QSize(719, 511));
    EXPECT_EQ(form.windowTitle().toStdString(), "Vantorel");
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((form.geometry().center() - screenCentre).manhattanLength(), 2);

    // The outline follows the skin: its rounded corners are outside, its body inside.
    ASSERT_NE(form.rzfrmshpfrmConverter, nullptr);
    EXPECT_FALSE(form.rzfrmshpfrmConverter->Picture().isNull()) << "skin picture missing";
    const QRegion outline = form.mask();
    EXPECT_FALSE(outline.isEmpty());
    for (QPoint corner : {QPoint(0, 0), QPoint(718, 0), QPoint(0, 510), QPoint(718, 510)})
        EXPECT_FALSE(outline.contains(corner)) << corner.x() << "," << corner.y();
    for (QPoint inside : {QPoint(359, 255), QPoint(12, 0), QPoint(0, 255), QPoint(718, 255)})
        EXPECT_TRUE(outline.contains(inside)) << inside.x() << "," << inside.y();

    // Never smaller than the minimum, however it is asked.
    form.resize(500, 300);
    QApplication::processEvents();
    EXPECT_GE(form.width(), 686);
    EXPECT_GE(form.height(), 511);
}

TEST(MainWindowShell, EveryPictureButtonHasItsPicturesAtItsOwnSize) {
    ShellAppFolder folder;
    TFrmMainForm form;
    const auto buttons = form.findChildren<TRzBmpButton*>();
    EXPECT_EQ(buttons.size(), 15);
    for (TRzBmpButton* button : buttons)
        EXPECT_EQ(button->sizeHint(), button->size()) << button->objectName().toStdString() << " has no picture";
    // The Options button also has a picture for its disabled state.
    form.btnOptions->setEnabled(false);
    const QImage disabled = form.btnOptions->grab().toImage();
    form.btnOptions->setEnabled(true);
    EXPECT_NE(disabled, form.btnOptions->grab().toImage());
}

TEST(MainWindowShell, StartsWithTheOutputFolderInTheHomeFolder) {
    TFrmMainForm form;
    EXPECT_EQ(form.edtOutputFolder->text(), QDir::homePath() + "/vantorel");
    EXPECT_TRUE(QDir::isAbsolutePath(form.edtOutputFolder->text()));
    // Typing into the field changes nothing.
    form.show();
    form.edtOutputFolder->setFocus();
    QTest::keyClicks(form.edtOutputFolder, "abc");
    EXPECT_EQ(form.edtOutputFolder->text(), QDir::homePath() + "/vantorel");
    form.close();
}

TEST(MainWindowShell, DraggingTheBackgroundOrTheTitleMovesItButHoveringDoesNot) {
    ShellAppFolder folder;
    TFrmMainForm form;
    form.show();
    QApplication::processEvents();
    struct Case {
        const char* what;
        QWidget* (*source)(TFrmMainForm&);
        bool press;
        bool moves;
    } cases[] = {
        {"background", [](TFrmMainForm& f) -> QWidget* { return f.rzfrmshpfrmConverter; }, true, true},
        {"title line", [](TFrmMainForm& f) -> QWidget* { return f.lblTitle; }, true, true},
        {"title line, no button", [](TFrmMainForm& f) -> QWidget* { return f.lblTitle; }, false, false},
    };
    for (const Case& c : cases) {
        QWidget* source = c.source(form);
        const QPoint start = form.pos();
        const QPoint grip = source == form.lblTitle ? QPoint(20, 10) : QPoint(300, 480);
        if (c.press) QTest::mousePress(source, Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 25)),
                         QPointF(source->mapToGlobal(grip + QPoint(40, 25))), Qt::NoButton,
                         c.press ? Qt::LeftButton : Qt::NoButton, {});
        // Once the skin follows the mouse it has the grab; moves go to it.
        QApplication::sendEvent(form.rzfrmshpfrmConverter->IsFollowingMouse() ? form.rzfrmshpfrmConverter : source,
                                &move);
        if (c.press) QTest::mouseRelease(form.rzfrmshpfrmConverter, Qt::LeftButton, {}, grip + QPoint(40, 25));
        QApplication::processEvents();
        if (c.moves)
            EXPECT_NE(form.pos(), start) << c.what;
        else
            EXPECT_EQ(form.pos(), start) << c.what;
        EXPECT_FALSE(form.rzfrmshpfrmConverter->IsFollowingMouse()) << c.what;
    }
    form.close();
}

TEST(MainWindowShell, HeaderButtonsOpenHelpHomePageAndMail) {
    ShellAppFolder folder;
    CreateAppObjects();
    TFrmMainForm form;
    struct Case {
        const char* what;
        RecSoftInfo info;
        TRzBmpButton* TFrmMainForm::*button;
        std::string opened;
    } cases[] = {
        {"help", {"", "", "", "", "", "", "", "/opt/vantorel/"}, &TFrmMainForm::btnHelp,
         "file:///opt/vantorel/Help.html"},
        {"help before the splash has run", {}, &TFrmMainForm::btnHelp,
         "file://" + CommonLib->ExeFolder + "Help.html"},
        {"home page", {"", "", "", "", "https://vantorel.example/", "", "", ""}, &TFrmMainForm::btnHomePage,
         "https://vantorel.example/"},
        {"e-mail", {"", "", "", "", "", "support@vantorel.example", "", ""}, &TFrmMainForm::btnEMail,
         "mailto:support@vantorel.example"},
        {"e-mail without address", {}, &TFrmMainForm::btnEMail, "mailto:"},
    };
    for (const Case& c : cases) {
        OpenedDocuments documents;
        SoftInfo = c.info;
        ModalAnswerer<> watcher;
        QTest::mouseClick(form.*c.button, Qt::LeftButton);
        ASSERT_EQ(documents.Opened.size(), 1u) << c.what;
        EXPECT_EQ(documents.Opened[0], c.opened) << c.what;
        EXPECT_TRUE(watcher.Seen.empty()) << "nothing to report: " << c.what;
    }
}

TEST(MainWindowShell, ClosesWithoutAskingAnything) {
    TFrmMainForm form;
    form.show();
    ModalAnswerer<> watcher;
    QTest::mouseClick(form.btnWindowClose, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(watcher.Seen.empty());
}
