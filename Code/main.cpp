#include "Unit_Convert.h"

#include "Application.h"

int main(int argc, char* argv[]) {
    TVantorelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantorel"));
    TFrmMainForm mainForm;
    mainForm.show();
    return app.exec();
}
