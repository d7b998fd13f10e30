// The program entry: the application with its title and look, the three windows, the message loop.
#include "SkinPictures.h"
#include "Unit_Convert.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantorel"));
    ApplyVantorelLook(app);
    QApplication::setWindowIcon(QIcon(SkinPicturePath(QStringLiteral("vantorel"))));

    TFrmMainForm::StartupChecks = true;
    TFrmMainForm::StartupSplash = true;
    TFrmMainForm mainForm;
    // A missing companion library has been reported: end without showing anything more.
    if (mainForm.TerminateRequested) return 1;
    mainForm.show();
    return app.exec();
}
