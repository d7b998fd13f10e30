#include "Unit_Convert.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantorel"));
    TFrmMainForm mainForm;
    mainForm.show();
    return app.exec();
}
