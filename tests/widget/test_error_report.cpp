// The application's default error report: one box for whatever a handler lets through.
#include "Application.h"

#include "IniFiles32.h"
#include "SettingsTestSupport.h"

#include <QAbstractButton>
#include <QMessageBox>

TEST(ErrorReport, AddsAFullStopOnlyAfterALetterOrADigit) {
    const std::pair<std::string, std::string> cases[] = {
        {"'x' is not a valid integer value", "'x' is not a valid integer value."},
        {"Disk 2", "Disk 2."},
        {"Already said.", "Already said."},
        {"Really?", "Really?"},
        {"Cannot create file \"/a/Config/x.ini\"", "Cannot create file \"/a/Config/x.ini\""},
        {"Fichier cr\xc3\xa9\xc3\xa9", "Fichier cr\xc3\xa9\xc3\xa9."},
        {"", ""},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(ErrorReportText(message), shown) << message;
}

TEST(ErrorReport, ShowsTheStopBoxAndTheProgramCarriesOn) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    ModalAnswerer<QMessageBox> answer([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    const bool handled = TVantorelApplication::DeliverReportingErrors([]() -> bool {
        throw EFileError(
            "Cannot create file \"/nowhere/Config/UserProfileCount.ini\": No such file or directory");
    });
    EXPECT_FALSE(handled);
    ASSERT_TRUE(answer.Seen);
    EXPECT_EQ(title, "Vantorel");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_EQ(text,
              "Cannot create file \"/nowhere/Config/UserProfileCount.ini\": No such file or directory.");

    EXPECT_TRUE(TVantorelApplication::DeliverReportingErrors([] { return true; }));
}

TEST(ErrorReport, AnErrorWhileTheBoxIsUpIsLoggedInsteadOfOpeningASecondBox) {
    QTemporaryDir folder;
    TAppFunc::SetAppDirForTesting(folder.path().toStdString());
    int boxes = 0;
    ModalAnswerer<QMessageBox> answer([&](QMessageBox* box) {
        ++boxes;
        // A timer firing under the open box fails the same way.
        TVantorelApplication::DeliverReportingErrors(
            []() -> bool { throw EConvertError("'y' is not a valid integer value"); });
        box->button(QMessageBox::Ok)->click();
    });
    TVantorelApplication::DeliverReportingErrors(
        []() -> bool { throw EConvertError("'x' is not a valid integer value"); });
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QFile log(folder.path() + "/log.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        log.readAll().endsWith("|error while an error was shown: 'y' is not a valid integer value.\r\n"));
    TAppFunc::SetAppDirForTesting("");
}
