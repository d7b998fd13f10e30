// The program entry: the application with its title and look, the three windows, the message loop.
#include "SkinPictures.h"
#include "Unit_Convert.h"
#include "Unit_Converting.h"
#include "Unit_Option.h"

#include "Application.h"

#include <QIcon>

int main(int argc, char* argv[]) {
    // Only the video area needs a window of its own; its neighbours stay ordinary widgets.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    TVantorelApplication app(argc, argv);
    ApplyVantorelLook(app);
    QApplication::setWindowIcon(QIcon(SkinPicturePath(QStringLiteral("vantorel"))));

    TFrmMainForm::StartupChecks = true;
    TFrmMainForm::StartupSplash = true;
    TFrmMainForm mainForm;
    // A missing companion library has been reported: end without showing anything more.
    if (mainForm.TerminateRequested) return 1;
    // The progress window and the Options dialog live hidden until they are asked for.
    TfrmConverting convertingForm;
    TfrmOption optionForm;
    mainForm.show();
    return app.exec();
}
